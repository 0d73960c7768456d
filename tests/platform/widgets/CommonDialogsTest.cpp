#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/FontDialog.h"
#include "platform/widgets/FontDialogState.h"
#include "platform/widgets/QtColor.h"
#include "platform/widgets/SaveDialog.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "DialogHooksGuard.h"
#include "ModalDialogSupport.h"
#include "platform/widgets/QtText.h"

namespace {

TFont MakeFont(const QString& name, int height, TFontStyles style, TColor color)
{
    TFont font;
    font.SetName(ToText(name));
    font.SetHeight(height);
    font.SetStyle(style);
    font.SetColor(color);
    return font;
}

} // namespace

TEST(CommonDialogsTest, FontThroughDialogStateKeepsFaceStyleAndColour)
{
    struct Case { int Height; TFontStyles Style; TColor Color; int Points; int HeightAfter; TColor ColorAfter; };
    const Case cases[] = {
        {-29, fsBold, 0x000080, 22, -29, 0x000080},
        {-16, fsItalic | fsUnderline, 0x123456, 12, -16, 0x123456},
        {-10, fsStrikeOut, clWhite, 8, -11, clWhite},
        {-14, fsBold | fsItalic | fsUnderline | fsStrikeOut, clBlack, 11, -15, clBlack},
        {29, 0, clBlack, 22, -29, clBlack},
        {-12, 0, clBtnFace, 9, -12, GetSysColor(15)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Height);
        const TFont font = MakeFont("ＭＳ Ｐゴシック", c.Height, c.Style, c.Color);
        const TFontDialogState state = FontDialogStateOf(font);
        EXPECT_EQ(state.Face, "ＭＳ Ｐゴシック");
        EXPECT_EQ(state.Points, c.Points);

        TFont chosen = MakeFont("Arial", -8, 0, clBlack);
        chosen.SetCharset(SHIFTJIS_CHARSET);
        int changes = 0;
        chosen.OnChange = [&] { ++changes; };
        ApplyFontDialogState(state, chosen);
        EXPECT_EQ(chosen.Name(), u"ＭＳ Ｐゴシック");
        EXPECT_EQ(chosen.Height(), c.HeightAfter);
        EXPECT_EQ(chosen.Style(), c.Style);
        EXPECT_EQ(chosen.Color(), c.ColorAfter);
        EXPECT_EQ(chosen.Charset(), SHIFTJIS_CHARSET);
        EXPECT_EQ(changes, 1);
    }
}

TEST(CommonDialogsTest, SizeBoxTakesAnyPositiveWholeNumber)
{
    struct Case { QString Text; std::optional<int> Points; };
    const Case cases[] = {
        {"22", 22},     {" 9 ", 9},           {"1000", 1000},         {"1610612735", 1610612735},
        {"0", {}},      {"-5", {}},           {"1.5", {}},            {"", {}},
        {"abc", {}},    {"12pt", {}},         {"１２", {}},            {"1610612736", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        EXPECT_EQ(ParseFontPoints(c.Text), c.Points);
    }
}

TEST(CommonDialogsTest, ColourBoxOffersBasicColoursAndKeepsAnyOther)
{
    const QList<TNamedColor> basic = FontDialogColors(0x000080);
    ASSERT_EQ(basic.size(), 16);
    struct Case { int Index; QString Name; TColor Color; };
    const Case cases[] = {{0, "黒", 0x000000}, {1, "栗色", 0x000080}, {4, "紺", 0x800000},
                          {9, "赤", 0x0000FF}, {12, "青", 0xFF0000}, {15, "白", 0xFFFFFF}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Index);
        EXPECT_EQ(basic[c.Index].Name, c.Name);
        EXPECT_EQ(basic[c.Index].Color, c.Color);
    }

    const QList<TNamedColor> custom = FontDialogColors(0x123456);
    ASSERT_EQ(custom.size(), 17);
    EXPECT_EQ(custom.last().Color, 0x123456u);
}

