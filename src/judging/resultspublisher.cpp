#include "judging/resultspublisher.h"

#include "db/engine.h"
#include "judging/resultspages.h"
#include "shell/boundary.h"

ResultsPublisher::ResultsPublisher(QString folder, std::vector<FolderSwap::File> extra)
    : m_folder(std::move(folder)), m_extra(std::move(extra))
{
}

ResultsPublisher::Outcome ResultsPublisher::publishIfChanged(const QSqlDatabase &db)
{
    Outcome out;
    out.at = QDateTime::currentDateTime();
    if (Engine::inTransaction(db))
        return out;
    try {
        // Taken before the pages are read: a save it does not show is in the pages or changes it.
        const QString mark = Engine::changeMark(db);
        if (m_published == mark)
            return out;
        out.line = ResultsPages::publish(db, m_folder, m_extra);
        out.kind = Outcome::Kind::Published;
        m_published = mark; // kept only once published: after a failure every look tries again
    } catch (...) {
        out.kind = Outcome::Kind::Failed;
        out.line = Boundary::describe(QStringLiteral("Publishing the results"), std::current_exception())
                       .simplified();
    }
    return out;
}
