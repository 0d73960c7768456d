#include "platform/widgets/BitmapImage.h"
#include "Form1TestSupport.h"

#include "components/widgets/GradBox.h"
#include "components/widgets/IniGTComponent.h"
#include "components/widgets/ManyBtn.h"
#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/ComboBoxStrings.h"
#include "platform/widgets/FontDialog.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/MessageDialogs.h"
#include "platform/widgets/SaveDialog.h"
#include "platform/base/ShiftJis.h"
#include "platform/widgets/SpinEdit.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString TooLargePattern = QString::fromUtf8("^ロゴが大きすぎます \\((-?\\d+) x (-?\\d+)\\)$");

class BadInputTest : public Form1Fixture {
protected:
    // Types text into the text field and presses Enter, as the user applies a text.
    static void Apply(TForm1& form, const QString& text)
    {
        form.Edit1->setText(text);
        QTest::keyClick(form.Edit1, Qt::Key_Return);
    }

    // Asks for the font with a face and a height in pixels.
    static void ChooseFont(TForm1& form, const QString& face, int pixels)
    {
        TFontDialog::Answerer = [&](TFontDialog& dialog) {
            dialog.Font().SetName(ToText(face));
            dialog.Font().SetHeight(-pixels);
            return true;
        };
        ClickCell(*form.MbText, 1);
        TFontDialog::Answerer = nullptr;
    }

    // The image has pixels other than the background colour.
    static bool HasInk(const QImage& image, TColor background)
    {
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (row[x] != RGBToPixel(background))
                    return true;
            }
        }
        return false;
    }

    static QImage TextLayer(TLogoParams params, const QString& text)
    {
        params.Text = ToText(text);
        TBitmap layer;
        TLogoComposer::RenderTextLayer(params, layer);
        return BitmapImageCopy(layer);
    }

    // The window refused a logo: one size error naming a size over the limits, and the
    // caption and composite of the last good logo.
    void ExpectRefused(TForm1& form, const QString& caption, const QImage& composite)
    {
        ASSERT_EQ(FErrors.size(), 1);
        const QRegularExpressionMatch match = QRegularExpression(TooLargePattern).match(FErrors[0]);
        ASSERT_TRUE(match.hasMatch()) << FErrors[0].toStdString();
        const TLogoExtent size = TLogoComposer::LogoExtent(form.CurrentParams());
        EXPECT_EQ(match.captured(1).toLongLong(), size.Width);
        EXPECT_EQ(match.captured(2).toLongLong(), size.Height);
        EXPECT_TRUE(size.Width > TLogoComposer::MaxSide || size.Height > TLogoComposer::MaxSide
                    || size.Width * size.Height > TLogoComposer::MaxPixels);
        EXPECT_EQ(form.windowTitle(), caption);
        EXPECT_TRUE(BitmapImageCopy(form.Img->Picture()) == composite) << "the last good logo stays";
    }

    static void LeaveField(TSpinEdit& edit)
    {
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(edit.Editor(), &leave);
    }
};

// --- The logo text ---

TEST_F(BadInputTest, TextsOfNoneOneAndTenThousandCharactersGiveALogoOrTheSizeError)
{
    QString tenThousand;
    while (tenThousand.size() < 10000)
        tenThousand += QStringLiteral("Vezodev ");
    tenThousand.truncate(10000);
    const struct {
        const char* Name;
        QString Text;
        int FontPixels; // 0 keeps the default font
        bool TooWide;
    } cases[] = {
        {"Empty", QString(), 0, false},
        {"OneCharacter", QStringLiteral("V"), 0, false},
        {"TenThousandAtTheDefaultFont", tenThousand, 0, true},
        {"TenThousandAtFourPixels", QString(10000, QLatin1Char('i')), 4, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        FErrors.clear();
        TForm1& form = Open();
        if (c.FontPixels > 0)
            ChooseFont(form, QStringLiteral("Arial"), c.FontPixels);
        const QString caption = form.windowTitle();
        const QImage composite = BitmapImageCopy(form.Img->Picture());
        Apply(form, c.Text);
        EXPECT_EQ(form.Edit1->text(), c.Text) << "the field keeps the text";
        const TSize size = TLogoComposer::LogoSize(form.CurrentParams());
        if (c.TooWide) {
            ExpectRefused(form, caption, composite);
        } else {
            EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
            ExpectConsistent(form);
            EXPECT_EQ(form.Img->Width(), size.Width);
            const TLogoParams params = form.CurrentParams();
            EXPECT_EQ(HasInk(TextLayer(params, ToQString(params.Text)), params.BgColor), !c.Text.isEmpty());
        }
        // A further build from the same window still works.
        Apply(form, QStringLiteral("Back"));
        ExpectConsistent(form);
    }
}

TEST_F(BadInputTest, AnEmptyLogoCanBeSaved)
{
    TForm1& form = Open();
    Apply(form, QString());
    ASSERT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    const QString saved = FFolder.filePath(QStringLiteral("empty.bmp"));
    SaveAs(form, saved);
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("BM"));
}

