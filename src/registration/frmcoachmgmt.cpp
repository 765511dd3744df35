#include "registration/frmcoachmgmt.h"

#include "common/messageservice.h"
#include "registration/frmcoach.h"
#include "registration/rosterprint.h"
#include "shell/appstate.h"
#include "shell/formkit.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace FormKit;

FrmCoachMgmt::FrmCoachMgmt(AppState &app, QWidget *parent) : ListScreen(app, parent)
{
    setObjectName(QStringLiteral("FrmCoachMgmt"));
    setWindowTitle(QStringLiteral("Coach Management"));
    setInnerSize(this, Width, Height);
    title(this, QStringLiteral("LblTitle"), QStringLiteral("Coach Management"), 120, 120, 8160, 495);
    m_teamBox = comboBox(this, QStringLiteral("CbTeam"),
                         label(this, QStringLiteral("LblTeam"), QStringLiteral("Team"), 240, 900, 735, 285),
                         1080, 840, 4320, 375);
    QLabel *coachesFor =
        label(this, QStringLiteral("LblCoach"), QStringLiteral("Coaches for:"), 240, 1500, 1335, 285);
    m_currentTeam = label(this, QStringLiteral("LblCurrentTeam"), QString(), 1560, 1500, 3840, 285);
    m_coaches = listBox(this, QStringLiteral("LbCoaches"), coachesFor, {}, 240, 1860, 5160, 4380);
    connectSelection(m_coaches);
    connect(m_teamBox, &QComboBox::activated, this, &FrmCoachMgmt::CbTeam_Click);

    connect(button(this, QStringLiteral("CmdAddCoach"), QStringLiteral("Add Coach"), 5760, 840, 2295, 615),
            &QPushButton::clicked, this, &FrmCoachMgmt::CmdAddCoach_Click);
    connect(button(this, QStringLiteral("CmdEditCoach"), QStringLiteral("Edit Coach"), 5760, 1680, 2295, 615),
            &QPushButton::clicked, this, &FrmCoachMgmt::CmdEditCoach_Click);
    connect(
        button(this, QStringLiteral("CmdDeleteCoach"), QStringLiteral("Delete Coach"), 5760, 2520, 2295, 615),
        &QPushButton::clicked, this, &FrmCoachMgmt::CmdDeleteCoach_Click);
    connect(button(this, QStringLiteral("CmdCoachReport"), QStringLiteral("View Complete Coach List"), 5760,
                   3360, 2295, 615),
            &QPushButton::clicked, this, &FrmCoachMgmt::CmdCoachReport_Click);
}

void FrmCoachMgmt::rebuild()
{
    if (!guarded(QStringLiteral("Reading the team list"),
                 [this] { m_teams = TeamRoster(m_app.MeetDb()).listByName(); }))
        m_teams.clear();
    {
        const QSignalBlocker quiet(m_teamBox);
        m_teamBox->clear();
        for (const TeamRecord &t : m_teams)
            m_teamBox->addItem(TeamRoster::listLine(t));
        m_teamBox->setCurrentIndex(-1);
    }
    fillList(m_coaches, {}, {}, false);
    m_currentTeam->clear();
    if (m_team != -1) {
        const int line = TeamRoster::indexOf(m_teams, m_team);
        m_teamBox->setCurrentIndex(line);
        if (line >= 0)
            CbTeam_Click(line);
    }
}

void FrmCoachMgmt::CbTeam_Click(int line)
{
    if (line < 0 || line >= m_teams.size())
        return;
    m_team = m_teams[line].code;
    m_currentTeam->setText(m_teams[line].name);
    guarded(QStringLiteral("Reading the team's coaches"), [this] {
        QStringList lines;
        QVector<std::int32_t> keys;
        for (const CoachRecord &c : CoachRoster(m_app.MeetDb()).listForTeam(m_team)) {
            lines << CoachRoster::listLine(c);
            keys << c.code;
        }
        fillList(m_coaches, lines, keys, false);
    });
}

FrmCoach *FrmCoachMgmt::makeForm()
{
    return new FrmCoach(m_app, window(), {window(), this}, m_coaches);
}

void FrmCoachMgmt::CmdAddCoach_Click()
{
    if (m_team == -1) {
        m_app.messages->tell(CoachRoster::NoTeamToAddTo);
        return;
    }
    FrmCoach *form = makeForm();
    form->Initialize_Add(m_team);
    openEditor(form);
}

void FrmCoachMgmt::CmdEditCoach_Click()
{
    if (selectedKey() == -1) {
        m_app.messages->tell(CoachRoster::NoCoachToEdit);
        return;
    }
    FrmCoach *form = makeForm();
    openLoadedEditor(form, QStringLiteral("Opening the coach"),
                     [&] { return form->Initialize_Edit(selectedKey()); });
}

void FrmCoachMgmt::CmdDeleteCoach_Click()
{
    if (selectedKey() == -1) {
        m_app.messages->refuse(MessageService::Refusal::Delete, CoachRoster::NoCoachToDelete);
        return;
    }
    if (!m_app.messages->ask(CoachRoster::DeleteQuestion) ||
        !guarded(QStringLiteral("Deleting the coach"),
                 [this] { CoachRoster(m_app.MeetDb()).remove(selectedKey()); }))
        return;
    setSelectedKey(-1);
    rebuild();
}

void FrmCoachMgmt::CmdCoachReport_Click()
{
    RosterPrint::showCoachList(m_app, this);
}
