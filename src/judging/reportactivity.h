#pragma once

#include "shell/activityscreen.h"
#include "shell/reportwindow.h"

#include <QString>

struct AppState;

// A report activity of the main menu: a screen without controls of its own that builds its
// report in Load_Report and shows it in the preview. The preview stands over the main window
// and closes with the activity.
class ReportActivity : public ActivityScreen
{
    Q_OBJECT

public:
    ReportActivity(AppState &app, const QString &caption, QWidget *parent);

    void Set_Division(const QString &division) override { m_division = division; }
    const QString &division() const { return m_division; }

protected:
    // How the report closes: the main window takes the focus back and this activity ends, if it
    // is still open. Closing the activity (its button again, or another activity) closes the
    // report.
    ReportWindow::Closing endsWithReport();
    // Ends the activity now (nothing to print, or the report needs no screen).
    void endActivity();

    AppState &m_app;
    QString m_division;
};
