#pragma once

#include "reports/reportlayout.h"
#include "reports/reportpage.h"
#include "reports/shapedrows.h"
#include "reports/shapequery.h"

#include <functional>

class FrmReportPreview;
class QWidget;
struct AppState;

// Opens a report in its preview window: not modal, owned by the opener's window. When the
// preview closes it closes its data command (if it has one), gives the focus back to the opener
// and then runs the report's own closing step (ending the activity, for instance).
namespace ReportWindow {

struct Closing
{
    Closing(QWidget *openedBy = nullptr, std::function<void()> then = {})
        : opener(openedBy), afterward(std::move(then))
    {
    }
    QWidget *opener;                 // takes the focus back; may be null
    std::function<void()> afterward; // may be empty
};

// Lays the rows out and shows them. Throws what pagination throws.
FrmReportPreview *show(AppState &app, const Report::Layout &layout, const ShapedRows &rows,
                       const Closing &closing, const QString &command = {});
// Shows pages already laid out (a pack of reports).
FrmReportPreview *show(AppState &app, Report::Document document, const Closing &closing,
                       const QString &command = {});

// Through the error boundary: opens the command and shows its report, or, when it selects no
// row and nothing is not empty, closes it again and tells the user nothing. Answers the preview,
// or null when none opened (no rows, or a failure the user has been told of).
FrmReportPreview *fromCommand(AppState &app, const ShapeQuery &query, const Report::Layout &layout,
                              const Closing &closing, const QString &nothing);

// Through the error boundary: builds the rows (an in-memory table, say) and shows them, or tells
// nothing when there are none. Answers the preview or null.
FrmReportPreview *fromRows(AppState &app, const std::function<ShapedRows()> &build,
                           const Report::Layout &layout, const Closing &closing, const QString &nothing);

} // namespace ReportWindow
