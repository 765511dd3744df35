#include "judging/judgeassignments.h"

#include "db/journal.h"
#include "db/sql.h"
#include "db/writetransaction.h"
#include "shell/gridmarks.h"

#include <QHash>

JudgeAssignments::JudgeAssignments(QSqlDatabase db, QString division)
    : m_db(std::move(db)), m_division(std::move(division)),
      m_asRead(QStringLiteral("another station changed the judges or this division's judge assignments since "
                              "you opened them."))
{
    const QString action = QStringLiteral("Reading the judge assignments");
    const ReadTransaction oneState(m_db, action);
    QHash<std::int32_t, int> rowOf;
    for (const auto &j : m_asRead
                             .select(m_db, action,
                                     QStringLiteral("SELECT JudgeID, FirstName, LastName FROM TblJudge "
                                                    "ORDER BY JudgeID"))
                             .rows) {
        m_judges.push_back({std::int32_t(j[0].toLongLong()), j[1].toString(), j[2].toString()});
        rowOf.insert(m_judges.last().id, int(m_judges.size()));
    }
    m_classes = ClassTable::read(m_db);
    const ResultRows stored = m_asRead.select(
        m_db, action, QStringLiteral("SELECT JudgeID, ClassNumber FROM TblClassJudges WHERE Division = ?"),
        {m_division});
    for (const auto &a : stored.rows) {
        const int row = rowOf.value(std::int32_t(a[0].toLongLong()), 0);
        const int cls = a[1].toInt();
        if (row > 0 && cls >= 1 && cls <= GridMarks::Classes)
            m_stored.push_back({row, cls});
    }
}

RowText JudgeAssignments::rowCaption(const GridJudge &judge)
{
    return RowText().name(judge.firstName).fixed(QStringLiteral(", ")).name(judge.lastName);
}

QString JudgeAssignments::judgeName(const GridJudge &judge)
{
    return judge.firstName + u' ' + judge.lastName;
}

std::optional<QString> JudgeAssignments::submit(const GridMarks &ticks) const
{
    for (int c = 1; c <= ticks.classes(); ++c)
        if (ticks.count(c) != 0 && ticks.count(c) != JudgesPerClass)
            return WrongCount;

    const QString action = QStringLiteral("Saving the judge assignments");
    WriteTransaction::run(m_db, action, {QStringLiteral("TblClassJudges")}, [&] {
        m_asRead.check(m_db, action);
        Journal::Recorder journal(m_db, action, Journal::Kind::Judges,
                                  QStringLiteral("Judge assignments of division %1").arg(m_division));
        journal.watch(QStringLiteral("TblClassJudges"), QStringLiteral("Division = ?"), {m_division});
        Sql::exec(m_db, action, QStringLiteral("DELETE FROM TblClassJudges WHERE Division = ?"),
                  {m_division});
        Sql::Repeated insert(
            m_db, action,
            QStringLiteral("INSERT INTO TblClassJudges (JudgeID, ClassNumber, Division) VALUES (?, ?, ?)"));
        for (int r = 1; r <= ticks.rows(); ++r)
            for (int c = 1; c <= ticks.classes(); ++c)
                if (ticks.ticked(r, c))
                    insert.exec({m_judges[r - 1].id, c, m_division});
        journal.write();
    });
    return std::nullopt;
}