// Control characters are drawn like any other character (with the face's glyph for
// them), kept in the field and in the settings file: a line break or NUL, which a line
// of the file cannot hold, through the companion key.
TEST_F(BadInputTest, ControlCharactersBuildALogoAndSurviveARestart)
{
    const struct {
        const char* Name;
        QChar Control;
    } cases[] = {
        {"Tab", QChar(u'\t')},
        {"CarriageReturn", QChar(u'\r')},
        {"LineFeed", QChar(u'\n')},
        {"Nul", QChar(u'\0')},
        {"StartOfHeading", QChar(u'\x01')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        FErrors.clear();
        QFile::remove(SettingsPath());
        TForm1& form = Open();
        const QString text = QStringLiteral("A") + c.Control + QStringLiteral("B");
        Apply(form, text);
        EXPECT_EQ(form.Edit1->text(), text);
        EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
        ExpectConsistent(form);
        form.close();
        EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
        TForm1& next = Open();
        EXPECT_EQ(next.Edit1->text(), text) << "read back as written";
        ExpectConsistent(next);
    }
}

// Characters code page 932 cannot hold are drawn with a real glyph (the primary face's
// or a fallback's), not the missing-glyph box, and come back at the next start.
TEST_F(BadInputTest, CharactersTheCodePageCannotHoldAreDrawnAndStored)
{
    // An emoji, the yen sign and the euro sign.
    for (const QString& character : {QString::fromUtf8("\xF0\x9F\x98\x80"), QString(QChar(0x00A5)), QString(QChar(0x20AC))}) {
        SCOPED_TRACE(character.toStdString());
        ASSERT_FALSE(CanEncodeShiftJis(ToText(character))) << "a character the file cannot hold";
        FErrors.clear();
        QFile::remove(SettingsPath());
        TForm1& form = Open();
        Apply(form, QStringLiteral("Logo ") + character);
        EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
        ExpectConsistent(form);
        const TLogoParams params = form.CurrentParams();
        const QImage drawn = TextLayer(params, character);
        EXPECT_GT(drawn.width(), 0);
        EXPECT_TRUE(HasInk(drawn, params.BgColor));
        EXPECT_FALSE(drawn == TextLayer(params, QString(QChar(0xE000)))) << "not the missing-glyph box";

        form.close();
        EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
        EXPECT_EQ(Open().Edit1->text(), QStringLiteral("Logo ") + character);
    }
}

TEST_F(BadInputTest, ATwoThousandPixelFontGivesALogoOrTheSizeError)
{
    // The default text fits; four times as much is too wide.
    for (const bool tooLarge : {false, true}) {
        SCOPED_TRACE(tooLarge ? "LongText" : "DefaultText");
        FErrors.clear();
        TForm1& form = Open();
        Apply(form, QStringLiteral("V"));
        ChooseFont(form, QStringLiteral("Times New Roman"), 2000);
        ASSERT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
        ExpectConsistent(form);
        const QString caption = form.windowTitle();
        const QImage composite = BitmapImageCopy(form.Img->Picture());
        Apply(form, tooLarge ? QStringLiteral("Vezodev Vezodev Vezodev Vezodev") : QStringLiteral("Vezodev"));
        const TSize size = TLogoComposer::LogoSize(form.CurrentParams());
        if (tooLarge) {
            ExpectRefused(form, caption, composite);
        } else {
            EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
            EXPECT_GT(size.Height, 2000);
            ExpectConsistent(form);
        }
    }
}

// A refused build leaves the last good logo shown; a transparent save of it clears that
// logo's background, not a background chosen since for a logo that was refused.
TEST_F(BadInputTest, ATransparentSaveAfterARefusedBuildClearsTheShownLogosBackground)
{
    TForm1& form = Open();
    ChooseFont(form, QStringLiteral("Times New Roman"), 300);
    Apply(form, QStringLiteral("V"));
    ASSERT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    Apply(form, QStringLiteral("Vezodev ").repeated(40));
    TColorDialog::Answerer = [](TColorDialog& dialog) {
        dialog.SetColor(0x00123456);
        return true;
    };
    ClickCell(*form.MbText, 2);
    ASSERT_EQ(FErrors.size(), 2) << "both builds are refused";
    FErrors.clear();

    const QString saved = FFolder.filePath(QStringLiteral("v.png"));
    TSaveDialog::Answerer = [&](TSaveDialog& dialog) {
        dialog.SetFileName(saved);
        dialog.SetFilterIndex(stTransparentPng);
        return true;
    };
    form.BtSave->click();
    ASSERT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    const QImage image(saved);
    ASSERT_EQ(image.size(), QSize(form.Img->Width(), form.Img->Height()));
    int clear = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            clear += qAlpha(image.pixel(x, y)) == 0;
    EXPECT_GT(clear, image.width() * image.height() / 2) << "the V's background is cleared";
}

// --- The margin fields ---

// While typed, a text that reads as an integer counts as it is, even a margin that makes
// the logo's width negative (the caption shows it, the panes are empty); one that does
// not read (or does not fit 32 bits) becomes "0" at once. Leaving the field brings the
// value into 0..100.
TEST_F(BadInputTest, MarginsTypedOutOfRangeCountAsTypedUntilTheFieldIsLeft)
{
    const struct {
        const char* Typed;
        const char* WhileTyped;
        int Margin;
        const char* AfterLeaving;
    } cases[] = {
        {"-5", "-5", -5, "0"},
        {"-60", "-60", -60, "0"},
        {"250", "250", 250, "100"},
        {"99999999999", "0", 0, "0"},
        {"1e3", "0", 0, "0"},
        {"0x10", "0", 0, "0"},
        {"$10", "$10", 16, "$10"},
        {" 7", " 7", 7, " 7"},
        {"7 ", "0", 0, "0"},
    };
    TForm1& form = Open();
    const TSize text = TLogoComposer::LogoSize(form.CurrentParams());
    for (TSpinEdit* field : {form.EdHs, form.EdVs}) {
        const bool horizontal = field == form.EdHs;
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << (horizontal ? "EdHs " : "EdVs ") << '"' << c.Typed << '"');
            field->SetText(QStringLiteral("3"));
            field->SetText(QString::fromLatin1(c.Typed));
            EXPECT_EQ(field->Text(), QString::fromLatin1(c.WhileTyped));
            const TLogoParams params = form.CurrentParams();
            EXPECT_EQ(horizontal ? params.HSpace : params.VSpace, c.Margin);
            const TSize size = TLogoComposer::LogoSize(params);
            EXPECT_EQ(horizontal ? size.Width : size.Height, (horizontal ? text.Width : text.Height) + 2 * c.Margin);
            ExpectConsistent(form);
            LeaveField(*field);
            EXPECT_EQ(field->Text(), QString::fromLatin1(c.AfterLeaving));
            ExpectConsistent(form);
        }
        field->SetText(QStringLiteral("0"));
    }
    EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
}

