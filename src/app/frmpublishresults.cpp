#include "app/frmpublishresults.h"

#include "common/messageservice.h"
#include "common/twips.h"
#include "judging/resultspages.h"
#include "judging/resultsposter.h"
#include "reports/reportpdf.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/reportwindow.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTime>

using namespace FormKit;

namespace {

// What was typed last during this run, offered again.
QString &lastFolder()
{
    static QString folder;
    return folder;
}

QString &lastAddress()
{
    static QString address;
    return address;
}

QString clock(const QDateTime &at)
{
    return at.time().toString(QStringLiteral("H:mm"));
}

QLabel *wrapped(QLabel *label)
{
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

FrmPublishResults *FrmPublishResults::open(AppState &app, QWidget *mainMenu)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *open = qobject_cast<FrmPublishResults *>(w); open && open->isVisible()) {
            open->raise();
            open->activateWindow();
            return open;
        }
    auto *window = new FrmPublishResults(app, mainMenu);
    window->show();
    return window;
}

FrmPublishResults::FrmPublishResults(AppState &app, QWidget *mainMenu)
    : OwnedWindow(mainMenu, {}, mainMenu), m_app(app)
{
    setObjectName(QStringLiteral("FrmPublishResults"));
    setWindowTitle(QStringLiteral("Publish Results"));
    setInnerSize(this, Width, Height);
    title(this, QStringLiteral("LblTitle"), QStringLiteral("Publish Results"), 120, 120, 7560, 495);

    QLabel *folder = label(this, QStringLiteral("LblFolder"), QStringLiteral("Folder:"), 240, 810, 1320, 285);
    m_folder = textBox(this, QStringLiteral("TxtFolder"), folder, 1560, 765, 4680, 375, 1024);
    m_folder->setText(lastFolder().isEmpty()
                          ? QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                .filePath(QStringLiteral("Results"))
                          : lastFolder());
    connect(button(this, QStringLiteral("CmdBrowse"), QStringLiteral("Browse..."), 6360, 765, 1200, 375),
            &QPushButton::clicked, this, &FrmPublishResults::CmdBrowse_Click);
    QLabel *address =
        label(this, QStringLiteral("LblAddress"), QStringLiteral("Web address:"), 240, 1290, 1320, 285);
    m_url = textBox(this, QStringLiteral("TxtAddress"), address, 1560, 1245, 4680, 375, 1024);
    m_url->setText(lastAddress());
    m_url->setPlaceholderText(QStringLiteral("where the folder can be read, for the poster"));
    connect(button(this, QStringLiteral("CmdPoster"), QStringLiteral("Poster..."), 6360, 1245, 1200, 375),
            &QPushButton::clicked, this, &FrmPublishResults::CmdPoster_Click);

    connect(
        button(this, QStringLiteral("CmdPublishNow"), QStringLiteral("Publish Now"), 240, 1800, 2400, 495),
        &QPushButton::clicked, this, &FrmPublishResults::CmdPublishNow_Click);

    QLabel *every =
        label(this, QStringLiteral("LblEvery"), QStringLiteral("Publish every"), 240, 2535, 1320, 285);
    m_minutes = new QSpinBox(this);
    m_minutes->setObjectName(QStringLiteral("TxtMinutes"));
    m_minutes->setGeometry(Twips::rect(1560, 2490, 780, 375));
    m_minutes->setRange(1, 60);
    m_minutes->setValue(DefaultMinutes);
    m_minutes->setAccessibleName(QStringLiteral("Publish every so many minutes while the meet changes"));
    every->setBuddy(m_minutes);
    label(this, QStringLiteral("LblMinutes"), QStringLiteral("minutes while the meet changes"), 2460, 2535,
          3420, 285);
    m_live = button(this, QStringLiteral("CmdLive"), QStringLiteral("Start"), 6000, 2460, 1560, 435);
    connect(m_live, &QPushButton::clicked, this, &FrmPublishResults::CmdLive_Click);

    m_last = wrapped(label(this, QStringLiteral("LblLast"), QString(), 240, 3060, 7320, 720));
    m_problem = wrapped(label(this, QStringLiteral("LblProblem"), QString(), 240, 3840, 7320, 1140));
    m_last->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(button(this, QStringLiteral("CmdClose"), QStringLiteral("Close"), 6000, 5100, 1560, 435),
            &QPushButton::clicked, this, &QWidget::close);

    connect(&m_timer, &QTimer::timeout, this, &FrmPublishResults::Publish_Tick);
    Choose_Folder = [this](const QString &suggested) {
        return QFileDialog::getExistingDirectory(this, windowTitle(), suggested);
    };
}

