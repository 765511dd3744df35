#pragma once

// The end of a start-up the benchmark times in a process of its own: once a window's first
// paint is done (the window and all its children painted and flushed in one pass), one line on
// standard output, and the program ends.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>

class FirstPaint : public QObject
{
public:
    static void watch(QWidget &window) { window.installEventFilter(new FirstPaint(&window)); }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued: runs once the whole pass is painted and flushed.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [] {
                    std::puts("painted");
                    std::fflush(stdout);
                    QCoreApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    using QObject::QObject;
    bool m_seen = false;
};
