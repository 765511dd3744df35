#pragma once

#include "shell/activityscreen.h"

#include <QVector>

#include <functional>

#include <cstdint>

class EditForm;
class QLabel;
class QListWidget;
class QPushButton;
struct AppState;

// A management screen of the roster: a list whose line N stands for key N, the selected key
// (-1 for none), and the editing windows it opens. The list is read again whenever the screen
// is shown, whenever an editing window it opened closes, whenever it is enabled again, and
// whenever its window is activated again (another station may have changed the roster); the
// line selected stays selected while its record is there.
class ListScreen : public ActivityScreen
{
    Q_OBJECT

public:
    static constexpr int Width = 8400;
    static constexpr int Height = 6480;

    ListScreen(AppState &app, QWidget *parent);

    std::int32_t selectedKey() const { return m_selected; }
    void setSelectedKey(std::int32_t key) { m_selected = key; }

    // Reads the list again.
    virtual void rebuild() = 0;
    // Reads the list again keeping the selected record selected. Answers false when a read
    // failed (and the user has been told).
    bool refresh();

protected:
    // Fills the list box: one line per key, in order. Selects the line of the selected key
    // when asked to.
    void fillList(QListWidget *list, const QStringList &lines, const QVector<std::int32_t> &keys,
                  bool reselect);
    // Takes the key of the line the user selected.
    void connectSelection(QListWidget *list);
    static int selectedRow(const QListWidget *list);

    // Shows an editing window (which locks its openers itself); once it closes the list is
    // read again.
    void openEditor(EditForm *editor);
    // Loads the editing window through the error boundary and opens it. When it could not load
    // it goes again without changing anything; when the record is gone (load answers false,
    // having told the user) the selection is cleared and the list read again.
    void openLoadedEditor(EditForm *editor, const QString &action, const std::function<bool()> &load);
    // Runs a database action through the error boundary. Answers whether it succeeded.
    bool guarded(const QString &action, const std::function<void()> &work);

    void showEvent(QShowEvent *event) override;
    bool readAgain() override { return refresh(); }
    // Enabled again after a window that locked the main menu (an editing window, the number
    // assignment, the import) has closed: what it changed shows.
    void changeEvent(QEvent *event) override;

    AppState &m_app;
    QVector<std::int32_t> m_keys;

private:
    std::int32_t m_selected = -1;
    bool m_keepSelection = false;
    bool m_readFailed = false; // a read of the last rebuild failed
};
