#pragma once

#include <functional>

class QEvent;
class QWidget;

// Tells, from the activation events of a widget's window, when the user comes back to that window
// from another program: another station may have changed the meet meanwhile. Not when a window of
// this program (a message box, an editing window) had the keyboard before, so that a failure told
// in a message box is not read, and told, again as the box closes; not at the window's first
// activation, when it has just read what it shows.
class ReturnWatch
{
public:
    // Called from the widget's event(), before the widget's own handling: runs comeBack when the
    // event is such a return and the widget is shown and enabled, never within a comeBack running.
    void see(const QEvent *event, const QWidget *widget, const std::function<void()> &comeBack);

private:
    bool m_awayFromProgram = false;
    bool m_running = false;
};
