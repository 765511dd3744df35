#include "shell/returnwatch.h"

#include <QApplication>
#include <QEvent>
#include <QScopeGuard>
#include <QWidget>

#include <utility>

namespace {
int g_returning = 0; // comeBacks running, over every window (they run on the one thread of windows)
} // namespace

bool ReturnWatch::returning()
{
    return g_returning > 0;
}

void ReturnWatch::see(const QEvent *event, const QWidget *widget, const std::function<void()> &comeBack)
{
    // Qt names the newly active window before it tells the old one it was deactivated.
    if (event->type() == QEvent::WindowDeactivate)
        m_awayFromProgram = QApplication::activeWindow() == nullptr;
    else if (event->type() == QEvent::WindowActivate && std::exchange(m_awayFromProgram, false) &&
             widget->isVisible() && widget->isEnabled() && !m_running) {
        m_running = true;
        ++g_returning;
        const auto done = qScopeGuard([this] {
            --g_returning;
            m_running = false;
        });
        comeBack();
    }
}
