#include "app/StyleList.h"

#include "app/StyleHost.h"
#include "app/StyleGallery.h"
#include "composer/LogoComposer.h"
#include "composer/SettingsKeys.h"
#include "composer/StoredParams.h"
#include "components/settings/IniGT.h"
#include "platform/base/Exception.h"
#include "platform/widgets/Tr.h"
#include "platform/widgets/ComboBoxStrings.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/widgets/QtText.h"

#include <QComboBox>

TStyleList::TStyleList(TStyleHost& host) : FHost(host), FItems(std::make_unique<TComboBoxStrings>(&host.StyleBox())) {}

TStyleList::~TStyleList() = default;

void TStyleList::ShowInGallery()
{
    if (TStyleGallery* gallery = FHost.StyleGallery())
        gallery->SetStyles(ToQStringList(FItems->ToStringList()));
}

void TStyleList::Store(std::u16string_view section)
{
    TIniGT& settings = FHost.Settings();
    TIniGT::TUpdate update(settings);
    TStoredParams::Write(settings, section, FHost.CurrentParams());
    settings.WriteStrings(TSettingsKeys::Styles, TSettingsKeys::Style, *FItems);
    update.Commit();
    ShowInGallery();
    if (TStyleGallery* gallery = FHost.StyleGallery())
        gallery->StyleStored(ToQString(section));
}

void TStyleList::Load(std::u16string_view section)
{
    TIniGT& settings = FHost.Settings();
    TIniGT::TUpdate snapshot(settings);
    TLogoParams params = FHost.CurrentParams();
    try {
        TStoredParams::Read(settings, section, FHost.DefaultText(), params);
    } catch (...) {
        FHost.ApplyParams(params);
        throw;
    }
    FHost.ApplyParams(params);
    settings.ReadStrings(TSettingsKeys::Styles, TSettingsKeys::Style, *FItems);
    ShowInGallery();
}

void TStyleList::Add()
{
    QComboBox& list = FHost.StyleBox();
    QString typed = list.currentText();
    if (!InputQuery(FHost.DialogParent(), Tr("スタイルの追加"), Tr("スタイル名"), typed, 255))
        return;
    const std::u16string name = ToText(typed);
    const QString refused = ToQString(TIniGT::FirstUnstorableCharacter(name));
    if (!refused.isEmpty())
        throw Exception(ToText(Tr("スタイル名の文字「%1」(U+%2) は保存できません")
                                   .arg(refused, QString::number(refused.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0'))));
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
    QComboBox& list = FHost.StyleBox();
    const int index = list.currentIndex();
    if (index < 0)
        return;
    const std::u16string name = ToText(list.itemText(index));
    const QString question = Tr("【%1】を削除してよろしいですか").arg(ToQString(name));
    if (!WarningOkCancel(FHost.DialogParent(), Tr("警告"), question))
        return;
    TIniGT& settings = FHost.Settings();
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
