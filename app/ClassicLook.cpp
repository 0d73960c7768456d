#include "app/ClassicLook.h"

#include "platform/raster/Font.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/GraphicControl.h"
#include "platform/widgets/QtColor.h"
#include "platform/widgets/QtText.h"

#include <QApplication>
#include <QEvent>
#include <QStyleFactory>
#include <QTimer>
#include <utility>

namespace {

const QString UiFontName = QString::fromUtf8("ＭＳ Ｐゴシック");
const QString DesktopWatchName = QStringLiteral("DesktopWatch");

// Which role of the desktop's palette gives each system colour the window's controls
// draw with. The face is the window's background, which the controls sit on.
constexpr std::pair<TColor, QPalette::ColorRole> DesktopRoles[] = {
    {clSystemColor + 0, QPalette::Window},           {clSystemColor + 4, QPalette::Window},
    {clWindow, QPalette::Base},                      {clSystemColor + 7, QPalette::WindowText},
    {clWindowText, QPalette::WindowText},            {clSystemColor + 10, QPalette::Window},
    {clSystemColor + 11, QPalette::Window},          {clHighlight, QPalette::Highlight},
    {clHighlightText, QPalette::HighlightedText},    {clBtnFace, QPalette::Window},
    {clBtnShadow, QPalette::Dark},                   {clSystemColor + 17, QPalette::PlaceholderText},
    {clBtnText, QPalette::ButtonText},               {clBtnHighlight, QPalette::Light},
    {clSystemColor + 21, QPalette::Shadow},          {clSystemColor + 22, QPalette::Midlight},
    {clInfoText, QPalette::ToolTipText},             {clInfoBk, QPalette::ToolTipBase},
};

bool IsDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

// Follows the desktop when its theme changes. Qt tells every window; the colours are
// read once, after the last of them.
class TDesktopWatch : public QObject {
public:
    explicit TDesktopWatch(QObject* parent) : QObject(parent) { setObjectName(DesktopWatchName); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ThemeChange && watched->isWindowType() && !FPending) {
            FPending = true;
            QTimer::singleShot(0, this, [this] {
                FPending = false;
                TClassicLook::FollowDesktop(TClassicLook::DesktopPalette());
            });
        }
        return false;
    }

private:
    bool FPending = false;
};

void WatchDesktop()
{
    if (qApp->findChild<QObject*>(DesktopWatchName, Qt::FindDirectChildrenOnly) != nullptr)
        return;
    qApp->installEventFilter(new TDesktopWatch(qApp));
}

} // namespace

void TClassicLook::Apply()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    FollowDesktop(DesktopPalette());
    WatchDesktop();
    QApplication::setApplicationName(QStringLiteral("Vezodev"));
    TApplication::Instance().SetTitle(QStringLiteral("Vezodev"));
    TFont& controlFont = TGraphicControl::DefaultFont();
    controlFont.SetName(ToText(UiFontName));
    controlFont.SetHeight(-12);
    controlFont.SetCharset(SHIFTJIS_CHARSET);
    // The controls write in the window's text colour, black on the classic desktop.
    controlFont.SetColor(clWindowText);
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

// With no palette of the application's own, Qt answers with the platform theme's.
QPalette TClassicLook::DesktopPalette()
{
    if (QCoreApplication::testAttribute(Qt::AA_SetPalette))
        QApplication::setPalette(QPalette());
    return QApplication::palette();
}

TSystemColorValues TClassicLook::DisplayColors(const QPalette& desktop)
{
    TSystemColorValues values = ClassicSystemColors();
    if (!IsDark(desktop))
        return values;
    for (const auto& [color, role] : DesktopRoles)
        values[color - clSystemColor] = FromQColor(desktop.color(QPalette::Active, role));
    return values;
}

void TClassicLook::FollowDesktop(const QPalette& desktop)
{
    SetDisplaySystemColors(DisplayColors(desktop));
    QApplication::setPalette(Palette());
}
