#pragma once

#include <QPixmap>

// The pictures of the main window's buttons, drawn in the colours of the 16-colour
// palette on a transparent background. Each call draws a new picture; a QGuiApplication
// must exist.

// The about button: a blue disc with a white "i", 16 x 16.
QPixmap AboutGlyph();
// The copy button: two overlapping written sheets, 18 x 18.
QPixmap CopyGlyph();
// The save button: a floppy disk, 16 x 16.
QPixmap SaveGlyph();
