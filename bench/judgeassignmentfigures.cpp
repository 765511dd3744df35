// The judge assignment grid of the large meet's judges (sixty a thousand riders) with a division's stored
// assignments (offscreen), and that division's judging agenda laid out and written to PDF.
#include "benchkit.h"
#include "scriptedmessages.h"

#include "judging/frmjudgeassignments.h"
#include "judging/judgeagenda.h"
#include "reports/paginator.h"
#include "reports/reportpdf.h"
#include "shell/appstate.h"

namespace Bench {

bool judgeAssignmentFigures(const Context &context)
{
    constexpr int Runs = 7;
    AppState app;
    app.ScreenWidth = 12000;
    app.ScreenHeight = 9000;
    app.AppFolder = context.largeFolder;
    app.messages = &context.messages;
    app.meetConnection.open(context.largePath, DbConnection::Mode::ReadOnly);
    app.KORV.setDataSource(context.largePath);

    QWidget owner;
    FrmJudgeAssignments *grid = nullptr;
    bool opened = true;
    report("judge_grid_open", context.scaled(60),
           medianMs(
               Runs, [&] { delete grid; },
               [&] {
                   grid = new FrmJudgeAssignments(app, &owner, {&owner}, nullptr);
                   opened = grid->InitializeForm(QStringLiteral("A")) && opened;
                   grid->show();
               }));
    const int judges = grid->rowCount();
    const int assigned = grid->marks().total();
    delete grid;

    const QString pdf = context.work.filePath(QStringLiteral("agenda.pdf"));
    int lines = 0;
    bool written = true;
    report("judge_agenda", assigned, medianMs(Runs, {}, [&] {
               app.KORV.setCommand(JudgeAgenda::query(QStringLiteral("A")));
               app.KORV.open(JudgeAgenda::Command);
               const ShapedRows &classes = app.KORV.rows(JudgeAgenda::Command);
               const Report::Document doc =
                   Report::paginate(JudgeAgenda::RptJudgeAgenda(QStringLiteral("A")), classes);
               written = !Report::writePdf(doc, pdf).has_value() && written;
               lines = 0;
               for (const ShapedRows &cls : classes.children)
                   lines += cls.size();
               app.KORV.close(JudgeAgenda::Command);
           }));
    return opened && judges == context.scaled(60) && assigned == 34 && lines == assigned && written;
}

} // namespace Bench
