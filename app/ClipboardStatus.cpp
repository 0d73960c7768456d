#include "app/ClipboardStatus.h"

#include "platform/widgets/BitmapImage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

void TClipboardStatus::Copy(const TBitmap& logo)
{
    QGuiApplication::clipboard()->setImage(BitmapImageCopy(logo));
    FSavedCaption = FWindow.windowTitle();
    FWindow.setWindowTitle(FSavedCaption + QString::fromUtf8(" クリップボードにコピーしました"));
    if (!FTimer.isActive())
        FTimer.start();
}

void TClipboardStatus::Expire()
{
    FTimer.stop();
    FWindow.setWindowTitle(FSavedCaption);
}