TEST(CommonDialogsTest, ColourConversionSwapsRedAndBlue)
{
    EXPECT_EQ(ToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(FromQColor(QColor(0x99, 0x66, 0x33)), 0x00336699u);
    EXPECT_EQ(FromQColor(ToQColor(clBtnFace)), GetSysColor(15));
}

TEST(CommonDialogsTest, FilterBecomesQtNameFilters)
{
    struct Case { QString Filter; QStringList Expected; };
    const Case cases[] = {
        {"bmpファイル|*.bmp", {"bmpファイル (*.bmp)"}},
        {"画像|*.bmp;*.dib|すべて|*.*", {"画像 (*.bmp *.dib)", "すべて (*.*)"}},
        {"", {}},
        {"説明だけ", {}},
        {"空|", {}},
        {"a|*.a|b", {"a (*.a)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Filter.toStdString());
        EXPECT_EQ(QtNameFilters(c.Filter), c.Expected);
    }
}

TEST(CommonDialogsTest, AnswerersStandInForUserWithoutShowingAnything)
{
    {
        const TDialogHooksGuard hooks;
        TColorDialog::Answerer = [](TColorDialog& dialog) {
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
            EXPECT_EQ(dialog.Color(), 0x00112233u);
            dialog.SetColor(0x00445566);
            return true;
        };
        TColorDialog dialog;
        dialog.SetColor(0x00112233);
        EXPECT_TRUE(dialog.Execute());
        EXPECT_EQ(dialog.Color(), 0x00445566u);
    }
    {
        const TDialogHooksGuard hooks;
        TFontDialog::Answerer = [](TFontDialog& dialog) {
            EXPECT_EQ(dialog.Font().Name(), u"Arial");
            return false;
        };
        TFontDialog dialog;
        dialog.SetFont(MakeFont("Arial", -13, 0, clBlack));
        EXPECT_FALSE(dialog.Execute());
    }
    {
        const TDialogHooksGuard hooks;
        TSaveDialog::Answerer = [](TSaveDialog& dialog) {
            EXPECT_EQ(dialog.Filter(), "bmpファイル|*.bmp");
            dialog.SetFileName("/tmp/ロゴ.bmp");
            return true;
        };
        TSaveDialog dialog;
        dialog.SetFilter("bmpファイル|*.bmp");
        EXPECT_TRUE(dialog.Execute());
        EXPECT_EQ(dialog.FileName(), "/tmp/ロゴ.bmp");
    }
}

TEST(CommonDialogsTest, ColourDialogReturnsPresetColourOnOkOnly)
{
    for (bool accept : {true, false}) {
        SCOPED_TRACE(accept);
        TColorDialog dialog;
        dialog.SetColor(0x00336699);
        WhenModalShown([&](QDialog& shown) {
            auto* colorDialog = qobject_cast<QColorDialog*>(&shown);
            ASSERT_NE(colorDialog, nullptr);
            EXPECT_EQ(colorDialog->currentColor(), QColor(0x99, 0x66, 0x33));
            auto* buttons = shown.findChild<QDialogButtonBox*>();
            ASSERT_NE(buttons, nullptr);
            EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), "キャンセル");
            colorDialog->setCurrentColor(QColor(0x10, 0x20, 0x30));
            if (accept)
                shown.accept();
            else
                shown.reject();
        });
        EXPECT_EQ(dialog.Execute(), accept);
        EXPECT_EQ(dialog.Color(), accept ? 0x00302010u : 0x00336699u);
    }
}

// On a dark desktop, OK on a system colour left as it was gives the colour the logo
// had, not the desktop's.
TEST(CommonDialogsTest, ColourDialogStartsASystemColourAtItsClassicValue)
{
    TSystemColorValues dark;
    dark.fill(0x00262320);
    SetDisplaySystemColors(dark);
    TColorDialog dialog;
    dialog.SetColor(clHighlight);
    WhenModalShown([](QDialog& shown) { shown.accept(); });
    EXPECT_TRUE(dialog.Execute());
    SetDisplaySystemColors(ClassicSystemColors());
    EXPECT_EQ(dialog.Color(), GetSysColor(clHighlight - clSystemColor));
}

TEST(CommonDialogsTest, FontDialogOkWithoutChangesKeepsUninstalledFaceAndCustomColour)
{
    TFontDialog dialog;
    dialog.SetFont(MakeFont("ＭＳ Ｐゴシック", -16, fsBold | fsUnderline, 0x123456));
    WhenModalShown([](QDialog& shown) { shown.accept(); });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_TRUE(dialog.Font().SameAttributes(MakeFont("ＭＳ Ｐゴシック", -16, fsBold | fsUnderline, 0x123456)));
}

TEST(CommonDialogsTest, FontDialogControlsSetSizeStyleEffectsAndColour)
{
    TFontDialog dialog;
    dialog.SetFont(MakeFont("Times New Roman", -13, fsItalic | fsUnderline, clBlack));
    WhenModalShown([](QDialog& shown) {
        auto* size = shown.findChild<QComboBox*>("SizeBox");
        auto* style = shown.findChild<QComboBox*>("StyleBox");
        auto* strikeOut = shown.findChild<QCheckBox*>("StrikeOutBox");
        auto* underline = shown.findChild<QCheckBox*>("UnderlineBox");
        auto* color = shown.findChild<QComboBox*>("ColorBox");
        QPushButton* ok = shown.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        ASSERT_TRUE(size && style && strikeOut && underline && color && ok);
        EXPECT_EQ(size->currentText(), "10");
        EXPECT_TRUE(underline->isChecked());
        EXPECT_EQ(style->currentText(), "斜体");
        EXPECT_EQ(ok->text(), "OK");

        size->setEditText("0");
        EXPECT_FALSE(ok->isEnabled());
        size->setEditText("22");
        EXPECT_TRUE(ok->isEnabled());
        style->setCurrentIndex(3);
        strikeOut->setChecked(true);
        underline->setChecked(false);
        color->setCurrentIndex(9);
        shown.accept();
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font().Name(), u"Times New Roman");
    EXPECT_EQ(dialog.Font().Height(), -29);
    EXPECT_EQ(dialog.Font().Style(), fsBold | fsItalic | fsStrikeOut);
    EXPECT_EQ(dialog.Font().Color(), 0x0000FFu);
}

// The Japanese UI face has no fontconfig alias; the sample shows the face that stands in
// for it when the logo is drawn.
TEST(CommonDialogsTest, FontDialogSampleShowsTheFaceThatStandsInForAWindowsFace)
{
    TFontDialog dialog;
    dialog.SetFont(MakeFont("ＭＳ Ｐゴシック", -12, 0, clBlack));
    WhenModalShown([](QDialog& shown) {
        auto* sample = shown.findChild<QLabel*>("Sample");
        ASSERT_NE(sample, nullptr);
        EXPECT_EQ(QFontInfo(sample->font()).family(), "IPAPGothic");
        shown.reject();
    });
    EXPECT_FALSE(dialog.Execute());
}

TEST(CommonDialogsTest, SaveDialogOpensAtFileNameAndReturnsFullPath)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString existing = folder.filePath("ロゴ.bmp");
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    TSaveDialog dialog;
    dialog.SetFilter("bmpファイル|*.bmp");
    dialog.SetFileName(existing);
    WhenModalShown([&](QDialog& shown) {
        auto* fileDialog = qobject_cast<QFileDialog*>(&shown);
        ASSERT_NE(fileDialog, nullptr);
        EXPECT_EQ(fileDialog->nameFilters(), QStringList{"bmpファイル (*.bmp)"});
        EXPECT_EQ(QDir(fileDialog->directory()).canonicalPath(), QDir(folder.path()).canonicalPath());
        EXPECT_TRUE(fileDialog->testOption(QFileDialog::DontConfirmOverwrite));
        shown.accept();
    });
    // An existing file is taken without a question.
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(QFileInfo(dialog.FileName()).canonicalFilePath(), QFileInfo(existing).canonicalFilePath());
    EXPECT_TRUE(QFileInfo(dialog.FileName()).isAbsolute());
}

TEST(CommonDialogsTest, SaveDialogOpensWithFilterIndexAndReturnsTheChosenOne)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    TSaveDialog dialog;
    dialog.SetFilter("BMP ファイル|*.bmp|PNG ファイル|*.png|PNG ファイル 透明な背景|*.png");
    dialog.SetFilterIndex(2);
    dialog.SetFileName(folder.filePath("logo.png"));
    WhenModalShown([&](QDialog& shown) {
        auto* fileDialog = qobject_cast<QFileDialog*>(&shown);
        ASSERT_NE(fileDialog, nullptr);
        EXPECT_EQ(fileDialog->selectedNameFilter(), "PNG ファイル"); // the patterns are hidden
        fileDialog->selectNameFilter("PNG ファイル 透明な背景 (*.png)");
        shown.accept();
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FilterIndex(), 3);
}

// Each list finds the caption above or beside it as its label (on Linux Qt names a list by
// its current entry and leaves the caption to the label relation).
TEST(CommonDialogsTest, FontDialogListsAreLabelledByTheirCaptions)
{
    TFontDialog dialog;
    dialog.SetFont(MakeFont("Times New Roman", -13, 0, clBlack));
    WhenModalShown([](QDialog& shown) {
        const std::pair<const char*, const char*> lists[] = {
            {"FaceBox", "フォント名:"}, {"StyleBox", "スタイル:"}, {"SizeBox", "サイズ:"}, {"ColorBox", "色"}};
        for (const auto& [objectName, caption] : lists) {
            SCOPED_TRACE(objectName);
            auto* list = shown.findChild<QComboBox*>(objectName);
            QAccessibleInterface* face = list ? QAccessible::queryAccessibleInterface(list) : nullptr;
            EXPECT_NE(face, nullptr);
            if (!face)
                continue;
            QStringList labels;
            for (const auto& [label, relation] : face->relations(QAccessible::Label))
                labels.append(label->text(QAccessible::Name));
            EXPECT_TRUE(labels.contains(QString::fromUtf8(caption))) << labels.join(u'|').toStdString();
        }
        shown.reject();
    });
    EXPECT_FALSE(dialog.Execute());
}

// A colour dialog told what it sets is called so; one told nothing keeps the general caption.
TEST(CommonDialogsTest, ColourDialogIsCalledByTheColourItSets)
{
    for (const char* title : {"背景色", ""}) {
        SCOPED_TRACE(title);
        TColorDialog dialog;
        dialog.SetTitle(QString::fromUtf8(title));
        QString caption;
        WhenModalShown([&caption](QDialog& shown) {
            caption = shown.windowTitle();
            shown.reject();
        });
        EXPECT_FALSE(dialog.Execute());
        EXPECT_EQ(caption, *title ? QString::fromUtf8(title) : QString::fromUtf8("色の設定"));
    }
}
