#include "registration/contactform.h"

#include "common/messageservice.h"
#include "shell/formkit.h"

#include <QLineEdit>

ContactForm::ContactForm(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter,
                         const Window &window, const QVector<Row> &rows)
    : EditForm(app, owner, std::move(openers), focusAfter)
{
    setObjectName(window.name);
    setWindowTitle(window.title);
    FormKit::setInnerSize(this, 6600, window.height);
    FormKit::title(this, QStringLiteral("LblTitle"), window.heading, 120, 120, 6360, 495);
    for (const Row &row : rows)
        m_boxes << addRow(row.box, row.label, row.caption, row.width, row.maxLength);
}

QStringList ContactForm::texts() const
{
    QStringList out;
    for (const QLineEdit *box : m_boxes)
        out << box->text();
    return out;
}

void ContactForm::setTexts(const QStringList &texts)
{
    for (int i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setText(texts.value(i));
}

bool ContactForm::refuseGone(const QString &person)
{
    messages().refuse(MessageService::Refusal::Edit,
                      QStringLiteral("The selected %1 is no longer in the meet.").arg(person));
    return false;
}
