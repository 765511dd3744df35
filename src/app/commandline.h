#pragma once

#include <QString>

#include <vector>

// The program's options and what --help and --version print. An option is one line of Options;
// --help lists them in that order, and the manual page (packaging/trotwise.1.in) names each.
namespace CommandLine {

struct Option
{
    QString name;     // "--publish"
    QString argument; // "FOLDER", empty when it takes none
    QString meaning;  // one line of --help
};

inline const std::vector<Option> Options{
    {QStringLiteral("--meet"), QStringLiteral("ADDRESS"),
     QStringLiteral("work on the meet on a PostgreSQL server: postgresql://user@server:port/database")},
    {QStringLiteral("--publish"), QStringLiteral("FOLDER"),
     QStringLiteral("write the meet's results into FOLDER as web pages, without a window, and stop")},
    {QStringLiteral("--every"), QStringLiteral("SECONDS"),
     QStringLiteral("with --publish: look at the meet every SECONDS and publish whenever it changed, "
                    "until stopped")},
    {QStringLiteral("--url"), QStringLiteral("URL"),
     QStringLiteral("with --publish: put poster.pdf in FOLDER, with URL in large type and as a QR code")},
    {QStringLiteral("--where"), {}, QStringLiteral("print the data folder (see below) and stop")},
    {QStringLiteral("--version"), {}, QStringLiteral("print the version and stop")},
    {QStringLiteral("--help"), {}, QStringLiteral("print this help and stop")},
};

// Whether option is one of the arguments, as a word of its own.
bool has(int argc, char *argv[], const QString &option);

// The first argument written as an option of ours ("--" and a name) that is none of Options, each
// option's own argument passed over; empty when there is none. Qt's own options (one dash) pass.
QString unknown(int argc, char *argv[]);

// "Trotwise 0.1".
QString version();

// The usage, every option with its meaning, the data folder and the exit statuses.
QString help();

} // namespace CommandLine
