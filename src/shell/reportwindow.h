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
//
// A report belongs to the screen it was asked from and closes with it. There is one preview of a
// report at a time: asked for again while it is open, it is shown afresh in the same window and
// brought forward. A preview that opens while others are open steps down and to the right of
// them, so that every caption shows.
namespace ReportWindow {

struct Closing
{
    Closing(QWidget *openedBy = nullptr, std::function<void()> then = {}, QWidget *belongsTo = nullptr)
        : opener(openedBy), afterward(std::move(then)), owner(belongsTo)
    {
    }
    QWidget *opener;                 // takes the focus back; may be null
    std::function<void()> afterward; // may be empty
    // The screen whose closing closes the report. When null, the activity screen the opener is
    // on; a report asked for from none stays until the user closes it.
    QWidget *owner;
};

// Lays the rows out and shows them, or shows them in the open preview of the same report (by
// its caption and title). Throws what pagination throws.
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
