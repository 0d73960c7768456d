#include "platform/widgets/FontDialog.h"

#include "platform/widgets/FontDialogForm.h"
#include "platform/widgets/FontDialogState.h"

std::function<bool(TFontDialog&)> TFontDialog::Answerer;

bool TFontDialog::Execute(QWidget* owner)
{
    if (Answerer)
        return Answerer(*this);
    TFontDialogForm form(FontDialogStateOf(FFont), owner);
    if (form.exec() != QDialog::Accepted)
        return false;
    ApplyFontDialogState(form.State(), FFont);
    return true;
}
