#include "Form1TestSupport.h"

#include "app/EffectsDialog.h"
#include "app/StyleGallery.h"
#include "platform/widgets/BitmapImage.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// The effects dialog from the finished logo's menu, and the effects in the styles.
class Form1EffectsTest : public Form1Fixture {
protected:
    void TearDown() override
    {
        TEffectsDialog::Answerer = nullptr;
        Form1Fixture::TearDown();
    }

    // Opens the dialog through the menu and answers it with answer.
    static void OpenEffects(TForm1& form, const std::function<bool(TEffectsDialog&)>& answer)
    {
        TEffectsDialog::Answerer = answer;
        form.MmEffects->trigger();
    }

    static QSize LogoSize(TForm1& form) { return BitmapImageCopy(form.Img->Picture()).size(); }
};

TEST_F(Form1EffectsTest, ChangesShowAtOnceCancelPutsThemBackAndOkKeepsThem)
{
    TForm1& form = Open();
    const QImage plain = BitmapImageCopy(form.Img->Picture());
    TColorDialog::Answerer = [](TColorDialog& dialog) {
        dialog.SetColor(0x000000FF);
        return true;
    };
    OpenEffects(form, [&](TEffectsDialog& dialog) -> bool {
        // Every field is named by its label, which also takes the keyboard there.
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            SCOPED_TRACE(label->text().toStdString());
            EXPECT_NE(label->buddy(), nullptr);
            if (label->buddy() != nullptr) {
                EXPECT_FALSE(label->buddy()->accessibleName().isEmpty());
            }
            EXPECT_TRUE(label->text().contains(u'&'));
        }
        dialog.EdOutline->SetValue(2);
        EXPECT_EQ(form.CurrentParams().Effects.OutlineWidth, 2);
        EXPECT_EQ(LogoSize(form), plain.size() + QSize(4, 4));
        dialog.BtOutlineColor->click();
        EXPECT_EQ(form.CurrentParams().Effects.OutlineColor, 0x000000FFu);
        dialog.EdSpacing->SetValue(500);
        EXPECT_EQ(form.CurrentParams().Effects.Spacing, TTextEffects::MaxSpacing) << "a value out of range is limited";
        ExpectConsistent(form);
        return false;
    });
    EXPECT_EQ(form.CurrentParams().Effects, TTextEffects{});
    EXPECT_EQ(BitmapImageCopy(form.Img->Picture()), plain);

    OpenEffects(form, [](TEffectsDialog& dialog) {
        dialog.EdShadowX->SetValue(3);
        dialog.EdShadowY->SetValue(-3);
        return true;
    });
    EXPECT_EQ(form.CurrentParams().Effects.ShadowX, 3);
    EXPECT_EQ(form.CurrentParams().Effects.ShadowY, -3);
    EXPECT_EQ(LogoSize(form), plain.size() + QSize(3, 3));
    ExpectConsistent(form);
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

// A step that would make the logo wider than a logo may be is refused before anything
// changes: one error box, the field back at the value in force, the logo as it was.
TEST_F(Form1EffectsTest, AStepThatMakesTheLogoTooLargeIsRefusedBeforeAnythingChanges)
{
    TForm1& form = Open();
    form.Edit1->setText(QString(150, u'W'));
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    OpenEffects(form, [&](TEffectsDialog& dialog) {
        dialog.EdSpacing->SetValue(180);
        const QImage accepted = BitmapImageCopy(form.Img->Picture());
        EXPECT_TRUE(FErrors.isEmpty());
        dialog.EdSpacing->SetValue(200);
        EXPECT_EQ(FErrors.size(), 1);
        EXPECT_EQ(dialog.EdSpacing->Value(), 180);
        EXPECT_EQ(form.CurrentParams().Effects.Spacing, 180);
        EXPECT_TRUE(BitmapImageCopy(form.Img->Picture()) == accepted);
        dialog.EdOutline->SetValue(1);
        EXPECT_EQ(form.CurrentParams().Effects.OutlineWidth, 1) << "a later change that fits is taken";
        EXPECT_EQ(form.CurrentParams().Effects.Spacing, 180);
        ExpectConsistent(form);
        return true;
    });
    EXPECT_EQ(FErrors.size(), 1);
}

