#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// Where the main window may stand and how large it may grow, from the screens' usable
// areas alone, so the rules can be checked without a screen.
class TWindowPlacement {
public:
    // A window frame before the window system has drawn it, at least as large as the
    // frames of common desktops, so a window placed with it fits with its real frame.
    static QMargins NominalFrame() { return QMargins(8, 32, 8, 8); }

    // The top-left corner for a window frame, moved onto a screen when its title bar or
    // most of its area would lie off every screen: onto the screen holding most of the
    // frame, or the primary one (the first) when none holds any. A frame that is well
    // placed keeps its corner.
    static QPoint VisiblePosition(const QRect& frame, int titleHeight, const QList<QRect>& screens);
    // The part of area that lies on any of the screens, in pixels.
    static qint64 VisibleArea(const QRect& area, const QList<QRect>& screens);

    // The client size for wanted, limited to what fits in the usable area of a screen
    // together with the window's frame.
    static QSize LimitedClientSize(const QSize& wanted, const QSize& available, const QSize& frame);

    // True where the window system tells a window where it stands and lets it choose,
    // false under Wayland, where a window has no position of its own.
    static bool PlatformKnowsPositions();
    // The usable areas of the screens, the primary one first.
    static QList<QRect> AvailableScreens();
};
