#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace {

qint64 Area(const QRect& rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

// The frame moved as little as possible to lie inside the screen; a frame larger than
// the screen keeps its top-left corner on it.
QPoint InsideOf(const QRect& frame, const QRect& screen)
{
    const int x = std::max(screen.left(), std::min(frame.left(), screen.right() + 1 - frame.width()));
    const int y = std::max(screen.top(), std::min(frame.top(), screen.bottom() + 1 - frame.height()));
    return QPoint(x, y);
}

} // namespace

qint64 TWindowPlacement::VisibleArea(const QRect& area, const QList<QRect>& screens)
{
    // Screens of a desktop do not overlap, so their shares add up.
    qint64 visible = 0;
    for (const QRect& screen : screens)
        visible += Area(area.intersected(screen));
    return visible;
}

QPoint TWindowPlacement::VisiblePosition(const QRect& frame, int titleHeight, const QList<QRect>& screens)
{
    if (screens.isEmpty() || frame.isEmpty())
        return frame.topLeft();
    const QRect title(frame.left(), frame.top(), frame.width(), std::clamp(titleHeight, 1, frame.height()));
    const bool titleShown = 2 * VisibleArea(title, screens) >= Area(title);
    const bool mostShown = 2 * VisibleArea(frame, screens) >= Area(frame);
    if (titleShown && mostShown)
        return frame.topLeft();
    QRect target = screens.first();
    qint64 most = 0;
    for (const QRect& screen : screens) {
        const qint64 shared = Area(frame.intersected(screen));
        if (shared > most) {
            most = shared;
            target = screen;
        }
    }
    return InsideOf(frame, target);
}

QSize TWindowPlacement::LimitedClientSize(const QSize& wanted, const QSize& available, const QSize& frame)
{
    if (available.isEmpty())
        return wanted;
    return QSize(std::min(wanted.width(), std::max(1, available.width() - frame.width())),
                 std::min(wanted.height(), std::max(1, available.height() - frame.height())));
}

bool TWindowPlacement::PlatformKnowsPositions()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
}

QList<QRect> TWindowPlacement::AvailableScreens()
{
    QList<QRect> areas;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            areas << screen->availableGeometry();
    }
    return areas;
}
