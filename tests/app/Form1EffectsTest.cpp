#include "Form1TestSupport.h"

#include "app/EffectsDialog.h"
#include "app/StyleGallery.h"
#include "platform/widgets/BitmapImage.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/SpinEdit.h"

#include <QAction>
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

} // namespace
