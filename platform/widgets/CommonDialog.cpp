#include "platform/widgets/CommonDialog.h"

#include "platform/widgets/Tr.h"

#include <QDialogButtonBox>
#include <QPushButton>

QString DialogCancelText()
{
    return Tr("キャンセル");
}

void SetDialogButtonTexts(QDialogButtonBox& buttons)
{
    if (QPushButton* ok = buttons.button(QDialogButtonBox::Ok))
        ok->setText(QStringLiteral("OK"));
    if (QPushButton* cancel = buttons.button(QDialogButtonBox::Cancel))
        cancel->setText(DialogCancelText());
}
