#include "platform/widgets/CommonDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>

QString DialogCancelText()
{
    return QStringLiteral("キャンセル");
}

void SetDialogButtonTexts(QDialogButtonBox& buttons)
{
    if (QPushButton* ok = buttons.button(QDialogButtonBox::Ok))
        ok->setText(QStringLiteral("OK"));
    if (QPushButton* cancel = buttons.button(QDialogButtonBox::Cancel))
        cancel->setText(DialogCancelText());
}
