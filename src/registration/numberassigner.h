#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>
#include <random>
#include <utility>

// Rider-number assignment: at random or in sequence from a range for every rider at once, or
// one rider at a time; and the teams-and-riders tree the assignment screen shows.
class NumberAssigner
{
public:
    static inline const QString RangeInvalid =
        QStringLiteral("The range provided is invalid. Please check it and try again.");
    static inline const QString RangeTooSmall =
        QStringLiteral("The range provided is not large enough for the current number of riders");
    static inline const QString RandomDone = QStringLiteral("The random number assignment was successful.");
    static inline const QString SequentialDone =
        QStringLiteral("The sequential number assignment was successful.");
    static inline const QString WriteFailed =
        QStringLiteral("A unexpected error has occurred. Please try your request again.");
    static inline const QString NoNumber = QStringLiteral("You must provide a valid rider number.");
    static inline const QString NumberInUse =
        QStringLiteral("The specified number is already in use by another rider.");
    static inline const QString NumberInvalid = QStringLiteral("The specified rider number is invalid");

    // Status 1 and the numbers, or status -1 (the range holds fewer numbers than there are riders).
    struct Sequence
    {
        int status = -1;
        QVector<std::int16_t> numbers;
    };

    struct TreeRider
    {
        std::int32_t index;
        QString number;
        QString firstName;
        QString lastName;
    };
    struct TreeTeam
    {
        std::int32_t code; // -1 for the riders whose team no longer exists
        QString division;
        QString name;
        QVector<TreeRider> riders;
    };

    explicit NumberAssigner(QSqlDatabase db) : m_db(std::move(db)) {}

    // The two range boxes as {low, high}, in either order; nothing when a box is empty or
    // does not convert.
    static std::optional<std::pair<std::int16_t, std::int16_t>> readRange(const QString &from,
                                                                          const QString &to);

    // Every rider, with or without a team: the count the range must cover.
    int riderCount() const;

    // A uniform random permutation of the whole range (only the first riderCount are used).
    static Sequence randomRange(std::int16_t low, std::int16_t high, int riders, std::mt19937 &generator);
    static Sequence sequentialRange(std::int16_t low, std::int16_t high, int riders);

    // Numbers the riders of existing teams in order division, team name, last name, first name,
    // all in one transaction. Throws DbError (nothing changed) on failure.
    void applyNumbers(const Sequence &sequence) const;

    // Sets one rider's number (written as plain decimal) unless another rider holds it; answers
    // whether it was written. Throws DbError.
    bool setRiderNumber(std::int32_t riderIndex, std::int16_t number) const;

    // Teams by division and name with their riders by last and first name; riders whose team
    // is gone come last under a team of their own (code -1).
    QVector<TreeTeam> tree() const;
    static QString teamText(const TreeTeam &team);
    static QString riderText(const QString &number, const QString &firstName, const QString &lastName);

private:
    void numberAll(const Sequence &sequence, const QString &action) const;

    QSqlDatabase m_db;
};
