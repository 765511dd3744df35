#include "app/programstart.h"

#include "app/activities.h"
#include "app/datafolder.h"
#include "app/frmmain.h"
#include "app/startup.h"
#include "app/trotwiseapplication.h"
#include "common/dialogmessages.h"
#include "common/version.h"
#include "shell/appstate.h"

#include <QFont>
#include <QFontMetrics>
#include <QScreen>

#include <thread>

namespace ProgramStart {

int run(TrotwiseApplication &application, const QString &appFolder,
        const std::function<void(QWidget &mainMenu)> &shown)
{
    QApplication::setApplicationName(QStringLiteral("Trotwise"));
    // The desktop shows the window under the program's entry and icon.
    QGuiApplication::setDesktopFileName(Version::AppId);
    // Every window is laid out for Arial (Liberation Sans stands in for it where Arial is missing).
    const QFont arial(QStringLiteral("Arial"), 9);
    QApplication::setFont(arial);
    // Qt's font system reads its configuration and lists the fonts the first time a text is
    // measured: a sixth of start-up, done on a second core while the meet is opened and the
    // main menu built (Qt renders text in any thread).
    const std::jthread fonts([arial] { QFontMetrics(arial).height(); });

    DialogMessages messages;
    AppState state;
    state.messages = &messages;
    application.setMessages(&messages);

    // The data folder of an installed program is the user's, made at the first start.
    if (const QString problem = DataFolder::make(appFolder); !problem.isEmpty()) {
        messages.fail(problem);
        return 1;
    }
    QString badAddress;
    const Startup::Settings settings = Startup::settings(appFolder, QCoreApplication::arguments(), &badAddress);
    if (!badAddress.isEmpty()) {
        messages.fail(badAddress);
        return 1;
    }
    // The journal names this computer as the settings do, else by its own name.
    state.setStation(settings.station);
    const QString &server = settings.meet;

    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize twips = Startup::screenTwips(screen ? QSizeF(screen->size()) : QSizeF());
    switch (Startup::run(state, twips, appFolder, server)) {
    case Startup::Outcome::ScreenRefused:
        return 0;
    case Startup::Outcome::Failed:
        return 1;
    case Startup::Outcome::Ready:
        break;
    }

    FrmMain frmMain(state);
    registerActivities(frmMain, state);
    frmMain.show();
    // The keyboard starts on the main menu, with or without a window manager to give it.
    frmMain.activateWindow();
    frmMain.unsetCursor();
    if (shown)
        shown(frmMain);
    const int status = application.exec();
    application.setMessages(nullptr);
    return status;
}

} // namespace ProgramStart
