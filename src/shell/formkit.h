#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QStandardItemModel;
class RowText;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QWidget;
struct AppState;

// Building windows in code: every control placed in twips, named after its name in the system,
// and every input given its label as buddy so that it carries the label's text as its name. An
// input without a label gets its own name from its window (setAccessibleName). A combo box is
// announced by that name, with or without a label, its current line being its value.
namespace FormKit {

inline const QColor LightGrey{0xC0, 0xC0, 0xC0};
inline const QColor DarkGrey{0x80, 0x80, 0x80};

QLabel *label(QWidget *parent, const QString &name, const QString &text, int left, int top, int width,
              int height);
// A heading label: larger, bold, centred.
QLabel *title(QWidget *parent, const QString &name, const QString &text, int left, int top, int width,
              int height);
// The same in Times New Roman, as the heading of some screens is.
QLabel *serifTitle(QWidget *parent, const QString &name, const QString &text, int left, int top, int width,
                   int height);
QLineEdit *textBox(QWidget *parent, const QString &name, QLabel *buddy, int left, int top, int width,
                   int height, int maxLength);
QPlainTextEdit *memoBox(QWidget *parent, const QString &name, QLabel *buddy, int left, int top, int width,
                        int height);
QComboBox *comboBox(QWidget *parent, const QString &name, QLabel *buddy, int left, int top, int width,
                    int height, const QStringList &items = {});
// A list box named by its label, or by accessibleName when it has none.
QListWidget *listBox(QWidget *parent, const QString &name, QLabel *buddy, const QString &accessibleName,
                     int left, int top, int width, int height);
// A list of lines in columns under the given headings (a flat tree, one item a line), named by
// its label; each column's heading names its cells to a listener.
QTreeWidget *columnList(QWidget *parent, const QString &name, QLabel *buddy, const QStringList &headings,
                        int left, int top, int width, int height);
QPushButton *button(QWidget *parent, const QString &name, const QString &caption, int left, int top,
                    int width, int height);

// Text that names a row, shown whole where there is room and otherwise with its names shortened
// (never its rider numbers, divisions or marks); the whole text is the tooltip and the
// accessible name. In a label on one line; in a read-only box that wraps, within its lines.
void showRowText(QLabel *label, const RowText &text);
void showRowText(QPlainTextEdit *box, const RowText &text, int lines);
// The lines of combo boxes as wide as box, shortened to fit its field alike; each line's whole
// text is its tooltip and its accessible text, which the box gives as its value.
void setRowLines(QStandardItemModel *model, const QVector<RowText> &lines, const QComboBox *box);
// Lets a combo box show such lines, its tooltip the whole of its current line.
void useRowLines(QComboBox *box, QStandardItemModel *lines);

// Gives a label or button a flat background colour (the grey state colours).
void setBackground(QWidget *widget, const QColor &colour, const QColor &text = QColor());

// Keeps a top-level window above its owner's window without making it a child (a child would
// be disabled along with the owner), and gives it the keyboard. Call once the window is shown.
void keepAbove(QWidget *window, const QWidget *owner);

// Sets the window's inner size in twips, fixed.
void setInnerSize(QWidget *window, int width, int height);

// Left = (ScreenWidth - width) / 2, Top = (ScreenHeight - height) / 2, in twips.
void centreOnScreen(QWidget *window, const AppState &app);

// Enables a widget again after a window that never opened (it could not read what it needed):
// nothing has changed, so screens that read their lists again when enabled leave them as they are.
void enableUnchanged(QWidget *widget);
// True while enableUnchanged() is enabling widgets.
bool enablingUnchanged();

// While an editing window is open, its openers (the main menu, the management screen) are
// disabled; they are enabled again, and the focus given back, however the editing window ends.
class OpenerLock
{
public:
    OpenerLock(QList<QWidget *> openers, QWidget *focusAfter);
    ~OpenerLock() { release(); }
    OpenerLock(const OpenerLock &) = delete;
    // Enables the openers again now; later calls do nothing. Unchanged: the window never opened.
    void release(bool unchanged = false);
    bool holds(const QWidget *widget) const
    {
        for (const QPointer<QWidget> &w : m_openers)
            if (w == widget)
                return true;
        return false;
    }
    OpenerLock &operator=(const OpenerLock &) = delete;

private:
    QList<QPointer<QWidget>> m_openers;
    QPointer<QWidget> m_focus;
};

} // namespace FormKit
