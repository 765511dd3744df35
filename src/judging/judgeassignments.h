#pragma once

#include "common/rowtext.h"
#include "db/classtable.h"
#include "db/readmark.h"

#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

class GridMarks;

struct GridJudge
{
    std::int32_t id;
    QString firstName;
    QString lastName;
};

// Which judges judge which class in one division: the judges in a fixed order (by JudgeID), the
// classes, the division's stored assignments, and the save that checks every class has none or
// two judges and rewrites the division's assignments as a whole. Other divisions stay.
class JudgeAssignments
{
public:
    static constexpr int JudgesPerClass = 2;
    static inline const QString NoJudges = QStringLiteral("There are currently no judges entered.");
    static inline const QString SaveQuestion = QStringLiteral(
        "You are about to save the changes you have made to the judge assignments. Are you sure "
        "you want to continue?");
    static inline const QString WrongCount = QStringLiteral("You must have ") +
                                             QString::number(JudgesPerClass) +
                                             QStringLiteral(" assigned to a class");

    struct Cell
    {
        int row; // from 1, in the judges' order
        int cls;
    };

    // Reads the judges, the classes and the division's assignments. Throws DbError.
    JudgeAssignments(QSqlDatabase db, QString division);

    const QString &division() const { return m_division; }
    const QVector<GridJudge> &judges() const { return m_judges; }
    const QVector<StoredClass> &classes() const { return m_classes; }
    const QVector<Cell> &stored() const { return m_stored; }

    // "First, Last", the row label; "First Last", the judge as the cells name him.
    static RowText rowCaption(const GridJudge &judge);
    static QString judgeName(const GridJudge &judge);

    // Checks each class holds none or two ticks, then replaces the division's assignments with
    // the ticks in one transaction. Answers the failed check, after which nothing is written.
    // Throws DbError, and then nothing is written either: so when another station changed the
    // judges or the division's assignments since they were read (Conflict).
    std::optional<QString> submit(const GridMarks &ticks) const;

private:
    QSqlDatabase m_db;
    QString m_division;
    QVector<GridJudge> m_judges;
    QVector<StoredClass> m_classes;
    QVector<Cell> m_stored;
    ReadMark m_asRead;
};
