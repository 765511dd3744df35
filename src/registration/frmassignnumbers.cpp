#include "registration/frmassignnumbers.h"

#include "common/messageservice.h"
#include "common/randomsource.h"
#include "common/ridernumber.h"
#include "common/twips.h"
#include "shell/appstate.h"
#include "shell/boundary.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <memory>

using namespace FormKit;

namespace {
constexpr int KeyRole = Qt::UserRole;
constexpr int FirstNameRole = Qt::UserRole + 1;
constexpr int LastNameRole = Qt::UserRole + 2;
const QString ShowTitle = QStringLiteral("KORV State Championship");

QTreeWidgetItem *node(QTreeWidgetItem *parent, const QString &key, const QString &text)
{
    auto *item = new QTreeWidgetItem(parent, {text});
    item->setData(0, KeyRole, key);
    return item;
}

QGroupBox *frame(QWidget *parent, const QString &name, const QString &caption)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    box->setGeometry(Twips::rect(5880, 840, 3015, 3255));
    return box;
}
} // namespace

FrmAssignNumbers::FrmAssignNumbers(AppState &app, QWidget *mainMenu)
    : OwnedWindow(mainMenu, {mainMenu}, mainMenu), m_app(app)
{
    setObjectName(QStringLiteral("FrmAssignNumbers"));
    setWindowTitle(QStringLiteral("Assign Numbers"));
    setInnerSize(this, 9120, 7560);
    title(this, QStringLiteral("LblTitle"), QStringLiteral("Assign Rider Numbers"), 120, 120, 8880, 495);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("TVNumberAssign"));
    m_tree->setAccessibleName(QStringLiteral("Teams and riders"));
    m_tree->setHeaderHidden(true);
    m_tree->setGeometry(Twips::rect(240, 840, 5400, 6480));
    connect(m_tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { TVNumberAssign_NodeClick(item); });

    m_buttons = frame(this, QStringLiteral("FraButtons"), QString());
    const std::array<std::tuple<const char *, const char *, void (FrmAssignNumbers::*)()>, 4> buttons{{
        {"CmdRandom", "Randomly", &FrmAssignNumbers::CmdRandom_Click},
        {"cmdSequential", "Sequentially", &FrmAssignNumbers::cmdSequential_Click},
        {"CmdIndividual", "Individually", &FrmAssignNumbers::CmdIndividual_Click},
        {"CmdClose", "Close", nullptr},
    }};
    for (int i = 0; i < int(buttons.size()); ++i) {
        const auto &[name, caption, handler] = buttons[i];
        QPushButton *b = button(m_buttons, QString::fromLatin1(name), QString::fromLatin1(caption), 360,
                                240 + i * 720, 2295, 495);
        if (handler)
            connect(b, &QPushButton::clicked, this, handler);
        else
            connect(b, &QPushButton::clicked, this, &QWidget::close);
    }

    m_random = rangeFrame(QStringLiteral("FraRandom"), QStringLiteral("Randomly"), QStringLiteral("Rand"),
                          Mode::Random);
    m_sequential = rangeFrame(QStringLiteral("FraSequential"), QStringLiteral("Sequentially"),
                              QStringLiteral("Seq"), Mode::Sequential);

    m_individual = frame(this, QStringLiteral("FraIndividual"), QString());
    QLabel *guide = label(m_individual, QStringLiteral("lblIndividualGuide"),
                          QStringLiteral("Click on the Individual above to change their rider number."), 120,
                          240, 2775, 975);
    guide->setWordWrap(true);
    connect(button(m_individual, QStringLiteral("CmdIndividualExit"), QStringLiteral("Exit"), 720, 1440, 1455,
                   495),
            &QPushButton::clicked, this, &FrmAssignNumbers::CmdIndividualExit_Click);

    m_editNumber = frame(this, QStringLiteral("FraEditNumber"), QStringLiteral("Individually"));
    m_riderNumber = textBox(m_editNumber, QStringLiteral("TxtRiderNumber"),
                            label(m_editNumber, QStringLiteral("LblRiderNum"),
                                  QStringLiteral("Rider Number:"), 120, 420, 1455, 285),
                            1680, 360, 735, 375, RiderNumber::MaxLength);
    connect(m_riderNumber, &QLineEdit::returnPressed, this, &FrmAssignNumbers::CmdEditSubmit_Click);
    connect(
        button(m_editNumber, QStringLiteral("CmdEditSubmit"), QStringLiteral("Submit"), 120, 1080, 1335, 495),
        &QPushButton::clicked, this, &FrmAssignNumbers::CmdEditSubmit_Click);
    connect(button(m_editNumber, QStringLiteral("CmdEditCancel"), QStringLiteral("Cancel"), 1560, 1080, 1335,
                   495),
            &QPushButton::clicked, this, &FrmAssignNumbers::CmdEditCancel_Click);

    showOnly(m_buttons);
}