void FrmPublishResults::CmdBrowse_Click()
{
    const QString chosen = Choose_Folder ? Choose_Folder(m_folder->text()) : QString();
    if (!chosen.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(chosen));
}

std::optional<std::vector<FolderSwap::File>> FrmPublishResults::checkedRequest()
{
    if (m_folder->text().trimmed().isEmpty()) {
        m_app.messages->refuse(MessageService::Refusal::Submit,
                               QStringLiteral("Choose the folder to publish the results into."));
        return std::nullopt;
    }
    const QString address = m_url->text().trimmed();
    if (address.isEmpty())
        return std::vector<FolderSwap::File>{};
    if (const auto why = ResultsPoster::addressProblem(address)) {
        m_app.messages->refuse(MessageService::Refusal::Submit, *why);
        return std::nullopt;
    }
    lastAddress() = address;
    return std::vector<FolderSwap::File>{
        {ResultsPoster::FileName, Report::pdf(ResultsPoster::document(address))}};
}

void FrmPublishResults::CmdPublishNow_Click()
{
    const auto extra = checkedRequest();
    if (!extra)
        return;
    const QString folder = QDir::fromNativeSeparators(m_folder->text().trimmed());
    QString written;
    setCursor(Qt::WaitCursor);
    const bool published = Boundary::run(*m_app.messages, QStringLiteral("Publishing the results"), [&] {
        written = ResultsPages::publish(m_app.MeetDb(), folder, *extra);
    });
    unsetCursor();
    if (!published)
        return;
    lastFolder() = m_folder->text().trimmed();
    m_last->setText(QStringLiteral("%1: %2").arg(clock(QDateTime::currentDateTime()), written));
    m_problem->clear();
    m_app.messages->tell(written);
}

void FrmPublishResults::CmdLive_Click()
{
    if (isLive()) {
        setLive(false);
        return;
    }
    const auto extra = checkedRequest();
    if (!extra)
        return;
    lastFolder() = m_folder->text().trimmed();
    m_publisher.emplace(QDir::fromNativeSeparators(lastFolder()), *extra);
    setLive(true);
    Publish_Tick();
}

void FrmPublishResults::setLive(bool live)
{
    if (!live)
        m_publisher.reset();
    for (QWidget *w : std::initializer_list<QWidget *>{m_folder, m_url, m_minutes})
        w->setEnabled(!live);
    findChild<QPushButton *>(QStringLiteral("CmdBrowse"))->setEnabled(!live);
    m_live->setText(live ? QStringLiteral("Stop") : QStringLiteral("Start"));
    if (live)
        m_timer.start(m_minutes->value() * 60 * 1000);
    else
        m_timer.stop();
}

void FrmPublishResults::Publish_Tick()
{
    if (!m_publisher)
        return;
    const ResultsPublisher::Outcome outcome = m_publisher->publishIfChanged(m_app.MeetDb());
    const QString every =
        QStringLiteral("Publishing every %1 minutes while the meet changes.").arg(m_minutes->value());
    switch (outcome.kind) {
    case ResultsPublisher::Outcome::Kind::Published:
        m_lastPublished = QStringLiteral("%1: %2").arg(clock(outcome.at), outcome.line);
        m_problem->clear();
        m_last->setText(every + u' ' + m_lastPublished);
        break;
    case ResultsPublisher::Outcome::Kind::Unchanged:
        m_last->setText(every + u' ' + m_lastPublished +
                        QStringLiteral(" Looked again at %1: nothing new.").arg(clock(outcome.at)));
        break;
    case ResultsPublisher::Outcome::Kind::Failed:
        m_problem->setText(QStringLiteral("Not published at %1: %2 It is tried again every %3 minutes.")
                               .arg(clock(outcome.at), outcome.line)
                               .arg(m_minutes->value()));
        break;
    }
}

void FrmPublishResults::CmdPoster_Click()
{
    const QString address = m_url->text().trimmed();
    if (const auto why = ResultsPoster::addressProblem(address)) {
        m_app.messages->refuse(MessageService::Refusal::Submit, *why);
        return;
    }
    lastAddress() = address;
    Boundary::run(*m_app.messages, QStringLiteral("Opening the poster"),
                  [&] { ReportWindow::show(m_app, ResultsPoster::document(address), {this}); });
}
