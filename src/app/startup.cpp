#include "app/startup.h"

#include "app/datafolder.h"
#include "common/labelfiles.h"
#include "common/messageservice.h"
#include "common/twips.h"
#include "db/cls_db_manager.h"
#include "db/dberror.h"
#include "db/journal.h"
#include "db/meetaddress.h"
#include "db/meetschema.h"
#include "entries/frmlabelbuilder.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace Startup {
namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Start-up goes no further: the meet is let go and the user told why.
Outcome failed(AppState &state, const QString &why)
{
    state.meetConnection.close();
    state.messages->fail(why);
    return Outcome::Failed;
}

void buildLabels(const QString &appFolder, const QSqlDatabase &handle)
{
    const QString folder = LabelFiles::folder(appFolder);
    if (!QFileInfo(folder).isDir() && !QDir(appFolder).mkdir(LabelFiles::FolderName))
        throw std::runtime_error(
            QStringLiteral("The folder \"%1\" could not be created.").arg(native(folder)).toStdString());
    FrmLabelBuilder(folder).Build_Labels(handle);
}

// What a meet of an earlier version lacks is added; a meet that cannot be given its journal now
// (held by another program) works on without it, the user told, and gets it at a later start.
void addJournal(AppState &state)
{
    const std::optional<QString> why = MeetSchema::addMissing(state.MeetDb());
    if (!Journal::checkPresent(state.MeetDb()))
        state.messages->tell(QStringLiteral("The meet has no journal of its saves yet, and it could not be "
                                            "added now: %1.\n\nThe program works on without it; it is added "
                                            "at a later start.")
                                 .arg(why.value_or(QStringLiteral("the meet could not be read"))));
}

// The meet in a database on a server: built there when the database is empty, checked to be a
// meet when it is not. The label images are this station's own, drawn when its folder is missing.
Outcome openServerMeet(AppState &state, const QString &address)
{
    const QString where = MeetAddress::describe(address);
    try {
        state.meetConnection.open(address, DbConnection::Mode::ReadWrite, QStringLiteral("MeetDb"));
        std::optional<QString> reason;
        if (!Cls_Db_Manager().Build_Server_Database(state.MeetDb())) {
            if (const auto other = MeetSchema::foreignTable(state.MeetDb()))
                reason = QStringLiteral("it holds the table %1, which is not a table of a meet").arg(*other);
            else
                reason = MeetSchema::mismatch(state.MeetDb());
        }
        if (reason)
            return failed(state, QStringLiteral("The database %1 cannot be used as the meet: %2.\n\n"
                                                "It has been left as it is.")
                                     .arg(where, *reason));
        addJournal(state);
        if (!QFileInfo(LabelFiles::folder(state.AppFolder)).isDir())
            buildLabels(state.AppFolder, state.MeetDb());
    } catch (const DbError &e) {
        return failed(state, QStringLiteral("The meet %1 cannot be opened: %2.").arg(where, e.why()));
    } catch (const std::exception &e) {
        return failed(state, QString::fromStdString(e.what()));
    }
    state.KORV.setDataSource(address);
    return Outcome::Ready;
}

} // namespace

namespace {

// The line of the settings file as the user may be shown it, and the start of every refusal.
QString refusal(const QString &source, int number, const QString &line)
{
    return QStringLiteral("The settings file %1 cannot be used: line %2, \"%3\", ")
        .arg(source)
        .arg(number)
        .arg(MeetAddress::masked(line));
}

} // namespace

