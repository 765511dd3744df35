#pragma once

// A fresh meet for window tests: a meet file in a temporary folder, the program-wide state
// pointing at it, the scripted message service, and a stand-in for the main window that
// activity screens and editing windows are parented to.
#include "meetfixture.h"
#include "scriptedmessages.h"

#include "app/appstate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTemporaryDir>
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

    QSqlDatabase db() const { return app.MeetDb(); }
    MeetBuilder build() const { return MeetBuilder(app.MeetDb()); }

    // The one top-level window of that name, or null.
    template <typename T = QWidget>
    static T *window(const QString &name)
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible())
                return qobject_cast<T *>(w);
        return nullptr;
    }

    template <typename T = QWidget>
    static T *child(QObject *parent, const QString &name)
    {
        T *found = parent->findChild<T *>(name);
        if (!found)
            qWarning("no control %s", qPrintable(name));
        return found;
    }

    static void click(QObject *parent, const QString &button)
    {
        QAbstractButton *b = child<QAbstractButton>(parent, button);
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    QTemporaryDir dir;
    ScriptedMessages messages;
    AppState app;
    QWidget main;
};
