#pragma once

#include "db/readmark.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <optional>

// The coaches of a team: the list the coach screen shows, one coach's row, the save of the
// coach form and the delete.
struct CoachRecord
{
    std::int32_t code = -1; // -1 while the coach is not stored yet
    std::int32_t teamCode = -1;
    QString firstName;
    QString lastName;
    QString address;
    QString city;
    QString zip;
    QString primary;
    QString secondary;
    QString email;
    QString position;
};

class CoachRoster
{
public:
    static inline const QString HeadCoach = QStringLiteral("Head Coach");
    static inline const QString AssistantCoach = QStringLiteral("Assistant Coach");
    static inline const QString NoTeamToAddTo =
        QStringLiteral("You must first select the team you want to add the coach to.");
    static inline const QString NoCoachToEdit =
        QStringLiteral("You must first select the coach you want to edit.");
    static inline const QString NoCoachToDelete = QStringLiteral("You must select a coach to delete");
    static inline const QString DeleteQuestion =
        QStringLiteral("Clicking OK will delete the selected Coach and cannot be undone. Are you sure you "
                       "want to continue?");

    explicit CoachRoster(QSqlDatabase db) : m_db(std::move(db)) {}

    // The team's coaches, head coaches first, then by last name; line N is entry N.
    QVector<CoachRecord> listForTeam(std::int32_t teamCode) const;
    static QString listLine(const CoachRecord &coach);

    // The coach as stored; what was read is remembered in asRead when given, for the save.
    std::optional<CoachRecord> find(std::int32_t code, ReadMark *asRead = nullptr) const;
    static ReadMark editMark();

    // The position box's line for a stored position: 0 for exactly "Head Coach", 1 for anything else.
    static int positionLine(const QString &position) { return position == HeadCoach ? 0 : 1; }

    static std::optional<QString> firstFailure(const CoachRecord &coach);

    // Inserts (code -1) or updates the coach; answers its code. An update of a coach that changed
    // since it was read into asRead is refused (DbError, Conflict). Throws DbError.
    std::int32_t save(const CoachRecord &coach, const ReadMark &asRead = {}) const;
    void remove(std::int32_t code) const;

private:
    QSqlDatabase m_db;
};
