#include "app/publishcommand.h"

#include "app/startup.h"
#include "db/dbconnection.h"
#include "db/meetaddress.h"
#include "db/meetschema.h"
#include "judging/resultspages.h"
#include "shell/boundary.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>

namespace PublishCommand {

std::optional<QString> requested(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--publish") == 0)
            return i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString();
    return std::nullopt;
}

Outcome run(const QString &appFolder, const QString &folder, const QString &serverAddress)
{
    if (folder.isEmpty())
        return {2, QStringLiteral("--publish needs the folder to write the results to.")};
    const bool onServer = !serverAddress.isEmpty();
    const QString location = onServer ? serverAddress : Startup::meetPath(appFolder);
    const auto refused = [&](const QString &why) {
        return Outcome{1, (onServer ? QStringLiteral("The meet %1 %2; nothing was published.")
                                    : QStringLiteral("The meet file \"%1\" %2; nothing was published."))
                              .arg(MeetAddress::describe(location), why)};
    };
    if (!onServer) {
        if (!QFileInfo(location).isFile())
            return refused(QStringLiteral("is not there"));
        QString reason;
        if (!looksLikeSqliteFile(location, &reason))
            return refused(QStringLiteral("cannot be used: ") + reason);
    }
    try {
        DbConnection meet;
        meet.open(location, DbConnection::Mode::ReadOnly, QStringLiteral("Publish"));
        if (const auto mismatch = MeetSchema::mismatch(meet.database()))
            return refused(QStringLiteral("cannot be used: ") + *mismatch);
        return {0, ResultsPages::publish(meet.database(), folder)};
    } catch (...) {
        return {1, Boundary::describe(QStringLiteral("Publishing the results"), std::current_exception())
                       .simplified()};
    }
}

} // namespace PublishCommand
