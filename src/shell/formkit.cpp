#include "shell/formkit.h"

#include "common/rowtext.h"
#include "common/twips.h"
#include "shell/appstate.h"

#include <QAbstractItemView>
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
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTextLayout>
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

// What a screen reader hears of a combo box: its name (the label it is the buddy of, or its own
// accessible name), its current line as its value (the whole line where the list shows it
// shortened), its lines as the children of its list, and the actions to open the list and to
// take the focus. Qt's own interface on Linux gives the current line as the name, and the
// actions without the focus.
class AccessibleComboBox : public QAccessibleWidget
{
public:
    explicit AccessibleComboBox(QComboBox *box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Value)
            return QAccessibleWidget::text(t);
        if (box()->isEditable())
            return box()->lineEdit()->text();
        const QVariant whole = box()->currentData(Qt::AccessibleTextRole);
        return whole.isValid() ? whole.toString() : box()->currentText();
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = box()->view()->isVisible();
        s.editable = box()->isEditable();
        return s;
    }

    // The list, then the text box of a box that takes typing.
    int childCount() const override { return box()->isEditable() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(box()->view());
        if (index == 1 && box()->isEditable())
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (child && child->object() == this->child(i)->object())
                return i;
        return -1;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames(); // the focus, where it can take it
        if (box()->isEnabled())
            names.prepend(showMenuAction());
        return names;
    }
    void doAction(const QString &action) override
    {
        if (action == showMenuAction() && box()->isEnabled())
            box()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }
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

QAccessibleInterface *accessibleComboBox(const QString &className, QObject *object)
{
    if (className == QLatin1StringView("QComboBox"))
        return new AccessibleComboBox(static_cast<QComboBox *>(object));
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
    // Before the first box: an interface once made for a box stays its interface.
    static const bool accessible = (QAccessible::installFactory(accessibleComboBox), true);
    Q_UNUSED(accessible)
    auto *box = named(place(new QComboBox(parent), name, left, top, width, height), buddy);
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

void showRowText(QLabel *label, const RowText &text)
{
    const QFontMetrics metrics(label->font());
    const int room = label->contentsRect().width() - 2 * std::max(label->indent(), 0);
    label->setText(text.fitted([&](const QString &t) { return metrics.horizontalAdvance(t) <= room; }));
    label->setToolTip(text.whole());
    label->setAccessibleName(text.whole());
}

void showRowText(QPlainTextEdit *box, const RowText &text, int lines)
{
    // Laid out as the box lays out its text, less a pixel either side for the cursor.
    const qreal room = box->contentsRect().width() - 2 * box->document()->documentMargin() - 2;
    QTextOption wrapping;
    wrapping.setWrapMode(box->wordWrapMode());
    box->setPlainText(text.fitted([&](const QString &t) {
        QTextLayout layout(t, box->font());
        layout.setTextOption(wrapping);
        layout.beginLayout();
        int used = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(room);
            ++used;
        }
        layout.endLayout();
        return used <= lines;
    }));
    box->setToolTip(text.whole());
    box->setAccessibleDescription(text.whole());
}

void setRowLines(QStandardItemModel *model, const QVector<RowText> &lines, const QComboBox *box)
{
    QStyleOptionComboBox option;
    option.initFrom(box);
    const int room = box->style()
                         ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
                         .width() -
                     4;
    const QFontMetrics metrics(box->font());
    model->clear();
    for (const RowText &line : lines) {
        auto *item = new QStandardItem(
            line.fitted([&](const QString &t) { return metrics.horizontalAdvance(t) <= room; }));
        item->setToolTip(line.whole());
        item->setData(line.whole(), Qt::AccessibleTextRole);
        item->setEditable(false);
        model->appendRow(item);
    }
}

void useRowLines(QComboBox *box, QStandardItemModel *lines)
{
    box->setModel(lines);
    QObject::connect(box, &QComboBox::currentIndexChanged, box,
                     [box] { box->setToolTip(box->currentData(Qt::ToolTipRole).toString()); });
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
