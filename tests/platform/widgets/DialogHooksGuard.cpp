#include "DialogHooksGuard.h"

#include "platform/widgets/Application.h"

TDialogHooksGuard::TDialogHooksGuard()
    : FColorAnswerer(TColorDialog::Answerer), FFontAnswerer(TFontDialog::Answerer), FSaveAnswerer(TSaveDialog::Answerer),
      FMessageAnswerer(MessageAnswerer), FHelpOpener(HelpOpener), FOnException(TApplication::Instance().OnException)
{
}

TDialogHooksGuard::~TDialogHooksGuard()
{
    TColorDialog::Answerer = FColorAnswerer;
    TFontDialog::Answerer = FFontAnswerer;
    TSaveDialog::Answerer = FSaveAnswerer;
    MessageAnswerer = FMessageAnswerer;
    HelpOpener = FHelpOpener;
    TApplication::Instance().OnException = FOnException;
}
