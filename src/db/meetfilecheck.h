#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Whether the meet file is sound, as the engine itself sees it: its integrity check (every page,
// index and record readable and consistent), its foreign key check, and the nine tables of a
// meet with their columns.
namespace MeetFileCheck {

inline const QString Sound = QStringLiteral("The meet file is sound.");
inline const QString SoundOnServer = QStringLiteral("The meet on the server is sound.");

// What is wrong with the file, one line each (on a server, whether it holds a whole meet); empty when it is
// sound. Throws DbError when the checks cannot run at all.
QStringList problems(const QSqlDatabase &db);

// The result in words: Sound, or the problems found.
QString verdict(const QStringList &problems, bool onServer = false);

} // namespace MeetFileCheck
