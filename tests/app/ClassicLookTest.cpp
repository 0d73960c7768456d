#include "Form1TestSupport.h"

#include "app/ClassicLook.h"
#include "components/widgets/GradBox.h"
#include "components/widgets/ManyBtn.h"
#include "platform/widgets/Bevel.h"
#include "platform/widgets/BitmapImage.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/PaintBox.h"
#include "platform/widgets/QtColor.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <vector>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformtheme.h>
#include <qpa/qwindowsysteminterface.h>

namespace {

int CountOf(const QImage& image, QRgb pixel)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == pixel;
    return count;
}

// A desktop theme whose palette the test chooses; the rest is the platform's own.
class TDesktopTheme : public QPlatformTheme {
public:
    TDesktopTheme(const QPlatformTheme* base, const QPalette& palette) : FBase(base), FPalette(palette) {}

    const QPalette* palette(Palette type) const override { return type == SystemPalette ? &FPalette : nullptr; }
    const QFont* font(Font type) const override { return FBase ? FBase->font(type) : nullptr; }
    QVariant themeHint(ThemeHint hint) const override
    {
        return FBase ? FBase->themeHint(hint) : QPlatformTheme::themeHint(hint);
    }

private:
    const QPlatformTheme* FBase;
    QPalette FPalette;
};

// Lets the theme reach the windows as the platform does when the user changes it, and
// lets the window act on it.
void AnnounceThemeChange()
{
    QWindowSystemInterface::handleThemeChange();
    QWindowSystemInterface::flushWindowSystemEvents();
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::processEvents();
}

// Makes a theme with palette the desktop's for the guard's life.
class TDesktopPalette {
public:
    explicit TDesktopPalette(const QPalette& palette)
        : FOld(QGuiApplicationPrivate::platform_theme), FTheme(FOld, palette)
    {
        QGuiApplicationPrivate::platform_theme = &FTheme;
        AnnounceThemeChange();
    }
    ~TDesktopPalette()
    {
        QGuiApplicationPrivate::platform_theme = FOld;
        AnnounceThemeChange();
    }
    TDesktopPalette(const TDesktopPalette&) = delete;
    TDesktopPalette& operator=(const TDesktopPalette&) = delete;

private:
    QPlatformTheme* FOld;
    TDesktopTheme FTheme;
};

// A dark desktop in the manner of Breeze Dark: every role its own colour.
QPalette DarkPalette()
{
    QPalette palette;
    const std::pair<QPalette::ColorRole, QRgb> roles[] = {
        {QPalette::Window, 0x202326},          {QPalette::WindowText, 0xFCFCFC}, {QPalette::Base, 0x141618},
        {QPalette::Text, 0xFAFAFA},            {QPalette::Button, 0x292C30},     {QPalette::ButtonText, 0xF0F0F0},
        {QPalette::Highlight, 0x3DAEE9},       {QPalette::HighlightedText, 0xFDFDFD},
        {QPalette::Light, 0x40464C},           {QPalette::Midlight, 0x33383C},   {QPalette::Dark, 0x191B1D},
        {QPalette::Mid, 0x24272A},             {QPalette::Shadow, 0x0E0F10},     {QPalette::ToolTipBase, 0x31363B},
        {QPalette::ToolTipText, 0xEFF0F1},     {QPalette::PlaceholderText, 0xA1A9B1},
    };
    for (const auto& [role, rgb] : roles)
        palette.setColor(role, QColor::fromRgb(rgb));
    return palette;
}

// A light desktop that is not the classic one: white windows, blue selection.
QPalette LightPalette()
{
    QPalette palette(QColor(0xEF, 0xF0, 0xF1), QColor(0xFC, 0xFC, 0xFC));
    palette.setColor(QPalette::Highlight, QColor(0x3D, 0xAE, 0xE9));
    return palette;
}

// The logo as every part of the window shows it, and as it is saved.
struct TLogoPixels {
    QImage Composite;
    QImage Text;
    QImage Gradient;
    TColor TopKey;
    QByteArray Saved;
};

// A logo stored with system colours throughout: background, gradient, text, outline and
// shadow.
const QByteArray SystemColourLogo = "[OPTION]\r\nBGCOLOR=0x8000000F\r\nTOPCOLOR=0x8000000D\r\nLASTCOLOR=0x80000018\r\n"
                                    "TEXT=Look\r\nOUTLINE.Width=1\r\nOUTLINE.Color=0x80000010\r\nSHADOW.X=2\r\n"
                                    "SHADOW.Y=2\r\nSHADOW.Color=0x80000008\r\n";

class ClassicLookTest : public Form1Fixture {
protected:
    TLogoPixels Logo(TForm1& form, const QString& name)
    {
        const QString path = FFolder.filePath(name + QStringLiteral(".bmp"));
        SaveAs(form, path);
        QFile saved(path);
        EXPECT_TRUE(saved.open(QIODevice::ReadOnly));
        return TLogoPixels{BitmapImageCopy(form.Img->Picture()), BitmapImageCopy(form.Pbox->Picture()),
                           form.Gbox->grab().toImage(), form.LbTopC->Font().Color(), saved.readAll()};
    }

