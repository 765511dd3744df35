#pragma once

#include "common/rowtext.h"
#include "db/readmark.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

// The judges' cards of one class in one division: who the two judges are, which riders can be
// placed, what is stored, and the save that replaces the class's placings.
//
// Line 0 of every place selector is "N/A"; line k stands for riders()[k - 1]. The riders are
// those of the division entered in the class, by rider number, followed by any rider a stored
// placing names who is no longer among them, marked as such so that the placing is kept unless
// the user changes it.
class PlacingCard
{
public:
    static constexpr int Places = 10;
    static constexpr int Columns = 2;
    static constexpr int NotPlaced = 0; // the "N/A" line

    static inline const QString NotApplicable = QStringLiteral("N/A");
    static inline const QString NoJudges = QStringLiteral("You must first assign judges to this class");
    static inline const QString NoRiders =
        QStringLiteral("There are currently no riders entered in this class.");
    static inline const QString TwiceUnderOneJudge = QStringLiteral(
        "The current placings cannot be saved. Make sure you do not have the same person placing "
        "twice under the same judge");
    // Marks on the lines of placed riders who can no longer be placed anew.
    static inline const QString NotEnteredMark = QStringLiteral(" (not entered)");
    static inline const QString NoPartnerMark = QStringLiteral(" and (no partner)");
    static inline const QString GoneRider = QStringLiteral("(a rider no longer in the meet)");

    struct Judge
    {
        std::int32_t id = -1;
        QString firstName;
        QString lastName;
        QString fullName() const { return firstName + u' ' + lastName; }
    };
    struct Rider
    {
        std::int32_t riderIndex = -1;
        RowText line;
        bool entered = true;
    };
    // The line chosen for each place of one judge column.
    using Column = std::array<int, Places>;
    using Card = std::array<Column, Columns>;

    enum class Opening { Ready, NoJudges, NoRiders };

    PlacingCard(QSqlDatabase db, QString division, int classNumber);

    // Reads judges, riders and stored placings. Throws DbError.
    Opening load();

    const QString &division() const { return m_division; }
    int classNumber() const { return m_class; }
    // "Class " + number + " - " + name.
    const QString &heading() const { return m_heading; }
    // The first two judges by last name, then first name, then key: column 1 and column 2.
    // A class with one judge has one column.
    const std::vector<Judge> &judges() const { return m_judges; }
    const std::vector<Rider> &riders() const { return m_riders; }
    // "N/A" and then one line per rider: "10 - Ann Lee", for the relay "10 - Ann Lee and 7 - Cid Fox".
    QVector<RowText> lines() const;
    // The stored placings as lines; a column without a judge is all "N/A".
    const Card &stored() const { return m_stored; }

    // The first judge column that places one rider on two places, or -1.
    static int columnPlacingTwice(const Card &card);
    static double points(int place) { return 11 - place; }

    // Replaces every placing of the class and division by the card, one row per place given,
    // in one transaction: all or nothing. A column without a judge stores nothing. Throws DbError,
    // and refuses (Conflict) when another station changed the class's judges or placings since
    // load() read them.
    void save(const Card &card) const;

private:
    void readRiders();
    void readStored();
    int lineOf(std::int32_t riderIndex) const;
    void write(const Card &card, const QString &action) const;

    QSqlDatabase m_db;
    QString m_division;
    int m_class;
    QString m_heading;
    std::vector<Judge> m_judges;
    std::vector<Rider> m_riders;
    Card m_stored{};
    ReadMark m_asRead;
};
