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
        return failed(state,
                      QStringLiteral("The meet %1 cannot be opened: %2.").arg(where, e.engineMessage()));
    } catch (const std::exception &e) {
        return failed(state, QString::fromStdString(e.what()));
    }
    state.KORV.setDataSource(address);
    return Outcome::Ready;
}

} // namespace

QString serverAddress(const QString &appFolder, const QStringList &arguments, QString *error)
{
    QString address;
    QString source;
    const qsizetype option = arguments.indexOf(MeetOption);
    if (option >= 0) {
        source = QStringLiteral("the command line");
        address = arguments.value(option + 1);
    } else {
        const QString path = QDir(appFolder).filePath(SettingsFile);
        QFile settings(path);
        if (!settings.exists())
            return {};
        source = QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
        if (!settings.open(QIODevice::ReadOnly | QIODevice::Text)) {
            *error = QStringLiteral("The settings file %1 cannot be read: %2.")
                         .arg(source, settings.errorString());
            return {};
        }
        // key = value lines; [sections], and lines starting with # or ;, are passed over.
        while (!settings.atEnd()) {
            const QString line = QString::fromUtf8(settings.readLine()).trimmed();
            const qsizetype eq = line.indexOf(u'=');
            if (eq > 0 && line.left(eq).trimmed().compare(QStringLiteral("meet"), Qt::CaseInsensitive) == 0)
                address = line.mid(eq + 1).trimmed();
        }
        if (address.isEmpty())
            return {};
    }
    QString why;
    if (!MeetAddress::parse(address, &why)) {
        *error = QStringLiteral("The meet address \"%1\" (from %2) cannot be used: %3.")
                     .arg(address, source, address.isEmpty() ? QStringLiteral("it is missing") : why);
        return {};
    }
    return address;
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
