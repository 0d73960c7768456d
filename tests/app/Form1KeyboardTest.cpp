#include "Form1TestSupport.h"

#include "components/widgets/GradBox.h"
#include "components/widgets/ManyBtn.h"
#include "platform/widgets/BitmapImage.h"
#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/FontDialog.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/widgets/SaveDialog.h"
#include "platform/widgets/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QCoreApplication>
#include <QScrollBar>
#include <QScrollArea>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <vector>

namespace {

class Form1KeyboardTest : public Form1Fixture {
protected:
    TForm1& OpenActive()
    {
        TForm1& form = Open();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        return form;
    }

    // The control that holds the focus, a margin field for its text.
    static QWidget* Focused(TForm1& form)
    {
        QWidget* focus = QApplication::focusWidget();
        for (TSpinEdit* field : {form.EdHs, form.EdVs})
            if (focus && field->isAncestorOf(focus))
                return field;
        return focus;
    }

    static std::string NameOf(const QWidget* widget) { return widget ? widget->objectName().toStdString() : "nothing"; }

    // Tab (or Shift+Tab) from the focused control, which must be expected.
    static void Step(TForm1& form, QWidget* expected, Qt::Key key = Qt::Key_Tab)
    {
        ASSERT_EQ(Focused(form), expected) << "focus on " << NameOf(Focused(form)) << ", expected " << NameOf(expected);
        QTest::keyClick(QApplication::focusWidget(), key);
    }
};

TEST_F(Form1KeyboardTest, TabVisitsEveryControlInScreenOrderAndShiftTabGoesBack)
{
    TForm1& form = OpenActive();
    const std::vector<QWidget*> chain{form.Edit1, form.MbText, form.EdHs, form.EdVs, form.CbStyle, form.MbMix, form.MbGra,
                                      form.MbColor, form.SpeedButton3, form.BtCopy, form.BtSave, form.Img};
    form.Edit1->setFocus(Qt::TabFocusReason);
    for (QWidget* expected : chain)
        Step(form, expected);
    EXPECT_EQ(Focused(form), form.Edit1) << "the chain closes";
    for (auto expected = chain.rbegin(); expected != chain.rend(); ++expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(Focused(form), *expected) << "focus on " << NameOf(Focused(form));
    }
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

// Every parameter is chosen from the keyboard alone, the dialogs answered as a user would;
// each grid's keys reach its handler, so the logo follows, and the settings written at
// close hold every choice.
TEST_F(Form1KeyboardTest, AWalkWithTheKeyboardChoosesEveryParameterAndTheSettingsKeepThem)
{
    TForm1& form = OpenActive();
    const std::vector<TColor> answers{0x0000FF00, 0x000000FF, 0x00FF0000};
    std::size_t colorAnswers = 0;
    TColorDialog::Answerer = [&](TColorDialog& dialog) {
        dialog.SetColor(answers.at(colorAnswers++));
        return true;
    };
    TFontDialog::Answerer = [](TFontDialog& dialog) {
        dialog.Font().SetName(u"Liberation Sans");
        dialog.Font().SetHeight(-20);
        return true;
    };
    QStringList messages;
    MessageAnswerer = [&](TMessageRequest& request) {
        messages << request.Text;
        return true;
    };
    const QString savedFile = FFolder.filePath(QStringLiteral("keyboard.bmp"));
    TSaveDialog::Answerer = [&](TSaveDialog& dialog) {
        dialog.SetFileName(savedFile);
        return true;
    };

    form.Edit1->setFocus(Qt::TabFocusReason);
    form.Edit1->selectAll();
    QTest::keyClicks(form.Edit1, QStringLiteral("Kb"));
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    Step(form, form.Edit1);

    QTest::keyClick(form.MbText, Qt::Key_Space); // the font
    QTest::keyClick(form.MbText, Qt::Key_Right);
    QTest::keyClick(form.MbText, Qt::Key_Return); // the background
    EXPECT_EQ(form.MbText->FocusedCell(), 2);
    Step(form, form.MbText);

    form.EdHs->Editor()->selectAll();
    QTest::keyClicks(form.EdHs->Editor(), QStringLiteral("7"));
    Step(form, form.EdHs);
    QTest::keyClick(form.EdVs->Editor(), Qt::Key_Up);
    Step(form, form.EdVs);
    Step(form, form.CbStyle);

    QTest::keyClick(form.MbMix, Qt::Key_Right);
    QTest::keyClick(form.MbMix, Qt::Key_Down);
    EXPECT_EQ(form.MbMix->SelectedCell(), 4);
    ExpectConsistent(form);
    Step(form, form.MbMix);

    QTest::keyClick(form.MbGra, Qt::Key_Left);
    EXPECT_EQ(form.MbGra->SelectedCell(), 4);
    EXPECT_EQ(form.Gbox->GradStyle(), gsRightLeft) << "the direction's handler ran";
    ExpectConsistent(form);
    Step(form, form.MbGra);

    QTest::keyClick(form.MbColor, Qt::Key_Space); // colour 1
    QTest::keyClick(form.MbColor, Qt::Key_Down);
    QTest::keyClick(form.MbColor, Qt::Key_Enter); // colour 2
    Step(form, form.MbColor);

    QTest::keyClick(form.SpeedButton3, Qt::Key_Space);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], TForm1::AboutText());
    Step(form, form.SpeedButton3);

