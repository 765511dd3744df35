#include "shell/returnwatch.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <utility>

void ReturnWatch::see(const QEvent *event, const QWidget *widget, const std::function<void()> &comeBack)
{
    // Qt names the newly active window before it tells the old one it was deactivated.
    if (event->type() == QEvent::WindowDeactivate)
        m_awayFromProgram = QApplication::activeWindow() == nullptr;
    else if (event->type() == QEvent::WindowActivate && std::exchange(m_awayFromProgram, false) &&
             widget->isVisible() && widget->isEnabled() && !m_running) {
        m_running = true;
        comeBack();
        m_running = false;
    }
}
