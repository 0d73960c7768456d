#include "app/PaneLayout.h"

#include "app/MainControls.h"
#include "app/WindowPlacement.h"
#include "components/widgets/GradBox.h"
#include "platform/widgets/Bevel.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/PaintBox.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <initializer_list>

namespace {

// The gap between two panes, and between the panes and the window's edges.
const int PaneGap = 8;
const int EdgeGap = 4;

} // namespace

// Each pane shows a logo pixel as whole device pixels, whatever the screen's scale.
TPaneLayout::TPaneLayout(QWidget& window, TMainControls& form, QWidget& client)
    : FWindow(window), FControls(form), FClient(client)
{
    const int left = form.Pbox->Left();
    FPaneScroll = new QScrollArea(&client);
    FPaneScroll->setObjectName(QStringLiteral("PaneScroll"));
    FPaneScroll->setFrameShape(QFrame::NoFrame);
    FPaneScroll->setFocusPolicy(Qt::NoFocus);
    FPanes = new QWidget;
    FPanes->setObjectName(QStringLiteral("Panes"));
    for (TGraphicControl* pane : std::initializer_list<TGraphicControl*>{form.Pbox, form.Gbox, form.Img}) {
        const QRect bounds = pane->geometry();
        pane->setParent(FPanes);
        pane->SetBounds(bounds.left() - left, bounds.top(), bounds.width(), bounds.height());
        pane->SetScreenScaling(TGraphicControl::ssPixelExact);
        pane->show();
    }
    FPaneScroll->setWidget(FPanes);
    FPaneScroll->setGeometry(left, 0, client.width() - left, client.height());
}

void TPaneLayout::PlaceUpperPanes(TSize size)
{
    TPaintBox& text = *FControls.Pbox;
    text.SetBounds(text.Left(), text.Top(), std::max(size.Width, 0), std::max(size.Height, 0));
    FControls.Gbox->SetBounds(FControls.Gbox->Left(), text.Top() + text.Height() + PaneGap, text.Width(), text.Height());
}

// The pane is kept from build to build, so whatever watches it (a screen reader, the
// focus) keeps it too.
void TPaneLayout::PlaceLogoPane()
{
    const TGradBox& gradient = *FControls.Gbox;
    TImage& logo = *FControls.Img;
    logo.SetBounds(gradient.Left(), gradient.Top() + gradient.Height() + PaneGap, FControls.Pbox->Width(), FControls.Pbox->Height());
    logo.show();
    const QSize panes(gradient.Left() + gradient.Width() + EdgeGap, logo.Top() + logo.Height() + EdgeGap);
    FPanes->resize(panes);
    const QPushButton& lowest = *FControls.BtSave;
    const QSize wanted(FPaneScroll->x() + panes.width(), std::max(lowest.y() + lowest.height() + EdgeGap, panes.height()));
    const QSize client = LimitedClientSize(wanted);
    SetClientSize(client.width(), client.height());
    FPaneScroll->setGeometry(FPaneScroll->x(), 0, client.width() - FPaneScroll->x(), client.height());
    FControls.Bv->SetHeight(client.height());
}

// Under Wayland the compositor may still impose a larger size (a maximised or full-screen
// state the window did not offer), which a fixed size would refuse and the compositor
// punish: there the size is a least size, and a size imposed is kept until it ends.
void TPaneLayout::SetClientSize(int width, int height)
{
    FClient.resize(width, height);
    if (TWindowPlacement::PlatformKnowsPositions()) {
        FWindow.setFixedSize(width, height);
        return;
    }
    FWindow.setMinimumSize(width, height);
    FWindow.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (!(FWindow.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        FWindow.resize(width, height);
}

void TPaneLayout::RestoreClientSize()
{
    SetClientSize(FClient.width(), FClient.height());
}

void TPaneLayout::ScrollTo(TColumnEnd end)
{
    for (QScrollBar* bar : {FPaneScroll->horizontalScrollBar(), FPaneScroll->verticalScrollBar()})
        bar->setValue(end == ceStart ? bar->minimum() : bar->maximum());
}

void TPaneLayout::KeepOnScreen()
{
    if (!TWindowPlacement::PlatformKnowsPositions())
        return;
    const QMargins frame = FrameMargins();
    const QRect outer = FWindow.geometry().marginsAdded(frame);
    const QPoint corner = TWindowPlacement::VisiblePosition(outer, frame.top(), TWindowPlacement::AvailableScreens());
    if (corner == outer.topLeft())
        return;
    // A move places the frame; where the platform placed the client area instead, a
    // second move makes up the difference.
    FWindow.move(corner);
    const QPoint landed = FWindow.frameGeometry().topLeft();
    if (landed != corner)
        FWindow.move(FWindow.pos() + corner - landed);
}

// The window's frame, or a common one before the window system has made it.
QMargins TPaneLayout::FrameMargins() const
{
    const QRect frame = FWindow.frameGeometry();
    const QRect client = FWindow.geometry();
    if (frame == client)
        return TWindowPlacement::NominalFrame();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

QSize TPaneLayout::LimitedClientSize(const QSize& wanted) const
{
    const QScreen* shown = FWindow.screen() ? FWindow.screen() : QGuiApplication::primaryScreen();
    if (!shown)
        return wanted;
    const QMargins frame = FrameMargins();
    return TWindowPlacement::LimitedClientSize(wanted, shown->availableGeometry().size(),
                                               QSize(frame.left() + frame.right(), frame.top() + frame.bottom()));
}