TEST_F(BadInputTest, AHugeTypedMarginIsRefusedAsTooLargeAndTheLastLogoStays)
{
    TForm1& form = Open();
    const QString caption = form.windowTitle();
    const QImage composite = BitmapImageCopy(form.Img->Picture());
    form.EdHs->SetText(QStringLiteral("2147483647"));
    ExpectRefused(form, caption, composite);
    LeaveField(*form.EdHs);
    EXPECT_EQ(form.EdHs->Text(), QStringLiteral("100"));
    ExpectConsistent(form);
}

TEST_F(BadInputTest, AMarginTypedOutOfRangeIsStoredAsTypedAndReadBackLimited)
{
    TForm1& form = Open();
    form.EdHs->SetText(QStringLiteral("250"));
    form.EdVs->SetText(QStringLiteral("-5"));
    form.close();
    EXPECT_TRUE(Settings().contains("HSPACE=250\r\nVSPACE=-5\r\n"));
    TForm1& next = Open();
    EXPECT_EQ(next.EdHs->Text(), QStringLiteral("100"));
    EXPECT_EQ(next.EdVs->Text(), QStringLiteral("0"));
    ExpectConsistent(next);
}

// --- Colours in the settings file ---

// A colour value is read from its third to its tenth character as hexadecimal: a value
// that gives no hexadecimal number stops the start with the conversion error, keys
// before it applied; more than eight digits are cut.
TEST_F(BadInputTest, GarbageColoursInTheSettingsFileGiveTheConversionErrorOrTheirFirstEightDigits)
{
    const struct {
        const char* Stored;
        const char* Error; // nullptr: read without error
        TColor Read;
    } cases[] = {
        {"0x", "'$' は整数ではありません", 0},
        {"0xGG", "'$GG' は整数ではありません", 0},
        {"", "'$' は整数ではありません", 0},
        {"12", "'$' は整数ではありません", 0},
        {"0x-1", "'$-1' は整数ではありません", 0},
        {"0x 1", "'$ 1' は整数ではありません", 0},
        {"0x1234567890", nullptr, 0x12345678},
        {"0xFFFFFFFF", nullptr, 0xFFFFFFFF},
        {"0x80000005", nullptr, 0x80000005},
        {"0x800000FF", nullptr, 0x800000FF},
        {"zz00FF00", nullptr, 0x0000FF00},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Stored);
        FErrors.clear();
        WriteSettings(QByteArray("[OPTION]\r\nBGCOLOR=0x00FFFFFF\r\nTOPCOLOR=") + c.Stored + "\r\nTEXT=After\r\n");
        const QByteArray previous = Settings();
        TForm1& form = Open();
        EXPECT_EQ(form.CurrentParams().BgColor, 0xFFFFFFu) << "the key before is applied";
        if (c.Error) {
            EXPECT_EQ(FErrors, QStringList{QString::fromUtf8(c.Error)});
            EXPECT_EQ(form.Gbox->TopColor(), TLogoParams().TopColor) << "the design colour stays";
            EXPECT_EQ(form.Edit1->text(), QStringLiteral("Vezodev")) << "keys after it are not read";
        } else {
            EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
            EXPECT_EQ(form.Gbox->TopColor(), c.Read);
            EXPECT_EQ(form.Edit1->text(), QStringLiteral("After"));
        }
        EXPECT_EQ(Settings(), previous) << "starting writes nothing";
        ExpectConsistent(form);
        form.EdHs->SetText(QStringLiteral("4"));
        ExpectConsistent(form);
    }
}

