#include "entries/frmslotsheets.h"

#include "common/messageservice.h"
#include "entries/slotsheetreports.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"
#include "shell/reportwindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace FormKit;

FrmSlotSheets::FrmSlotSheets(AppState &app, QWidget *parent) : ActivityScreen(parent), m_app(app)
{
    setObjectName(QStringLiteral("FrmSlotSheets"));
    setWindowTitle(QStringLiteral("Slot Sheets"));
    setInnerSize(this, Width, Height);
    serifTitle(this, QStringLiteral("LblTitle"), QStringLiteral("Slot Sheets"), 120, 120, 8160, 495);
    QLabel *teamLabel = label(this, QStringLiteral("LblTeam"), QStringLiteral("Team"), 720, 1110, 1080, 285);
    m_team = comboBox(this, QStringLiteral("CbTeam"), teamLabel, 1800, 1080, 4800, 330);
    connect(button(this, QStringLiteral("CmdAll"), QStringLiteral("Create All"), 1800, 1920, 2295, 615),
            &QPushButton::clicked, this, &FrmSlotSheets::CmdAll_Click);
    connect(button(this, QStringLiteral("CmdSingle"), QStringLiteral("Create Single"), 4305, 1920, 2295, 615),
            &QPushButton::clicked, this, &FrmSlotSheets::CmdSingle_Click);
}

void FrmSlotSheets::Set_Division(const QString &division)
{
    m_division = division;
    Load_Team_List();
}

void FrmSlotSheets::Load_Team_List()
{
    m_team->clear();
    Boundary::run(*m_app.messages, QStringLiteral("Reading the teams"),
                  [this] { m_team->addItems(SlotSheetReports::teamNames(m_app.MeetDb(), m_division)); });
    m_team->setCurrentIndex(-1);
}

bool FrmSlotSheets::readAgain()
{
    const QString chosen = m_team->currentIndex() < 0 ? QString() : m_team->currentText();
    QStringList names;
    if (!Boundary::run(*m_app.messages, QStringLiteral("Reading the teams"),
                       [&] { names = SlotSheetReports::teamNames(m_app.MeetDb(), m_division); }))
        return false;
    const QSignalBlocker quiet(m_team);
    m_team->clear();
    m_team->addItems(names);
    m_team->setCurrentIndex(chosen.isNull() ? -1 : int(names.indexOf(chosen)));
    return true;
}

std::optional<Report::Layout> FrmSlotSheets::sheetWithImages() const
{
    Report::Layout rpt = SlotSheetReports::RptSlotSheets();
    if (!Boundary::run(*m_app.messages, QStringLiteral("Reading the label images"),
                       [&] { SlotSheetReports::putImages(rpt, m_app.MeetDb(), m_app.AppFolder); }))
        return std::nullopt;
    return rpt;
}

void FrmSlotSheets::CmdAll_Click()
{
    if (const std::optional<Report::Layout> rpt = sheetWithImages())
        ReportWindow::fromCommand(m_app, SlotSheetReports::allQuery(m_division), *rpt, {this},
                                  SlotSheetReports::noRiders(m_division));
}

void FrmSlotSheets::CmdSingle_Click()
{
    if (m_team->currentIndex() < 0) {
        m_app.messages->tell(SlotSheetReports::NoTeamChosen);
        return;
    }
    // A team without riders gives an empty sheet.
    if (const std::optional<Report::Layout> rpt = sheetWithImages())
        ReportWindow::fromCommand(m_app, SlotSheetReports::singleQuery(m_team->currentText()), *rpt, {this},
                                  {});
}
