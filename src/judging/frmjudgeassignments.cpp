#include "judging/frmjudgeassignments.h"

#include "common/messageservice.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/formkit.h"

#include <QPlainTextEdit>

FrmJudgeAssignments::FrmJudgeAssignments(AppState &app, QWidget *owner, QList<QWidget *> openers,
                                         QWidget *focusAfter)
    : CheckGrid(app, owner, std::move(openers), focusAfter)
{
    setObjectName(QStringLiteral("FrmJudgeAssignments"));
    setWindowTitle(QStringLiteral("Class Judging Assignments"));
    m_title = titleBox(QStringLiteral("TxtTitle"), QStringLiteral("Division"), 2175, 735);
}

FrmJudgeAssignments::~FrmJudgeAssignments() = default;

bool FrmJudgeAssignments::InitializeForm(const QString &division)
{
    m_title->setPlainText(QStringLiteral("Judge Assigments Division ") + division);
    placeWindow();
    if (!Boundary::run(messages(), QStringLiteral("Opening the judge assignments"), [&] {
            m_assignments = std::make_unique<JudgeAssignments>(app().MeetDb(), division);
        })) {
        finish();
        return false;
    }
    if (m_assignments->judges().isEmpty()) {
        messages().tell(JudgeAssignments::NoJudges);
        finish();
        return false;
    }
    QVector<Row> rows;
    for (const GridJudge &j : m_assignments->judges())
        rows << Row{JudgeAssignments::rowCaption(j), JudgeAssignments::judgeName(j)};
    buildGrid({{1875, 17}, QStringLiteral("lblJudge"), false}, classColumns(m_assignments->classes()), rows);
    for (const StoredClass &cls : m_assignments->classes())
        if (cls.number >= 1 && cls.number <= GridMarks::Classes)
            setLimit(cls.number, JudgeAssignments::JudgesPerClass);
    for (const JudgeAssignments::Cell &cell : m_assignments->stored())
        tick(cell.row, cell.cls);
    return true;
}

void FrmJudgeAssignments::CmdApply_Click()
{
    if (!messages().ask(JudgeAssignments::SaveQuestion) ||
        !app().safety.before(messages(),
                             QStringLiteral("replacing the judges of division ") + m_assignments->division()))
        return;
    std::optional<QString> failure;
    if (!Boundary::run(messages(), QStringLiteral("Saving the judge assignments"),
                       [&] { failure = m_assignments->submit(marks()); }))
        return;
    if (failure) {
        messages().tell(*failure);
        return;
    }
    finish();
}
