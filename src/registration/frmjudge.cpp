#include "registration/frmjudge.h"

#include "shell/appstate.h"
#include "shell/formkit.h"

#include <QPlainTextEdit>

using namespace FormKit;

FrmJudge::FrmJudge(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter)
    : ContactForm(
          app, owner, std::move(openers), focusAfter,
          {QStringLiteral("FrmJudge"), QStringLiteral("Judge Info"), QStringLiteral("Judge Information Form"),
           7800},
          {{QStringLiteral("TxtFirst"), QStringLiteral("LblFirst"), QStringLiteral("First Name"), 3720, 50},
           {QStringLiteral("TxtLast"), QStringLiteral("LblLast"), QStringLiteral("Last Name"), 3720, 50},
           {QStringLiteral("TxtAddress"), QStringLiteral("LblAddress"), QStringLiteral("Address"), 3720, 50},
           {QStringLiteral("TxtCity"), QStringLiteral("LblCity"), QStringLiteral("City"), 3720, 50},
           {QStringLiteral("TxtState"), QStringLiteral("LblState"), QStringLiteral("State"), 615, 2},
           {QStringLiteral("TxtZip"), QStringLiteral("LblZip"), QStringLiteral("Zip"), 1095, 5},
           {QStringLiteral("TxtPhoneNum"), QStringLiteral("LblPhoneNum"), QStringLiteral("Phone Number"),
            2415, 50},
           {QStringLiteral("TxtEmail"), QStringLiteral("LblEmail"), QStringLiteral("Email Address"), 3720,
            50}})
{
    m_memo = memoBox(this, QStringLiteral("TxtMemo"),
                     addRowLabel(QStringLiteral("LblMemo"), QStringLiteral("Additional Information")), 2640,
                     nextRowTop(), 3720, 1215);
    addSubmitAndCancel(QStringLiteral("CmdSubmit"), QStringLiteral("Submit"), 7080);
}

void FrmJudge::Initialize_Add()
{
    setTexts();
    m_memo->clear();
    m_id = -1;
    m_asRead = {};
}

bool FrmJudge::Initialize_Edit(std::int32_t judgeId)
{
    m_asRead = JudgeRoster::editMark();
    const auto j = JudgeRoster(app().MeetDb()).find(judgeId, &m_asRead);
    if (!j)
        return refuseGone(QStringLiteral("judge"));
    m_id = judgeId;
    setTexts({j->firstName, j->lastName, j->address, j->city, j->state, j->zip, j->phoneNumber, j->email});
    m_memo->setPlainText(j->memo);
    return true;
}

JudgeRecord FrmJudge::record() const
{
    const QStringList t = texts();
    return {m_id, t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], m_memo->toPlainText()};
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
