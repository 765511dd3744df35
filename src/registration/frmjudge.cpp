#include "registration/frmjudge.h"

#include "common/messageservice.h"
#include "shell/appstate.h"
#include "shell/formkit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace FormKit;

FrmJudge::FrmJudge(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter)
    : EditForm(app, owner, std::move(openers), focusAfter)
{
    setObjectName(QStringLiteral("FrmJudge"));
    setWindowTitle(QStringLiteral("Judge Info"));
    setInnerSize(this, 6600, 7800);
    title(this, QStringLiteral("LblTitle"), QStringLiteral("Judge Information Form"), 120, 120, 6360, 495);

    const auto row = [this](const QString &box, const QString &labelName, const QString &caption, int width,
                            int maxLength) { return addRow(box, labelName, caption, width, maxLength); };
    m_first =
        row(QStringLiteral("TxtFirst"), QStringLiteral("LblFirst"), QStringLiteral("First Name"), 3720, 50);
    m_last = row(QStringLiteral("TxtLast"), QStringLiteral("LblLast"), QStringLiteral("Last Name"), 3720, 50);
    m_address =
        row(QStringLiteral("TxtAddress"), QStringLiteral("LblAddress"), QStringLiteral("Address"), 3720, 50);
    m_city = row(QStringLiteral("TxtCity"), QStringLiteral("LblCity"), QStringLiteral("City"), 3720, 50);
    m_state = row(QStringLiteral("TxtState"), QStringLiteral("LblState"), QStringLiteral("State"), 615, 2);
    m_zip = row(QStringLiteral("TxtZip"), QStringLiteral("LblZip"), QStringLiteral("Zip"), 1095, 5);
    m_phone = row(QStringLiteral("TxtPhoneNum"), QStringLiteral("LblPhoneNum"),
                  QStringLiteral("Phone Number"), 2415, 50);
    m_email = row(QStringLiteral("TxtEmail"), QStringLiteral("LblEmail"), QStringLiteral("Email Address"),
                  3720, 50);
    m_memo = memoBox(this, QStringLiteral("TxtMemo"),
                     addRowLabel(QStringLiteral("LblMemo"), QStringLiteral("Additional Information")), 2640,
                     nextRowTop(), 3720, 1215);
    addSubmitAndCancel(QStringLiteral("CmdSubmit"), QStringLiteral("Submit"), 7080);
}

void FrmJudge::clearBoxes()
{
    for (QLineEdit *box : {m_first, m_last, m_address, m_city, m_state, m_zip, m_phone, m_email})
        box->clear();
    m_memo->clear();
}

void FrmJudge::Initialize_Add()
{
    clearBoxes();
    m_id = -1;
    m_asRead = {};
}

bool FrmJudge::Initialize_Edit(std::int32_t judgeId)
{
    clearBoxes();
    m_asRead = JudgeRoster::editMark();
    const auto j = JudgeRoster(app().MeetDb()).find(judgeId, &m_asRead);
    if (!j) {
        messages().refuse(MessageService::Refusal::Edit,
                          QStringLiteral("The selected judge is no longer in the meet."));
        return false;
    }
    m_id = judgeId;
    m_first->setText(j->firstName);
    m_last->setText(j->lastName);
    m_address->setText(j->address);
    m_city->setText(j->city);
    m_state->setText(j->state);
    m_zip->setText(j->zip);
    m_phone->setText(j->phoneNumber);
    m_email->setText(j->email);
    m_memo->setPlainText(j->memo);
    return true;
}

JudgeRecord FrmJudge::record() const
{
    return {m_id,
            m_first->text(),
            m_last->text(),
            m_address->text(),
            m_city->text(),
            m_state->text(),
            m_zip->text(),
            m_phone->text(),
            m_email->text(),
            m_memo->toPlainText()};
}

std::optional<QString> FrmJudge::firstFailure() const
{
    return JudgeRoster::firstFailure(record());
}

bool FrmJudge::write()
{
    JudgeRoster(app().MeetDb()).save(record(), m_asRead);
    return true;
}
