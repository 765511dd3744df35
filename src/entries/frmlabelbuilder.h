#pragma once

#include <QColor>
#include <QImage>
#include <QSqlDatabase>
#include <QString>

#include <utility>

// Draws the class label images: narrow, tall bitmaps with the class name written top to
// bottom, the tops of the letters towards the right edge. Each class gets a "form" image
// (on the screens' background colour, for the check-box grids) and a "report" image (on white,
// for printed sheets); the relay partner column gets a pair of its own.
class FrmLabelBuilder
{
public:
    static constexpr int WidthTwips = 375;
    static constexpr int HeightTwips = 1575;
    static constexpr int MaxOneLine = 19;

    explicit FrmLabelBuilder(QString labelFolder);

    // Writes all thirty-six files from TblClass of db, overwriting files of the same names.
    // Throws std::runtime_error naming the file that could not be written.
    void Build_Labels(const QSqlDatabase &db);

    // One label on the given background, black text.
    static QImage Draw_Label(const QColor &background, const QString &text);

    // The two lines of a text longer than MaxOneLine characters, split at blanks.
    // Texts that fit on one line come back as {text, ""}.
    static std::pair<QString, QString> splitLines(const QString &text);

    // The background of the screens, on which the form images are drawn.
    static QColor formBackground();

private:
    void save(const QImage &image, const QString &fileName) const;

    QString m_folder;
};