    QTest::keyClick(form.BtCopy, Qt::Key_Space);
    EXPECT_TRUE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32) == BitmapImageCopy(form.Img->Picture()));
    Step(form, form.BtCopy);
    QTest::keyClick(form.BtSave, Qt::Key_Space);
    EXPECT_TRUE(QFile::exists(savedFile));
    Step(form, form.BtSave);
    Step(form, form.Img);
    EXPECT_EQ(Focused(form), form.Edit1);

    EXPECT_EQ(colorAnswers, 3u);
    form.close();
    EXPECT_EQ(Read("OPTION", "TEXT"), QStringLiteral("Kb"));
    EXPECT_EQ(Read("OPTION", "FONT.Name"), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(Read("OPTION", "BGCOLOR"), QStringLiteral("0x0000FF00"));
    EXPECT_EQ(Read("OPTION", "HSPACE"), QStringLiteral("7"));
    EXPECT_EQ(Read("OPTION", "VSPACE"), QStringLiteral("1"));
    EXPECT_EQ(Read("OPTION", "MIXTYPE"), QStringLiteral("4"));
    EXPECT_EQ(Read("OPTION", "GRATYPE"), QStringLiteral("4"));
    EXPECT_EQ(Read("OPTION", "TOPCOLOR"), QStringLiteral("0x000000FF"));
    EXPECT_EQ(Read("OPTION", "LASTCOLOR"), QStringLiteral("0x00FF0000"));
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

TEST_F(Form1KeyboardTest, CtrlCCopiesTheLogoExceptInATextFieldWhichCopiesItsText)
{
    TForm1& form = OpenActive();
    form.MbMix->setFocus(Qt::TabFocusReason);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(form.MbMix, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32) == BitmapImageCopy(form.Img->Picture()));

    for (QLineEdit* field : {form.Edit1, form.EdHs->Editor()}) {
        SCOPED_TRACE(NameOf(field->parentWidget()));
        QGuiApplication::clipboard()->clear();
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), field->text());
        EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
    }
}

TEST_F(Form1KeyboardTest, CtrlSSavesTheLogoFromAnyControl)
{
    TForm1& form = OpenActive();
    int asked = 0;
    TSaveDialog::Answerer = [&](TSaveDialog& dialog) {
        dialog.SetFileName(FFolder.filePath(QStringLiteral("ctrl-s-%1.png").arg(++asked)));
        return true;
    };
    for (QWidget* control : std::initializer_list<QWidget*>{form.Edit1, form.MbGra, form.Img}) {
        SCOPED_TRACE(NameOf(control));
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, Qt::Key_S, Qt::ControlModifier);
        EXPECT_TRUE(QFile::exists(FFolder.filePath(QStringLiteral("ctrl-s-%1.png").arg(asked))));
    }
    EXPECT_EQ(asked, 3);
}