TEST_F(Form1EffectsTest, StylesCarryTheEffectsAndAStyleWithoutThemTurnsThemOff)
{
    TForm1& form = Open();
    AddStyle(form, QStringLiteral("Plain"));
    OpenEffects(form, [](TEffectsDialog& dialog) {
        dialog.EdOutline->SetValue(1);
        dialog.EdSpacing->SetValue(-2);
        return true;
    });
    AddStyle(form, QStringLiteral("Outlined"));
    EXPECT_EQ(Read("Outlined", "OUTLINE.Width"), QStringLiteral("1"));
    EXPECT_EQ(Read("Outlined", "SPACING"), QStringLiteral("-2"));
    EXPECT_EQ(Read("Outlined", "SHADOW.X"), QStringLiteral("<none>"));
    EXPECT_EQ(Read("Plain", "OUTLINE.Width"), QStringLiteral("<none>"));

    Choose(form, 0);
    EXPECT_EQ(form.CurrentParams().Effects, TTextEffects{});
    ExpectConsistent(form);
    Choose(form, 1);
    EXPECT_EQ(form.CurrentParams().Effects.OutlineWidth, 1);
    EXPECT_EQ(form.CurrentParams().Effects.Spacing, -2);
    ExpectConsistent(form);

    OpenEffects(form, [](TEffectsDialog& dialog) {
        dialog.EdOutline->SetValue(0);
        dialog.EdSpacing->SetValue(0);
        return true;
    });
    AddStyle(form, QStringLiteral("Outlined"));
    EXPECT_EQ(Read("Outlined", "OUTLINE.Width"), QStringLiteral("<none>")) << "turned off, the keys leave";
    EXPECT_EQ(Read("Outlined", "SPACING"), QStringLiteral("<none>"));
    form.close();
    EXPECT_EQ(Read("OPTION", "OUTLINE.Color"), QStringLiteral("<none>"));
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

// Each tile is drawn with its style's effects, and a style without them has none, even
// while the window's logo has some.
TEST_F(Form1EffectsTest, GalleryDrawsEachStyleWithItsOwnEffects)
{
    WriteSettings("[STYLES]\r\nSTYLE.Count=2\r\nSTYLE.0=Shadowed\r\nSTYLE.1=Plain\r\n"
                  "[Shadowed]\r\nSHADOW.X=4\r\nSHADOW.Y=-2\r\n[Plain]\r\nHSPACE=0\r\n");
    TForm1& form = Open();
    const TLogoParams plain = form.CurrentParams();
    OpenEffects(form, [](TEffectsDialog& dialog) {
        dialog.EdOutline->SetValue(3);
        return true;
    });
    form.MmGalleryClick();
    TStyleGallery* gallery = form.StyleGallery();
    ASSERT_NE(gallery, nullptr);
    const QDeadlineTimer deadline(10000);
    while (!gallery->Finished() && !deadline.hasExpired())
        QCoreApplication::processEvents();
    ASSERT_TRUE(gallery->Finished());
    const TSize size = TLogoComposer::LogoSize(plain);
    const auto tileSize = [&](int index) {
        const QList<QSize> sizes = gallery->List()->item(index)->icon().availableSizes();
        return sizes.isEmpty() ? QSize() : sizes.first();
    };
    EXPECT_EQ(tileSize(0), QSize(size.Width + 4, size.Height + 2));
    EXPECT_EQ(tileSize(1), QSize(size.Width, size.Height));
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

TEST(EffectsDialogTest, ColoursShowAsAColourPickerWritesThem)
{
    struct Case { TColor Color; const char* Text; };
    const Case cases[] = {
        {0x000000FF, "#FF0000"}, {0x00FF0000, "#0000FF"}, {0x00336699, "#996633"}, {0x00010203, "#030201"},
        {0x00000000, "#000000"}, {0x00FFFFFF, "#FFFFFF"}, {clBtnFace, "#C0C0C0"}, {clInfoBk, "#FFFFE1"},
        {clHighlight, "#000080"},
    };
    // The display colours of a dark desktop: a system colour still shows as a logo draws it.
    TSystemColorValues dark = ClassicSystemColors();
    dark.fill(0x00202020);
    SetDisplaySystemColors(dark);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(TEffectsDialog::ColorText(c.Color), QString::fromLatin1(c.Text));
    }
    SetDisplaySystemColors(ClassicSystemColors());
}

TEST(EffectsDialogTest, TheDialogGoesBesideTheWindowWithinTheScreen)
{
    struct Case { const char* Name; QRect Owner; QSize Frame; QRect Available; QPoint Expected; };
    const QRect screen(0, 0, 1280, 1000);
    const Case cases[] = {
        {"room on the right", QRect(100, 100, 500, 400), QSize(300, 200), screen, QPoint(600, 100)},
        {"exactly room on the right", QRect(100, 100, 880, 400), QSize(300, 200), screen, QPoint(980, 100)},
        {"no room on the right", QRect(900, 100, 300, 400), QSize(300, 200), screen, QPoint(600, 100)},
        {"room on neither side, more on the left", QRect(100, 100, 1100, 400), QSize(300, 200), screen, QPoint(0, 100)},
        {"room on neither side, more on the right", QRect(50, 100, 1100, 400), QSize(300, 200), screen, QPoint(980, 100)},
        {"window low on the screen", QRect(100, 900, 500, 400), QSize(300, 200), screen, QPoint(600, 800)},
        {"window above the screen", QRect(100, -50, 500, 400), QSize(300, 200), screen, QPoint(600, 0)},
        {"a second screen with a panel", QRect(1300, 10, 400, 300), QSize(300, 200), QRect(1280, 24, 1024, 744),
         QPoint(1700, 24)},
        {"a dialog larger than the screen", QRect(100, 100, 500, 400), QSize(1400, 1100), screen, QPoint(0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QPoint at = TEffectsDialog::PlaceBeside(c.Owner, c.Frame, c.Available);
        EXPECT_EQ(at, c.Expected);
        if (c.Frame.width() <= c.Available.width() && c.Frame.height() <= c.Available.height()) {
            EXPECT_TRUE(c.Available.contains(QRect(at, c.Frame)));
        }
    }
}

// Each underlined letter takes the keyboard to its field, the field opens with its text
// selected, and a typed number past the range shows the limit the logo takes.
TEST_F(Form1EffectsTest, MnemonicsReachTheirFieldsAndATypedNumberShowsTheValueInForce)
{
    TForm1& form = Open();
    OpenEffects(form, [&](TEffectsDialog& dialog) -> bool {
        const QRect available = form.screen()->availableGeometry();
        EXPECT_TRUE(available.contains(dialog.frameGeometry()));
        EXPECT_EQ(dialog.pos(), TEffectsDialog::PlaceBeside(form.frameGeometry(), dialog.frameGeometry().size(), available));
        dialog.show();
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&dialog] { return QApplication::activeWindow() == &dialog; }));
        EXPECT_EQ(QApplication::focusWidget(), dialog.EdSpacing);
        EXPECT_EQ(dialog.EdSpacing->Editor()->selectedText(), QStringLiteral("0")) << "typing replaces the text";
        struct Mnemonic { Qt::Key Key; TSpinEdit* Field; };
        const Mnemonic mnemonics[] = {
            {Qt::Key_W, dialog.EdOutline}, {Qt::Key_X, dialog.EdShadowX},
            {Qt::Key_Y, dialog.EdShadowY}, {Qt::Key_S, dialog.EdSpacing},
        };
        for (const Mnemonic& m : mnemonics) {
            SCOPED_TRACE(m.Field->accessibleName().toStdString());
            QTest::keyClick(QApplication::focusWidget(), m.Key, Qt::AltModifier);
            EXPECT_EQ(QApplication::focusWidget(), m.Field);
        }
        struct Typing { TSpinEdit* Field; bool AtEnd; const char* Keys; const char* Shown; };
        const Typing typing[] = {
            {dialog.EdSpacing, false, "5555", "200"},
            {dialog.EdSpacing, true, "5555", "200"},
            {dialog.EdSpacing, false, "-5", "-5"},
            {dialog.EdSpacing, false, "-55", "-20"},
            {dialog.EdOutline, false, "17", "16"},
            {dialog.EdShadowX, false, "-", "-"},
            {dialog.EdShadowY, false, "33", "32"},
        };
        for (const Typing& t : typing) {
            SCOPED_TRACE(std::string(t.Keys) + (t.AtEnd ? " after the text" : " over the text"));
            t.Field->SetValue(0);
            t.Field->setFocus(Qt::TabFocusReason);
            if (t.AtEnd)
                t.Field->Editor()->end(false);
            else
                t.Field->Editor()->selectAll();
            QTest::keyClicks(t.Field, QString::fromLatin1(t.Keys));
            EXPECT_EQ(t.Field->Text(), QString::fromLatin1(t.Shown));
            EXPECT_EQ(dialog.Effects(), form.CurrentParams().Effects);
        }
        EXPECT_EQ(form.CurrentParams().Effects.Spacing, -20);
        EXPECT_EQ(form.CurrentParams().Effects.OutlineWidth, 16);
        EXPECT_EQ(form.CurrentParams().Effects.ShadowY, 32);
        EXPECT_EQ(dialog.BtShadowColor->text(), TEffectsDialog::ColorText(TTextEffects::DefaultShadowColor));
        dialog.hide();
        return false;
    });
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

} // namespace
