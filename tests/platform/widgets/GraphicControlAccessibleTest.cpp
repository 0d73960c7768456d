#include "platform/widgets/GraphicControlAccessible.h"

#include "AccessibilityRecorder.h"
#include "platform/widgets/Bevel.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/PaintBox.h"

#include <QGroupBox>
#include <gtest/gtest.h>

namespace {

TEST(GraphicControlAccessibleTest, ALabelReadsItsOwnCaptionNotItsGroupBoxTitle)
{
    QGroupBox group(QStringLiteral("スペース"));
    auto* label = new TLabel(&group);
    label->SetCaption(QStringLiteral("横"));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(label);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::StaticText);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("横"));
    label->SetCaption(QStringLiteral("縦"));
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("縦"));
}

TEST(GraphicControlAccessibleTest, ACaptionChangeIsReportedAsANewName)
{
    TLabel label;
    TAccessibilityRecorder recorder;
    label.SetCaption(QStringLiteral("合わせ方"));
    EXPECT_EQ(recorder.Of(QAccessible::NameChanged, &label).size(), 1u);
}

TEST(GraphicControlAccessibleTest, PicturesAreImagesWithTheirSizeAsDescription)
{
    QGroupBox group(QStringLiteral("Group title"));
    auto* image = new TImage(&group);
    auto* paintBox = new TPaintBox(&group);
    for (TImage* picture : {image, static_cast<TImage*>(paintBox)}) {
        SCOPED_TRACE(picture->metaObject()->className());
        picture->SetBounds(0, 0, 245, 41);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(picture);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->role(), QAccessible::Graphic);
        EXPECT_EQ(face->text(QAccessible::Name), QString()) << "no name from the group box";
        picture->setAccessibleName(QStringLiteral("Logo"));
        EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Logo"));
        EXPECT_EQ(face->text(QAccessible::Description), QStringLiteral("245 x 41"));
        QAccessibleImageInterface* imageFace = face->imageInterface();
        ASSERT_NE(imageFace, nullptr);
        EXPECT_EQ(imageFace->imageSize(), QSize(245, 41));
        picture->SetBounds(0, 0, 7, 3);
        EXPECT_EQ(face->text(QAccessible::Description), QStringLiteral("7 x 3"));
    }
}

TEST(GraphicControlAccessibleTest, ABevelIsASeparatorWithoutAnImage)
{
    TBevel bevel;
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&bevel);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Separator);
    EXPECT_EQ(face->imageInterface(), nullptr);
}

} // namespace
