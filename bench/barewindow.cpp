// The floor of start-up: a plain Qt window, shown, and its first paint done. Links Qt's widgets
// and nothing else. "trotwise-bare-window text" puts one line of text on it in the program's
// font: the floor of any window with words, which starts Qt's font system.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(800, 600);
    if (QCoreApplication::arguments().value(1) == u"text") {
        QApplication::setFont(QFont(QStringLiteral("Arial"), 9));
        (new QLabel(QStringLiteral("KORV State Championship"), &window))->move(10, 10);
    }
    FirstPaint::watch(window);
    window.show();
    return app.exec();
}
