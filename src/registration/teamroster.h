#pragma once

#include "db/readmark.h"

#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

// The team roster: the name-ordered list the team screen shows, one team's row, the save of
// the team form and the delete of a team with its coaches.
struct TeamRecord
{
    std::int32_t code = -1; // -1 while the team is not stored yet
    QString name;
    QString division;
    QString district;
    QString region;
};

class TeamRoster
{
public:
    static inline const QString NoTeamToEdit =
        QStringLiteral("You must select a team before you can edit it");
    static inline const QString NoTeamToDelete = QStringLiteral("You must select a team to Delete");
    static inline const QString HasRiders =
        QStringLiteral("You cannot delete a team that currently has riders belonging to it");
    static inline const QString DeleteQuestion = QStringLiteral(
        "You are about to delete the selected team and coaches assigned to it. This action cannot be undone. "
        "Are you sure you want to continue?");

    explicit TeamRoster(QSqlDatabase db) : m_db(std::move(db)) {}

    // Every team by name; line N of the team list is entry N.
    QVector<TeamRecord> listByName() const;
    static QString listLine(const TeamRecord &team);
    static int indexOf(const QVector<TeamRecord> &teams, std::int32_t code);

    // The team as stored; what was read is remembered in asRead when given, for the save.
    std::optional<TeamRecord> find(std::int32_t code, ReadMark *asRead = nullptr) const;
    // What an editor of one team remembers of it: another station's change or delete is told.
    static ReadMark editMark();
    bool hasRiders(std::int32_t code) const;

    // The first check the form fails, as the message to show; nothing when all pass.
    // Empty means exactly ""; a text of blanks passes.
    static std::optional<QString> firstFailure(const TeamRecord &team);

    // Inserts (code -1) or updates the team; answers its code. An update of a team that changed
    // since it was read into asRead is refused (DbError, Conflict). Throws DbError.
    std::int32_t save(const TeamRecord &team, const ReadMark &asRead = {}) const;

    // The team and its coaches, together or not at all. Throws DbError.
    void deleteWithCoaches(std::int32_t code) const;

private:
    QSqlDatabase m_db;
};
