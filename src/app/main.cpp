#include "app/programstart.h"
#include "app/publishcommand.h"
#include "app/trotwiseapplication.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    // Publishing the results needs no screen: it runs without opening one.
    if (const std::optional<QString> folder = PublishCommand::requested(argc, argv)) {
        QCoreApplication core(argc, argv);
        const PublishCommand::Outcome outcome =
            PublishCommand::run(QCoreApplication::applicationDirPath(), *folder);
        std::fprintf(outcome.status == 0 ? stdout : stderr, "%s\n", qPrintable(outcome.line));
        return outcome.status;
    }

    TrotwiseApplication application(argc, argv);
    return ProgramStart::run(application, QCoreApplication::applicationDirPath());
}
