#pragma once

#include "db/resultrows.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

#include <cstdint>

// What a window read of the meet, kept so that its save can tell whether another station changed
// it since: the save reads the same rows again inside its transaction and is refused, naming what
// changed, when they differ in anything but their order. The last writer never wins unseen.
//
//   ReadMark mark(QStringLiteral("another station changed this team since you opened it"));
//   const ResultRows team = mark.select(db, action, "SELECT * FROM TblTeam WHERE TeamCode = ?", {code});
//   ...
//   WriteTransaction::run(db, save, [&] { mark.check(db, save); ...writes... });
class ReadMark
{
public:
    // Remembers nothing: check() passes.
    ReadMark() = default;
    // The words for a change, and for the rows of the first read being gone altogether.
    explicit ReadMark(QString changed, QString gone = {});

    // Runs a read through Sql::select and remembers its rows. Throws DbError.
    ResultRows select(const QSqlDatabase &db, const QString &action, const QString &statement,
                      const QVariantList &values = {});

    // Reads everything again; throws DbError (Conflict) when anything differs. Throws DbError when
    // the database fails.
    void check(const QSqlDatabase &db, const QString &action) const;

    // The save of one record of the roster in table: a new one (key -1) inserted, answering the
    // key the engine gave it in keyColumn; a stored one updated (the key bound after the values)
    // in a transaction that first checks this mark. Either is journaled as what. Throws DbError.
    std::int32_t saveRecord(const QSqlDatabase &db, const QString &action, std::int32_t key,
                            const QVariantList &values, const QString &insert, const QString &update,
                            const QString &table, const QString &keyColumn, const QString &what) const;

    // Rows as texts, one a row, sorted: two reads hold the same rows whatever their order.
    static QStringList canonical(const QVector<QVector<QVariant>> &rows);

private:
    struct Read
    {
        QString statement;
        QVariantList values;
        QStringList rows; // each row as one text, sorted
    };

    QString m_changed;
    QString m_gone;
    QVector<Read> m_reads;
};