FrmAssignNumbers *FrmAssignNumbers::open(AppState &app, QWidget *mainMenu)
{
    std::unique_ptr<FrmAssignNumbers> window(new FrmAssignNumbers(app, mainMenu));
    window->Build_Tree();
    window->show();
    return window.release();
}

QGroupBox *FrmAssignNumbers::rangeFrame(const QString &name, const QString &caption, const QString &prefix,
                                        Mode mode)
{
    QGroupBox *box = frame(this, name, caption);
    label(box, QStringLiteral("Lbl%1Range").arg(prefix), QStringLiteral("Number Range:"), 120, 300, 2775,
          285);
    textBox(box, QStringLiteral("Txt%1Range1").arg(prefix),
            label(box, QStringLiteral("Lbl%1From").arg(prefix), QStringLiteral("From:"), 120, 780, 615, 285),
            840, 720, 735, 375, RiderNumber::MaxLength);
    textBox(box, QStringLiteral("Txt%1Range2").arg(prefix),
            label(box, QStringLiteral("Lbl%1To").arg(prefix), QStringLiteral("To:"), 120, 1320, 615, 285),
            840, 1260, 735, 375, RiderNumber::MaxLength);
    connect(button(box, QStringLiteral("Cmd%1Submit").arg(prefix), QStringLiteral("Submit"), 120, 1920, 1335,
                   495),
            &QPushButton::clicked, this, [this, mode] { submitRange(mode); });
    connect(button(box, QStringLiteral("Cmd%1Cancel").arg(prefix), QStringLiteral("Cancel"), 1560, 1920, 1335,
                   495),
            &QPushButton::clicked, this, [this, mode] { leaveRange(mode); });
    return box;
}

QString FrmAssignNumbers::nodeKey(const QTreeWidgetItem *node)
{
    return node->data(0, KeyRole).toString();
}

void FrmAssignNumbers::Build_Tree()
{
    const QVector<NumberAssigner::TreeTeam> teams = NumberAssigner(m_app.MeetDb()).tree();
    m_current = nullptr;
    m_tree->clear();
    auto *root = new QTreeWidgetItem(m_tree, {ShowTitle});
    root->setData(0, KeyRole, QStringLiteral("Root"));
    for (const auto &team : teams) {
        QTreeWidgetItem *t =
            node(root, team.code == -1 ? QStringLiteral("NoTeam") : QStringLiteral("Team%1").arg(team.code),
                 NumberAssigner::teamText(team));
        for (const auto &r : team.riders) {
            QTreeWidgetItem *item = node(t, QStringLiteral("Rider%1").arg(r.index),
                                         NumberAssigner::riderText(r.number, r.firstName, r.lastName));
            item->setData(0, FirstNameRole, r.firstName);
            item->setData(0, LastNameRole, r.lastName);
        }
    }
    m_tree->expandAll();
    unsetCursor();
}

void FrmAssignNumbers::readAgain()
{
    const QTreeWidgetItem *current = m_tree->currentItem();
    const QString currentKey = current ? nodeKey(current) : QString();
    const bool selected = current && current->isSelected();
    const int scrolled = m_tree->verticalScrollBar()->value();
    if (!Boundary::run(*m_app.messages, QStringLiteral("Reading the teams and riders again"),
                       [this] { Build_Tree(); }))
        return;
    for (QTreeWidgetItemIterator it(m_tree); *it && !currentKey.isEmpty(); ++it)
        if (nodeKey(*it) == currentKey) {
            m_tree->setCurrentItem(
                *it, 0, selected ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate);
            break;
        }
    m_tree->doItemsLayout(); // the scroll bar's range, before the view goes back where it was
    m_tree->verticalScrollBar()->setValue(scrolled);
}

void FrmAssignNumbers::showOnly(QGroupBox *frame)
{
    for (QGroupBox *f : {m_buttons, m_random, m_sequential, m_individual, m_editNumber})
        f->setVisible(f == frame);
}

void FrmAssignNumbers::CmdRandom_Click()
{
    for (QLineEdit *box : m_random->findChildren<QLineEdit *>())
        box->clear();
    showOnly(m_random);
    m_random->findChild<QLineEdit *>(QStringLiteral("TxtRandRange1"))->setFocus();
}

void FrmAssignNumbers::cmdSequential_Click()
{
    for (QLineEdit *box : m_sequential->findChildren<QLineEdit *>())
        box->clear();
    showOnly(m_sequential);
    m_sequential->findChild<QLineEdit *>(QStringLiteral("TxtSeqRange1"))->setFocus();
}

void FrmAssignNumbers::CmdIndividual_Click()
{
    showOnly(m_individual);
    m_tree->setFocus();
}

void FrmAssignNumbers::leaveRange(Mode mode)
{
    QGroupBox *frame = mode == Mode::Random ? m_random : m_sequential;
    for (QLineEdit *box : frame->findChildren<QLineEdit *>())
        box->clear();
    showOnly(m_buttons);
    m_buttons->findChild<QPushButton *>(QStringLiteral("CmdClose"))->setFocus();
}

