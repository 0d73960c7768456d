#include "app/ClipboardStatus.h"

#include "platform/widgets/Tr.h"
#include "platform/widgets/BitmapImage.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

namespace {

QString Notice()
{
    return Tr(" クリップボードにコピーしました");
}

} // namespace

void TClipboardStatus::Copy(const TBitmap& logo)
{
    QGuiApplication::clipboard()->setImage(BitmapImageCopy(logo));
    // A copy while the notice shows saves the caption without it, so that the tick
    // takes the notice away.
    QString caption = FWindow.windowTitle();
    if (FTimer.isActive() && caption.endsWith(Notice()))
        caption.chop(Notice().size());
    FSavedCaption = caption;
    FWindow.setWindowTitle(FSavedCaption + Notice());
    // Qt tells no screen reader of a new window title; the notice is the reader's only
    // word that the copy happened, so the window's new name is reported.
    if (QAccessible::isActive()) {
        QAccessibleEvent renamed(&FWindow, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
    if (!FTimer.isActive())
        FTimer.start();
}

void TClipboardStatus::Expire()
{
    FTimer.stop();
    FWindow.setWindowTitle(FSavedCaption);
}
