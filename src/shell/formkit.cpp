#include "shell/formkit.h"

#include "common/twips.h"
#include "shell/appstate.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QWidget>
#include <QWindow>

namespace FormKit {
namespace {

template <typename W>
W *place(W *widget, const QString &name, int left, int top, int width, int height)
{
    widget->setObjectName(name);
    widget->setGeometry(Twips::rect(left, top, width, height));
    return widget;
}

// Named by its label: the label's text is the input's name. An input without one is named by
// its window (setAccessibleName), never by its objectName, which means nothing to a listener.
template <typename W>
W *named(W *input, QLabel *buddy)
{
    if (buddy) {
        buddy->setBuddy(input);
        input->setAccessibleName(buddy->text());
    }
    return input;
}

const char *const OwnName = "trotwiseOwnAccessibleName";

// Screen readers on Linux hear a combo box by its current line and take its name from the
// label it is the buddy of. A combo box without a label (a grid's selectors) is named by its
// accessible name instead, its current line being its value.
class OwnNamedComboBox : public QAccessibleWidget
{
public:
    explicit OwnNamedComboBox(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        const auto *box = static_cast<QComboBox *>(widget());
        if (t == QAccessible::Value)
            return box->currentText();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString &action) override
    {
        if (action == showMenuAction())
            static_cast<QComboBox *>(widget())->showPopup();
    }
};

// Lines of a column list wrap within their column: the row is as high as its longest cell.
class WrappingCells : public QStyledItemDelegate
{
public:
    explicit WrappingCells(QTreeView *view) : QStyledItemDelegate(view), m_view(view) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem cell(option);
        cell.rect = QRect(0, 0, m_view->header()->sectionSize(index.column()), 1);
        return QStyledItemDelegate::sizeHint(cell, index);
    }

private:
    QTreeView *m_view;
};

QAccessibleInterface *ownNamedComboBox(const QString &className, QObject *object)
{
    if (className == QLatin1StringView("QComboBox") && object->property(OwnName).toBool())
        return new OwnNamedComboBox(static_cast<QComboBox *>(object));
    return nullptr;
}

} // namespace

QLabel *label(QWidget *parent, const QString &name, const QString &text, int left, int top, int width,
              int height)
{
    return place(new QLabel(text, parent), name, left, top, width, height);
}

QLabel *title(QWidget *parent, const QString &name, const QString &text, int left, int top, int width,
              int height)
{
    QLabel *l = label(parent, name, text, left, top, width, height);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QLabel *serifTitle(QWidget *parent, const QString &name, const QString &text, int left, int top, int width,
                   int height)
{
    QLabel *l = title(parent, name, text, left, top, width, height);
    QFont f = l->font();
    f.setFamily(QStringLiteral("Times New Roman"));
    l->setFont(f);
    return l;
}

QLineEdit *textBox(QWidget *parent, const QString &name, QLabel *buddy, int left, int top, int width,
                   int height, int maxLength)
{
    auto *edit = named(place(new QLineEdit(parent), name, left, top, width, height), buddy);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QPlainTextEdit *memoBox(QWidget *parent, const QString &name, QLabel *buddy, int left, int top, int width,
                        int height)
{
    auto *edit = named(place(new QPlainTextEdit(parent), name, left, top, width, height), buddy);
    edit->setTabChangesFocus(true);
    return edit;
}

QComboBox *comboBox(QWidget *parent, const QString &name, QLabel *buddy, int left, int top, int width,
                    int height, const QStringList &items)
{
    static const bool ownNames = (QAccessible::installFactory(ownNamedComboBox), true);
    Q_UNUSED(ownNames)
    auto *box = named(place(new QComboBox(parent), name, left, top, width, height), buddy);
    box->setProperty(OwnName, buddy == nullptr);
    box->addItems(items);
    box->setCurrentIndex(-1);
    return box;
}

QListWidget *listBox(QWidget *parent, const QString &name, QLabel *buddy, const QString &accessibleName,
                     int left, int top, int width, int height)
{
    auto *list = named(place(new QListWidget(parent), name, left, top, width, height), buddy);
    if (!buddy)
        list->setAccessibleName(accessibleName);
    return list;
}

QTreeWidget *columnList(QWidget *parent, const QString &name, QLabel *buddy, const QStringList &headings,
                        int left, int top, int width, int height)
{
    auto *list = named(place(new QTreeWidget(parent), name, left, top, width, height), buddy);
    list->setHeaderLabels(headings);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setAllColumnsShowFocus(true);
    list->setWordWrap(true);
    list->setAlternatingRowColors(true);
    list->setItemDelegate(new WrappingCells(list));
    return list;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, int left, int top,
                    int width, int height)
{
    auto *b = place(new QPushButton(caption, parent), name, left, top, width, height);
    b->setAccessibleName(caption);
    return b;
}

void setBackground(QWidget *widget, const QColor &colour, const QColor &text)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Button, colour);
    if (text.isValid()) {
        p.setColor(QPalette::WindowText, text);
        p.setColor(QPalette::ButtonText, text);
    }
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void keepAbove(QWidget *window, const QWidget *owner)
{
    if (owner && window->windowHandle() && owner->window()->windowHandle())
        window->windowHandle()->setTransientParent(owner->window()->windowHandle());
    // The new window takes the keyboard: the owner is disabled behind it.
    window->raise();
    window->activateWindow();
}

void setInnerSize(QWidget *window, int width, int height)
{
    window->setFixedSize(Twips::size(width, height));
}

void centreOnScreen(QWidget *window, const AppState &app)
{
    const int width = Twips::fromPixels(window->frameGeometry().width());
    const int height = Twips::fromPixels(window->frameGeometry().height());
    window->move(Twips::point((app.ScreenWidth - width) / 2.0, (app.ScreenHeight - height) / 2.0));
}

namespace {
bool g_enablingUnchanged = false;
} // namespace

void enableUnchanged(QWidget *widget)
{
    const QScopedValueRollback quiet(g_enablingUnchanged, true);
    widget->setEnabled(true);
}

bool enablingUnchanged()
{
    return g_enablingUnchanged;
}

OpenerLock::OpenerLock(QList<QWidget *> openers, QWidget *focusAfter) : m_focus(focusAfter)
{
    for (QWidget *w : openers)
        if (w) {
            w->setEnabled(false);
            m_openers << w;
        }
}

void OpenerLock::release(bool unchanged)
{
    for (const QPointer<QWidget> &w : std::exchange(m_openers, {}))
        if (w && unchanged)
            enableUnchanged(w);
        else if (w)
            w->setEnabled(true);
    if (QWidget *focus = std::exchange(m_focus, nullptr)) {
        focus->activateWindow();
        focus->setFocus();
    }
}

} // namespace FormKit
