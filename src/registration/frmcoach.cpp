#include "registration/frmcoach.h"

#include "common/messageservice.h"
#include "shell/appstate.h"
#include "shell/formkit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace FormKit;

FrmCoach::FrmCoach(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter)
    : EditForm(app, owner, std::move(openers), focusAfter)
{
    setObjectName(QStringLiteral("FrmCoach"));
    setWindowTitle(QStringLiteral("Coach Entry Form"));
    setInnerSize(this, 6600, 6960);
    title(this, QStringLiteral("LblTitle"), QStringLiteral("Coach Information Form"), 120, 120, 6360, 495);

    const auto row = [this](const QString &box, const QString &labelName, const QString &caption, int width,
                            int maxLength) { return addRow(box, labelName, caption, width, maxLength); };
    m_first =
        row(QStringLiteral("TxtFirst"), QStringLiteral("LblFirst"), QStringLiteral("First Name"), 3720, 50);
    m_last = row(QStringLiteral("TxtLast"), QStringLiteral("LblLast"), QStringLiteral("Last Name"), 3720, 50);
    m_address =
        row(QStringLiteral("TxtAddress"), QStringLiteral("LblAddress"), QStringLiteral("Address"), 3720, 50);
    m_city = row(QStringLiteral("TxtCity"), QStringLiteral("LblCity"), QStringLiteral("City"), 3720, 50);
    m_zip = row(QStringLiteral("TxtZip"), QStringLiteral("LblZip"), QStringLiteral("Zip"), 1095, 5);
    m_primary = row(QStringLiteral("TxtPrimary"), QStringLiteral("LblPrimary"),
                    QStringLiteral("Primary Contact Number"), 2415, 50);
    m_secondary = row(QStringLiteral("TxtSecondary"), QStringLiteral("LblSecondary"),
                      QStringLiteral("Secondary Contact Number"), 2415, 50);
    m_email = row(QStringLiteral("TxtEmail"), QStringLiteral("LblEmail"), QStringLiteral("Email Address"),
                  3720, 50);
    m_position = comboBox(this, QStringLiteral("CbPosition"),
                          addRowLabel(QStringLiteral("LblPosition"), QStringLiteral("Position")), 2640,
                          nextRowTop(), 2415, 375, {CoachRoster::HeadCoach, CoachRoster::AssistantCoach});
    addSubmitAndCancel(QStringLiteral("CmdSubmit"), QStringLiteral("Submit"), 6240);
}

void FrmCoach::clearBoxes()
{
    for (QLineEdit *box : {m_first, m_last, m_address, m_city, m_zip, m_primary, m_secondary, m_email})
        box->clear();
    m_position->setCurrentIndex(-1);
}

void FrmCoach::Initialize_Add(std::int32_t teamCode)
{
    clearBoxes();
    m_code = -1;
    m_asRead = {};
    m_team = teamCode;
}

bool FrmCoach::Initialize_Edit(std::int32_t coachCode)
{
    clearBoxes();
    m_asRead = CoachRoster::editMark();
    const auto c = CoachRoster(app().MeetDb()).find(coachCode, &m_asRead);
    if (!c) {
        messages().refuse(MessageService::Refusal::Edit,
                          QStringLiteral("The selected coach is no longer in the meet."));
        return false;
    }
    m_code = coachCode;
    m_team = c->teamCode;
    m_first->setText(c->firstName);
    m_last->setText(c->lastName);
    m_address->setText(c->address);
    m_city->setText(c->city);
    m_zip->setText(c->zip);
    m_primary->setText(c->primary);
    m_secondary->setText(c->secondary);
    m_email->setText(c->email);
    m_position->setCurrentIndex(CoachRoster::positionLine(c->position));
    return true;
}

CoachRecord FrmCoach::record() const
{
    return {m_code,
            m_team,
            m_first->text(),
            m_last->text(),
            m_address->text(),
            m_city->text(),
            m_zip->text(),
            m_primary->text(),
            m_secondary->text(),
            m_email->text(),
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
