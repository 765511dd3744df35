#include "app/activities.h"
#include "app/frmmain.h"
#include "app/publishcommand.h"
#include "app/startup.h"
#include "app/trotwiseapplication.h"
#include "common/dialogmessages.h"
#include "shell/appstate.h"

#include <QFont>
#include <QScreen>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Publishing the results needs no screen: it runs without opening one.
    if (const std::optional<QString> folder = PublishCommand::requested(argc, argv)) {
        QCoreApplication core(argc, argv);
        const QString appFolder = QCoreApplication::applicationDirPath();
        QString badAddress;
        const QString server = Startup::serverAddress(appFolder, QCoreApplication::arguments(), &badAddress);
        const PublishCommand::Outcome outcome = badAddress.isEmpty()
                                                    ? PublishCommand::run(appFolder, *folder, server)
                                                    : PublishCommand::Outcome{1, badAddress};
        std::fprintf(outcome.status == 0 ? stdout : stderr, "%s\n", qPrintable(outcome.line));
        return outcome.status;
    }

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
