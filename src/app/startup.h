#pragma once

#include "shell/appstate.h"

#include <QSize>
#include <QString>

// The steps of start-up up to the main menu: the screen check, the meet (the file beside the
// program, built when missing and checked when present; or a database on a server, built when
// empty and checked when not), MeetDb and the report data source.
namespace Startup {

inline const QString MeetYear = QStringLiteral("2006");
inline const QString ScreenRefusal =
    QStringLiteral("Trotwise cannot be used on a machine having a screen resolution less than 800X600 DPI");

inline constexpr std::int32_t MinScreenWidth = 12000;
inline constexpr std::int32_t MinScreenHeight = 9000;

// "KORVState2006.mdb" in the folder.
QString meetPath(const QString &appFolder);

// The primary screen's size in twips, rounded.
QSize screenTwips(const QSizeF &pixels);

bool screenAccepted(std::int32_t widthTwips, std::int32_t heightTwips);

inline const QString SettingsFile = QStringLiteral("trotwise.ini");
inline const QString MeetOption = QStringLiteral("--meet");

// What the station is told before it starts: where the meet is, when it is on a server (empty:
// the meet file, as always), and the name of this computer in the meet's journal (free text,
// empty when not given).
struct Settings
{
    QString meet;
    QString station;
};

// The one reader of the station's settings: trotwise.ini in the data folder, lines of
// "key = value" (meet, station), blank lines, [sections] and lines starting with # or ; passed
// over; then the address after --meet in the arguments, which goes before the file's. A file that
// names no meet leaves the meet file; a line the program does not understand, or an address that
// cannot be used, is answered in error (the file, the line's number and text, what is wrong with
// it; any password masked), and then start-up goes no further.
Settings settings(const QString &appFolder, const QStringList &arguments, QString *error);

enum class Outcome { Ready, ScreenRefused, Failed };

// Runs start-up into state, on the meet file or (given an address) on the server's meet. On
// refusal or failure the user has been told why (through state.messages) and nothing was changed
// on disk or on the server beyond what a complete new meet writes.
Outcome run(AppState &state, QSize screenTwips, const QString &appFolder, const QString &serverAddress = {});

} // namespace Startup
