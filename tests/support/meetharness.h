#pragma once

// A fresh meet for window tests: a meet file in a temporary folder, the program-wide state
// pointing at it, the scripted message service, and a stand-in for the main window that
// activity screens and editing windows are parented to.
#include "meetfile.h"
#include "scriptedmessages.h"

#include "reports/paginator.h"
#include "shell/appstate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWidget>
#include <QtTest>

class MeetHarness
{
public:
    MeetHarness()
    {
        app.ScreenWidth = 12000;
        app.ScreenHeight = 9000;
        app.AppFolder = dir.path();
        app.messages = &messages;
        const QString path = MeetFixture::createMeet(dir.path());
        app.meetConnection.open(path, DbConnection::Mode::ReadWrite);
        app.KORV.setDataSource(path);
        main.setObjectName(QStringLiteral("FrmMain"));
        main.resize(800, 600);
        main.show();
    }

    // The windows a test opened go before the meet they work on.
    ~MeetHarness()
    {
        // Guarded: deleting a window deletes the pop-ups of its combo boxes, top-level too.
        QList<QPointer<QWidget>> windows;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != &main)
                windows << w;
        for (const QPointer<QWidget> &w : windows)
            delete w.data();
    }

    QSqlDatabase db() const { return app.MeetDb(); }
    MeetBuilder build() const { return MeetBuilder(app.MeetDb()); }

    // A screen of the meet beside the stand-in main window, told the division first where given.
    template <typename Screen>
    Screen *open(const QString &division = {})
    {
        auto *screen = new Screen(app, &main);
        if (!division.isEmpty())
            screen->Set_Division(division);
        screen->show();
        return screen;
    }

    // A report as it prints from the meet: its command opened, paginated and closed again.
    Report::Document report(const ShapeQuery &query, const Report::Layout &layout)
    {
        app.KORV.setCommand(query);
        app.KORV.open(query.name());
        Report::Document doc = Report::paginate(layout, app.KORV.rows(query.name()));
        app.KORV.close(query.name());
        return doc;
    }

    // Answers the question Yes and presses the button.
    void confirm(QObject *window, const QString &button)
    {
        messages.answer({true});
        click(window, button);
    }

    // The one top-level window of that name, or null.
    template <typename T = QWidget>
    static T *window(const QString &name)
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible())
                return qobject_cast<T *>(w);
        return nullptr;
    }

    // Types into a text box as a user would, after emptying it.
    static void type(QObject *parent, const QString &box, const QString &text)
    {
        auto *edit = parent->findChild<QLineEdit *>(box);
        QVERIFY2(edit, qPrintable(box));
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    // Chooses a line of a combo box as the user would.
    static void choose(QObject *parent, const QString &box, int line)
    {
        auto *combo = parent->findChild<QComboBox *>(box);
        QVERIFY2(combo, qPrintable(box));
        combo->setCurrentIndex(line);
        Q_EMIT combo->activated(line);
    }

    // The user goes to another program and comes back to the window.
    static void comeBack(QWidget *window)
    {
        QApplication::setActiveWindow(window);
        QApplication::setActiveWindow(nullptr);
        QApplication::setActiveWindow(window);
    }

    static QStringList lines(const QListWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    // Every line of a tree, top to bottom, indented two blanks a level.
    static QStringList treeLines(const QTreeWidget *tree)
    {
        QStringList out;
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it) {
            int depth = 0;
            for (auto *p = (*it)->parent(); p; p = p->parent())
                ++depth;
            out << QString(depth * 2, u' ') + (*it)->text(0);
        }
        return out;
    }

    static void click(QObject *parent, const QString &button)
    {
        auto *b = parent->findChild<QAbstractButton *>(button);
        QVERIFY2(b, qPrintable(button));
        QTest::mouseClick(b, Qt::LeftButton);
    }

    QTemporaryDir dir;
    ScriptedMessages messages;
    AppState app;
    QWidget main;
};
