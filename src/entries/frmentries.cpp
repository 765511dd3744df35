#include "entries/frmentries.h"

#include "common/messageservice.h"
#include "entries/frmclassassignments.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace FormKit;

FrmEntries::FrmEntries(AppState &app, QWidget *parent) : ActivityScreen(parent), m_app(app)
{
    setObjectName(QStringLiteral("FrmEntries"));
    setWindowTitle(QStringLiteral("Rider Entries"));
    setInnerSize(this, 8400, 6480);
    serifTitle(this, QStringLiteral("LblTitle"), QStringLiteral("Rider Entries"), 120, 240, 8160, 735);
    m_teamBox = comboBox(this, QStringLiteral("CbTeamName"),
                         label(this, QStringLiteral("LblTeam"), QStringLiteral("Team"), 480, 2580, 855, 285),
                         1440, 2520, 5775, 315);
    connect(button(this, QStringLiteral("CmdSubmit"), QStringLiteral("Add Entries"), 3360, 3840, 1815, 375),
            &QPushButton::clicked, this, &FrmEntries::CmdSubmit_Click);
}

void FrmEntries::Set_Division(const QString &division)
{
    m_division = division;
    m_teams.clear();
    m_teamBox->clear();
    Boundary::run(*m_app.messages, QStringLiteral("Reading the teams"), [&] {
        m_teams = EntrySheet::teamsOf(m_app.MeetDb(), division);
        for (const EntryTeam &team : m_teams)
            m_teamBox->addItem(team.name);
        m_teamBox->setCurrentIndex(-1);
    });
}

bool FrmEntries::readAgain()
{
    const int line = m_teamBox->currentIndex();
    const std::int32_t chosen = line >= 0 && line < m_teams.size() ? m_teams[line].code : -1;
    QVector<EntryTeam> teams;
    if (!Boundary::run(*m_app.messages, QStringLiteral("Reading the teams"),
                       [&] { teams = EntrySheet::teamsOf(m_app.MeetDb(), m_division); }))
        return false;
    m_teams = teams;
    const QSignalBlocker quiet(m_teamBox);
    m_teamBox->clear();
    int again = -1;
    for (const EntryTeam &team : m_teams) {
        if (team.code == chosen)
            again = m_teamBox->count();
        m_teamBox->addItem(team.name);
    }
    m_teamBox->setCurrentIndex(again);
    return true;
}

void FrmEntries::CmdSubmit_Click()
{
    const int line = m_teamBox->currentIndex();
    if (line < 0 || line >= m_teams.size()) {
        m_app.messages->tell(EntrySheet::NoTeamChosen);
        return;
    }
    const std::int32_t team = m_teams[line].code;
    bool hasRiders = false;
    if (!Boundary::run(*m_app.messages, QStringLiteral("Reading the team's riders"),
                       [&] { hasRiders = EntrySheet::hasRiders(m_app.MeetDb(), team); }))
        return;
    if (!hasRiders) {
        m_app.messages->tell(EntrySheet::NoRiders);
        return;
    }
    auto *grid = new frmClassAssignments(m_app, window(), {this, window()}, m_teamBox);
    if (grid->InitializeForm(team)) {
        grid->show();
        grid->unsetCursor();
    }
}
