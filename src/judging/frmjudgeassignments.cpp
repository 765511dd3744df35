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
    m_assignments = read(QStringLiteral("Opening the judge assignments"), division);
    if (!m_assignments) {
        finish();
        return false;
    }
    if (m_assignments->judges().isEmpty()) {
        messages().tell(JudgeAssignments::NoJudges);
        finish();
        return false;
    }
    fill();
    return true;
}

std::unique_ptr<JudgeAssignments> FrmJudgeAssignments::read(const QString &action,
                                                            const QString &division) const
{
    std::unique_ptr<JudgeAssignments> assignments;
    Boundary::run(messages(), action,
                  [&] { assignments = std::make_unique<JudgeAssignments>(app().MeetDb(), division); });
    return assignments;
}

void FrmJudgeAssignments::readAgain()
{
    std::unique_ptr<JudgeAssignments> assignments =
        read(QStringLiteral("Reading the judge assignments again"), m_assignments->division());
    // Without judges now the grid stays as it was; its save is refused as changed.
    if (!assignments || assignments->judges().isEmpty())
        return;
    m_assignments = std::move(assignments);
    fill();
}

void FrmJudgeAssignments::fill()
{
    QVector<Row> rows;
    for (const GridJudge &j : m_assignments->judges())
        rows << Row{JudgeAssignments::rowCaption(j), JudgeAssignments::judgeName(j)};
    buildGrid({{1875, 17}, QStringLiteral("lblJudge"), false}, classColumns(m_assignments->classes()), rows);
    for (const StoredClass &cls : m_assignments->classes())
        if (cls.number >= 1 && cls.number <= GridMarks::Classes)
            setLimit(cls.number, JudgeAssignments::JudgesPerClass);
    for (const JudgeAssignments::Cell &cell : m_assignments->stored())
        tick(cell.row, cell.cls);
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
