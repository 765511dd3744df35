#pragma once

#include "reports/memorytable.h"

#include <QSqlDatabase>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

// The order of go of one class in one division. The entered riders are dealt into one to three
// splits so that riders of one team ride in different splits, and each split is put in its
// order: a fresh random draw, or by rider number. Each split becomes an in-memory table that the
// class sheet binds by column name (FirstName, LastName, RiderNumber, TeamName, and for the
// relay PartnerFirst, PartnerLast, PartnerNumber).
//
//   const RunningOrder order(db, "B");
//   if (order.Check_Class(14))
//       for (const MemoryTable &split : order.Build_Splits(14, 3, RunningOrder::Order::Random)) ...
class RunningOrder
{
public:
    enum class Order { Random, Sequential };

    static constexpr int MaxSplits = 3;
    static inline const QString NoClassChosen =
        QStringLiteral("Please Enter Which Class the Class Sheet is for");
    static inline const QString NoRidersEntered =
        QStringLiteral("There are currently no riders entered in the specified class.");

    // One entered rider (for the relay, the rider who holds the entry, with the partner).
    struct Rider
    {
        QString first;
        QString last;
        QString team;
        QString number; // as stored
        QString partnerFirst;
        QString partnerLast;
        QString partnerNumber;
        std::int32_t teamCode = -1; // teams of one name are still two teams
    };
    using Split = std::vector<Rider>;

    RunningOrder(QSqlDatabase db, QString division);

    // Whether any rider of the division is entered in the class; a relay entry counts even
    // before its partner is named. Throws DbError.
    bool Check_Class(int classNumber) const;
    // How many riders of the division each class holds, by class number, counted as Check_Class
    // counts; a class without entries is not there. Throws DbError.
    std::map<int, int> entriesByClass() const;

    // The class's riders dealt into splits (1 to MaxSplits) and ordered, one table per split;
    // a split may be empty. The relay lists only the entries that name a partner. Random draws
    // come from the program's one generator. Throws DbError.
    std::vector<MemoryTable> Build_Splits(int classNumber, int splits, Order order) const;

    // The steps, on riders already read:
    // row i (from 0) goes to split i mod splits, so riders that come one after another land in
    // different splits;
    static std::vector<Split> deal(const Split &riders, int splits);
    // by rider number as a number; riders without a whole number follow, by last and first name;
    static void orderByNumber(Split &split);
    // the rows of a split as the class sheet reads them; a number that is no whole number is
    // left blank.
    static MemoryTable table(const Split &split, bool relay);

    // The stored rider number as a whole number ("07" is 7); nothing for "" or "1a".
    static std::optional<int> wholeNumber(const QString &stored);

private:
    Split entered(int classNumber) const;

    QSqlDatabase m_db;
    QString m_division;
};
