#include "shell/returnwatch.h"

#include "shell/boundary.h"

#include <QApplication>
#include <QEvent>
#include <QScopeGuard>
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
        const auto done = qScopeGuard([this] { m_running = false; });
        const Boundary::Returning unasked; // a server still away is told once, not at every return
        comeBack();
    }
}
