#include "shell/editform.h"

#include "common/messageservice.h"
#include "common/twips.h"
#include "shell/appstate.h"
#include "shell/boundary.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

EditForm::EditForm(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter)
    : EditingWindow(app, owner, std::move(openers), focusAfter)
{
}

QLabel *EditForm::addRowLabel(const QString &labelName, const QString &caption)
{
    return FormKit::label(this, labelName, caption, 240, m_rowTop + 60, 2295, 285);
}

QLineEdit *EditForm::addRow(const QString &box, const QString &labelName, const QString &caption, int width,
                            int maxLength)
{
    QLineEdit *edit =
        FormKit::textBox(this, box, addRowLabel(labelName, caption), 2640, m_rowTop, width, 375, maxLength);
    m_rowTop += 600;
    return edit;
}

void EditForm::addSubmitAndCancel(const QString &submitName, const QString &submitCaption, int top)
{
    const int middle = Twips::fromPixels(width()) / 2;
    connect(FormKit::button(this, submitName, submitCaption, middle - 1455 - 240, top, 1455, 495),
            &QPushButton::clicked, this, &EditForm::submit);
    connect(FormKit::button(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"), middle + 240, top,
                            1455, 495),
            &QPushButton::clicked, this, &EditForm::cancel);
}

bool EditForm::checksPass()
{
    if (const auto failure = firstFailure()) {
        messages().refuse(MessageService::Refusal::Submit, *failure);
        return false;
    }
    return true;
}

void EditForm::submit()
{
    if (!messages().ask(SaveQuestion))
        return;
    if (!checksPass())
        return;
    bool written = false;
    if (!Boundary::run(messages(), QStringLiteral("Saving"), [&] { written = write(); }) || !written)
        return;
    Q_EMIT saved();
    finish();
}

void EditForm::showEvent(QShowEvent *event)
{
    EditingWindow::showEvent(event);
    FormKit::centreOnScreen(this, app());
    unsetCursor();
}