Settings settings(const QString &appFolder, const QStringList &arguments, QString *error)
{
    Settings found;
    const QString path = QDir(appFolder).filePath(SettingsFile);
    const QString source = QStringLiteral("\"%1\"").arg(native(path));
    const QStringList keys{QStringLiteral("meet"), QStringLiteral("station")};
    QFile file(path);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            *error =
                QStringLiteral("The settings file %1 cannot be read: %2.").arg(source, file.errorString());
            return {};
        }
        QHash<QString, int> lineOf; // the line each key was given on
        int number = 0;
        while (!file.atEnd()) {
            ++number;
            QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (number == 1 && line.startsWith(QChar(0xFEFF))) // the mark Windows editors put first
                line = line.mid(1).trimmed();
            if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';') ||
                (line.startsWith(u'[') && line.endsWith(u']')))
                continue;
            const qsizetype eq = line.indexOf(u'=');
            const QString key =
                eq < 0 ? line.section(u':', 0, 0).trimmed().toLower() : line.left(eq).trimmed().toLower();
            const QString value = line.mid(eq + 1).trimmed();
            QString why;
            if (eq < 0)
                why =
                    line.contains(u':') && keys.contains(key)
                        ? QStringLiteral("has a colon where an equals sign belongs: write %1 = ...").arg(key)
                        : QStringLiteral("is not of the form key = value");
            else if (!keys.contains(key))
                why = QStringLiteral("names \"%1\", which is no setting of Trotwise (meet and station are)")
                          .arg(line.left(eq).trimmed());
            else if (lineOf.contains(key))
                why = QStringLiteral("gives %1 a second time (first on line %2)").arg(key).arg(lineOf[key]);
            else if (value.isEmpty())
                why = key == u"meet" ? QStringLiteral("gives no address after meet =")
                                     : QStringLiteral("gives no name after station =");
            else if (key == u"meet" && !MeetAddress::parse(value, &why))
                why = QStringLiteral("names an address that cannot be used: ") + why;
            if (!why.isEmpty()) {
                *error = refusal(source, number, line) + why +
                         (why.endsWith(u'.') ? QString() : QStringLiteral("."));
                return {};
            }
            lineOf.insert(key, number);
            (key == u"meet" ? found.meet : found.station) = value;
        }
    }

    const qsizetype option = arguments.indexOf(MeetOption);
    if (option < 0)
        return found;
    const QString address = arguments.value(option + 1);
    QString why;
    if (!MeetAddress::parse(address, &why)) {
        *error =
            QStringLiteral("The meet address \"%1\" (from the command line) cannot be used: %2.")
                .arg(MeetAddress::masked(address), address.isEmpty() ? QStringLiteral("it is missing") : why);
        return {};
    }
    found.meet = address;
    return found;
}

QString meetPath(const QString &appFolder)
{
    return QDir(appFolder).filePath(QStringLiteral("KORVState") + MeetYear + QStringLiteral(".mdb"));
}

QSize screenTwips(const QSizeF &pixels)
{
    return {int(Twips::roundHalfEven(pixels.width() * Twips::PerPixel)),
            int(Twips::roundHalfEven(pixels.height() * Twips::PerPixel))};
}

bool screenAccepted(std::int32_t widthTwips, std::int32_t heightTwips)
{
    return widthTwips >= MinScreenWidth && heightTwips >= MinScreenHeight;
}

Outcome run(AppState &state, QSize screen, const QString &appFolder, const QString &serverAddress)
{
    MessageService &messages = *state.messages;
    state.ScreenWidth = screen.width();
    state.ScreenHeight = screen.height();
    if (!screenAccepted(state.ScreenWidth, state.ScreenHeight)) {
        messages.tell(ScreenRefusal);
        return Outcome::ScreenRefused;
    }

    state.AppFolder = QDir::cleanPath(QFileInfo(appFolder).absoluteFilePath());
    if (!serverAddress.isEmpty())
        return openServerMeet(state, serverAddress);
    const QString path = meetPath(state.AppFolder);

    try {
        if (!QFileInfo::exists(path)) {
            if (!DataFolder::writable(state.AppFolder)) {
                messages.fail(QStringLiteral("A new meet cannot be started: the folder \"%1\" "
                                             "does not allow new files to be written.")
                                  .arg(native(state.AppFolder)));
                return Outcome::Failed;
            }
            Cls_Db_Manager manager;
            manager.Build_Database(path,
                                   [&](const QSqlDatabase &handle) { buildLabels(state.AppFolder, handle); });
        }

        QString reason;
        if (!QFileInfo(path).isFile())
            reason = QStringLiteral("it is not a file");
        else if (!QFileInfo(path).isWritable() || !DataFolder::writable(state.AppFolder))
            // The engine writes a journal beside the file on every save.
            reason = QStringLiteral("the file or its folder cannot be written to");
        else if (looksLikeSqliteFile(path, &reason)) {
            state.meetConnection.open(path, DbConnection::Mode::ReadWrite, QStringLiteral("MeetDb"));
            if (auto mismatch = MeetSchema::mismatch(state.MeetDb()))
                reason = *mismatch;
            else
                addJournal(state);
        }
        if (!reason.isEmpty())
            return failed(state, QStringLiteral("The meet file \"%1\" cannot be used: %2.\n\n"
                                                "It has been left as it is.")
                                     .arg(native(path), reason));
    } catch (const DbError &e) {
        return failed(state, e.userText());
    } catch (const std::exception &e) {
        return failed(state, QString::fromStdString(e.what()));
    }

    state.KORV.setDataSource(path);
    return Outcome::Ready;
}

} // namespace Startup
