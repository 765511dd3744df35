#pragma once

#include "db/dbconnection.h"

#include <QString>

#include <functional>

// Builds a new meet file: the empty file, its nine tables, the class catalogue, and (through
// the callback it is given) the label images drawn from that catalogue. Builds the same meet in
// an empty database on a server, where the label images stay with each station.
//
// The file is built under a temporary name in the same folder and renamed into place only when
// everything is complete, so a failure part-way never leaves a meet file that a later start
// would open as it is. Throws DbError (or std::runtime_error from the callback) on failure,
// after removing the temporary file.
class Cls_Db_Manager
{
public:
    // Called with the creation handle after the classes are written and before it closes.
    using LabelStep = std::function<void(const QSqlDatabase &creationHandle)>;

    // Builds the meet at dbname when no file is there; does nothing otherwise.
    // Answers whether it built one.
    bool Build_Database(const QString &dbname, const LabelStep &buildLabels = {});

    // Builds the meet's tables and classes in the open server database when it holds no table at
    // all, in one transaction; does nothing when it holds tables (whose they are is the caller's
    // check). Answers whether it built them. Two stations starting at once build it once.
    // Throws DbError.
    bool Build_Server_Database(const QSqlDatabase &db);

    // The building steps, in the order Build_Database runs them.
    void Create_Meet_File(const QString &path);
    void Create_TblClass();
    void Create_TblClassJudges();
    void Create_TblCoach();
    void Create_TblEntry();
    void Create_TblJudge();
    void Create_TblPairing();
    void Create_TblPerson();
    void Create_TblPlacing();
    void Create_TblTeam();
    void Populate_Class();

    QSqlDatabase creationHandle() const { return m_server.isValid() ? m_server : m_handle.database(); }
    void closeCreationHandle() { m_handle.close(); }

private:
    void createTable(const char *name);
    void createTablesAndClasses();

    DbConnection m_handle;
    QSqlDatabase m_server; // the server database being built into, instead of a file
};
