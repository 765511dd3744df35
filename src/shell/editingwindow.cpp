#include "shell/editingwindow.h"

#include "common/messageservice.h"
#include "shell/appstate.h"

#include <QCloseEvent>

EditingWindow::EditingWindow(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter)
    : OwnedWindow(owner, std::move(openers), focusAfter), m_app(app)
{
}

MessageService &EditingWindow::messages() const
{
    return *m_app.messages;
}

void EditingWindow::cancel()
{
    if (messages().ask(CancelQuestion))
        finish();
}

void EditingWindow::finish()
{
    m_finishing = true;
    close();
}

void EditingWindow::closeEvent(QCloseEvent *event)
{
    // The window's own close button counts as Cancel.
    if (!m_finishing && !messages().ask(CancelQuestion)) {
        event->ignore();
        return;
    }
    m_finishing = true;
    event->accept();
    OwnedWindow::closeEvent(event);
    Q_EMIT closed();
}

bool EditingWindow::event(QEvent *event)
{
    m_return.see(event, this, [this] {
        if (!hasChanges())
            readAgain();
    });
    return OwnedWindow::event(event);
}
