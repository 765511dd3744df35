#include "app/startup.h"

#include "common/labelfiles.h"
#include "common/messageservice.h"
#include "common/twips.h"
#include "db/cls_db_manager.h"
#include "db/dberror.h"
#include "db/meetschema.h"
#include "entries/frmlabelbuilder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace Startup {
namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A folder the program can create files in: checked by creating one, which is the only
// reliable test (permissions, read-only mounts, full disks all show here).
bool folderWritable(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".trotwise-XXXXXX")));
    return probe.open();
}

void buildLabels(const QString &appFolder, const QSqlDatabase &handle)
{
    const QString folder = LabelFiles::folder(appFolder);
    if (!QFileInfo(folder).isDir() && !QDir(appFolder).mkdir(LabelFiles::FolderName))
        throw std::runtime_error(
            QStringLiteral("The folder \"%1\" could not be created.").arg(native(folder)).toStdString());
    FrmLabelBuilder(folder).Build_Labels(handle);
}

} // namespace

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

Outcome run(AppState &state, QSize screen, const QString &appFolder)
{
    MessageService &messages = *state.messages;
    state.ScreenWidth = screen.width();
    state.ScreenHeight = screen.height();
    if (!screenAccepted(state.ScreenWidth, state.ScreenHeight)) {
        messages.tell(ScreenRefusal);
        return Outcome::ScreenRefused;
    }

    state.AppFolder = QDir::cleanPath(QFileInfo(appFolder).absoluteFilePath());
    const QString path = meetPath(state.AppFolder);

    try {
        if (!QFileInfo::exists(path)) {
            if (!folderWritable(state.AppFolder)) {
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
        else if (!QFileInfo(path).isWritable() || !folderWritable(state.AppFolder))
            // The engine writes a journal beside the file on every save.
            reason = QStringLiteral("the file or its folder cannot be written to");
        else if (looksLikeSqliteFile(path, &reason)) {
            state.meetConnection.open(path, DbConnection::Mode::ReadWrite, QStringLiteral("MeetDb"));
            if (auto mismatch = MeetSchema::mismatch(state.MeetDb()))
                reason = *mismatch;
        }
        if (!reason.isEmpty()) {
            state.meetConnection.close();
            messages.fail(QStringLiteral("The meet file \"%1\" cannot be used: %2.\n\n"
                                         "It has been left as it is.")
                              .arg(native(path), reason));
            return Outcome::Failed;
        }
    } catch (const DbError &e) {
        state.meetConnection.close();
        messages.fail(e.userText());
        return Outcome::Failed;
    } catch (const std::exception &e) {
        state.meetConnection.close();
        messages.fail(QString::fromStdString(e.what()));
        return Outcome::Failed;
    }

    state.KORV.setDataSource(path);
    return Outcome::Ready;
}

} // namespace Startup
