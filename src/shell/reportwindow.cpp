#include "shell/reportwindow.h"

#include "common/messageservice.h"
#include "reports/frmreportpreview.h"
#include "reports/korvconnection.h"
#include "reports/paginator.h"
#include "shell/appstate.h"
#include "shell/boundary.h"

#include <QPointer>

namespace ReportWindow {
namespace {
const QString Opening = QStringLiteral("Opening the report");
} // namespace

FrmReportPreview *show(AppState &app, const Report::Layout &layout, const ShapedRows &rows,
                       const Closing &closing, const QString &command)
{
    return show(app, Report::paginate(layout, rows), closing, command);
}

FrmReportPreview *show(AppState &app, Report::Document document, const Closing &closing,
                       const QString &command)
{
    QWidget *owner = closing.opener ? closing.opener->window() : nullptr;
    auto *window =
        new FrmReportPreview(std::move(document), {app.ScreenWidth, app.ScreenHeight}, *app.messages, owner);
    if (!command.isEmpty())
        window->closeCommandOnClose(app.KORV, command);
    QObject::connect(window, &FrmReportPreview::closed,
                     [back = QPointer<QWidget>(closing.opener), afterward = closing.afterward] {
                         if (back) {
                             back->activateWindow();
                             back->setFocus();
                         }
                         if (afterward)
                             afterward();
                     });
    window->show();
    window->unsetCursor();
    return window;
}

FrmReportPreview *fromCommand(AppState &app, const ShapeQuery &query, const Report::Layout &layout,
                              const Closing &closing, const QString &nothing)
{
    FrmReportPreview *window = nullptr;
    bool empty = false;
    const bool ran = Boundary::run(*app.messages, Opening, [&] {
        app.KORV.setCommand(query);
        app.KORV.open(query.name());
        empty = app.KORV.rows(query.name()).isEmpty() && !nothing.isEmpty();
        if (!empty)
            window = show(app, layout, app.KORV.rows(query.name()), closing, query.name());
    });
    if (!ran || empty)
        app.KORV.close(query.name());
    if (ran && empty)
        app.messages->tell(nothing);
    return window;
}

FrmReportPreview *fromRows(AppState &app, const std::function<ShapedRows()> &build,
                           const Report::Layout &layout, const Closing &closing, const QString &nothing)
{
    FrmReportPreview *window = nullptr;
    bool empty = false;
    const bool ran = Boundary::run(*app.messages, Opening, [&] {
        const ShapedRows rows = build();
        empty = rows.isEmpty() && !nothing.isEmpty();
        if (!empty)
            window = show(app, layout, rows, closing);
    });
    if (ran && empty)
        app.messages->tell(nothing);
    return window;
}

} // namespace ReportWindow
