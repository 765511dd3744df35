#include "app/frmprintpack.h"

#include "app/frmpublishresults.h"
#include "app/printpack.h"
#include "common/messageservice.h"
#include "common/twips.h"
#include "db/classtable.h"
#include "judging/judgescards.h"
#include "judging/standingstable.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"
#include "shell/reportwindow.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>

using namespace FormKit;

namespace {

QLabel *wrapped(QLabel *label)
{
    label->setWordWrap(true);
    return label;
}

} // namespace

FrmPrintPack::FrmPrintPack(AppState &app, QWidget *parent) : ActivityScreen(parent), m_app(app)
{
    setObjectName(QStringLiteral("FrmPrintPack"));
    setWindowTitle(QStringLiteral("Print Pack"));
    setInnerSize(this, Width, Height);
    serifTitle(this, QStringLiteral("LblTitle"), QStringLiteral("Print Pack"), 120, 120, 8160, 495);

    // The class sheets: a line per class with its entries and the splits it is dealt into.
    wrapped(label(this, QStringLiteral("LblClassSheets"),
                  QStringLiteral("Class sheets of every class with entries, in the splits chosen here:"), 240,
                  720, 4920, 480));
    auto *table = new QWidget;
    table->setObjectName(QStringLiteral("FraSplitsTable"));
    auto *grid = new QGridLayout(table);
    grid->setContentsMargins(Twips::toPixels(60), Twips::toPixels(30), Twips::toPixels(60),
                             Twips::toPixels(30));
    grid->setVerticalSpacing(Twips::toPixels(30));
    const QString headings[] = {QStringLiteral("Class"), QStringLiteral("Entries"), QStringLiteral("Splits")};
    for (int c = 0; c < 3; ++c) {
        auto *heading = new QLabel(headings[c], table);
        heading->setObjectName(QStringLiteral("LblHeading_%1").arg(c));
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        grid->addWidget(heading, 0, c, c == 0 ? Qt::AlignLeft : Qt::AlignRight);
    }
    int row = 1;
    Boundary::run(*m_app.messages, QStringLiteral("Reading the classes"), [&] {
        for (const StoredClass &cls : ClassTable::read(m_app.MeetDb())) {
            const QString line = ClassTable::line(cls);
            auto *name = new QLabel(line, table);
            name->setObjectName(QStringLiteral("LblClass_%1").arg(cls.number));
            auto *entries = new QLabel(table);
            entries->setObjectName(QStringLiteral("LblEntries_%1").arg(cls.number));
            auto *splits = new QSpinBox(table);
            splits->setObjectName(QStringLiteral("TxtSplits_%1").arg(cls.number));
            splits->setRange(1, RunningOrder::MaxSplits);
            splits->setAccessibleName(QStringLiteral("Splits, class ") + line);
            name->setBuddy(splits);
            grid->addWidget(name, row, 0);
            grid->addWidget(entries, row, 1, Qt::AlignRight);
            grid->addWidget(splits, row, 2, Qt::AlignRight);
            m_entries[cls.number] = entries;
            m_splits[cls.number] = splits;
            ++row;
        }
    });
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(0, 1);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("FraSplits"));
    scroll->setAccessibleName(QStringLiteral("Splits by class"));
    scroll->setGeometry(Twips::rect(240, 1260, 4920, 3960));
    scroll->setWidgetResizable(true);
    scroll->setWidget(table);

    connect(button(this, QStringLiteral("CmdRandom"), QStringLiteral("Random Order"), 240, 5400, 2370, 615),
            &QPushButton::clicked, this, &FrmPrintPack::CmdRandom_Click);
    connect(button(this, QStringLiteral("CmdSequential"), QStringLiteral("Sequential Order"), 2790, 5400,
                   2370, 615),
            &QPushButton::clicked, this, &FrmPrintPack::CmdSequential_Click);

    // The other packs, and the results for posting.
    wrapped(label(this, QStringLiteral("LblOtherPacks"), QStringLiteral("Every report of its kind:"), 5520,
                  720, 2640, 480));
    connect(button(this, QStringLiteral("CmdPlacingsPack"), QStringLiteral("Class Placings"), 5520, 1260,
                   2640, 615),
            &QPushButton::clicked, this, &FrmPrintPack::CmdPlacingsPack_Click);
    connect(button(this, QStringLiteral("CmdCardsPack"), QStringLiteral("Judges Cards and Slot Sheets"), 5520,
                   1980, 2640, 615),
            &QPushButton::clicked, this, &FrmPrintPack::CmdCardsPack_Click);
    wrapped(label(this, QStringLiteral("LblPublish"),
                  QStringLiteral("The results of every division, as web pages to post:"), 5520, 3360, 2640,
                  480));
    connect(button(this, QStringLiteral("CmdPublish"), QStringLiteral("Publish Results..."), 5520, 3900, 2640,
                   615),
            &QPushButton::clicked, this, &FrmPrintPack::CmdPublish_Click);
}

void FrmPrintPack::Set_Division(const QString &division)
{
    m_division = division;
    std::map<int, int> entered;
    Boundary::run(*m_app.messages, QStringLiteral("Reading the class entries"),
                  [&] { entered = RunningOrder(m_app.MeetDb(), m_division).entriesByClass(); });
    for (const auto &[number, splits] : m_splits) {
        const auto found = entered.find(number);
        const int riders = found == entered.end() ? 0 : found->second;
        m_entries[number]->setText(QString::number(riders));
        splits->setValue(1);
        splits->setEnabled(riders > 0);
    }
}

void FrmPrintPack::CmdRandom_Click()
{
    classSheets(true);
}

void FrmPrintPack::CmdSequential_Click()
{
    classSheets(false);
}

void FrmPrintPack::classSheets(bool random)
{
    std::map<int, int> splits;
    for (const auto &[number, box] : m_splits)
        splits[number] = box->value();
    const auto order = random ? RunningOrder::Order::Random : RunningOrder::Order::Sequential;
    showPack(
        QStringLiteral("Putting the class sheets together"),
        [&] { return PrintPack::classSheets(m_app.MeetDb(), m_division, splits, order); },
        PrintPack::NoEntries);
}

void FrmPrintPack::CmdPlacingsPack_Click()
{
    showPack(
        QStringLiteral("Putting the class placings together"),
        [&] { return PrintPack::placings(m_app.MeetDb(), m_division); }, StandingsTable::NoPlacings);
}

void FrmPrintPack::CmdCardsPack_Click()
{
    showPack(
        QStringLiteral("Putting the judges' cards and slot sheets together"),
        [&] { return PrintPack::cardsAndSlotSheets(m_app.MeetDb(), m_division, m_app.AppFolder); },
        JudgesCards::noCards(m_division));
}

void FrmPrintPack::showPack(const QString &action, const std::function<Report::Document()> &build,
                            const QString &nothing)
{
    Boundary::run(*m_app.messages, action, [&] {
        Report::Document pack = build();
        if (pack.pages.empty())
            m_app.messages->tell(nothing);
        else
            ReportWindow::show(m_app, std::move(pack), {this});
    });
}

void FrmPrintPack::CmdPublish_Click()
{
    FrmPublishResults::open(m_app, window());
}
