#pragma once

#include "shell/editingwindow.h"

#include <optional>

class QLabel;
class QLineEdit;

// An editing form (team, coach, judge, rider...): Submit asks the save question first, then
// makes its checks, then writes; Cancel, and closing the window, ask before dropping changes.
// A failed save leaves the window open with what was typed.
class EditForm : public EditingWindow
{
    Q_OBJECT

public:
    static inline const QString SaveQuestion = QStringLiteral(
        "This will save all the changes made to this form. Are you sure you want to continue?");

    EditForm(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter);

    void submit();

Q_SIGNALS:
    void saved();

protected:
    // The checks after the save question: true to go on. The default shows the first failure
    // of firstFailure() as a "Submit Error".
    virtual bool checksPass();
    virtual std::optional<QString> firstFailure() const { return std::nullopt; }
    // Writes the record; throws DbError. Answers false when it refused with its own message
    // and the window stays open.
    virtual bool write() = 0;

    void showEvent(QShowEvent *event) override;

    // A text box with its label to the left, on the next row of the form.
    QLineEdit *addRow(const QString &box, const QString &labelName, const QString &caption, int width,
                      int maxLength);
    QLabel *addRowLabel(const QString &labelName, const QString &caption);
    int nextRowTop() const { return m_rowTop; }
    // The form's Submit (or Save) and Cancel buttons, side by side.
    void addSubmitAndCancel(const QString &submitName, const QString &submitCaption, int top);

private:
    int m_rowTop = 840;
};
