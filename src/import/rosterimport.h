#pragma once

#include "import/rosterfields.h"
#include "import/rosterrecords.h"
#include "import/rostersheet.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <cstdint>
#include <optional>

// A roster arriving from spreadsheet files (at most one file of each kind). Before anything is
// written, each line of each file is checked against the meet and the other lines: a new record,
// a record already there (same names in the same team and division; for teams the name and
// division; for judges the names), or a refused line with its reason. Coaches and riders may
// name a team that arrives with the same import. The import then writes what the preview showed
// in one transaction, or nothing.
class RosterImport
{
public:
    enum class State { New, Existing, Refused };

    struct Line
    {
        int line = 0; // the file line the record starts on
        State state = State::New;
        QStringList values;         // for each field of the kind, as it would be stored
        QString reason;             // Refused: why
        std::int32_t key = -1;      // Existing: the record in the meet
        QStringList changes;        // Existing: headings of the fields an update would change
        std::int32_t teamCode = -1; // coaches and riders: their team in the meet, or -1 and
        int teamLine = -1;          // the position among the teams file's lines of the new team
        bool operator==(const Line &) const = default;
    };

    struct Sheet
    {
        RosterFields::Kind kind = RosterFields::Kind::Teams;
        QString path;
        QVector<Line> lines;
        int count(State state) const;
        bool operator==(const Sheet &) const = default;
    };
    // One sheet for each file, teams first, then coaches, riders and judges.
    using Preview = QVector<Sheet>;

    struct Count
    {
        RosterFields::Kind kind;
        int added = 0;
        int updated = 0;
        int kept = 0; // already there, left as they were
        int refused = 0;
    };
    struct Outcome
    {
        // Nothing was written: the meet changed between the preview and the import.
        bool changedSincePreview = false;
        QVector<Count> counts;
        QString message() const; // what the user is told
    };

    static inline const QString Success = QStringLiteral("Spreadsheet Import Successful");
    static inline const QString Changed =
        QStringLiteral("The meet changed since the preview was made. Nothing was imported; "
                       "look at the new preview and import again.");

    RosterImport(QSqlDatabase meet, QVector<RosterSheet> sheets);

    // What the files would bring. Throws DbError.
    Preview preview() const;

    // Writes the previewed lines, records already there updated or left as they are, all in one
    // transaction. Checks the files again inside it: when the meet no longer gives the same
    // preview, writes nothing and says so. Throws DbError, and then nothing is written.
    Outcome importInto(const Preview &previewed, bool updateExisting) const;

    // One line of the preview as the user reads it: "Line 4: Bo Brown (12) - Blue (B)", with
    // what differs from the meet, or why it is refused.
    static QString lineText(RosterFields::Kind kind, const Line &line);
    // "Riders (Riders.csv): 12 new, 3 already there, 1 refused"
    static QString sheetText(const Sheet &sheet);

private:
    // The meet's records of each kind, as the checks read them.
    using Roster = std::array<QVector<RosterRecords::Record>, 4>;
    static Roster readRoster(const QSqlDatabase &db);
    Preview previewOf(const Roster &roster) const;

    QSqlDatabase m_db;
    QVector<RosterSheet> m_sheets;
    // The last preview given and the roster it was made from.
    struct Made
    {
        Preview preview;
        Roster roster;
        std::optional<quint32> stamp; // the meet file's, as the roster was read
    };
    mutable std::optional<Made> m_last;
};
