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

// Where the meet is, when it is on a server: the address after --meet in the arguments, else the
// "meet = ..." line of trotwise.ini beside the program. Empty: the meet file, as always. An
// address that cannot be used, or a settings file that cannot be read, is answered in error
// (what it is, where it came from and why), and then start-up goes no further.
QString serverAddress(const QString &appFolder, const QStringList &arguments, QString *error);

enum class Outcome { Ready, ScreenRefused, Failed };

// Runs start-up into state, on the meet file or (given an address) on the server's meet. On
// refusal or failure the user has been told why (through state.messages) and nothing was changed
// on disk or on the server beyond what a complete new meet writes.
Outcome run(AppState &state, QSize screenTwips, const QString &appFolder, const QString &serverAddress = {});

} // namespace Startup
