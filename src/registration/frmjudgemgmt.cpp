#include "registration/frmjudgemgmt.h"

#include "common/messageservice.h"
#include "registration/frmjudge.h"
#include "shell/appstate.h"
#include "shell/formkit.h"

#include <QListWidget>
#include <QPushButton>

using namespace FormKit;

FrmJudgeMgmt::FrmJudgeMgmt(AppState &app, QWidget *parent) : ListScreen(app, parent)
{
    setObjectName(QStringLiteral("FrmJudgeMgmt"));
    setWindowTitle(QStringLiteral("Judges"));
    setInnerSize(this, Width, Height);
    title(this, QStringLiteral("lblJudges"), QStringLiteral("Judges Information Form"), 120, 120, 8160, 495);
    m_list =
        listBox(this, QStringLiteral("LbJudges"), nullptr, QStringLiteral("Judges"), 240, 840, 5160, 5400);
    connectSelection(m_list);

    connect(button(this, QStringLiteral("CmdAddJudge"), QStringLiteral("Add Judge"), 5760, 840, 2295, 615),
            &QPushButton::clicked, this, &FrmJudgeMgmt::CmdAddJudge_Click);
    connect(button(this, QStringLiteral("CmdEditJudge"), QStringLiteral("Edit Judge"), 5760, 1680, 2295, 615),
            &QPushButton::clicked, this, &FrmJudgeMgmt::CmdEditJudge_Click);
    connect(
        button(this, QStringLiteral("CmdDeleteJudge"), QStringLiteral("Delete Judge"), 5760, 2520, 2295, 615),
        &QPushButton::clicked, this, &FrmJudgeMgmt::CmdDeleteJudge_Click);
}

void FrmJudgeMgmt::rebuild()
{
    guarded(QStringLiteral("Reading the judge list"), [this] {
        QStringList lines;
        QVector<std::int32_t> keys;
        for (const JudgeRecord &j : JudgeRoster(m_app.MeetDb()).listByLastName()) {
            lines << JudgeRoster::listLine(j);
            keys << j.id;
        }
        fillList(m_list, lines, keys, false);
    });
}

FrmJudge *FrmJudgeMgmt::makeForm()
{
    return new FrmJudge(m_app, window(), {window(), this}, m_list);
}

void FrmJudgeMgmt::CmdAddJudge_Click()
{
    FrmJudge *form = makeForm();
    form->Initialize_Add();
    openEditor(form);
}

void FrmJudgeMgmt::CmdEditJudge_Click()
{
    if (selectedKey() == -1) {
        m_app.messages->tell(JudgeRoster::NoJudgeToEdit);
        return;
    }
    FrmJudge *form = makeForm();
    openLoadedEditor(form, QStringLiteral("Opening the judge"),
                     [&] { return form->Initialize_Edit(selectedKey()); });
}

void FrmJudgeMgmt::CmdDeleteJudge_Click()
{
    const std::int32_t id = selectedKey();
    if (id == -1) {
        m_app.messages->refuse(MessageService::Refusal::Delete, JudgeRoster::NoJudgeToDelete);
        return;
    }
    const JudgeRoster roster(m_app.MeetDb());
    std::optional<QString> refusal;
    if (!guarded(QStringLiteral("Deleting the judge"), [&] { refusal = roster.deleteRefusal(id); }))
        return;
    if (!refusal) {
        if (!m_app.messages->ask(JudgeRoster::DeleteQuestion) ||
            !guarded(QStringLiteral("Deleting the judge"), [&] { refusal = roster.remove(id); }))
            return;
    }
    if (refusal) {
        m_app.messages->tell(*refusal);
        return;
    }
    setSelectedKey(-1);
    rebuild();
}
