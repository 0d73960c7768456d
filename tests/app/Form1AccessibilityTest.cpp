#include "Form1TestSupport.h"

#include "AccessibilityRecorder.h"
#include "app/AccessibleNames.h"
#include "app/EffectsDialog.h"
#include "components/widgets/GradBox.h"
#include "components/widgets/ManyBtn.h"
#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/PaintBox.h"
#include "platform/widgets/QtText.h"
#include "platform/widgets/SpinEdit.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>

namespace {

using Form1AccessibilityTest = Form1Fixture;

QAccessibleInterface* Face(QObject* object)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(face, nullptr) << object->objectName().toStdString();
    return face;
}

QString NameOf(QObject* object)
{
    QAccessibleInterface* face = Face(object);
    return face ? face->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

TEST_F(Form1AccessibilityTest, EachGridIsAGroupNamedByItsLabelWithOneNamedButtonACell)
{
    TForm1& form = Open();
    const QString black = TAccessibleNames::ColorName(form.Gbox->TopColor());
    const QString white = TAccessibleNames::ColorName(form.Gbox->LastColor());
    struct TCase { TManyBtn* Grid; QString Name; QAccessible::Role Role; QStringList Cells; };
    const TCase cases[] = {
        {form.MbText, QString::fromUtf8("フォントと背景"), QAccessible::Button,
         {QString::fromUtf8("フォント (") + ToQString(form.Label1->Font().Name()) + ")", QString::fromUtf8("背景色 (赤 128 緑 128 青 128)")}},
        {form.MbMix, QString::fromUtf8("合わせ方"), QAccessible::RadioButton,
         {QString::fromUtf8("A 黒地にグラデーション文字"), QString::fromUtf8("B 白地にグラデーション文字"),
          QString::fromUtf8("C 反転したグラデーションにグラデーション文字"), QString::fromUtf8("D グラデーションに黒い文字")}},
        {form.MbGra, QString::fromUtf8("色の向き"), QAccessible::RadioButton,
         {QString::fromUtf8("上から下"), QString::fromUtf8("左から右"), QString::fromUtf8("下から上"), QString::fromUtf8("右から左")}},
        {form.MbColor, QString::fromUtf8("色指定"), QAccessible::Button,
         {QString::fromUtf8("色１ (") + black + ")", QString::fromUtf8("色２ (") + white + ")"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Grid->objectName().toStdString());
        QAccessibleInterface* group = Face(c.Grid);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->role(), QAccessible::Grouping);
        EXPECT_EQ(group->text(QAccessible::Name), c.Name);
        ASSERT_EQ(group->childCount(), c.Cells.size());
        for (int index = 0; index < group->childCount(); ++index) {
            QAccessibleInterface* cell = group->child(index);
            EXPECT_EQ(cell->role(), c.Role);
            EXPECT_EQ(cell->text(QAccessible::Name), c.Cells[index]);
            EXPECT_EQ(bool(cell->state().checked), c.Role == QAccessible::RadioButton && index + 1 == c.Grid->SelectedCell());
        }
    }
}

TEST_F(Form1AccessibilityTest, LabelsFieldsArrowsAndButtonsCarryTheirOwnNames)
{
    TForm1& form = Open();
    const std::pair<QObject*, const char*> named[] = {
        {form.Label3, "合わせ方"}, {form.Label6, "色の向き"}, {form.Label2, "色指定"}, {form.Label5, "横"}, {form.Label4, "縦"},
        {form.EdHs->Editor(), "横"}, {form.EdHs->UpButton(), "横を増やす"}, {form.EdHs->DownButton(), "横を減らす"},
        {form.EdVs->Editor(), "縦"}, {form.EdVs->UpButton(), "縦を増やす"}, {form.EdVs->DownButton(), "縦を減らす"},
        {form.SpeedButton3, "Vezodev について"}, {form.BtCopy, "コピー"}, {form.BtSave, "BMP保存"},
    };
    for (const auto& [object, name] : named)
        EXPECT_EQ(NameOf(object), QString::fromUtf8(name)) << object->objectName().toStdString();
    EXPECT_EQ(Face(form.Label3)->role(), QAccessible::StaticText);
}

TEST_F(Form1AccessibilityTest, ThePanesAreImagesNamedWithTheLogosSizeAndTheLogoPaneOutlivesABuild)
{
    TForm1& form = Open();
    QAccessibleInterface* logo = Face(form.Img);
    const std::pair<QObject*, const char*> panes[] = {{form.Pbox, "テキスト"}, {form.Gbox, "グラデーション"}, {form.Img, "完成したロゴ"}};
    for (const auto& [pane, name] : panes) {
        SCOPED_TRACE(name);
        QAccessibleInterface* face = Face(pane);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->role(), QAccessible::Graphic);
        EXPECT_EQ(face->text(QAccessible::Name), QString::fromUtf8(name));
        EXPECT_EQ(face->text(QAccessible::Description), QStringLiteral("106 x 32"));
    }
    form.EdHs->SetText(QStringLiteral("10"));
    EXPECT_EQ(Face(form.Img), logo);
    EXPECT_TRUE(logo->isValid());
    EXPECT_EQ(logo->text(QAccessible::Description), QStringLiteral("126 x 32"));
}

