#pragma once

#include "shell/editform.h"

#include <QStringList>
#include <QVector>

class QLineEdit;

// The form of a person the meet keeps contact details of (a coach, a judge): a heading, one
// text box a row with its label on the left, then the form's own last row and its Submit and
// Cancel buttons. Editing refuses a record that is gone.
class ContactForm : public EditForm
{
    Q_OBJECT

public:
    struct Window
    {
        QString name;
        QString title;
        QString heading;
        int height; // inner, in twips
    };
    struct Row
    {
        QString box;
        QString label;
        QString caption;
        int width;
        int maxLength;
    };

protected:
    ContactForm(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter,
                const Window &window, const QVector<Row> &rows);

    // The text boxes' texts in row order.
    QStringList texts() const;
    // Fills the boxes in row order; the boxes past the end of texts are emptied.
    void setTexts(const QStringList &texts = {});
    // Tells the user that the person chosen ("coach") is no longer in the meet; answers false.
    bool refuseGone(const QString &person);

private:
    QVector<QLineEdit *> m_boxes;
};
