#include "Form1TestSupport.h"

#include "components/widgets/GradBox.h"
#include "platform/widgets/BitmapImage.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/PaintBox.h"
#include "platform/widgets/SaveDialog.h"

#include <QImage>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace {

// A logo wider than the screen (800 pixels under the offscreen platform) keeps the
// window on the screen: the panes scroll, the title tells the logo's true size, and a
// save writes the whole logo.
TEST_F(Form1Fixture, ALogoWiderThanTheScreenScrollsInsideAWindowThatFitsIt)
{
    TForm1& form = Open();
    TFont font = form.Label1->Font();
    font.SetHeight(-64);
    form.Label1->Font().Assign(font);
    form.Edit1->setText(QStringLiteral("A text of forty-three characters, at 48 pt"));
    form.BuildLogo();
    const TSize logo = TLogoComposer::LogoSize(form.CurrentParams());
    ASSERT_GT(logo.Width + 216, form.screen()->availableGeometry().width());
    EXPECT_LE(form.frameGeometry().width(), form.screen()->availableGeometry().width());
    EXPECT_EQ(form.windowTitle(), TForm1::SizeCaption(logo.Width, logo.Height));
    EXPECT_EQ(form.Img->size(), QSize(logo.Width, logo.Height)) << "the pane keeps the whole logo";
    auto* column = form.findChild<QScrollArea*>(QStringLiteral("PaneScroll"));
    ASSERT_NE(column, nullptr);
    EXPECT_GT(column->horizontalScrollBar()->maximum(), 0) << "the pane column scrolls";
    ExpectConsistent(form);

    const QString path = FFolder.filePath(QStringLiteral("wide.png"));
    SaveAs(form, path);
    EXPECT_EQ(QImage(path).size(), QSize(logo.Width, logo.Height));
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

} // namespace
