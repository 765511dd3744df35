#include "registration/frmcoach.h"

#include "shell/appstate.h"
#include "shell/formkit.h"

#include <QComboBox>

using namespace FormKit;

FrmCoach::FrmCoach(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter)
    : ContactForm(
          app, owner, std::move(openers), focusAfter,
          {QStringLiteral("FrmCoach"), QStringLiteral("Coach Entry Form"),
           QStringLiteral("Coach Information Form"), 6960},
          {{QStringLiteral("TxtFirst"), QStringLiteral("LblFirst"), QStringLiteral("First Name"), 3720, 50},
           {QStringLiteral("TxtLast"), QStringLiteral("LblLast"), QStringLiteral("Last Name"), 3720, 50},
           {QStringLiteral("TxtAddress"), QStringLiteral("LblAddress"), QStringLiteral("Address"), 3720, 50},
           {QStringLiteral("TxtCity"), QStringLiteral("LblCity"), QStringLiteral("City"), 3720, 50},
           {QStringLiteral("TxtZip"), QStringLiteral("LblZip"), QStringLiteral("Zip"), 1095, 5},
           {QStringLiteral("TxtPrimary"), QStringLiteral("LblPrimary"),
            QStringLiteral("Primary Contact Number"), 2415, 50},
           {QStringLiteral("TxtSecondary"), QStringLiteral("LblSecondary"),
            QStringLiteral("Secondary Contact Number"), 2415, 50},
           {QStringLiteral("TxtEmail"), QStringLiteral("LblEmail"), QStringLiteral("Email Address"), 3720,
            50}})
{
    m_position = comboBox(this, QStringLiteral("CbPosition"),
                          addRowLabel(QStringLiteral("LblPosition"), QStringLiteral("Position")), 2640,
                          nextRowTop(), 2415, 375, {CoachRoster::HeadCoach, CoachRoster::AssistantCoach});
    addSubmitAndCancel(QStringLiteral("CmdSubmit"), QStringLiteral("Submit"), 6240);
}

void FrmCoach::Initialize_Add(std::int32_t teamCode)
{
    setTexts();
    m_position->setCurrentIndex(-1);
    m_code = -1;
    m_asRead = {};
    m_team = teamCode;
}

bool FrmCoach::Initialize_Edit(std::int32_t coachCode)
{
    m_asRead = CoachRoster::editMark();
    const auto c = CoachRoster(app().MeetDb()).find(coachCode, &m_asRead);
    if (!c)
        return refuseGone(QStringLiteral("coach"));
    m_code = coachCode;
    m_team = c->teamCode;
    setTexts({c->firstName, c->lastName, c->address, c->city, c->zip, c->primary, c->secondary, c->email});
    m_position->setCurrentIndex(CoachRoster::positionLine(c->position));
    return true;
}

CoachRecord FrmCoach::record() const
{
    const QStringList t = texts();
    return {m_code,
            m_team,
            t[0],
            t[1],
            t[2],
            t[3],
            t[4],
            t[5],
            t[6],
            t[7],
            m_position->currentIndex() < 0 ? QString() : m_position->currentText()};
}

std::optional<QString> FrmCoach::firstFailure() const
{
    return CoachRoster::firstFailure(record());
}

bool FrmCoach::write()
{
    CoachRoster(app().MeetDb()).save(record(), m_asRead);
    return true;
}
