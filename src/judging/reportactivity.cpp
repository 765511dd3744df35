#include "judging/reportactivity.h"

#include <QPointer>

ReportActivity::ReportActivity(AppState &app, const QString &caption, QWidget *parent)
    : ActivityScreen(parent), m_app(app)
{
    setWindowTitle(caption);
}

ReportWindow::Closing ReportActivity::endsWithReport()
{
    return {window(),
            [self = QPointer<ReportActivity>(this)] {
                if (self)
                    self->endActivity();
            },
            this};
}

void ReportActivity::endActivity()
{
    Q_EMIT closeRequested();
}
