// When a window counts as come back to: after the user was in another program; not after another
// window of this program had the keyboard, not at its first activation, not while it is disabled.
#include "shell/returnwatch.h"

#include <QApplication>
#include <QtTest>

namespace {

class Watched : public QWidget
{
public:
    int comeBacks = 0;

protected:
    bool event(QEvent *event) override
    {
        m_watch.see(event, this, [this] { ++comeBacks; });
        return QWidget::event(event);
    }

private:
    ReturnWatch m_watch;
};

} // namespace

class TstReturnWatch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void activation_isAReturnOnlyFromAnotherProgram_data()
    {
        // w: the watched window is activated, o: another window of the program (a message box),
        // -: another program, x: the watched window is disabled.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("comeBacks");
        QTest::newRow("first activation") << "w" << 0;
        QTest::newRow("back from another program, twice") << "w-w-w" << 2;
        QTest::newRow("back from a message box") << "wow" << 0;
        QTest::newRow("a message box, another program, the box, back") << "wo-ow" << 0;
        QTest::newRow("back from another program to a disabled window") << "w-xw" << 0;
    }
    void activation_isAReturnOnlyFromAnotherProgram()
    {
        QFETCH(QString, steps);
        QFETCH(int, comeBacks);
        Watched watched;
        QWidget other;
        watched.show();
        other.show();
        QApplication::setActiveWindow(nullptr);
        for (const QChar step : steps) {
            if (step == u'x')
                watched.setEnabled(false);
            else
                QApplication::setActiveWindow(step == u'w' ? &watched : step == u'o' ? &other : nullptr);
        }
        QCOMPARE(watched.comeBacks, comeBacks);
    }
};

QTEST_MAIN(TstReturnWatch)
#include "tst_returnwatch.moc"
