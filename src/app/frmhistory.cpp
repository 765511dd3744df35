#include "app/frmhistory.h"

#include "app/historyreport.h"
#include "common/messageservice.h"
#include "common/twips.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"
#include "shell/putback.h"
#include "shell/reportwindow.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>

using namespace FormKit;

namespace {

// The first day a date box offers, shown as "(all)": no bound.
const QDate NoBound(2000, 1, 1);

QDateEdit *dateBox(QWidget *parent, const QString &name, QLabel *buddy, int left, int top)
{
    auto *box = new QDateEdit(parent);
    box->setObjectName(name);
    box->setGeometry(Twips::rect(left, top, 1500, 315));
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    box->setMinimumDate(NoBound);
    box->setSpecialValueText(FrmHistory::Any);
    box->setDate(NoBound);
    box->setCalendarPopup(false);
    buddy->setBuddy(box);
    return box;
}

QString cellText(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

// The rows of one place in a grid under the table's columns; rows the other side lacks in bold.
void fill(QTreeWidget *grid, const QString &side, const QString &table, const QVector<QVariantList> &rows,
          const QVector<QVariantList> &other)
{
    grid->clear();
    const QStringList columns = Journal::columnsOf(table);
    grid->setHeaderLabels(columns);
    QSet<QString> there;
    for (const QVariantList &row : other) {
        QStringList cells;
        for (const QVariant &v : row)
            cells << cellText(v);
        there.insert(cells.join(u'\x1f'));
    }
    QFont changed = grid->font();
    changed.setBold(true);
    for (int r = 0; r < rows.size(); ++r) {
        QStringList cells;
        for (const QVariant &v : rows[r])
            cells << cellText(v);
        auto *item = new QTreeWidgetItem(grid, cells);
        const bool differs = !there.contains(cells.join(u'\x1f'));
        for (int c = 0; c < cells.size(); ++c) {
            item->setData(c, Qt::AccessibleTextRole,
                          QStringLiteral("%1, row %2, %3: %4%5")
                              .arg(side)
                              .arg(r + 1)
                              .arg(columns.value(c), cells[c], differs ? QStringLiteral(" (changed)") : QString()));
            if (differs)
                item->setFont(c, changed);
        }
    }
}

} // namespace

FrmHistory::FrmHistory(AppState &app, QWidget *mainMenu)
    : OwnedWindow(mainMenu, {mainMenu}, mainMenu), m_app(app)
{
    setObjectName(QStringLiteral("FrmHistory"));
    setWindowTitle(QStringLiteral("History"));
    setInnerSize(this, 11400, 8280);

    m_what = comboBox(this, QStringLiteral("CbWhat"),
                      label(this, QStringLiteral("LblWhat"), QStringLiteral("What:"), 240, 180, 600, 285), 840,
                      120, 2160, 315, QStringList{Any} + Journal::kindNames());
    m_station = comboBox(this, QStringLiteral("CbStation"),
                         label(this, QStringLiteral("LblStation"), QStringLiteral("Station:"), 3180, 180, 780, 285),
                         3960, 120, 2400, 315);
    m_from = dateBox(this, QStringLiteral("DtFrom"),
                     label(this, QStringLiteral("LblFrom"), QStringLiteral("From:"), 6540, 180, 600, 285), 7140, 120);
    m_to = dateBox(this, QStringLiteral("DtTo"),
                   label(this, QStringLiteral("LblTo"), QStringLiteral("To:"), 8820, 180, 480, 285), 9300, 120);

    m_lines = columnList(this, QStringLiteral("LvLines"),
                         label(this, QStringLiteral("LblHistory"),
                               QStringLiteral("Saves of the meet, newest first"), 240, 600, 6000, 285),
                         {QStringLiteral("Line"), QStringLiteral("Saved"), QStringLiteral("Station"),
                          QStringLiteral("What")},
                         240, 900, 10920, 3000);
    // Thousands of lines of one height each: the list measures one, not every one.
    m_lines->setUniformRowHeights(true);
    m_lines->setWordWrap(false);
    m_lines->setColumnWidth(0, Twips::toPixels(720));
    m_lines->setColumnWidth(1, Twips::toPixels(2100));
    m_lines->setColumnWidth(2, Twips::toPixels(1800));

    m_table = comboBox(this, QStringLiteral("CbTable"),
                       label(this, QStringLiteral("LblTable"), QStringLiteral("Rows of:"), 240, 4080, 900, 285),
                       1140, 4020, 6000, 315);
    m_before = columnList(this, QStringLiteral("GrdBefore"),
                          label(this, QStringLiteral("LblBefore"), QStringLiteral("Before the save"), 240, 4440,
                                5340, 285),
                          {}, 240, 4740, 5340, 2760);
    m_after = columnList(this, QStringLiteral("GrdAfter"),
                         label(this, QStringLiteral("LblAfter"), QStringLiteral("After the save"), 5820, 4440,
                               5340, 285),
                         {}, 5820, 4740, 5340, 2760);

    connect(button(this, QStringLiteral("CmdPutBack"), QStringLiteral("Put Back"), 240, 7620, 2295, 495),
            &QPushButton::clicked, this, &FrmHistory::CmdPutBack_Click);
    connect(button(this, QStringLiteral("CmdPrintPreview"), QStringLiteral("Print Preview"), 2760, 7620, 2295,
                   495),
            &QPushButton::clicked, this, &FrmHistory::CmdPrintPreview_Click);
    connect(button(this, QStringLiteral("CmdClose"), QStringLiteral("Close"), 8865, 7620, 2295, 495),
            &QPushButton::clicked, this, &QWidget::close);

    m_what->setCurrentIndex(0);
    const auto reload = [this] {
        Boundary::run(*m_app.messages, QStringLiteral("Reading the journal"), [this] { Load_Lines(); });
    };
    connect(m_what, &QComboBox::activated, this, reload);
    connect(m_station, &QComboBox::activated, this, reload);
    connect(m_from, &QDateEdit::editingFinished, this, reload);
    connect(m_to, &QDateEdit::editingFinished, this, reload);
    connect(m_lines, &QTreeWidget::currentItemChanged, this, [this] {
        Boundary::run(*m_app.messages, QStringLiteral("Reading the journal"), [this] { showDetail(); });
    });
    connect(m_table, &QComboBox::currentIndexChanged, this, &FrmHistory::showPlace);
}

FrmHistory *FrmHistory::open(AppState &app, QWidget *mainMenu)
{
    auto *window = new FrmHistory(app, mainMenu);
    try {
        window->m_station->addItems(QStringList{Any} + Journal::stations(app.MeetDb()));
        window->m_station->setCurrentIndex(0);
        window->Load_Lines();
    } catch (...) {
        // Never shown: the main menu is given back as it was.
        delete window;
        throw;
    }
    window->show();
    centreOnScreen(window, app);
    window->m_lines->setFocus();
    return window;
}

Journal::Filter FrmHistory::filter() const
{
    Journal::Filter f;
    if (m_what->currentIndex() > 0)
        f.kind = m_what->currentText();
    if (m_station->currentIndex() > 0)
        f.station = m_station->currentText();
    // Days as the station's clock reads them, the last one whole.
    if (m_from->date() != NoBound)
        f.from = QDateTime(m_from->date(), QTime(0, 0));
    if (m_to->date() != NoBound)
        f.until = QDateTime(m_to->date().addDays(1), QTime(0, 0));
    return f;
}

void FrmHistory::Load_Lines()
{
    m_shown = Journal::lines(m_app.MeetDb(), filter());
    m_lines->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(m_shown.size());
    for (const Journal::Line &l : m_shown) {
        const QString when = HistoryReport::shownTime(l.savedAt);
        auto *item = new QTreeWidgetItem({QString::number(l.id), when, l.station, l.what});
        item->setData(0, Qt::AccessibleTextRole,
                      QStringLiteral("Line %1, %2, %3: %4").arg(l.id).arg(when, l.station, l.what));
        items << item;
    }
    m_lines->addTopLevelItems(items);
    if (!items.isEmpty())
        m_lines->setCurrentItem(items.front());
    else
        showDetail();
}

void FrmHistory::selectLine(qint64 id)
{
    const auto find = [this, id] {
        for (int i = 0; i < m_shown.size(); ++i)
            if (m_shown[i].id == id) {
                m_lines->setCurrentItem(m_lines->topLevelItem(i));
                m_lines->scrollToItem(m_lines->currentItem());
                return true;
            }
        return false;
    };
    if (find())
        return;
    m_what->setCurrentIndex(0);
    m_station->setCurrentIndex(0);
    m_from->setDate(NoBound);
    m_to->setDate(NoBound);
    Load_Lines();
    find();
}

void FrmHistory::showDetail()
{
    m_places.clear();
    const int row = m_lines->currentItem() ? m_lines->indexOfTopLevelItem(m_lines->currentItem()) : -1;
    if (row >= 0 && row < m_shown.size())
        Journal::line(m_app.MeetDb(), m_shown[row].id, &m_places);
    const QSignalBlocker quiet(m_table);
    m_table->clear();
    for (const Journal::Scope &s : m_places)
        m_table->addItem(QStringLiteral("%1 (%2 %3 before, %4 after)")
                             .arg(s.table)
                             .arg(s.before.size())
                             .arg(s.before.size() == 1 ? QStringLiteral("row") : QStringLiteral("rows"))
                             .arg(s.after.size()));
    m_table->setCurrentIndex(m_places.isEmpty() ? -1 : 0);
    showPlace();
}

void FrmHistory::showPlace()
{
    const int i = m_table->currentIndex();
    if (i < 0 || i >= m_places.size()) {
        m_before->clear();
        m_after->clear();
        return;
    }
    const Journal::Scope &s = m_places[i];
    fill(m_before, QStringLiteral("Before"), s.table, s.before, s.after);
    fill(m_after, QStringLiteral("After"), s.table, s.after, s.before);
}

void FrmHistory::CmdPutBack_Click()
{
    const int row = m_lines->currentItem() ? m_lines->indexOfTopLevelItem(m_lines->currentItem()) : -1;
    if (row < 0 || row >= m_shown.size()) {
        m_app.messages->tell(NothingChosen);
        return;
    }
    const Journal::Line chosen = m_shown[row];
    if (!m_app.messages->ask(QStringLiteral("What line %1 (%2) replaced will be written again in place of what "
                                            "it wrote. Are you sure you want to continue?")
                                 .arg(chosen.id)
                                 .arg(chosen.what)))
        return;
    PutBack::Outcome outcome;
    if (!Boundary::run(
            *m_app.messages, QStringLiteral("Putting back a save"),
            [&] { outcome = PutBack::run(m_app.MeetDb(), chosen.id); }, QStringLiteral("The meet was not changed.")))
        return;
    if (!outcome.done()) {
        m_app.messages->refuse(MessageService::Refusal::Edit, outcome.refusal);
        if (outcome.laterLine)
            selectLine(outcome.laterLine);
        return;
    }
    Q_EMIT putBack();
    Boundary::run(*m_app.messages, QStringLiteral("Reading the journal"), [&] {
        Load_Lines();
        selectLine(outcome.newLine);
    });
}

void FrmHistory::CmdPrintPreview_Click()
{
    const Journal::Filter f = filter();
    QStringList chosenBy;
    chosenBy << (f.kind.isEmpty() ? QStringLiteral("all saves") : f.kind);
    if (!f.station.isEmpty())
        chosenBy << QStringLiteral("from ") + f.station;
    if (f.from.isValid())
        chosenBy << QStringLiteral("since ") + m_from->date().toString(Qt::ISODate);
    if (f.until.isValid())
        chosenBy << QStringLiteral("until ") + m_to->date().toString(Qt::ISODate);
    const QVector<Journal::Line> lines = m_shown;
    ReportWindow::fromRows(m_app, [lines] { return HistoryReport::rows(lines); },
                           HistoryReport::RptHistory(chosenBy.join(QStringLiteral(", "))), {this},
                           QStringLiteral("There are no saves to print."));
}
