#pragma once

#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/FontDialog.h"
#include "platform/widgets/HelpViewer.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/widgets/SaveDialog.h"

#include <QString>
#include <functional>

// Keeps the hooks a test may set in place of the user and the help window: the three
// dialogs' answerers, the message answerer, the help opener and the application's
// exception handler. Each is saved on construction and put back on destruction, so a
// test sets what it needs and leaves nothing behind, even when it fails half-way.
class TDialogHooksGuard {
public:
    TDialogHooksGuard();
    ~TDialogHooksGuard();
    TDialogHooksGuard(const TDialogHooksGuard&) = delete;
    TDialogHooksGuard& operator=(const TDialogHooksGuard&) = delete;

private:
    decltype(TColorDialog::Answerer) FColorAnswerer;
    decltype(TFontDialog::Answerer) FFontAnswerer;
    decltype(TSaveDialog::Answerer) FSaveAnswerer;
    TMessageAnswerer FMessageAnswerer;
    THelpOpener FHelpOpener;
    std::function<void(const QString&)> FOnException;
};