    static void ExpectSameLogo(const TLogoPixels& shown, const TLogoPixels& classic)
    {
        EXPECT_EQ(shown.Composite, classic.Composite) << "the logo pane";
        EXPECT_EQ(shown.Text, classic.Text) << "the text pane";
        EXPECT_EQ(shown.Gradient, classic.Gradient) << "the gradient box";
        EXPECT_EQ(shown.TopKey, classic.TopKey) << "the gradient's colour number";
        EXPECT_EQ(shown.Saved, classic.Saved) << "the saved file";
    }

    // The face of the first colour button, inside its bevel, and the text field's
    // background beside its text.
    static QRgb ButtonFace(TForm1& form) { return form.MbColor->grab().toImage().pixel(3, 3); }
    static QRgb EditBackground(TForm1& form)
    {
        const QImage edit = form.Edit1->grab().toImage();
        return edit.pixel(edit.width() - 5, edit.height() / 2);
    }
    // The windowless controls, which draw with the system colours themselves.
    static std::vector<QImage> Controls(TForm1& form)
    {
        std::vector<QImage> shots;
        QWidget* controls[] = {form.MbText, form.MbMix, form.MbGra, form.MbColor, form.Label2, form.Label3, form.Bv};
        for (QWidget* control : controls)
            shots.push_back(control->grab().toImage());
        return shots;
    }
};

TEST_F(ClassicLookTest, TheWindowDrawsWithADarkDesktopsColoursAndTheLogoKeepsItsClassicPixels)
{
    WriteSettings(SystemColourLogo);
    TForm1& form = Open();
    const QImage lightWindow = form.grab().toImage();
    const std::vector<QImage> lightControls = Controls(form);
    const TLogoPixels classic = Logo(form, QStringLiteral("classic"));
    ASSERT_EQ(ButtonFace(form), ColorToPixel(clBtnFace)) << "the sample is the button's face";
    ASSERT_EQ(EditBackground(form), ColorToPixel(clWindow)) << "the sample is the field's background";
    const QPalette dark = DarkPalette();
    {
        SCOPED_TRACE("the desktop turns dark while the window is open");
        TDesktopPalette desktop(dark);
        EXPECT_EQ(ButtonFace(form), dark.color(QPalette::Window).rgb());
        EXPECT_EQ(EditBackground(form), dark.color(QPalette::Base).rgb());
        const QImage label = form.Label2->grab().toImage();
        EXPECT_EQ(label.pixel(0, 0), dark.color(QPalette::Window).rgb());
        EXPECT_GT(CountOf(label, dark.color(QPalette::WindowText).rgb()), 0) << "the caption in the desktop's text colour";
        ExpectSameLogo(Logo(form, QStringLiteral("dark")), classic);
    }
    EXPECT_EQ(form.grab().toImage(), lightWindow) << "back on the classic desktop, the window is as it was";
    {
        SCOPED_TRACE("the window opens on a dark desktop");
        TDesktopPalette desktop(dark);
        TForm1& darkForm = Open();
        EXPECT_EQ(ButtonFace(darkForm), dark.color(QPalette::Window).rgb());
        EXPECT_EQ(EditBackground(darkForm), dark.color(QPalette::Base).rgb());
        ExpectSameLogo(Logo(darkForm, QStringLiteral("opened-dark")), classic);
    }
    {
        SCOPED_TRACE("a light desktop of its own colours");
        TDesktopPalette desktop(LightPalette());
        TForm1& lightForm = Open();
        EXPECT_TRUE(Controls(lightForm) == lightControls) << "a light desktop keeps the classic look";
        EXPECT_EQ(EditBackground(lightForm), ColorToPixel(clWindow));
    }
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

// Dark means a window darker than its text; anything else keeps the classic values.
TEST(ClassicLookColoursTest, OnlyADarkDesktopReplacesTheClassicValues)
{
    QPalette even = LightPalette();
    even.setColor(QPalette::WindowText, even.color(QPalette::Window));
    const std::pair<const char*, QPalette> light[] = {{"light", LightPalette()}, {"even", even}, {"Qt's", QPalette()}};
    for (const auto& [name, desktop] : light) {
        SCOPED_TRACE(name);
        EXPECT_EQ(TClassicLook::DisplayColors(desktop), ClassicSystemColors());
    }
    const TSystemColorValues dark = TClassicLook::DisplayColors(DarkPalette());
    EXPECT_EQ(dark[clBtnText - clSystemColor], 0xF0F0F0u);
    EXPECT_EQ(dark[1], ClassicSystemColors()[1]) << "COLOR_BACKGROUND keeps its classic value";
}

} // namespace
