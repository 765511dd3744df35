#include "import/rostersheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

std::optional<QString> RosterSheet::load(RosterFields::Kind sheetKind, const QString &filePath)
{
    const auto refuse = [&](const QString &reason) {
        return QStringLiteral("The file \"%1\" cannot be read: %2.")
            .arg(QDir::toNativeSeparators(filePath), reason);
    };
    kind = sheetKind;
    path = filePath;
    headings.clear();
    records.clear();
    if (!QFileInfo(filePath).isFile())
        return refuse(QStringLiteral("it does not exist"));
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(file.errorString());
    const QString text = Csv::decode(file.readAll());
    if (file.error() != QFileDevice::NoError)
        return refuse(file.errorString());
    records = Csv::parse(text, Csv::separatorOf(text));
    if (records.isEmpty())
        return refuse(QStringLiteral("it is empty"));
    headings = records.takeFirst().fields;
    for (QString &h : headings)
        h = h.trimmed();
    columnOf = RosterFields::matchColumns(kind, headings);
    return std::nullopt;
}
