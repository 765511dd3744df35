// The roster from a spreadsheet: five new riders a rider of the large meet, in its teams, read
// and checked for the preview, then imported into a fresh copy of the large meet.
#include "benchkit.h"

#include "common/csv.h"
#include "db/dbconnection.h"
#include "import/rosterimport.h"

#include <QDir>
#include <QFile>

namespace Bench {

bool spreadsheetFigures(const Context &context)
{
    constexpr int Runs = 21; // a busy machine swings single runs by a fifth
    const int Lines = 5 * context.size;
    const int teams = context.scaled(100);
    static const QStringList Divisions{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                       QStringLiteral("D")};

    QVector<QStringList> rows;
    for (int i = 0; i < Lines; ++i) {
        const int team = i % teams;
        rows << QStringList{QStringLiteral("Team %1").arg(team + 1, 3, 10, QChar(u'0')),
                            Divisions[team % 4],
                            QStringLiteral("Rider%1").arg(i),
                            QStringLiteral("Sheet"),
                            QStringLiteral("1 Main St"),
                            QStringLiteral("Elm"),
                            QStringLiteral("12345")};
    }
    const QString csv = context.work.filePath(QStringLiteral("riders.csv"));
    {
        QFile f(csv);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(Csv::document({QStringLiteral("Team Name"), QStringLiteral("Division"),
                               QStringLiteral("First Name"), QStringLiteral("Last Name"),
                               QStringLiteral("Address"), QStringLiteral("City"), QStringLiteral("Zip")},
                              rows, u';'));
    }

    QString path = context.copyOfLarge(QStringLiteral("spreadsheet"));

    int fresh = 0;
    {
        DbConnection meet;
        meet.open(path, DbConnection::Mode::ReadWrite);
        report(
            "csv_preview", Lines, medianMs(Runs, {}, [&] {
                RosterSheet sheet;
                if (sheet.load(RosterFields::Kind::Riders, csv))
                    return;
                fresh =
                    RosterImport(meet.database(), {sheet}).preview().front().count(RosterImport::State::New);
            }));
    }

    int added = 0;
    std::unique_ptr<DbConnection> meet;
    std::unique_ptr<RosterImport> import;
    RosterImport::Preview preview;
    report("csv_import", Lines,
           medianMs(
               Runs,
               [&] {
                   import.reset();
                   meet.reset();
                   path = context.copyOfLarge(QStringLiteral("spreadsheet"));
                   meet = std::make_unique<DbConnection>();
                   meet->open(path, DbConnection::Mode::ReadWrite);
                   RosterSheet sheet;
                   sheet.load(RosterFields::Kind::Riders, csv);
                   import = std::make_unique<RosterImport>(meet->database(), QVector<RosterSheet>{sheet});
                   preview = import->preview();
               },
               [&] { added = import->importInto(preview, false).counts.front().added; }));
    return fresh == Lines && added == Lines;
}

} // namespace Bench
