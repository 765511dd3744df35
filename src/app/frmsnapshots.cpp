#include "app/frmsnapshots.h"

#include "common/messageservice.h"
#include "common/twips.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTreeWidget>

using namespace FormKit;

namespace {
QString count(int n)
{
    return n < 0 ? QStringLiteral("unreadable") : QString::number(n);
}
} // namespace

FrmSnapshots::FrmSnapshots(AppState &app, QWidget *mainMenu)
    : OwnedWindow(mainMenu, {mainMenu}, mainMenu), m_app(app)
{
    setObjectName(QStringLiteral("FrmSnapshots"));
    setWindowTitle(QStringLiteral("Snapshots"));
    setInnerSize(this, 9600, 6600);
    m_list = columnList(this, QStringLiteral("LvSnapshots"),
                        label(this, QStringLiteral("LblSnapshots"),
                              QStringLiteral("Snapshots of the meet, newest first"), 240, 180, 6000, 285),
                        {QStringLiteral("Taken"), QStringLiteral("What came next"), QStringLiteral("Teams"),
                         QStringLiteral("Riders"), QStringLiteral("Entries"), QStringLiteral("Placings")},
                        240, 480, 9120, 4920);
    m_list->setColumnWidth(0, Twips::toPixels(2100));
    m_list->setColumnWidth(1, Twips::toPixels(3600));
    for (int c = 2; c < 6; ++c)
        m_list->setColumnWidth(c, Twips::toPixels(780));
    m_folder = label(this, QStringLiteral("LblFolder"), QString(), 240, 5460, 9120, 285);
    showFolder();
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(button(this, QStringLiteral("CmdTakeSnapshot"), QStringLiteral("Take Snapshot Now"), 240, 5880,
                   2295, 495),
            &QPushButton::clicked, this, &FrmSnapshots::CmdTakeSnapshot_Click);
    connect(button(this, QStringLiteral("CmdRestore"), QStringLiteral("Restore"), 2760, 5880, 2295, 495),
            &QPushButton::clicked, this, &FrmSnapshots::CmdRestore_Click);
    connect(button(this, QStringLiteral("CmdClose"), QStringLiteral("Close"), 7065, 5880, 2295, 495),
            &QPushButton::clicked, this, &QWidget::close);
}

FrmSnapshots *FrmSnapshots::open(AppState &app, QWidget *mainMenu)
{
    auto *window = new FrmSnapshots(app, mainMenu);
    window->Load_List();
    window->show();
    centreOnScreen(window, app);
    window->m_list->setFocus();
    return window;
}

void FrmSnapshots::Load_List()
{
    m_list->clear();
    m_snapshots = m_app.safety.store().list(true);
    for (const Snapshot &s : m_snapshots) {
        auto *line = new QTreeWidgetItem(
            m_list, {SnapshotStore::shownTime(s.time), s.damage.isEmpty() ? s.what : s.what + Damaged,
                     count(s.teams), count(s.riders), count(s.entries), count(s.placings)});
        if (!s.damage.isEmpty())
            line->setToolTip(1, s.damage);
    }
    if (!m_snapshots.empty())
        m_list->setCurrentItem(m_list->topLevelItem(0));
}

MeetCopy::ShowingProgress FrmSnapshots::showingProgress(const QString &doing)
{
    return MeetCopy::ShowingProgress([this, doing](const QString &step) {
        m_folder->setText(doing + step + QStringLiteral("..."));
        // Painted at once: the copy holds the event loop until it is done.
        m_folder->repaint();
    });
}

void FrmSnapshots::showFolder()
{
    m_folder->setText(
        QStringLiteral("Kept in %1").arg(QDir::toNativeSeparators(m_app.safety.store().folder())));
}

void FrmSnapshots::CmdTakeSnapshot_Click()
{
    const auto showing = showingProgress(QStringLiteral("Taking the snapshot: "));
    const auto over = qScopeGuard([this] { showFolder(); });
    if (Boundary::run(*m_app.messages, QStringLiteral("Taking a snapshot of the meet"),
                      [this] { m_app.safety.take(SafetyNet::ByHand); }))
        Load_List();
}

void FrmSnapshots::CmdRestore_Click()
{
    const int line = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (line < 0) {
        m_app.messages->tell(NothingChosen);
        return;
    }
    const Snapshot chosen = m_snapshots[line];
    const QString when = SnapshotStore::shownTime(chosen.time);
    if (!chosen.damage.isEmpty()) {
        m_app.messages->tell(QStringLiteral("The snapshot of %1 (%2) is damaged and cannot be restored: %3. "
                                            "The meet was not changed.")
                                 .arg(when, chosen.what, chosen.damage));
        return;
    }
    if (!m_app.messages->ask(
            QStringLiteral("The meet will be replaced by the snapshot of %1 (%2). The meet as it "
                           "is now is kept as a snapshot first. Are you sure you want to "
                           "continue?")
                .arg(when, chosen.what)))
        return;
    Snapshot kept;
    const auto showing = showingProgress(QStringLiteral("Restoring the snapshot: "));
    const auto over = qScopeGuard([this] { showFolder(); });
    if (!Boundary::run(
            *m_app.messages, QStringLiteral("Restoring the snapshot"),
            [&] { kept = m_app.safety.restore(chosen); }, QStringLiteral("The meet was not changed.")))
        return;
    Q_EMIT restored();
    Load_List();
    m_app.messages->tell(
        QStringLiteral("The meet is as it was at %1. The meet as it was until now is kept as the "
                       "snapshot \"%2\".")
            .arg(when, kept.what));
}
