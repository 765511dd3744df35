#include "app/frmcopymeet.h"

#include "common/messageservice.h"
#include "db/meetaddress.h"
#include "db/meetcopy.h"
#include "shell/appstate.h"
#include "shell/boundary.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace FormKit;

FrmCopyMeet::FrmCopyMeet(AppState &app, QWidget *mainMenu, Target target)
    : OwnedWindow(mainMenu, {mainMenu}, mainMenu), m_app(app), m_target(target)
{
    const bool server = target == Target::Server;
    const QString caption =
        server ? QStringLiteral("Copy Meet to Server") : QStringLiteral("Copy Meet to File");
    setObjectName(QStringLiteral("FrmCopyMeet"));
    setWindowTitle(caption);
    setInnerSize(this, 7200, 2880);
    title(this, QStringLiteral("LblTitle"), caption, 120, 120, 6960, 495);
    label(this, QStringLiteral("LblFrom"),
          QStringLiteral("From: ") + MeetAddress::describe(app.meetConnection.location()), 240, 780, 6720,
          285);
    QLabel *where = label(this, QStringLiteral("LblTarget"),
                          server ? QStringLiteral("Server database (postgresql://user@host:port/database):")
                                 : QStringLiteral("Meet file:"),
                          240, 1200, 6720, 285);
    m_where = textBox(this, QStringLiteral("TxtTarget"), where, 240, 1500, server ? 6720 : 5280, 375, 1024);
    if (!server) {
        connect(button(this, QStringLiteral("CmdBrowse"), QStringLiteral("Browse..."), 5640, 1500, 1320, 375),
                &QPushButton::clicked, this, &FrmCopyMeet::CmdBrowse_Click);
        Choose_File = [this] {
            return QFileDialog::getSaveFileName(nullptr, windowTitle(), m_app.AppFolder,
                                                QStringLiteral("Meet file (*.mdb)"));
        };
    }
    m_progress = label(this, QStringLiteral("LblProgress"), QString(), 240, 1890, 6720, 255);
    connect(button(this, QStringLiteral("CmdCopy"), QStringLiteral("Copy"), 1800, 2160, 1455, 495),
            &QPushButton::clicked, this, &FrmCopyMeet::CmdCopy_Click);
    connect(button(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"), 3945, 2160, 1455, 495),
            &QPushButton::clicked, this, &QWidget::close);
}

void FrmCopyMeet::CmdBrowse_Click()
{
    const QString path = Choose_File ? Choose_File() : QString();
    if (!path.isEmpty())
        m_where->setText(QDir::toNativeSeparators(path));
}

void FrmCopyMeet::CmdCopy_Click()
{
    MessageService &messages = *m_app.messages;
    const QString where = m_where->text().trimmed();
    if (where.isEmpty()) {
        messages.refuse(MessageService::Refusal::Submit,
                        m_target == Target::Server
                            ? QStringLiteral("Type the address of the server database.")
                            : QStringLiteral("Choose the file to copy the meet into."));
        return;
    }
    QString why;
    if (m_target == Target::Server && !MeetAddress::parse(where, &why)) {
        messages.refuse(
            MessageService::Refusal::Submit,
            QStringLiteral("The address \"%1\" cannot be used: %2.").arg(MeetAddress::masked(where), why));
        return;
    }
    const QString path = QDir::fromNativeSeparators(where);
    if (m_target == Target::File) {
        const QString open = m_app.meetConnection.location();
        if (!MeetAddress::isServer(open) &&
            QFileInfo(path).absoluteFilePath() == QFileInfo(open).absoluteFilePath()) {
            messages.refuse(MessageService::Refusal::Submit,
                            QStringLiteral("The meet cannot be copied onto its own file."));
            return;
        }
        if (QFileInfo::exists(path) &&
            !messages.ask(
                QStringLiteral("The file \"%1\" is there already. Copying the meet replaces it. Are you "
                               "sure you want to continue?")
                    .arg(where)))
            return;
    }

    MeetCopy::Counts counts;
    setCursor(Qt::WaitCursor);
    // Painted at once: the copy holds the event loop until it is done.
    const MeetCopy::ShowingProgress showing([this](const QString &step) {
        m_progress->setText(QStringLiteral("Copying the ") + step + QStringLiteral("..."));
        m_progress->repaint();
    });
    const bool copied = Boundary::run(messages, QStringLiteral("Copying the meet"), [&] {
        counts = m_target == Target::Server ? MeetCopy::toServer(m_app.MeetDb(), where)
                                            : MeetCopy::toFile(m_app.MeetDb(), path);
    });
    unsetCursor();
    m_progress->clear();
    if (!copied)
        return;
    messages.tell(QStringLiteral("The meet was copied to %1, and every table counted afterwards: %2.")
                      .arg(m_target == Target::Server ? MeetAddress::describe(where)
                                                      : QStringLiteral("\"%1\"").arg(where),
                           MeetCopy::describe(counts)));
    close();
}
