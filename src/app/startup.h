#pragma once

#include "shell/appstate.h"

#include <QSize>
#include <QString>

// The steps of start-up up to the main menu: the screen check, the meet file (built when
// missing, checked when present), MeetDb and the report data source.
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

enum class Outcome { Ready, ScreenRefused, Failed };

// Runs start-up into state. On refusal or failure the user has been told why (through
// state.messages) and nothing was changed on disk beyond what a complete new meet writes.
Outcome run(AppState &state, QSize screenTwips, const QString &appFolder);

} // namespace Startup
