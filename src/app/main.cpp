#include "app/activities.h"
#include "app/frmmain.h"
#include "app/startup.h"
#include "app/trotwiseapplication.h"
#include "common/dialogmessages.h"
#include "shell/appstate.h"

#include <QFont>
#include <QScreen>

int main(int argc, char *argv[])
{
    TrotwiseApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trotwise"));
    // Every window is laid out for Arial (Liberation Sans stands in for it where Arial is missing).
    QApplication::setFont(QFont(QStringLiteral("Arial"), 9));

    DialogMessages messages;
    AppState state;
    state.messages = &messages;
    application.setMessages(&messages);

    const QString folder = QCoreApplication::applicationDirPath();
    QString badAddress;
    const QString server = Startup::serverAddress(folder, QCoreApplication::arguments(), &badAddress);
    if (!badAddress.isEmpty()) {
        messages.fail(badAddress);
        return 1;
    }

    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize twips = Startup::screenTwips(screen ? QSizeF(screen->size()) : QSizeF());
    switch (Startup::run(state, twips, folder, server)) {
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
    return application.exec();
}
