#pragma once

#include "db/readmark.h"

#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

// Riders: the search of the rider screen, one rider's row, the save of the rider form with the
// rider-number rule, and the delete of a rider who is entered in no class.
struct RiderRecord
{
    std::int32_t index = -1;    // RiderIndex; -1 while the rider is not stored yet
    std::int32_t teamCode = -1; // -1 when no team is chosen
    QString number;
    QString firstName;
    QString lastName;
    QString address;
    QString city;
    QString zip;
};

struct RiderFound
{
    std::int32_t index;
    QString number;
    QString firstName;
    QString lastName;
    QString teamName;
};

class RiderRegistry
{
public:
    enum class SearchBy { LastName = 0, FirstName = 1, RiderNumber = 2, Team = 3 };
    enum class SaveOutcome { Saved, NumberInvalid, NumberTaken };

    static inline const QString NoRiderToEdit =
        QStringLiteral("You must first select the rider you want to edit.");
    static inline const QString NoRiderToDelete =
        QStringLiteral("You must first select the rider you want to delete.");
    static inline const QString RiderIsEntered =
        QStringLiteral("You may not delete a rider who is entered in a class.");
    static inline const QString DeleteQuestion =
        QStringLiteral("You are about to delete the selected rider. This action cannot be undone. Are you "
                       "sure you want to continue?");
    static inline const QString NoTeam = QStringLiteral("A team must be selected in the Team box");
    static inline const QString MissingInformation =
        QStringLiteral("The rider cannot be saved due to missing information. Make sure you have filled in "
                       "the riders 'first name', "
                       "'last name', 'team', and 'rider number' and try again.");
    static inline const QString NumberInvalid = QStringLiteral("The specified rider number is invalid.");
    static inline const QString NumberTaken =
        QStringLiteral("The specified rider number is currently assigned to another rider.");

    explicit RiderRegistry(QSqlDatabase db) : m_db(std::move(db)) {}

    // Riders of existing teams whose chosen column contains the text anywhere, without regard
    // to letter case; the text is taken literally (no wildcards). In the order they were added.
    QVector<RiderFound> search(SearchBy column, const QString &text) const;
    static QString resultLine(const RiderFound &rider);

    // The rider as stored; what was read is remembered in asRead when given, for the save.
    std::optional<RiderRecord> find(std::int32_t index, ReadMark *asRead = nullptr) const;
    static ReadMark editMark();
    bool isEntered(std::int32_t index) const;

    // Checks the rider number (converts, fits, held by no other rider by value) and writes the
    // rider as typed, in one transaction. Missing fields are the form's check, made before.
    // An update of a rider who changed since being read into asRead is refused (DbError,
    // Conflict). Throws DbError when the database fails.
    SaveOutcome save(const RiderRecord &rider, const ReadMark &asRead = {}) const;
    void remove(std::int32_t index) const;

    // True when a rider other than except holds the number (compared by value).
    bool numberHeldByAnother(std::int16_t number, std::int32_t except) const;

private:
    SaveOutcome write(const RiderRecord &rider, std::int16_t number, const ReadMark &asRead,
                      const QString &action) const;

    QSqlDatabase m_db;
};
