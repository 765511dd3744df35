#pragma once

#include "common/rowtext.h"
#include "db/classtable.h"
#include "db/readmark.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <optional>

class GridMarks;

struct EntryTeam
{
    std::int32_t code;
    QString name;
};

struct EntryRider
{
    std::int32_t index;
    QString firstName;
    QString lastName;
    QString number;
};

// The entries of one team: its riders in rider-number order (numbers sort as text), the classes
// with their per-team maximum, what is stored, and the save that checks the relay pairings and
// replaces the team's entries and pairings as a whole.
//
// A relay team is one class-17 entry, held by one rider, and a pairing that names the other
// rider as partner by rider number. Numbers compare by value, as the rider registry keeps them
// unique: "7" names the rider numbered "07".
class EntrySheet
{
public:
    static inline const QString NoTeamChosen = QStringLiteral("Please Provide the Team to be Entered");
    static inline const QString NoRiders =
        QStringLiteral("There are currently no riders for the selected team.");
    static inline const QString NotReached = QStringLiteral("This error should not be reached");
    static inline const QString PartnerMissing =
        QStringLiteral("All riders entered in the 2 Person Relay must have a relay partner listed");
    static inline const QString TwoRelayTeams =
        QStringLiteral("One rider cannot be involved in two different 2 Person Relay Teams");
    static QString saveQuestion(int entries);
    static QString unknownPartner(const QString &number);

    struct Cell
    {
        int row; // from 1, in the riders' order
        int cls;
    };
    // A refused save: the message, and the row whose partner box is at fault.
    struct Refusal
    {
        QString text;
        int row;
    };

    // The teams of a division by name: line N of the team box is team N. Throws DbError.
    static QVector<EntryTeam> teamsOf(const QSqlDatabase &db, const QString &division);
    static bool hasRiders(const QSqlDatabase &db, std::int32_t team);

    // Reads the team, its riders, the classes and what is stored. Throws DbError.
    EntrySheet(QSqlDatabase db, std::int32_t team);

    // "Blue (B)": the team and its division.
    const RowText &teamCaption() const { return m_caption; }
    const QVector<EntryRider> &riders() const { return m_riders; }
    const QVector<StoredClass> &classes() const { return m_classes; }
    // The stored entries in the order read, a duplicate row included.
    const QVector<Cell> &storedEntries() const { return m_entries; }
    // The partner number stored for each row ("" for none): the partner's number as it stands
    // now, or the number stored with the pairing when that rider is gone.
    const QStringList &storedPartners() const { return m_partners; }
    // The rider numbers a partner box lists: the team's, in order, riders without one left out.
    QStringList partnerChoices() const;

    // "Jane Doe - (12)", the rider's row label.
    static RowText rowCaption(const EntryRider &rider);
    // "Jane Doe (12)", the rider as cells and partner boxes name him.
    static QString riderName(const EntryRider &rider);

    // Checks the relay pairings, then replaces the team's entries and pairings with the ticks
    // in one transaction. partners holds each row's partner box text; rows without a class-17
    // tick are not read. Answers the first failing check, after which nothing is written.
    // Throws DbError, and then nothing is written either: so when another station changed the
    // team's riders, entries or pairings since this sheet read them (Conflict).
    std::optional<Refusal> submit(const GridMarks &ticks, const QStringList &partners) const;

private:
    struct Partner
    {
        std::int32_t index;
        QString number;
        QString firstName;
        QString lastName;
    };
    std::optional<Refusal> firstFailure(const GridMarks &ticks, const QStringList &partners,
                                        QVector<Partner> &found) const;
    std::optional<Refusal> write(const GridMarks &ticks, const QStringList &partners,
                                 const QString &action) const;

    QSqlDatabase m_db;
    std::int32_t m_team;
    RowText m_caption;
    QVector<EntryRider> m_riders;
    QVector<StoredClass> m_classes;
    QVector<Cell> m_entries;
    QStringList m_partners;
    ReadMark m_asRead;
};