TEST_F(BadInputTest, AGarbageColourInAStyleIsReportedWhenChosenAndTheWindowKeepsItsLogo)
{
    WriteSettings("[STYLES]\r\nSTYLE.Count=1\r\nSTYLE.0=Bad\r\n[Bad]\r\nBGCOLOR=0x000000FF\r\nLASTCOLOR=0xGG\r\nTEXT=never\r\n");
    TForm1& form = Open();
    ASSERT_TRUE(FErrors.isEmpty());
    const QString caption = form.windowTitle();
    Choose(form, 0);
    EXPECT_EQ(FErrors, QStringList{QString::fromUtf8("'$GG' は整数ではありません")});
    EXPECT_EQ(form.CurrentParams().BgColor, 0x0000FFu) << "the keys before the bad one are applied";
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("Vezodev"));
    form.EdHs->SetText(QStringLiteral("1"));
    ExpectConsistent(form);
}

// --- Style names ---

// A style is added through the input box, chosen again after other changes, read back
// at the next start and deleted. Spaces around a name are not kept: the file trims
// section names and values alike, so the trimmed name still finds its section.
TEST_F(BadInputTest, StyleNamesWithFileSyntaxRoundTripOrAreTrimmedAsTheFileReadsThem)
{
    const QString long255 = QString(255, QLatin1Char('S'));
    const QString japanese255 = QString(255, QChar(u'ゾ'));
    const struct {
        const char* Name;
        QString Entered;
        QString ReadBack; // the list entry at the next start
    } cases[] = {
        {"ClosingBracket", QStringLiteral("a]b"), QStringLiteral("a]b")},
        {"BracketsAround", QStringLiteral("[x]"), QStringLiteral("[x]")},
        {"Equals", QStringLiteral("a=b"), QStringLiteral("a=b")},
        {"Semicolon", QStringLiteral(";a;b"), QStringLiteral(";a;b")},
        {"LeadingSpaces", QStringLiteral("  Blue"), QStringLiteral("Blue")},
        {"TrailingSpaces", QStringLiteral("Blue  "), QStringLiteral("Blue")},
        {"Chars255", long255, long255},
        {"Japanese255", japanese255, japanese255},
        {"Chars300CutTo255", QString(300, QLatin1Char('L')), QString(255, QLatin1Char('L'))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        FErrors.clear();
        QFile::remove(SettingsPath());
        TForm1& form = Open();
        Apply(form, QStringLiteral("Styled"));
        ClickCell(*form.MbMix, 3);
        AddStyle(form, c.Entered);
        ASSERT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
        const QString entered = c.Entered.left(255);
        EXPECT_EQ(ToQStringList(form.StyleItems().ToStringList()), QStringList{entered});

        // Chosen again in the same session.
        Apply(form, QStringLiteral("Other"));
        ClickCell(*form.MbMix, 1);
        Choose(form, 0);
        EXPECT_EQ(form.Edit1->text(), QStringLiteral("Styled"));
        EXPECT_EQ(form.MbMix->SelectedCell(), 3);

        // Read back at the next start and chosen.
        form.close();
        TForm1& next = Open();
        EXPECT_EQ(ToQStringList(next.StyleItems().ToStringList()), QStringList{c.ReadBack});
        Apply(next, QStringLiteral("Other"));
        ClickCell(*next.MbMix, 1);
        Choose(next, 0);
        EXPECT_EQ(next.Edit1->text(), QStringLiteral("Styled")) << "the style's section is found by its read-back name";
        EXPECT_EQ(next.MbMix->SelectedCell(), 3);
        ExpectConsistent(next);

        // Deleted: the section goes, the list is empty.
        next.MmDel->trigger();
        EXPECT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
        EXPECT_EQ(next.StyleItems().Count(), 0);
        EXPECT_EQ(ToQString(next.IniGT->ReadString(ToText(c.ReadBack), u"TEXT", u"<none>")), QStringLiteral("<none>"));
        QStringList headers;
        for (const QString& line : ToQString(DecodeShiftJis(Settings().toStdString())).split(QStringLiteral("\r\n"))) {
            if (line.startsWith(QLatin1Char('[')))
                headers << line;
        }
        headers.sort();
        EXPECT_EQ(headers, (QStringList{QStringLiteral("[Bounds]"), QStringLiteral("[OPTION]"), QStringLiteral("[STYLES]")}))
            << "the style's section is gone:\n" << Settings().toStdString();
        MessageAnswerer = nullptr;
    }
}

// A tab around a name would be written as "[\tBlue]", which reads back as "Blue" and
// is never found under the name given: the write is refused with its reason, and the
// name leaves the list again, as any style whose storing failed.
TEST_F(BadInputTest, AStyleNameWithAnOuterTabIsRefusedAndNotStored)
{
    TForm1& form = Open();
    AddStyle(form, QStringLiteral("\tBlue"));
    ASSERT_EQ(FErrors.size(), 1);
    EXPECT_TRUE(FErrors[0].startsWith(QString::fromUtf8("%1 に書き込めません (「\tBlue」").arg(SettingsPath()))) << FErrors[0].toStdString();
    EXPECT_EQ(form.StyleItems().Count(), 0);
    EXPECT_EQ(form.CbStyle->currentIndex(), -1);
    EXPECT_FALSE(Settings().contains("Blue")) << Settings().toStdString();
    form.EdHs->SetText(QStringLiteral("2"));
    ExpectConsistent(form);
}

// The list entry of a style is a value, and the reader removes one pair of outer quotes
// from every value, while a section name keeps them: the entry "Q" no longer names the
// section ["Q"] at the next start. This records the file format's limitation.
TEST_F(BadInputTest, AQuotedStyleNameLosesItsQuotesAtTheNextStart)
{
    TForm1& form = Open();
    Apply(form, QStringLiteral("Styled"));
    AddStyle(form, QStringLiteral("\"Q\""));
    ASSERT_TRUE(FErrors.isEmpty()) << FErrors.join('\n').toStdString();
    EXPECT_TRUE(Settings().contains("[\"Q\"]\r\n"));
    EXPECT_TRUE(Settings().contains("STYLE.0=\"Q\"\r\n"));
    form.close();

    TForm1& next = Open();
    EXPECT_EQ(ToQStringList(next.StyleItems().ToStringList()), QStringList{QStringLiteral("Q")});
    Apply(next, QStringLiteral("Other"));
    Choose(next, 0);
    EXPECT_EQ(next.Edit1->text(), QStringLiteral("Vezodev")) << "the section is not found: the default text";
    ExpectConsistent(next);
}

} // namespace
