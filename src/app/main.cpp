#include "app/commandline.h"
#include "app/datafolder.h"
#include "app/programstart.h"
#include "app/publishcommand.h"
#include "app/startup.h"
#include "app/trotwiseapplication.h"

#include <QDir>

#include <cstdio>

namespace {

int print(const QString &text, int status)
{
    std::fputs(qPrintable(text + u'\n'), status == 0 ? stdout : stderr);
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    // What answers on the terminal needs no screen: it runs without opening one.
    if (CommandLine::has(argc, argv, QStringLiteral("--help")))
        return print(CommandLine::help(), 0);
    if (CommandLine::has(argc, argv, QStringLiteral("--version")))
        return print(CommandLine::version(), 0);
    const std::optional<QString> publishFolder = PublishCommand::requested(argc, argv);
    if (publishFolder || CommandLine::has(argc, argv, QStringLiteral("--where"))) {
        QCoreApplication core(argc, argv);
        const QString dataFolder = DataFolder::choose(QCoreApplication::applicationDirPath());
        if (dataFolder.isEmpty())
            return print(DataFolder::make(dataFolder), 1);
        if (!publishFolder)
            return print(QDir::toNativeSeparators(dataFolder), 0);
        QString badAddress;
        const QString server = Startup::serverAddress(dataFolder, QCoreApplication::arguments(), &badAddress);
        const PublishCommand::Outcome outcome = badAddress.isEmpty()
                                                    ? PublishCommand::run(dataFolder, *publishFolder, server)
                                                    : PublishCommand::Outcome{1, badAddress};
        return print(outcome.line, outcome.status);
    }

    TrotwiseApplication application(argc, argv);
    return ProgramStart::run(application, DataFolder::choose(QCoreApplication::applicationDirPath()));
}
