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
    Csv::Sheet sheet = Csv::read(file.readAll());
    if (file.error() != QFileDevice::NoError)
        return refuse(file.errorString());
    if (!sheet.refusal.isEmpty())
        return refuse(sheet.refusal);
    if (sheet.records.isEmpty())
        return refuse(QStringLiteral("it is empty"));
    records = std::move(sheet.records);
    headings = records.takeFirst().fields;
    columnOf = RosterFields::matchColumns(kind, headings);
    return std::nullopt;
}
