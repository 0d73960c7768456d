#include "Form1TestSupport.h"

#include "components/widgets/GradBox.h"
#include "components/widgets/IniGTComponent.h"
#include "components/widgets/ManyBtn.h"
#include "platform/base/AtomicFile.h"
#include "platform/widgets/ComboBoxStrings.h"
#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/SaveDialog.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/widgets/QtText.h"
#include "platform/base/ShiftJis.h"
#include "platform/widgets/SpinEdit.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <cerrno>

namespace {

class Form1StylesTest : public Form1Fixture {
protected:
    // Answers the input box with a name (or cancels), remembering the proposal.
    void AnswerName(const QString& name, bool ok = true)
    {
        MessageAnswerer = [this, name, ok](TMessageRequest& request) {
            FRequests << request.Caption + QLatin1Char('|') + request.Text + QLatin1Char('|') + request.EditText;
            request.EditText = name;
            return ok;
        };
    }
    void AnswerQuestion(bool ok)
    {
        MessageAnswerer = [this, ok](TMessageRequest& request) {
            FRequests << request.Caption + QLatin1Char('|') + request.Text;
            return ok;
        };
    }
    QStringList FRequests;
};

TEST_F(Form1StylesTest, AFreshInstallationsFirstCloseWritesTheExampleFile)
{
    TForm1& form = Open();
    EXPECT_FALSE(QFile::exists(SettingsPath())) << "starting writes nothing";
    form.move(88, 116);
    form.close();
    const QByteArray expected =
        "[OPTION]\r\nBGCOLOR=0x00808080\r\nTOPCOLOR=0x00008000\r\nLASTCOLOR=0x0000FF00\r\n"
        "FONT.Name=Times New Roman\r\nFONT.Size=22\r\nFONT.Style=1\r\nFONT.Color=0x00000000\r\n"
        "TEXT=Vezodev\r\nMIXTYPE=1\r\nGRATYPE=1\r\nHSPACE=0\r\nVSPACE=0\r\n"
        "[STYLES]\r\nSTYLE.Count=0\r\n[Bounds]\r\nWindowSize.X=%X\r\nWindowSize.Y=%Y\r\n";
    QByteArray actual = Settings();
    const QRegularExpression position(QStringLiteral("WindowSize\\.X=(-?\\d+)\\r\\nWindowSize\\.Y=(-?\\d+)"));
    const auto match = position.match(QString::fromLatin1(actual));
    ASSERT_TRUE(match.hasMatch()) << actual.toStdString();
    EXPECT_EQ(match.captured(1).toInt(), form.pos().x());
    actual.replace(("WindowSize.X=" + match.captured(1) + "\r\n").toLatin1(), "WindowSize.X=%X\r\n");
    actual.replace(("WindowSize.Y=" + match.captured(2) + "\r\n").toLatin1(), "WindowSize.Y=%Y\r\n");
    EXPECT_EQ(actual, expected);
}

TEST_F(Form1StylesTest, TheLastParametersAndPositionComeBackAtTheNextStart)
{
    TForm1& first = Open();
    first.Edit1->setText(QStringLiteral("Logo"));
    first.EdHs->SetText(QStringLiteral("12"));
    ClickCell(*first.MbMix, 4);
    ClickCell(*first.MbGra, 3);
    first.move(37, 21);
    first.close();
    TForm1& second = Open();
    EXPECT_EQ(second.Edit1->text(), QStringLiteral("Logo"));
    EXPECT_EQ(second.EdHs->Text(), QStringLiteral("12"));
    EXPECT_EQ(second.MbMix->SelectedCell(), 4);
    EXPECT_EQ(second.Gbox->GradStyle(), gsBottomTop);
    EXPECT_EQ(second.pos(), QPoint(37, 21));
    ExpectConsistent(second);
}

TEST_F(Form1StylesTest, APositionOffEveryScreenComesBackWithTheWholeWindowShown)
{
    // The first is what a session without positions (Wayland) once stored: the title bar
    // just above the screen.
    for (const QPoint stored : {QPoint(-3, -30), QPoint(3000, 2000), QPoint(-500, 3000), QPoint(700, 10)}) {
        SCOPED_TRACE(stored.x());
        WriteSettings(QStringLiteral("[Bounds]\r\nWindowSize.X=%1\r\nWindowSize.Y=%2\r\n").arg(stored.x()).arg(stored.y()).toLatin1());
        TForm1& form = Open();
        const QRect screen = form.screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(form.frameGeometry())) << "the frame lies on the screen";
        form.close();
        FForm.reset();
    }
}

