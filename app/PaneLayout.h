#pragma once

#include "platform/raster/Types.h"

#include <QMargins>
#include <QSize>

class QScrollArea;

// An end of the pane column: its top left corner or its bottom right one.
enum TColumnEnd : unsigned char { ceStart, ceEnd };
class QWidget;
struct TMainControls;

// Where the three panes stand and how large the window is: the panes in a column of
// their own right of the bevel, eight pixels apart and each of the logo's size, and the
// window sized to hold them and the controls. The column scrolls where the logo would
// make the window larger than its screen.
class TPaneLayout {
public:
    // Moves the panes from the window into the scrolling column; client is the window's
    // client area.
    TPaneLayout(QWidget& window, TMainControls& controls, QWidget& client);

    // Sizes the text pane and the gradient pane below it to a logo of size.
    void PlaceUpperPanes(TSize size);
    // Places the logo pane below the gradient pane and sizes the window to the panes.
    void PlaceLogoPane();
    // The window takes its own size again, once a size the compositor imposed ends.
    void RestoreClientSize();
    // Scrolls a column larger than the window to end, as Home and End on the logo do.
    void ScrollTo(TColumnEnd end);
    // Moves a window whose title bar or most of whose area lies off every screen onto one.
    void KeepOnScreen();

private:
    void SetClientSize(int width, int height);
    // The largest client area the window's screen holds with the window's frame.
    QSize LimitedClientSize(const QSize& wanted) const;
    QMargins FrameMargins() const;

    QWidget& FWindow;
    TMainControls& FControls;
    QWidget& FClient;
    QScrollArea* FPaneScroll = nullptr;
    QWidget* FPanes = nullptr;
};
