#include "db/cls_db_manager.h"

#include "db/classcatalogue.h"
#include "db/engine.h"
#include "db/meetschema.h"
#include "db/sql.h"
#include "db/writetransaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <optional>

namespace {

// Removes the half-built file (and a journal the engine may have left) unless released.
class PartialFile
{
public:
    explicit PartialFile(QString path) : m_path(std::move(path)) {}
    ~PartialFile()
    {
        if (m_path.isEmpty())
            return;
        QFile::remove(m_path);
        QFile::remove(m_path + QStringLiteral("-journal"));
    }
    void release() { m_path.clear(); }

private:
    QString m_path;
};

QString temporaryPathBeside(const QString &dbname)
{
    const QFileInfo target(dbname);
    return target.dir().filePath(
        QStringLiteral(".%1.%2.building").arg(target.fileName()).arg(QCoreApplication::applicationPid()));
}

} // namespace

bool Cls_Db_Manager::Build_Database(const QString &dbname, const LabelStep &buildLabels)
{
    if (QFileInfo::exists(dbname))
        return false;

    const QString building = temporaryPathBeside(dbname);
    QFile::remove(building); // left over from a run that was killed part-way
    PartialFile partial(building);

    Create_Meet_File(building);
    createTablesAndClasses();
    if (buildLabels)
        buildLabels(creationHandle());
    // Everything written so far goes to the disk at once, before the file is put in place.
    Sql::exec(creationHandle(), QStringLiteral("Completing the meet database"),
              QStringLiteral("PRAGMA synchronous = FULL"));
    Sql::exec(creationHandle(), QStringLiteral("Completing the meet database"),
              QStringLiteral("PRAGMA user_version = 2006"));
    closeCreationHandle();

    if (!QFile::rename(building, dbname))
        throw DbError(
            QStringLiteral("Putting the new meet database in place"), {},
            QStringLiteral("the file \"%1\" could not be created").arg(QDir::toNativeSeparators(dbname)));
    partial.release();
    return true;
}

bool Cls_Db_Manager::Build_Server_Database(const QSqlDatabase &db)
{
    m_server = db;
    const auto done = qScopeGuard([this] { m_server = QSqlDatabase(); });
    if (!Engine::tables(db).isEmpty())
        return false;
    try {
        WriteTransaction::run(db, QStringLiteral("Building the meet database"), [&] {
            for (const QString &statement : MeetSchema::setupStatements(true))
                Sql::exec(db, QStringLiteral("Building the meet database"), statement);
            createTablesAndClasses();
        });
    } catch (const DbError &) {
        // Another station built it in the same moment: its tables are the meet.
        if (Engine::tables(db).isEmpty())
            throw;
        return false;
    }
    return true;
}

void Cls_Db_Manager::createTablesAndClasses()
{
    // The steps are one transaction: the database holds all nine tables, the journal and the classes or
    // nothing. (On a server it is the caller's.)
    std::optional<WriteTransaction> tx;
    if (!m_server.isValid())
        tx.emplace(creationHandle(), QStringLiteral("Building the meet database"));
    Create_TblClass();
    Create_TblClassJudges();
    Create_TblCoach();
    Create_TblEntry();
    Create_TblJudge();
    Create_TblPairing();
    Create_TblPerson();
    Create_TblPlacing();
    Create_TblTeam();
    createTable("TblJournal");
    for (const MeetSchema::Index &index : MeetSchema::indexes())
        Sql::exec(creationHandle(),
                  QStringLiteral("Creating the index %1").arg(QLatin1StringView(index.name)),
                  MeetSchema::createStatement(index));
    Populate_Class();
    if (tx)
        tx->commit();
}

void Cls_Db_Manager::Create_Meet_File(const QString &path)
{
    m_handle.open(path, DbConnection::Mode::Create);
    // The file is not the meet until it is renamed into place, whole: while it is built, no step
    // waits for the disk and its journal stays in memory.
    Sql::exec(creationHandle(), QStringLiteral("Creating the meet database"),
              QStringLiteral("PRAGMA synchronous = OFF"));
    Sql::exec(creationHandle(), QStringLiteral("Creating the meet database"),
              QStringLiteral("PRAGMA journal_mode = MEMORY"));
    // Touch the file so that the engine writes its header now; a folder the program cannot
    // write into fails here, before anything else is attempted.
    Sql::exec(creationHandle(), QStringLiteral("Creating the meet database"),
              QStringLiteral("PRAGMA user_version = 2006"));
}

void Cls_Db_Manager::createTable(const char *name)
{
    const MeetSchema::Table *t = MeetSchema::table(QString::fromLatin1(name));
    Q_ASSERT(t);
    Sql::exec(creationHandle(), QStringLiteral("Creating the table %1").arg(QLatin1StringView(name)),
              MeetSchema::createStatement(*t, m_server.isValid()));
}

void Cls_Db_Manager::Create_TblClass()
{
    createTable("TblClass");
}
void Cls_Db_Manager::Create_TblClassJudges()
{
    createTable("TblClassJudges");
}
void Cls_Db_Manager::Create_TblCoach()
{
    createTable("TblCoach");
}
void Cls_Db_Manager::Create_TblEntry()
{
    createTable("TblEntry");
}
void Cls_Db_Manager::Create_TblJudge()
{
    createTable("TblJudge");
}
void Cls_Db_Manager::Create_TblPairing()
{
    createTable("TblPairing");
}
void Cls_Db_Manager::Create_TblPerson()
{
    createTable("TblPerson");
}
void Cls_Db_Manager::Create_TblPlacing()
{
    createTable("TblPlacing");
}
void Cls_Db_Manager::Create_TblTeam()
{
    createTable("TblTeam");
}

void Cls_Db_Manager::Populate_Class()
{
    const QString action = QStringLiteral("Writing the class catalogue");
    const QString insert = QStringLiteral(
        "INSERT INTO TblClass (ClassNumber, ClassName, MaxEntries, ImagePath) VALUES (?, ?, ?, ?)");
    for (const ClassCatalogue::ClassRow &c : ClassCatalogue::rows())
        Sql::exec(
            creationHandle(), action, insert,
            {c.number, QString::fromLatin1(c.name), double(c.maxEntries), QString::fromLatin1(c.imagePath)});
}
