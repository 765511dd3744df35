#include "app/programstart.h"
#include "app/publishcommand.h"
#include "app/startup.h"
#include "app/trotwiseapplication.h"

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
    return ProgramStart::run(application, QCoreApplication::applicationDirPath());
}
