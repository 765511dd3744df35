#include "shell/reportwindow.h"

#include "common/messageservice.h"
#include "reports/frmreportpreview.h"
#include "reports/korvconnection.h"
#include "reports/paginator.h"
#include "shell/activityscreen.h"
#include "shell/appstate.h"
#include "shell/boundary.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>

#include <set>

namespace ReportWindow {
namespace {

const QString Opening = QStringLiteral("Opening the report");
// How many captions a preview steps down at most; the next one starts over at the top.
constexpr int MostSteps = 4;

std::vector<FrmReportPreview *> openPreviews()
{
    std::vector<FrmReportPreview *> open;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *preview = qobject_cast<FrmReportPreview *>(w); preview && preview->isVisible())
            open.push_back(preview);
    return open;
}

FrmReportPreview *previewOf(const Report::Document &document)
{
    for (FrmReportPreview *preview : openPreviews())
        if (preview->document().caption == document.caption && preview->document().title == document.title)
            return preview;
    return nullptr;
}

// The first step no open preview stands on.
int freeStep()
{
    std::set<int> taken;
    for (const FrmReportPreview *preview : openPreviews())
        taken.insert(preview->cascadeSteps());
    for (int step = 0; step <= MostSteps; ++step)
        if (!taken.count(step))
            return step;
    return 0;
}

QWidget *activityOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget())
        if (qobject_cast<ActivityScreen *>(w))
            return w;
    return nullptr;
}

// Closes a preview when the screen it belongs to is put away: hidden on its own, as the main
// menu closes an activity, not with its window. The preview closes once control is back in the
// event loop, never from inside the screen's own going.
class Belonging : public QObject
{
public:
    Belonging(QWidget *screen, FrmReportPreview *preview) : QObject(preview), m_preview(preview)
    {
        screen->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::HideToParent)
            QMetaObject::invokeMethod(m_preview, &QWidget::close, Qt::QueuedConnection);
        return false;
    }

private:
    FrmReportPreview *m_preview;
};

} // namespace

FrmReportPreview *show(AppState &app, const Report::Layout &layout, const ShapedRows &rows,
                       const Closing &closing, const QString &command)
{
    return show(app, Report::paginate(layout, rows), closing, command);
}

FrmReportPreview *show(AppState &app, Report::Document document, const Closing &closing,
                       const QString &command)
{
    if (FrmReportPreview *open = previewOf(document)) {
        open->setDocument(std::move(document));
        if (!command.isEmpty())
            open->closeCommandOnClose(app.KORV, command);
        open->setWindowState(open->windowState() & ~Qt::WindowMinimized);
        open->raise();
        open->activateWindow();
        return open;
    }

    QWidget *owner = closing.opener ? closing.opener->window() : nullptr;
    auto *window =
        new FrmReportPreview(std::move(document), {app.ScreenWidth, app.ScreenHeight}, *app.messages, owner);
    window->cascade(freeStep());
    if (!command.isEmpty())
        window->closeCommandOnClose(app.KORV, command);
    if (QWidget *screen = closing.owner ? closing.owner : activityOf(closing.opener))
        new Belonging(screen, window);
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
