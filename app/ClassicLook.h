#pragma once

#include "platform/raster/Color.h"

#include <QFont>
#include <QPalette>

// The look the window was drawn for: the Windows style, the classic grey desktop's
// palette and the Japanese user-interface font of the window and its controls. On a
// dark desktop the window takes the desktop's colours instead, and follows them when
// they change; a logo keeps its classic colours on any desktop.
class TClassicLook {
public:
    // Sets the application's style, palette, title and control font, before any window
    // is made.
    static void Apply();
    // The palette of the window's Qt controls, from the display values of the system
    // colours.
    static QPalette Palette();
    // The font of the window and of the Qt controls on it.
    static QFont WindowFont();

    // The palette the desktop gives the application, the application's own dropped.
    static QPalette DesktopPalette();
    // The display values of the system colours on a desktop of that palette: its own
    // colours when it is dark, the classic values otherwise.
    static TSystemColorValues DisplayColors(const QPalette& desktop);
    // Sets the display values and the application's palette for the desktop's palette.
    static void FollowDesktop(const QPalette& desktop);
};
