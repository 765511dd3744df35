#include "registration/frmrider.h"

#include "common/messageservice.h"
#include "common/ridernumber.h"
#include "shell/appstate.h"
#include "shell/formkit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace FormKit;

FrmRider::FrmRider(AppState &app, QWidget *owner, QWidget *focusAfter)
    // The rider screen stays usable while this window is open: nothing is locked.
    : EditForm(app, owner, {}, focusAfter)
{
    setObjectName(QStringLiteral("FrmRider"));
    setWindowTitle(QStringLiteral("Rider Edit Form"));
    setInnerSize(this, 6840, 5400);
    title(this, QStringLiteral("Label1"), QStringLiteral("Update Rider Information"), 120, 120, 6600, 495);

    const auto box = [&](int i, QLabel *buddy, int left, int top, int width, int maxLength) {
        m_boxes[i] = textBox(this, QStringLiteral("RiderListBoxArray_%1").arg(i), buddy, left, top, width,
                             375, maxLength);
    };
    box(Number,
        label(this, QStringLiteral("LblRiderNumber"), QStringLiteral("Rider's Number"), 240, 900, 1815, 285),
        2160, 840, 735, RiderNumber::MaxLength);
    label(this, QStringLiteral("LblRiderName"), QStringLiteral("Rider's Name"), 240, 1500, 1815, 285);
    box(First, label(this, QStringLiteral("LblFirst"), QStringLiteral("First"), 2160, 1860, 1815, 255), 2160,
        1440, 2055, 50);
    label(this, QStringLiteral("LblMI"), QString(), 4320, 1860, 255, 255);
    box(Last, label(this, QStringLiteral("LblLast"), QStringLiteral("Last"), 4560, 1860, 1815, 255), 4560,
        1440, 2055, 50);
    box(Address, label(this, QStringLiteral("LblAddress"), QStringLiteral("Address"), 240, 2400, 1815, 285),
        2160, 2340, 4455, 50);
    box(City, label(this, QStringLiteral("LblCity"), QStringLiteral("City"), 240, 2940, 1815, 285), 2160,
        2880, 2055, 50);
    label(this, QStringLiteral("LblState"), QStringLiteral("State"), 4320, 2940, 615, 285);
    box(Zip, label(this, QStringLiteral("LblZip"), QStringLiteral("Zip"), 240, 3480, 1815, 285), 2160, 3420,
        1095, 5);
    m_team =
        comboBox(this, QStringLiteral("LbTeamCode"),
                 label(this, QStringLiteral("LblTeamCode"), QStringLiteral("Team"), 240, 4020, 1815, 285),
                 2160, 3960, 4455, 375);
    addSubmitAndCancel(QStringLiteral("CmdSave"), QStringLiteral("Save"), 4680);
}

void FrmRider::loadTeams()
{
    m_teams = TeamRoster(app().MeetDb()).listByName();
    m_team->clear();
    for (const TeamRecord &t : m_teams)
        m_team->addItem(t.name);
    m_team->setCurrentIndex(-1);
}

void FrmRider::Initialize_Add()
{
    loadTeams();
    m_index = -1;
    m_asRead = {};
    for (QLineEdit *b : m_boxes)
        b->clear();
    m_team->setCurrentIndex(-1);
}

bool FrmRider::Initialize_Edit(std::int32_t riderIndex)
{
    loadTeams();
    m_asRead = RiderRegistry::editMark();
    const std::optional<RiderRecord> r = RiderRegistry(app().MeetDb()).find(riderIndex, &m_asRead);
    if (!r) {
        messages().refuse(MessageService::Refusal::Edit,
                          QStringLiteral("The selected rider is no longer in the meet."));
        return false;
    }
    m_index = riderIndex;
    m_team->setCurrentIndex(TeamRoster::indexOf(m_teams, r->teamCode));
    m_boxes[First]->setText(r->firstName);
    m_boxes[Last]->setText(r->lastName);
    m_boxes[Address]->setText(r->address);
    m_boxes[City]->setText(r->city);
    m_boxes[Zip]->setText(r->zip);
    m_boxes[Number]->setText(r->number);
    return true;
}

bool FrmRider::ValidTeam()
{
    if (m_team->currentIndex() < 0) {
        messages().tell(RiderRegistry::NoTeam);
        return false;
    }
    return true;
}

RiderRecord FrmRider::record() const
{
    const int team = m_team->currentIndex();
    return {m_index,
            team < 0 ? -1 : m_teams[team].code,
            m_boxes[Number]->text(),
            m_boxes[First]->text(),
            m_boxes[Last]->text(),
            m_boxes[Address]->text(),
            m_boxes[City]->text(),
            m_boxes[Zip]->text()};
}

bool FrmRider::checksPass()
{
    if (!ValidTeam())
        return false;
    const RiderRecord r = record();
    if (r.number.isEmpty() || r.firstName.isEmpty() || r.lastName.isEmpty() || r.teamCode == -1) {
        messages().warn(RiderRegistry::MissingInformation);
        return false;
    }
    return true;
}

bool FrmRider::write()
{
    switch (RiderRegistry(app().MeetDb()).save(record(), m_asRead)) {
    case RiderRegistry::SaveOutcome::Saved:
        return true;
    case RiderRegistry::SaveOutcome::NumberInvalid:
        messages().tell(RiderRegistry::NumberInvalid);
        return false;
    case RiderRegistry::SaveOutcome::NumberTaken:
        messages().tell(RiderRegistry::NumberTaken);
        return false;
    }
    return false;
}
