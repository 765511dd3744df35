#pragma once

#include <QSqlDatabase>
#include <QString>

// Putting back one save of the journal: the rows it replaced are written again in place of the
// rows it wrote, as a new save with a journal line of its own. Refused, with the reason, when a
// later save changed the same rows (the line of that save named, so that it can be shown), and
// when the rows put back would take out of the meet a team, rider or judge that others now refer to.
namespace PutBack {

struct Outcome
{
    QString refusal;      // empty when put back
    qint64 laterLine = 0; // the later save that changed the same rows, where the journal shows it
    qint64 newLine = 0;   // the put-back's own line
    bool done() const { return refusal.isEmpty(); }
};

// Throws DbError.
Outcome run(const QSqlDatabase &db, qint64 line);

} // namespace PutBack
