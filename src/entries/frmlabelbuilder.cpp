#include "entries/frmlabelbuilder.h"

#include "common/twips.h"
#include "db/sql.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QFile>

#include <stdexcept>

namespace {

constexpr int LineStepTwips = 100;
constexpr int TopTwips = 10;
constexpr int FontHeightTwips = 160;

QFont labelFont()
{
    QFont font(QStringLiteral("Arial"));
    // The character height in pixels, as a negative logical-font height asks for.
    font.setPixelSize(static_cast<int>(Twips::roundHalfEven(double(FontHeightTwips) / Twips::PerPixel)));
    font.setWeight(QFont::Normal);
    // Plain black pixels on the background: the form and report images then differ in
    // nothing but the background.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The start point is the top-left corner of the rotated text: the line lies to its left and
// runs downwards.
void drawLine(QPainter &painter, const QString &text, int startXTwips)
{
    if (text.isEmpty())
        return;
    painter.save();
    painter.translate(Twips::toPixels(startXTwips), Twips::toPixels(TopTwips));
    painter.rotate(90);
    const QFontMetrics metrics(painter.font());
    painter.drawText(QPoint(0, metrics.ascent()), text);
    painter.restore();
}

} // namespace

FrmLabelBuilder::FrmLabelBuilder(QString labelFolder) : m_folder(std::move(labelFolder)) {}

QColor FrmLabelBuilder::formBackground()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return QGuiApplication::palette().color(QPalette::Window);
    return QColor(240, 240, 240);
}

std::pair<QString, QString> FrmLabelBuilder::splitLines(const QString &text)
{
    if (text.size() <= MaxOneLine)
        return {text, QString()};
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    QString first;
    qsizetype taken = 0;
    while (taken < words.size() && first.size() + words[taken].size() < MaxOneLine) {
        if (!first.isEmpty())
            first += u' ';
        first += words[taken++];
    }
    return {first, words.mid(taken).join(u' ').trimmed()};
}

QImage FrmLabelBuilder::Draw_Label(const QColor &background, const QString &text)
{
    QImage image(Twips::size(WidthTwips, HeightTwips), QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(labelFont());
    painter.setPen(Qt::black);
    if (text.size() <= MaxOneLine) {
        drawLine(painter, text, WidthTwips - LineStepTwips);
    } else {
        const auto [first, second] = splitLines(text);
        drawLine(painter, second, WidthTwips - 2 * LineStepTwips);
        drawLine(painter, first, WidthTwips);
    }
    painter.end();
    return image;
}

void FrmLabelBuilder::save(const QImage &image, const QString &fileName) const
{
    // Written in place, without a save file's copy and flush to disk for each of the 36: the labels
    // are drawn only while a new meet is built, and the meet file is put in place after them, so a
    // failure part-way leaves no meet behind and the next start draws them all again.
    const QString path = QDir(m_folder).filePath(fileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !image.save(&file, "BMP"))
        throw std::runtime_error(QStringLiteral("The label image \"%1\" could not be written: %2")
                                     .arg(QDir::toNativeSeparators(path), file.errorString())
                                     .toStdString());
}

void FrmLabelBuilder::Build_Labels(const QSqlDatabase &db)
{
    const ResultRows classes = Sql::select(db, QStringLiteral("Reading the class catalogue"),
                                           QStringLiteral("SELECT * FROM TblClass ORDER BY ClassNumber"));
    const QColor form = formBackground();
    const QColor report = Qt::white;
    auto drawPair = [&](const QString &text, const QString &fileTail) {
        save(Draw_Label(form, text), QStringLiteral("form") + fileTail);
        save(Draw_Label(report, text), QStringLiteral("report") + fileTail);
    };
    for (int r = 0; r < classes.size(); ++r)
        drawPair(classes.text(r, u"ClassName"), classes.text(r, u"ImagePath"));
    drawPair(QStringLiteral("Relay Partner"), QStringLiteral("RelayPartner.bmp"));
}