// Presses keys on the focused logo and expects its menu to open once, at the logo.
void ExpectLogoMenuOnce(TForm1& form, const std::function<void()>& press)
{
    form.Img->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(form.Img->hasFocus());
    int opened = 0;
    QPoint at;
    QObject::connect(form.ImgMenu, &QMenu::aboutToShow, form.ImgMenu, [&] {
        ++opened;
        QTimer::singleShot(0, form.ImgMenu, [&] {
            at = form.ImgMenu->pos();
            form.ImgMenu->close();
        });
    });
    press();
    for (int round = 0; round < 5; ++round)
        QCoreApplication::processEvents();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(at, form.Img->mapToGlobal(form.Img->rect().center()));
}

TEST_F(Form1KeyboardTest, ShiftF10OnTheLogoOpensItsMenu)
{
    TForm1& form = OpenActive();
    ExpectLogoMenuOnce(form, [&] { QTest::keyClick(form.Img, Qt::Key_F10, Qt::ShiftModifier); });
}

TEST_F(Form1KeyboardTest, TheMenuKeyOnTheLogoOpensItsMenu)
{
    TForm1& form = OpenActive();
    ExpectLogoMenuOnce(form, [&] { QTest::keyClick(form.Img, Qt::Key_Menu); });
}

// A platform that turns the menu key into a context menu event as well as a key does not
// open the menu twice.
TEST_F(Form1KeyboardTest, TheMenuKeyWithItsContextMenuEventOpensTheMenuOnce)
{
    TForm1& form = OpenActive();
    ExpectLogoMenuOnce(form, [&] {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(0, 0), form.Img->mapToGlobal(QPoint(0, 0)));
        QCoreApplication::sendEvent(form.Img, &menu);
        QTest::keyClick(form.Img, Qt::Key_Menu);
    });
}

// The style list's menu (add, delete, the gallery) opens from the keyboard as the logo's does.
TEST_F(Form1KeyboardTest, ShiftF10AndTheMenuKeyOnTheStyleListOpenItsMenu)
{
    TForm1& form = OpenActive();
    const std::pair<const char*, std::function<void()>> presses[] = {
        {"Shift+F10", [&] { QTest::keyClick(form.CbStyle, Qt::Key_F10, Qt::ShiftModifier); }},
        {"menu key", [&] {
             QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(4, 4), form.CbStyle->mapToGlobal(QPoint(4, 4)));
             QCoreApplication::sendEvent(form.CbStyle, &menu);
         }},
    };
    for (const auto& [name, press] : presses) {
        SCOPED_TRACE(name);
        form.CbStyle->setFocus(Qt::TabFocusReason);
        int shown = 0;
        const QMetaObject::Connection seen = QObject::connect(form.Pm, &QMenu::aboutToShow, form.Pm, [&] {
            ++shown;
            QTimer::singleShot(0, form.Pm, [&] { form.Pm->close(); });
        });
        press();
        QObject::disconnect(seen);
        EXPECT_EQ(shown, 1);
    }
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

// A logo wider than the screen scrolls its pane column; Home and End on the logo reach the
// column's ends.
TEST_F(Form1KeyboardTest, HomeAndEndOnTheLogoScrollThePanesToTheirEnds)
{
    TForm1& form = OpenActive();
    form.Edit1->setText(QString(120, u'W'));
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    auto* panes = form.findChild<QScrollArea*>(QStringLiteral("PaneScroll"));
    ASSERT_NE(panes, nullptr);
    QScrollBar* across = panes->horizontalScrollBar();
    ASSERT_GT(across->maximum(), 0) << "the logo is wider than the screen";
    form.Img->setFocus(Qt::TabFocusReason);
    const std::pair<Qt::Key, int> keys[] = {{Qt::Key_End, across->maximum()}, {Qt::Key_Home, 0}, {Qt::Key_End, across->maximum()}};
    for (const auto& [key, expected] : keys) {
        SCOPED_TRACE(key == Qt::Key_Home ? "Home" : "End");
        QTest::keyClick(form.Img, key);
        EXPECT_EQ(across->value(), expected);
    }
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

} // namespace
