#pragma once

#include <QFont>
#include <QPalette>

// The look the window was drawn for: the Windows style, the classic grey desktop's
// palette and the Japanese user-interface font of the window and its controls.
class TClassicLook {
public:
    // Sets the application's style, palette, title and control font, before any window
    // is made.
    static void Apply();
    // The palette of the classic grey desktop, from the system colours.
    static QPalette Palette();
    // The font of the window and of the Qt controls on it.
    static QFont WindowFont();
};
