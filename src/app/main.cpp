#include "app/programstart.h"
#include "app/publishcommand.h"
#include "app/trotwiseapplication.h"

int main(int argc, char *argv[])
{
    // Publishing the results needs no screen: it runs without opening one.
    if (const std::optional<PublishCommand::Request> request = PublishCommand::requested(argc, argv))
        return PublishCommand::exec(argc, argv, *request);

    TrotwiseApplication application(argc, argv);
    return ProgramStart::run(application, QCoreApplication::applicationDirPath());
}
