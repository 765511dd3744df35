#pragma once

#include "db/readmark.h"

#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

// The judges of the meet: the list the judge screen shows, one judge's row, the save of the
// judge form and the delete of a judge who judges no class and placed none: the standings, the
// rider results and the class placings would otherwise disagree about the placings left behind.
struct JudgeRecord
{
    std::int32_t id = -1; // -1 while the judge is not stored yet
    QString firstName;
    QString lastName;
    QString address;
    QString city;
    QString state;
    QString zip;
    QString phoneNumber;
    QString email;
    QString memo;
};

class JudgeRoster
{
public:
    static inline const QString NoJudgeToEdit =
        QStringLiteral("You must first select the Judge you want to edit.");
    static inline const QString NoJudgeToDelete = QStringLiteral("You must select a Judge to delete.");
    static inline const QString HasClasses =
        QStringLiteral("The judge cannot be deleted as long as a class is assigned to them.");
    static inline const QString HasPlacings =
        QStringLiteral("The judge cannot be deleted as long as a class is placed by them.");
    static inline const QString DeleteQuestion =
        QStringLiteral("Clicking OK will delete the selected Judge and cannot be undone. Are you sure you "
                       "want to continue?");

    explicit JudgeRoster(QSqlDatabase db) : m_db(std::move(db)) {}

    // Every judge by last name; line N of the judge list is entry N.
    QVector<JudgeRecord> listByLastName() const;
    static QString listLine(const JudgeRecord &judge);

    // The judge as stored; what was read is remembered in asRead when given, for the save.
    std::optional<JudgeRecord> find(std::int32_t id, ReadMark *asRead = nullptr) const;
    static ReadMark editMark();
    // Why the judge cannot be deleted (HasClasses or HasPlacings), or nothing.
    std::optional<QString> deleteRefusal(std::int32_t id) const;

    static std::optional<QString> firstFailure(const JudgeRecord &judge);

    // Inserts (id -1) or updates the judge; answers its id. Throws DbError.
    std::int32_t save(const JudgeRecord &judge, const ReadMark &asRead = {}) const;
    // Deletes the judge, unless the check of deleteRefusal() fails in the delete's own transaction
    // (another station may have assigned or placed since): answers the refusal then. Throws DbError.
    std::optional<QString> remove(std::int32_t id) const;

private:
    QSqlDatabase m_db;
};
