#pragma once

#include "db/journal.h"
#include "shell/ownedwindow.h"

class QComboBox;
class QDateEdit;
class QTreeWidget;
struct AppState;

// Utilities "History": the journal's lines, newest first, chosen by what, by station and by day;
// the chosen line's rows before and after its save side by side, one place at a time; Put Back
// of the chosen line, and the lines shown as a report. The main menu is disabled while it is open.
class FrmHistory : public OwnedWindow
{
    Q_OBJECT

public:
    static inline const QString NothingChosen = QStringLiteral("Choose the line to put back.");
    static inline const QString Any = QStringLiteral("(all)");

    static FrmHistory *open(AppState &app, QWidget *mainMenu);

    void Load_Lines();
    void CmdPutBack_Click();
    void CmdPrintPreview_Click();
    // Shows the line in the list, choosing "(all)" everywhere first when the filters hide it.
    void selectLine(qint64 id);

Q_SIGNALS:
    // A save was put back: what shows rows of the meet must read them again.
    void putBack();

private:
    FrmHistory(AppState &app, QWidget *mainMenu);
    Journal::Filter filter() const;
    void showDetail();
    void showPlace();

    AppState &m_app;
    QComboBox *m_what;
    QComboBox *m_station;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QTreeWidget *m_lines;
    QComboBox *m_table;
    QTreeWidget *m_before;
    QTreeWidget *m_after;
    QVector<Journal::Line> m_shown; // line i of the list
    QVector<Journal::Scope> m_places; // of the chosen line, one a line of CbTable
};
