#include "shell/listscreen.h"

#include "common/messageservice.h"
#include "shell/appstate.h"
#include "shell/boundary.h"
#include "shell/editform.h"
#include "shell/formkit.h"

#include <QEvent>
#include <QListWidget>

ListScreen::ListScreen(AppState &app, QWidget *parent) : ActivityScreen(parent), m_app(app) {}

void ListScreen::fillList(QListWidget *list, const QStringList &lines, const QVector<std::int32_t> &keys,
                          bool reselect)
{
    m_keys = keys;
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(lines);
    const int row = reselect || m_keepSelection ? int(m_keys.indexOf(m_selected)) : -1;
    if (row >= 0)
        list->setCurrentRow(row);
    else
        list->clearSelection();
}

void ListScreen::connectSelection(QListWidget *list)
{
    connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
        const int row = selectedRow(list);
        if (row >= 0 && row < m_keys.size())
            m_selected = m_keys[row];
    });
}

int ListScreen::selectedRow(const QListWidget *list)
{
    // The selected line, not the current one: a list that takes the focus makes its first line
    // current without the user choosing it.
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListScreen::openEditor(EditForm *editor)
{
    // An editor that locks this screen is followed by its enabling, which reads the list again.
    if (!editor->locks(this))
        connect(editor, &EditForm::closed, this, [this] {
            if (isVisible())
                rebuild();
        });
    editor->show();
}

void ListScreen::openLoadedEditor(EditForm *editor, const QString &action, const std::function<bool()> &load)
{
    bool loaded = false;
    const bool ran = guarded(action, [&] { loaded = load(); });
    if (loaded) {
        openEditor(editor);
        return;
    }
    delete editor;
    if (ran) {
        m_selected = -1;
        rebuild();
    }
}

bool ListScreen::guarded(const QString &action, const std::function<void()> &work)
{
    const bool ran = Boundary::run(*m_app.messages, action, work);
    m_readFailed = m_readFailed || !ran;
    return ran;
}

void ListScreen::changeEvent(QEvent *event)
{
    ActivityScreen::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && isEnabled() && isVisible() && !FormKit::enablingUnchanged())
        rebuild();
}

bool ListScreen::refresh()
{
    const std::int32_t kept = m_selected;
    m_keepSelection = true;
    m_readFailed = false;
    rebuild();
    m_keepSelection = false;
    if (m_keys.contains(kept))
        m_selected = kept;
    return !m_readFailed;
}

void ListScreen::showEvent(QShowEvent *event)
{
    ActivityScreen::showEvent(event);
    rebuild();
}