TEST_F(Form1StylesTest, AddingAStyleStoresItsSectionAndTheListButNotTheLastParameters)
{
    TForm1& form = Open();
    ClickCell(*form.MbMix, 2);
    AnswerName(QStringLiteral("Blue"));
    form.MmAddClick();
    EXPECT_EQ(FRequests, QStringList{QString::fromUtf8("スタイルの追加|スタイル名|")});
    EXPECT_EQ(ToQStringList(form.StyleItems().ToStringList()), QStringList{QStringLiteral("Blue")});
    EXPECT_EQ(form.CbStyle->currentText(), QStringLiteral("Blue"));
    EXPECT_EQ(Read("Blue", "MIXTYPE"), QStringLiteral("2"));
    EXPECT_EQ(Read("STYLES", "STYLE.0"), QStringLiteral("Blue"));
    EXPECT_EQ(Read("OPTION", "TEXT"), QStringLiteral("<none>"));
    EXPECT_EQ(QString::fromLatin1(Settings()).count(QStringLiteral("=")), 12 + 2);

    // The same name in other letters overwrites Blue; the header keeps its spelling.
    ClickCell(*form.MbMix, 3);
    AnswerName(QStringLiteral("blue"));
    form.MmAddClick();
    EXPECT_EQ(form.StyleItems().Count(), 1);
    EXPECT_EQ(form.CbStyle->currentIndex(), 0);
    EXPECT_EQ(Read("Blue", "MIXTYPE"), QStringLiteral("3"));
    EXPECT_TRUE(Settings().contains("[Blue]"));

    // Accepting the proposed name overwrites the selected style.
    ClickCell(*form.MbMix, 4);
    AnswerName(QStringLiteral("Blue"));
    form.MmAddClick();
    EXPECT_TRUE(FRequests.last().endsWith(QStringLiteral("|Blue"))) << "the selected name is proposed";
    EXPECT_EQ(Read("Blue", "MIXTYPE"), QStringLiteral("4"));
    EXPECT_EQ(form.CbStyle->currentIndex(), 0);
}

TEST_F(Form1StylesTest, AnEmptyNameIsAcceptedAndCancelChangesNothing)
{
    TForm1& form = Open();
    AnswerName(QStringLiteral("ignored"), false);
    form.MmAddClick();
    EXPECT_EQ(form.StyleItems().Count(), 0);
    EXPECT_FALSE(QFile::exists(SettingsPath()));
    AnswerName(QString());
    form.MmAddClick();
    EXPECT_EQ(ToQStringList(form.StyleItems().ToStringList()), QStringList{QString()});
    EXPECT_EQ(form.CbStyle->currentIndex(), 0);
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

TEST_F(Form1StylesTest, DeletingAStyleAsksErasesItsSectionAndStoresTheLastParameters)
{
    WriteSettings("[STYLES]\r\nSTYLE.Count=2\r\nSTYLE.0=Red\r\nSTYLE.1=Blue\r\n[Red]\r\nTEXT=R\r\n[Blue]\r\nTEXT=B\r\n");
    TForm1& form = Open();
    ASSERT_EQ(form.StyleItems().Count(), 2);
    Choose(form, 1);
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("B"));
    EXPECT_EQ(form.CbStyle->currentIndex(), 1) << "the choice stays selected after loading";

    AnswerQuestion(false);
    form.MmDelClick();
    EXPECT_EQ(FRequests, QStringList{QString::fromUtf8("警告|【Blue】を削除してよろしいですか")});
    EXPECT_EQ(form.StyleItems().Count(), 2);

    AnswerQuestion(true);
    form.MmDelClick();
    EXPECT_EQ(ToQStringList(form.StyleItems().ToStringList()), QStringList{QStringLiteral("Red")});
    EXPECT_EQ(form.CbStyle->currentIndex(), -1);
    EXPECT_EQ(form.CbStyle->currentText(), QString());
    EXPECT_EQ(Read("Blue", "TEXT"), QStringLiteral("<none>"));
    EXPECT_EQ(Read("OPTION", "TEXT"), QStringLiteral("B"));
    EXPECT_EQ(Read("STYLES", "STYLE.Count"), QStringLiteral("1"));
    EXPECT_EQ(Read("STYLES", "STYLE.1"), QStringLiteral("Blue")) << "the former last key stays";
    form.PmPopup();
    EXPECT_FALSE(form.MmDel->isEnabled()) << "nothing selected: nothing to delete";
}

TEST_F(Form1StylesTest, MissingKeysOfAStyleFallBackAsTheyShould)
{
    WriteSettings("[STYLES]\r\nSTYLE.Count=1\r\nSTYLE.0=Bare\r\n[Bare]\r\nMIXTYPE=7\r\nHSPACE=250\r\nVSPACE=-3\r\n");
    TForm1& form = Open();
    TColorDialog::Answerer = [](TColorDialog& dialog) {
        dialog.SetColor(0x123456);
        return true;
    };
    ClickCell(*form.MbText, 2);
    ClickCell(*form.MbColor, 1);
    form.Edit1->setText(QStringLiteral("typed"));
    ClickCell(*form.MbMix, 3);
    Choose(form, 0);
    EXPECT_EQ(form.CurrentParams().BgColor, 0x808080u) << "no BGCOLOR: grey";
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Vezodev")) << "no TEXT: the default text";
    EXPECT_EQ(form.Gbox->TopColor(), 0x123456u) << "no TOPCOLOR: the current colour";
    EXPECT_EQ(form.MbMix->SelectedCell(), 3) << "MIXTYPE 7 is ignored";
    EXPECT_EQ(form.EdHs->Text(), QStringLiteral("100"));
    EXPECT_EQ(form.EdVs->Text(), QStringLiteral("0"));
    ExpectConsistent(form);
}

