#include "import/rosterexport.h"

#include "common/csv.h"
#include "import/rosterrecords.h"

#include <QDir>
#include <QSaveFile>

#include <memory>
#include <vector>

using namespace RosterFields;

namespace RosterExport {

QString Outcome::message(const QString &folder) const
{
    QStringList lines{QStringLiteral("The roster was written to %1:").arg(QDir::toNativeSeparators(folder))};
    for (const Kind kind : Kinds)
        lines << QStringLiteral("%1: %2 %3")
                     .arg(fileName(kind))
                     .arg(records[int(kind)])
                     .arg(records[int(kind)] == 1 ? recordName(kind) : kindName(kind).toLower());
    return lines.join(u'\n');
}

QStringList present(const QString &folder)
{
    QStringList out;
    for (const Kind kind : Kinds)
        if (QFileInfo::exists(QDir(folder).filePath(fileName(kind))))
            out << fileName(kind);
    return out;
}

Outcome write(const QSqlDatabase &db, const QString &folder)
{
    Outcome outcome;
    std::vector<std::unique_ptr<QSaveFile>> files;
    const auto fail = [&](const QSaveFile &file) {
        outcome.failure = QStringLiteral("The file \"%1\" cannot be written: %2.")
                              .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
        for (const auto &f : files)
            f->cancelWriting();
        return outcome;
    };
    for (const Kind kind : Kinds) {
        QStringList headings;
        for (const Field &f : fields(kind))
            headings << f.heading;
        QVector<QStringList> rows;
        for (const RosterRecords::Record &r :
             RosterRecords::read(db, kind, QStringLiteral("Reading the roster to export")))
            rows << r.values;
        outcome.records[int(kind)] = int(rows.size());

        auto file = std::make_unique<QSaveFile>(QDir(folder).filePath(fileName(kind)));
        const QByteArray bytes = Csv::document(headings, rows);
        if (!file->open(QIODevice::WriteOnly) || file->write(bytes) != bytes.size())
            return fail(*file);
        files.push_back(std::move(file));
    }
    for (const auto &file : files)
        if (!file->commit())
            return fail(*file);
    return outcome;
}

} // namespace RosterExport
