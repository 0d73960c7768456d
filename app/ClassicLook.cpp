#include "app/ClassicLook.h"

#include "platform/raster/Color.h"
#include "platform/raster/Font.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/GraphicControl.h"
#include "platform/widgets/QtColor.h"

#include <QApplication>
#include <QStyleFactory>
#include <utility>

namespace {

const QString UiFontName = QString::fromUtf8("ＭＳ Ｐゴシック");

} // namespace

void TClassicLook::Apply()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    QApplication::setPalette(Palette());
    QApplication::setApplicationName(QStringLiteral("Vezodev"));
    TApplication::Instance().SetTitle(QStringLiteral("Vezodev"));
    TFont& controlFont = TGraphicControl::DefaultFont();
    controlFont.SetName(UiFontName);
    controlFont.SetHeight(-12);
    controlFont.SetCharset(SHIFTJIS_CHARSET);
}

QPalette TClassicLook::Palette()
{
    static const std::pair<QPalette::ColorRole, TColor> roles[] = {
        {QPalette::Window, clBtnFace}, {QPalette::Button, clBtnFace}, {QPalette::Base, clWindow},
        {QPalette::WindowText, clWindowText}, {QPalette::ButtonText, clBtnText}, {QPalette::Text, clWindowText},
        {QPalette::Highlight, clHighlight}, {QPalette::HighlightedText, clHighlightText},
        {QPalette::ToolTipBase, clInfoBk}, {QPalette::ToolTipText, clInfoText}, {QPalette::Light, clBtnHighlight},
        {QPalette::Dark, clBtnShadow}, {QPalette::Mid, clBtnShadow},
    };
    QPalette palette;
    for (const auto& [role, color] : roles)
        palette.setColor(role, ToQColor(color));
    return palette;
}

QFont TClassicLook::WindowFont()
{
    QFont font(UiFontName);
    font.setPixelSize(12);
    return font;
}