TEST_F(Form1StylesTest, AStyleNamedOptionSharesTheLastParameters)
{
    TForm1& form = Open();
    form.IniGT->WriteString(u"Option", u"SaveFile", u"/x/y.bmp");
    AnswerName(QStringLiteral("option"));
    form.MmAddClick();
    EXPECT_EQ(Read("OPTION", "TEXT"), QStringLiteral("Vezodev"));
    AnswerQuestion(true);
    form.MmDelClick();
    EXPECT_EQ(Read("Option", "SaveFile"), QStringLiteral("<none>")) << "erasing the style erased the section";
    EXPECT_EQ(Read("OPTION", "TEXT"), QStringLiteral("Vezodev")) << "and the last parameters were written again";
}

TEST_F(Form1StylesTest, AMalformedColourStopsLoadingAtThatKey)
{
    WriteSettings("[OPTION]\r\nBGCOLOR=0x00FFFFFF\r\nTOPCOLOR=0x0000000F\r\nLASTCOLOR=0xZZ\r\nTEXT=later\r\n"
                  "[Bounds]\r\nWindowSize.X=77\r\nWindowSize.Y=66\r\n");
    TForm1& form = Open();
    ASSERT_EQ(FErrors.size(), 1);
    EXPECT_EQ(FErrors[0], QString::fromUtf8("'$ZZ' は整数ではありません"));
    EXPECT_EQ(form.CurrentParams().BgColor, 0xFFFFFFu) << "keys before the bad one are applied";
    EXPECT_EQ(form.Gbox->TopColor(), 0x0000000Fu);
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Vezodev")) << "keys after it are not";
    EXPECT_NE(form.pos(), QPoint(77, 66)) << "the rest of the start is skipped";
    ExpectConsistent(form) ;
}

TEST_F(Form1StylesTest, AMalformedStyleLeavesTheListAndSelectionAsTheyWere)
{
    WriteSettings("[STYLES]\r\nSTYLE.Count=2\r\nSTYLE.0=Good\r\nSTYLE.1=Bad\r\n[Good]\r\nTEXT=G\r\n[Bad]\r\nBGCOLOR=0x\r\n");
    TForm1& form = Open();
    Choose(form, 1);
    ASSERT_EQ(FErrors.size(), 1);
    EXPECT_EQ(form.StyleItems().Count(), 2);
    EXPECT_EQ(form.CbStyle->currentIndex(), 1);
}

TEST_F(Form1StylesTest, AJapaneseSettingsFileInCodePage932LoadsIntoTheWindow)
{
    const QByteArray text = QByteArray::fromStdString(*TryEncodeShiftJis(u"ロゴ"));
    const QByteArray style = QByteArray::fromStdString(*TryEncodeShiftJis(u"青いゾ"));
    WriteSettings("[OPTION]\r\nTEXT=" + text + "\r\nFONT.Name=" + QByteArray::fromStdString(*TryEncodeShiftJis(u"ＭＳ Ｐゴシック"))
                  + "\r\nFONT.Size=24\r\n[STYLES]\r\nSTYLE.Count=1\r\nSTYLE.0=" + style + "\r\n[" + style + "]\r\nTEXT=" + style + "\r\n");
    TForm1& form = Open();
    EXPECT_EQ(form.Edit1->text(), QString::fromUtf8("ロゴ"));
    EXPECT_EQ(form.Label1->Font().Name(), u"ＭＳ Ｐゴシック");
    EXPECT_EQ(form.Label1->Font().Height(), -32);
    Choose(form, 0);
    EXPECT_EQ(form.Edit1->text(), QString::fromUtf8("青いゾ"));
    ExpectConsistent(form);
}

TEST_F(Form1StylesTest, TheLastSavedFileIsOfferedAtTheNextStart)
{
    TForm1& first = Open();
    const QString saved = FFolder.filePath(QStringLiteral("logo.bmp"));
    TSaveDialog::Answerer = [&](TSaveDialog& dialog) {
        dialog.SetFileName(saved);
        return true;
    };
    first.BtSaveClick();
    FForm.reset();
    TForm1& second = Open();
    EXPECT_EQ(second.SaveDlg->FileName(), saved);
}

TEST_F(Form1StylesTest, AWindowThatCannotStoreItsSettingsStillCloses)
{
    TForm1& form = Open();
    form.IniGT->SetFileName(ToText(FFolder.filePath(QStringLiteral("missing/Vezodev.ini"))));
    EXPECT_TRUE(form.close());
    ASSERT_EQ(FErrors.size(), 1);
    EXPECT_EQ(FErrors[0], QString::fromUtf8("%1 に書き込めません (%2)").arg(FFolder.filePath(QStringLiteral("missing/Vezodev.ini")), ToQString(SystemErrorText(ENOENT))));
    EXPECT_FALSE(form.isVisible());
}

} // namespace
