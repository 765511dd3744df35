#pragma once

#include "shell/ownedwindow.h"

struct AppState;
class MessageService;

// A window that holds changes the user has not saved yet (an editing form, a check-box grid).
// Cancel, and the window's own close button, ask before dropping them; finish() closes it
// without asking, after a save or when it cannot be built. Its openers are disabled while it is
// open and enabled again however it ends.
class EditingWindow : public OwnedWindow
{
    Q_OBJECT

public:
    static inline const QString CancelQuestion =
        QStringLiteral("Cancelling will result in a loss of all changes. Are you sure you want to continue?");

    EditingWindow(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter);

    void cancel();

Q_SIGNALS:
    // The window has closed, saved or not; its openers are enabled again.
    void closed();

protected:
    void finish();
    void closeEvent(QCloseEvent *event) override;

    AppState &app() const { return m_app; }
    MessageService &messages() const;

private:
    AppState &m_app;
    bool m_finishing = false;
};
