// The floor of start-up: a plain Qt window, shown, and its first paint done. Links Qt's widgets
// and nothing else.
#include "firstpaint.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(800, 600);
    FirstPaint::watch(window);
    window.show();
    return app.exec();
}
