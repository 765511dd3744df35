#pragma once

#include "shell/ownedwindow.h"
#include "shell/returnwatch.h"

struct AppState;
class MessageService;

// A window that holds changes the user has not saved yet (an editing form, a check-box grid).
// Cancel, and the window's own close button, ask before dropping them; finish() closes it
// without asking, after a save or when it cannot be built. Its openers are disabled while it is
// open and enabled again however it ends. A window that reads rows of the meet reads them again
// when the user comes back to it from another program, as long as it holds no change of the user's.
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
    bool event(QEvent *event) override;

    // Whether the user changed anything since the window read it: then it is not read again,
    // and a save that comes too late is refused at Submit instead.
    virtual bool hasChanges() const { return true; }
    // Reads again what the window shows, keeping the place of the view and the keyboard where
    // it can. A failure is told through the error boundary and leaves the window as it was.
    virtual void readAgain() {}

    AppState &app() const { return m_app; }
    MessageService &messages() const;

private:
    AppState &m_app;
    bool m_finishing = false;
    ReturnWatch m_return;
};
