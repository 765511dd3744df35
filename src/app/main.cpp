#include "app/commandline.h"
#include "app/datafolder.h"
#include "app/programstart.h"
#include "app/publishcommand.h"
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
    // A mistyped option is told, not taken for a start of the window.
    if (const QString word = CommandLine::unknown(argc, argv); !word.isEmpty())
        return print(QStringLiteral("trotwise: there is no option \"%1\"; trotwise --help lists them.").arg(word), 2);
    if (const std::optional<PublishCommand::Request> request = PublishCommand::requested(argc, argv))
        return PublishCommand::exec(argc, argv, *request);
    if (CommandLine::has(argc, argv, QStringLiteral("--where"))) {
        QCoreApplication core(argc, argv);
        const QString dataFolder = DataFolder::choose(QCoreApplication::applicationDirPath());
        return dataFolder.isEmpty() ? print(DataFolder::make(dataFolder), 1)
                                    : print(QDir::toNativeSeparators(dataFolder), 0);
    }

    TrotwiseApplication application(argc, argv);
    return ProgramStart::run(application, DataFolder::choose(QCoreApplication::applicationDirPath()));
}
