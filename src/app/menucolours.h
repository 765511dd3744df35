#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

// The main menu's own colours, beside the state greys of FormKit.
namespace MenuColours {

// The text of the "Utilities" label while its window is closed.
inline const QColor LabelText{0x40, 0x40, 0x40};

// The bands of the main menu's title and header; the Utilities window hangs from the header.
inline const QColor TitleBand{0x1F, 0x38, 0x64};
inline const QColor HeaderBand{0x4A, 0x6A, 0x94};

// The system's colour for text in windows.
inline QColor windowText()
{
    return QGuiApplication::palette().color(QPalette::WindowText);
}

} // namespace MenuColours
