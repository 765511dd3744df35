#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Whether the meet file is sound, as the engine itself sees it: its integrity check (every page,
// index and record readable and consistent), its foreign key check, and the nine tables of a
// meet with their columns. A file too damaged for a check to run is damaged, not a failed check.
namespace MeetFileCheck {

inline const QString Sound = QStringLiteral("The meet file is sound.");
inline const QString SoundOnServer = QStringLiteral("The meet on the server is sound.");

// What is wrong with the file, one line each (on a server, whether it holds a whole meet); empty when it is
// sound. Throws DbError only when another program holds the file.
QStringList problems(const QSqlDatabase &db);

// The same by the engine's quick check (every page and record readable, indexes not compared with
// their tables), for a copy of the meet: a snapshot after it is written and before it is restored.
// Throws DbError only when another program holds the file.
QStringList quickProblems(const QSqlDatabase &db);

// The result in words: Sound, or the problems found with what to do.
QString verdict(const QStringList &problems, bool onServer = false);

} // namespace MeetFileCheck
