#include "registration/frmteammgmt.h"

#include "common/messageservice.h"
#include "registration/frmteam.h"
#include "registration/rosterprint.h"
#include "shell/appstate.h"
#include "shell/formkit.h"

#include <QListWidget>
#include <QPushButton>

using namespace FormKit;

FrmTeamMgmt::FrmTeamMgmt(AppState &app, QWidget *parent) : ListScreen(app, parent)
{
    setObjectName(QStringLiteral("FrmTeamMgmt"));
    setWindowTitle(QStringLiteral("Team Management"));
    setInnerSize(this, Width, Height);
    title(this, QStringLiteral("LblTitle"), QStringLiteral("Team Management"), 120, 120, 8160, 495);
    m_list = listBox(this, QStringLiteral("LbTeam"), nullptr, QStringLiteral("Teams"), 240, 840, 5160, 5400);
    connectSelection(m_list);

    connect(button(this, QStringLiteral("CmdAddTeam"), QStringLiteral("Add Team"), 5760, 840, 2295, 615),
            &QPushButton::clicked, this, &FrmTeamMgmt::CmdAddTeam_Click);
    connect(button(this, QStringLiteral("CmdEditTeam"), QStringLiteral("Edit Team"), 5760, 1680, 2295, 615),
            &QPushButton::clicked, this, &FrmTeamMgmt::CmdEditTeam_Click);
    connect(
        button(this, QStringLiteral("CmdDeleteTeam"), QStringLiteral("Delete Team"), 5760, 2520, 2295, 615),
        &QPushButton::clicked, this, &FrmTeamMgmt::CmdDeleteTeam_Click);
    connect(button(this, QStringLiteral("CmdTeamReport"), QStringLiteral("Team List"), 5760, 3360, 2295, 615),
            &QPushButton::clicked, this, &FrmTeamMgmt::CmdTeamReport_Click);
}

void FrmTeamMgmt::rebuild()
{
    guarded(QStringLiteral("Reading the team list"), [this] {
        QStringList lines;
        QVector<std::int32_t> keys;
        for (const TeamRecord &t : TeamRoster(m_app.MeetDb()).listByName()) {
            lines << TeamRoster::listLine(t);
            keys << t.code;
        }
        fillList(m_list, lines, keys, selectedKey() != -1);
    });
}

FrmTeam *FrmTeamMgmt::makeForm()
{
    return new FrmTeam(m_app, window(), {window(), this}, m_list);
}

void FrmTeamMgmt::CmdAddTeam_Click()
{
    FrmTeam *form = makeForm();
    form->Initialize_Add();
    openEditor(form);
    setSelectedKey(-1);
}

void FrmTeamMgmt::CmdEditTeam_Click()
{
    if (selectedKey() == -1) {
        m_app.messages->refuse(MessageService::Refusal::Edit, TeamRoster::NoTeamToEdit);
        return;
    }
    FrmTeam *form = makeForm();
    openLoadedEditor(form, QStringLiteral("Opening the team"),
                     [&] { return form->Initialize_Edit(selectedKey()); });
}

void FrmTeamMgmt::CmdDeleteTeam_Click()
{
    const std::int32_t code = selectedKey();
    if (code == -1) {
        m_app.messages->refuse(MessageService::Refusal::Delete, TeamRoster::NoTeamToDelete);
        return;
    }
    const TeamRoster roster(m_app.MeetDb());
    bool hasRiders = false;
    if (!guarded(QStringLiteral("Deleting the team"), [&] { hasRiders = roster.hasRiders(code); }))
        return;
    if (hasRiders) {
        m_app.messages->refuse(MessageService::Refusal::Delete, TeamRoster::HasRiders);
        return;
    }
    const QListWidgetItem *line = m_list->item(selectedRow(m_list));
    if (!m_app.messages->ask(TeamRoster::DeleteQuestion) ||
        !m_app.safety.before(*m_app.messages, QStringLiteral("deleting team ") +
                                                  (line ? line->text() : QString::number(code))) ||
        !guarded(QStringLiteral("Deleting the team"), [&] { roster.deleteWithCoaches(code); }))
        return;
    setSelectedKey(-1);
    rebuild();
}

void FrmTeamMgmt::CmdTeamReport_Click()
{
    RosterPrint::showTeamList(m_app, this);
}
