#pragma once

#include "shell/returnwatch.h"

#include <QWidget>

// A screen the main menu opens beside itself, one at a time. The main menu creates it, places
// it, hands it the division where the activity works on one, shows it and deletes it again.
class ActivityScreen : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The division code ("A" to "D"): when the screen opens and whenever the user changes it.
    // Only the screens that work on one division use it.
    virtual void Set_Division(const QString &division) { Q_UNUSED(division) }
    // Report activities do their work here, called once after the screen is shown.
    virtual void Load_Report() {}

protected:
    // Reads again what the screen lists when the user comes back to its window from another
    // program: another station may have changed it. Answers false when that failed and the user
    // has been told.
    virtual bool readAgain() { return true; }
    // WindowActivate and WindowDeactivate reach the window's children too.
    bool event(QEvent *event) override;

Q_SIGNALS:
    // Asks the main menu to close this activity, as pressing its button again would.
    void closeRequested();

private:
    ReturnWatch m_return;
};
