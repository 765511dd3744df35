#pragma once

#include "db/dbconnection.h"
#include "reports/shapedrows.h"
#include "reports/shapequery.h"

#include <QSqlDatabase>
#include <QString>

#include <map>

// The report data source: its own connection, named "Trotwise", to the meet file, and the
// named commands the reports read. Start-up points it at the file; it connects the first time
// a report needs it.
//
// A screen sets a command and opens it before it shows the report; the report closes it when
// its window closes, so the next run opens it afresh:
//
//   korv.setCommand(ShapeQuery("JudgeAgenda", sql, {division}).computeBy({...}));
//   korv.open("JudgeAgenda");
//   if (korv.rows("JudgeAgenda").isEmpty()) ...
class KORVConnection
{
public:
    static inline const QString ConnectionName = QStringLiteral("Trotwise");

    // Pointing at another file closes the connection and every command.
    void setDataSource(const QString &meetPath);
    const QString &dataSource() const { return m_path; }

    // The open connection; throws DbError when the file cannot be opened.
    QSqlDatabase database();
    // Closes every command and the connection.
    void close();

    // Defines (or redefines, closing it) the command of the query's name.
    void setCommand(const ShapeQuery &query);
    bool hasCommand(const QString &name) const;
    // Runs the command and keeps its rows; an open command is read again. Throws DbError, and
    // std::out_of_range for a name that was never set.
    void open(const QString &name);
    bool isOpen(const QString &name) const;
    // Drops the command's rows; closing a closed command does nothing.
    void close(const QString &name);
    // The rows of an open command. Throws std::logic_error when it is not open.
    const ShapedRows &rows(const QString &name) const;

private:
    struct Command
    {
        ShapeQuery query;
        bool open = false;
        ShapedRows rows;
    };
    const Command *find(const QString &name) const;
    Command &command(const QString &name);

    QString m_path;
    DbConnection m_connection;
    std::map<QString, Command> m_commands; // by case-folded name
};
