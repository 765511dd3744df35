#include "entries/frmclasssheets.h"

#include "common/messageservice.h"
#include "db/classtable.h"
#include "entries/classsheetreports.h"
#include "entries/runningorder.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"
#include "shell/reportwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace FormKit;

FrmClassSheets::FrmClassSheets(AppState &app, QWidget *parent) : ActivityScreen(parent), m_app(app)
{
    setObjectName(QStringLiteral("FrmClassSheets"));
    setWindowTitle(QStringLiteral("Class Sheets"));
    setInnerSize(this, Width, Height);
    serifTitle(this, QStringLiteral("LblTitle"), QStringLiteral("Class Sheets"), 120, 120, 8160, 495);

    QLabel *classLabel = label(this, QStringLiteral("Label3"), QStringLiteral("Class"), 720, 1110, 1080, 285);
    m_class = comboBox(this, QStringLiteral("CbClass"), classLabel, 1800, 1080, 4800, 330);
    QLabel *splitsLabel =
        label(this, QStringLiteral("LblSplits"), QStringLiteral("Splits"), 720, 1710, 1080, 285);
    m_splits = comboBox(this, QStringLiteral("CbSplits"), splitsLabel, 1800, 1680, 975, 330,
                        {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    m_splits->setCurrentIndex(0);
    connect(button(this, QStringLiteral("CmdRandom"), QStringLiteral("Random Order"), 1800, 2520, 2295, 615),
            &QPushButton::clicked, this, &FrmClassSheets::CmdRandom_Click);
    connect(button(this, QStringLiteral("CmdSequential"), QStringLiteral("Sequential Order"), 4305, 2520,
                   2295, 615),
            &QPushButton::clicked, this, &FrmClassSheets::CmdSequential_Click);

    Boundary::run(*m_app.messages, QStringLiteral("Reading the classes"), [this] {
        for (const StoredClass &cls : ClassTable::read(m_app.MeetDb())) {
            m_class->addItem(ClassTable::line(cls));
            m_classNumbers << cls.number;
        }
        m_class->setCurrentIndex(-1);
    });
}

void FrmClassSheets::Set_Division(const QString &division)
{
    m_division = division;
}

void FrmClassSheets::CmdRandom_Click()
{
    run(true);
}

void FrmClassSheets::CmdSequential_Click()
{
    run(false);
}

void FrmClassSheets::run(bool random)
{
    if (Check_Class())
        Build_Splits(m_splits->currentIndex() + 1, random);
}

bool FrmClassSheets::Check_Class()
{
    const int line = m_class->currentIndex();
    if (line < 0) {
        m_app.messages->tell(RunningOrder::NoClassChosen);
        return false;
    }
    m_classNumber = m_classNumbers.value(line);
    bool entered = false;
    if (!Boundary::run(*m_app.messages, QStringLiteral("Reading the class entries"), [&] {
            entered = RunningOrder(m_app.MeetDb(), m_division).Check_Class(m_classNumber);
        }))
        return false;
    if (!entered)
        m_app.messages->tell(RunningOrder::NoRidersEntered);
    return entered;
}

void FrmClassSheets::Build_Splits(int splits, bool random)
{
    m_splitRows.clear();
    if (!Boundary::run(*m_app.messages, QStringLiteral("Dealing the riders into splits"), [&] {
            m_splitRows =
                RunningOrder(m_app.MeetDb(), m_division)
                    .Build_Splits(m_classNumber, splits,
                                  random ? RunningOrder::Order::Random : RunningOrder::Order::Sequential);
        }))
        return;
    Generate_Split_Report();
}

void FrmClassSheets::Generate_Split_Report()
{
    // The sheet follows the class: the relay's lists the partners, the timed classes' have a
    // column for the times.
    const int splits = int(m_splitRows.size());
    const QString classLine = m_class->currentText();
    for (int s = 0; s < splits; ++s)
        ReportWindow::fromRows(m_app, [&] { return m_splitRows[std::size_t(s)].shaped(); },
                               ClassSheetReports::sheet(m_classNumber, m_division, classLine, s + 1, splits),
                               {this}, {});
}
