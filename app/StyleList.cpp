#include "app/StyleList.h"

#include "app/Form1.h"
#include "composer/SettingsKeys.h"
#include "composer/StoredParams.h"
#include "components/settings/IniGT.h"
#include "platform/base/Exception.h"
#include "platform/widgets/Tr.h"
#include "platform/widgets/ComboBoxStrings.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/MessageDialogs.h"

#include <QComboBox>

TStyleList::TStyleList(TForm1& form) : FForm(form), FItems(std::make_unique<TComboBoxStrings>(form.CbStyle)) {}

TStyleList::~TStyleList() = default;

void TStyleList::ShowInGallery()
{
    if (TStyleGallery* gallery = FForm.StyleGallery())
        gallery->SetStyles(FItems->ToStringList());
}

void TStyleList::Store(const QString& section)
{
    TIniGT& settings = *FForm.IniGT;
    TIniGT::TUpdate update(settings);
    TStoredParams::Write(settings, section, FForm.CurrentParams());
    settings.WriteStrings(TSettingsKeys::Styles, TSettingsKeys::Style, *FItems);
    update.Commit();
    ShowInGallery();
    if (TStyleGallery* gallery = FForm.StyleGallery())
        gallery->StyleStored(section);
}

void TStyleList::Load(const QString& section)
{
    TIniGT& settings = *FForm.IniGT;
    TIniGT::TUpdate snapshot(settings);
    TLogoParams params = FForm.CurrentParams();
    try {
        TStoredParams::Read(settings, section, FForm.Label1->Caption(), params);
    } catch (...) {
        FForm.ApplyParams(params);
        throw;
    }
    FForm.ApplyParams(params);
    settings.ReadStrings(TSettingsKeys::Styles, TSettingsKeys::Style, *FItems);
    ShowInGallery();
}

void TStyleList::Add()
{
    QComboBox& list = *FForm.CbStyle;
    QString name = list.currentText();
    if (!InputQuery(&FForm, Tr("スタイルの追加"), Tr("スタイル名"), name, 255))
        return;
    const QString refused = TIniGT::FirstUnstorableCharacter(name);
    if (!refused.isEmpty())
        throw Exception(Tr("スタイル名の文字「%1」(U+%2) は保存できません")
                            .arg(refused, QString::number(refused.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0')));
    int index = TStoredParams::FindStyle(FItems->ToStringList(), name);
    const bool appended = index == -1;
    if (appended)
        index = FItems->Add(name);
    try {
        Store(name);
    } catch (...) {
        if (appended)
            FItems->Delete(index);
        throw;
    }
    list.setCurrentIndex(index);
}

void TStyleList::DeleteChosen()
{
    QComboBox& list = *FForm.CbStyle;
    const int index = list.currentIndex();
    if (index < 0)
        return;
    const QString name = list.itemText(index);
    const QString question = Tr("【%1】を削除してよろしいですか").arg(name);
    if (!WarningOkCancel(&FForm, Tr("警告"), question))
        return;
    TIniGT& settings = *FForm.IniGT;
    TIniGT::TUpdate update(settings);
    settings.EraseSection(name);
    FItems->Delete(index);
    list.setCurrentIndex(-1);
    try {
        Store(TSettingsKeys::LastParams);
        update.Commit();
    } catch (...) {
        FItems->Insert(index, name);
        list.setCurrentIndex(index);
        ShowInGallery();
        throw;
    }
}
