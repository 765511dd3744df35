#pragma once

#include "shell/ownedwindow.h"

#include <optional>

struct AppState;
class MessageService;
class QLabel;
class QLineEdit;

// An editing window (team, coach, judge, rider...): Submit asks the save question first, then
// makes its checks, then writes; Cancel, and closing the window, ask before dropping changes.
// Its openers are disabled while it is open and enabled again however it ends, a failed save
// included (the window then stays open with what was typed).
class EditForm : public OwnedWindow
{
    Q_OBJECT

public:
    static inline const QString SaveQuestion = QStringLiteral(
        "This will save all the changes made to this form. Are you sure you want to continue?");
    static inline const QString CancelQuestion =
        QStringLiteral("Cancelling will result in a loss of all changes. Are you sure you want to continue?");

    EditForm(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter);

    void submit();
    void cancel();

Q_SIGNALS:
    void saved();
    // The window has closed, saved or not; its openers are enabled again.
    void closed();

protected:
    // The checks after the save question: true to go on. The default shows the first failure
    // of firstFailure() as a "Submit Error".
    virtual bool checksPass();
    virtual std::optional<QString> firstFailure() const { return std::nullopt; }
    // Writes the record; throws DbError. Answers false when it refused with its own message
    // and the window stays open.
    virtual bool write() = 0;

    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

    // A text box with its label to the left, on the next row of the form.
    QLineEdit *addRow(const QString &box, const QString &labelName, const QString &caption, int width,
                      int maxLength);
    QLabel *addRowLabel(const QString &labelName, const QString &caption);
    int nextRowTop() const { return m_rowTop; }
    // The form's Submit (or Save) and Cancel buttons, side by side.
    void addSubmitAndCancel(const QString &submitName, const QString &submitCaption, int top);

    AppState &app() const { return m_app; }
    MessageService &messages() const;

private:
    void finish();

    AppState &m_app;
    bool m_finishing = false;
    int m_rowTop = 840;
};