TEST_F(Form1AccessibilityTest, ChoicesColoursAndSizesAreReportedAsTheyChange)
{
    TForm1& form = Open();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    TAccessibilityRecorder recorder;
    recorder.Press(form.MbMix, Qt::Key_Right);
    const auto checked = recorder.Of(QAccessible::StateChanged, form.MbMix);
    ASSERT_EQ(checked.size(), 2u);
    EXPECT_EQ(checked[1].Child, 1);
    EXPECT_TRUE(Face(form.MbMix)->child(1)->state().checked);
    EXPECT_EQ(recorder.Of(QAccessible::DescriptionChanged, form.Img).size(), 1u) << "the build told of the pane's size";

    TColorDialog::Answerer = [](TColorDialog& dialog) {
        dialog.SetColor(0x00336699);
        return true;
    };
    recorder.Press(form.MbColor, Qt::Key_Space);
    bool renamed = false;
    for (const auto& update : recorder.Of(QAccessible::NameChanged, form.MbColor))
        renamed |= update.Child == 0;
    EXPECT_TRUE(renamed);
    EXPECT_EQ(Face(form.MbColor)->child(0)->text(QAccessible::Name), QString::fromUtf8("色１ (赤 153 緑 102 青 51)"));
}

// The effects dialog's fields and buttons are named by their captions without the marker
// of their mnemonic letter.
TEST_F(Form1AccessibilityTest, EffectsFieldsAreNamedByTheirCaptionsWithoutMnemonics)
{
    TForm1& form = Open();
    TEffectsDialog effects(TTextEffects{}, *form.ClDlg, &form);
    const std::pair<QWidget*, const char*> named[] = {
        {effects.EdSpacing, "文字間隔"}, {effects.EdOutline, "縁取りの幅"}, {effects.BtOutlineColor, "縁取りの色"},
        {effects.EdShadowX, "影の横のずれ"}, {effects.EdShadowY, "影の縦のずれ"}, {effects.BtShadowColor, "影の色"},
    };
    for (const auto& [control, name] : named)
        EXPECT_EQ(NameOf(control), QString::fromUtf8(name));
}

// The window is a frame, and each colour dialog says which colour it sets.
TEST_F(Form1AccessibilityTest, TheWindowIsAFrameAndEachColourDialogNamesItsColour)
{
    TForm1& form = Open();
    EXPECT_EQ(Face(&form)->role(), QAccessible::Window);
    QString title;
    TColorDialog::Answerer = [&title](TColorDialog& dialog) {
        title = dialog.Title();
        return false;
    };
    TEffectsDialog effects(TTextEffects{}, *form.ClDlg, &form);
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"背景色", [&] { form.MbText->PressCell(2); }},
        {"色１", [&] { form.MbColor->PressCell(1); }},
        {"色２", [&] { form.MbColor->PressCell(2); }},
        {"縁取りの色", [&] { effects.BtOutlineColor->click(); }},
        {"影の色", [&] { effects.BtShadowColor->click(); }},
    };
    for (const auto& [expected, press] : cases) {
        SCOPED_TRACE(expected);
        title.clear();
        press();
        EXPECT_EQ(title, QString::fromUtf8(expected));
    }
    TColorDialog::Answerer = nullptr;
}

} // namespace
