// trotwise-icons SVG FOLDER SIZE...: the program's icon drawn from its SVG at each size, written as
// FOLDER/<size>x<size>/trotwise.png (the layout of the icon theme's folders). The SVG is read by
// Qt's SVG image plugin (Debian package libqt6svg6).
#include <QDir>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fputs("usage: trotwise-icons SVG FOLDER SIZE...\n", stderr);
        return 2;
    }
    for (const QString &size : args.mid(3)) {
        const int pixels = size.toInt();
        QImageReader reader(args[1], "svg");
        reader.setScaledSize(QSize(pixels, pixels));
        const QImage icon = reader.read();
        const QString folder = QDir(args[2]).filePath(QStringLiteral("%1x%1").arg(pixels));
        if (icon.isNull() || !QDir().mkpath(folder) ||
            !icon.convertToFormat(QImage::Format_ARGB32).save(QDir(folder).filePath("trotwise.png"))) {
            std::fprintf(stderr, "trotwise-icons: %s at %d pixels: %s\n", qPrintable(args[1]), pixels,
                         qPrintable(icon.isNull() ? reader.errorString() : QStringLiteral("cannot be written")));
            return 1;
        }
    }
    return 0;
}
