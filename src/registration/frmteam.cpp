#include "registration/frmteam.h"

#include "common/messageservice.h"
#include "shell/appstate.h"
#include "shell/formkit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace FormKit;

FrmTeam::FrmTeam(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter)
    : EditForm(app, owner, std::move(openers), focusAfter)
{
    setObjectName(QStringLiteral("FrmTeam"));
    setWindowTitle(QStringLiteral("Team Form"));
    setInnerSize(this, 5400, 4320);
    title(this, QStringLiteral("LblTitle"), QStringLiteral("Team Form"), 120, 120, 5160, 495);

    m_name =
        textBox(this, QStringLiteral("TxtTeam"),
                label(this, QStringLiteral("LblTeamName"), QStringLiteral("Team Name"), 240, 960, 1335, 285),
                1680, 900, 3480, 375, 50);
    m_division =
        comboBox(this, QStringLiteral("CbDivision"),
                 label(this, QStringLiteral("LblDivision"), QStringLiteral("Division"), 240, 1560, 1335, 285),
                 1680, 1500, 855, 375, {"A", "B", "C", "D"});
    m_district =
        textBox(this, QStringLiteral("TxtDistrict"),
                label(this, QStringLiteral("LblDistrict"), QStringLiteral("District"), 240, 2160, 1335, 285),
                1680, 2100, 855, 375, 3);
    m_region =
        textBox(this, QStringLiteral("TxtRegion"),
                label(this, QStringLiteral("LblRegion"), QStringLiteral("Region"), 240, 2760, 1335, 285),
                1680, 2700, 855, 375, 1);
    addSubmitAndCancel(QStringLiteral("CmdSubmit"), QStringLiteral("Submit"), 3480);
}

int FrmTeam::divisionLine(const QString &division)
{
    static const QStringList divisions{"A", "B", "C", "D"};
    return divisions.indexOf(division); // exact: any other stored value leaves no selection
}

void FrmTeam::Initialize_Add()
{
    m_code = -1;
    m_asRead = {};
    m_name->clear();
    m_district->clear();
    m_region->clear();
    m_division->setCurrentIndex(-1);
}

bool FrmTeam::Initialize_Edit(std::int32_t team)
{
    m_asRead = TeamRoster::editMark();
    const auto stored = TeamRoster(app().MeetDb()).find(team, &m_asRead);
    if (!stored) {
        messages().refuse(MessageService::Refusal::Edit,
                          QStringLiteral("The selected team is no longer in the meet."));
        return false;
    }
    m_code = team;
    m_name->setText(stored->name);
    m_district->setText(stored->district);
    m_region->setText(stored->region);
    m_division->setCurrentIndex(divisionLine(stored->division));
    return true;
}

TeamRecord FrmTeam::record() const
{
    return {m_code, m_name->text(), m_division->currentIndex() < 0 ? QString() : m_division->currentText(),
            m_district->text(), m_region->text()};
}

std::optional<QString> FrmTeam::firstFailure() const
{
    return TeamRoster::firstFailure(record());
}

bool FrmTeam::write()
{
    TeamRoster(app().MeetDb()).save(record(), m_asRead);
    return true;
}
