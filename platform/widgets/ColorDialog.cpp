#include "platform/widgets/ColorDialog.h"

#include "platform/widgets/Tr.h"
#include "platform/widgets/QtColor.h"

#include <QColorDialog>
#include <QDialogButtonBox>

std::function<bool(TColorDialog&)> TColorDialog::Answerer;

bool TColorDialog::Execute(QWidget* owner)
{
    if (Answerer)
        return Answerer(*this);
    // Qt's own dialog always shows the basic and the custom colours; a desktop's
    // native chooser may not.
    // The colour is preset after the option, which builds those widgets.
    QColorDialog dialog(owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    // A system colour starts the chooser at the value a logo draws it with.
    dialog.setCurrentColor(ToQColor(FColor, ctClassic));
    dialog.setWindowTitle(FTitle.isEmpty() ? Tr("色の設定") : FTitle);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        SetDialogButtonTexts(*buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    FColor = FromQColor(dialog.selectedColor());
    return true;
}