void FrmAssignNumbers::submitRange(Mode mode)
{
    const QString prefix = mode == Mode::Random ? QStringLiteral("Rand") : QStringLiteral("Seq");
    QGroupBox *frame = mode == Mode::Random ? m_random : m_sequential;
    const auto range = NumberAssigner::readRange(
        frame->findChild<QLineEdit *>(QStringLiteral("Txt%1Range1").arg(prefix))->text(),
        frame->findChild<QLineEdit *>(QStringLiteral("Txt%1Range2").arg(prefix))->text());
    if (!range) {
        m_app.messages->tell(NumberAssigner::RangeInvalid);
        return;
    }
    // All or nothing: after a failure every rider keeps the number the tree shows.
    bool tooSmall = false;
    bool declined = false;
    const bool applied = Boundary::run(
        *m_app.messages, QStringLiteral("Numbering the riders"),
        [&] {
            const NumberAssigner assigner(m_app.MeetDb());
            const int riders = assigner.riderCount();
            const auto sequence = mode == Mode::Random
                                      ? NumberAssigner::randomRange(range->first, range->second, riders,
                                                                    RandomSource::generator())
                                      : NumberAssigner::sequentialRange(range->first, range->second, riders);
            tooSmall = sequence.status == -1;
            declined =
                !tooSmall && !m_app.safety.before(*m_app.messages, QStringLiteral("numbering all riders"));
            if (!tooSmall && !declined)
                assigner.applyNumbers(sequence);
        },
        NumberAssigner::WriteFailed);
    if (!applied || declined)
        return;
    if (tooSmall) {
        m_app.messages->tell(NumberAssigner::RangeTooSmall);
        return;
    }
    Boundary::run(*m_app.messages, QStringLiteral("Showing the new numbers"), [this] { Build_Tree(); });
    m_app.messages->tell(mode == Mode::Random ? NumberAssigner::RandomDone : NumberAssigner::SequentialDone);
    leaveRange(mode);
}

void FrmAssignNumbers::CmdIndividualExit_Click()
{
    showOnly(m_buttons);
    m_buttons->findChild<QPushButton *>(QStringLiteral("CmdClose"))->setFocus();
}

void FrmAssignNumbers::TVNumberAssign_NodeClick(QTreeWidgetItem *node)
{
    // Riders are numbered one by one only in the individual mode.
    if (!node || !m_individual->isVisible())
        return;
    m_current = node;
    if (!nodeKey(node).startsWith(QStringLiteral("Rider")))
        return;
    QFont bold = node->font(0);
    bold.setBold(true);
    node->setFont(0, bold);
    node->setForeground(0, QColor(255, 0, 0));
    m_tree->clearSelection(); // a highlighted line would hide the red
    showOnly(m_editNumber);
    m_tree->setEnabled(false);
    m_riderNumber->setFocus();
}

void FrmAssignNumbers::endRiderEdit()
{
    if (m_current) {
        QFont normal = m_current->font(0);
        normal.setBold(false);
        m_current->setFont(0, normal);
        m_current->setForeground(0, QApplication::palette().color(QPalette::ButtonText));
    }
    m_riderNumber->clear();
    showOnly(m_individual);
    m_tree->setEnabled(true);
    m_tree->setFocus();
}

void FrmAssignNumbers::CmdEditCancel_Click()
{
    endRiderEdit();
}

void FrmAssignNumbers::CmdEditSubmit_Click()
{
    if (!m_current)
        return;
    const QString typed = m_riderNumber->text();
    if (typed.isEmpty()) {
        m_app.messages->tell(NumberAssigner::NoNumber);
        return;
    }
    const auto refuse = [this](const QString &text) {
        m_app.messages->tell(text);
        m_riderNumber->clear();
        m_riderNumber->setFocus();
    };
    const auto number = RiderNumber::convert(typed);
    if (!number) {
        refuse(NumberAssigner::NumberInvalid);
        return;
    }
    const std::int32_t rider = nodeKey(m_current).mid(5).toInt();
    bool written = false;
    // A failure leaves the edit open with what was typed, to try again.
    if (!Boundary::run(*m_app.messages, QStringLiteral("Setting the rider number"),
                       [&] { written = NumberAssigner(m_app.MeetDb()).setRiderNumber(rider, *number); }))
        return;
    if (!written) {
        refuse(NumberAssigner::NumberInUse);
        return;
    }
    // The node shows the number as it is stored ("07" is stored as 7).
    m_current->setText(0, NumberAssigner::riderText(QString::number(*number),
                                                    m_current->data(0, FirstNameRole).toString(),
                                                    m_current->data(0, LastNameRole).toString()));
    endRiderEdit();
}

bool FrmAssignNumbers::event(QEvent *event)
{
    m_return.see(event, this, [this] {
        if (m_editNumber->isHidden())
            readAgain();
    });
    return OwnedWindow::event(event);
}

void FrmAssignNumbers::showEvent(QShowEvent *event)
{
    OwnedWindow::showEvent(event);
    centreOnScreen(this, m_app);
    m_tree->setFocus();
}
