#pragma once

#include <QString>

class QTimer;
class QWidget;
class TBitmap;

// Copies the logo to the clipboard and says so in the window's caption for as long as
// the timer runs, telling a screen reader of the new caption; the caption then comes back.
class TClipboardStatus {
public:
    TClipboardStatus(QWidget& window, QTimer& timer) : FWindow(window), FTimer(timer) {}

    void Copy(const TBitmap& logo);
    // The timer's tick: the caption of before the copy comes back.
    void Expire();

private:
    QWidget& FWindow;
    QTimer& FTimer;
    QString FSavedCaption;
};
