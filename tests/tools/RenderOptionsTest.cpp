#include "tools/RenderOptions.h"

#include "platform/base/UnicodeText.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <vector>

namespace {

using TArgs = std::vector<std::u16string>;

TArgs Arguments(std::initializer_list<const char*> arguments)
{
    TArgs list;
    for (const char* argument : arguments)
        list.push_back(Utf8ToText(argument));
    return list;
}

TArgs operator+(TArgs first, const TArgs& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::string Join(const TArgs& arguments)
{
    std::string line;
    for (const std::u16string& argument : arguments)
        line += (line.empty() ? "" : " ") + TextToUtf8(argument);
    return line;
}

QString Q(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

TRenderOptions Parse(std::initializer_list<const char*> arguments)
{
    return TRenderOptions::Parse(Arguments(arguments));
}

// Every field the parser can set, in one line, so a table row can say which fields
// its arguments change and the comparison also catches a field changed by mistake.
std::string Describe(const TRenderOptions& options)
{
    const TLogoParams& logo = options.Logo;
    const auto hex = [](TColor color) { return QString::number(color, 16); };
    return QStringList{Q(logo.Text), Q(logo.Font.Name()), QString::number(logo.Font.Height()),
                       QString::number(logo.Font.Style()), hex(logo.Font.Color()), hex(logo.BgColor),
                       hex(logo.TopColor), hex(logo.LastColor), QString::number(logo.GraType),
                       QString::number(logo.MixType), QString::number(logo.HSpace), QString::number(logo.VSpace),
                       QString::number(options.Layer), Q(options.OutputPath), QString::number(options.Format),
                       QString::number(options.PrintSize), QString::number(options.Help), QString::number(logo.Smooth),
                       QString::number(logo.Effects.Spacing), QString::number(logo.Effects.OutlineWidth),
                       hex(logo.Effects.OutlineColor), QString::number(logo.Effects.ShadowX),
                       QString::number(logo.Effects.ShadowY), hex(logo.Effects.ShadowColor)}
        .join(u'|')
        .toStdString();
}

// The message of the usage error the arguments raise, or "" when they parse.
QString UsageError(const TArgs& arguments)
{
    try {
        TRenderOptions::Parse(arguments);
    } catch (const EUsageError& error) {
        return Q(error.Message());
    }
    return QString();
}

TEST(RenderOptionsTest, DefaultsAreTheWindowsLogoWithTheTextVezodev)
{
    // text|font|height|style|colour|bg|top|last|direction|mix|hspace|vspace|layer|out|format|size|help|smooth
    // |spacing|outline|outline colour|shadow x|shadow y|shadow colour
    EXPECT_EQ(Describe(Parse({"-o", "logo.bmp"})),
              "Vezodev|Times New Roman|-29|1|0|808080|8000|ff00|1|1|0|0|0|logo.bmp|1|0|0|0|0|0|0|0|0|404040");
}

TEST(RenderOptionsTest, EachOptionChangesOnlyItsOwnField)
{
    struct TCase {
        TArgs Arguments;
        std::function<void(TRenderOptions&)> Change;
    };
    const std::vector<TCase> cases = {
        {Arguments({"--text", "ロゴ Logo"}), [](TRenderOptions& o) { o.Logo.Text = u"ロゴ Logo"; }},
        {Arguments({"--text", ""}), [](TRenderOptions& o) { o.Logo.Text.clear(); }},
        {Arguments({"--text", "-o"}), [](TRenderOptions& o) { o.Logo.Text = u"-o"; }},
        {Arguments({"--text=a=b"}), [](TRenderOptions& o) { o.Logo.Text = u"a=b"; }},
        {Arguments({"--font", "Liberation Sans"}), [](TRenderOptions& o) { o.Logo.Font.SetName(u"Liberation Sans"); }},
        {Arguments({"--font-height", "400"}), [](TRenderOptions& o) { o.Logo.Font.SetHeight(-400); }},
        {Arguments({"--font-height=1"}), [](TRenderOptions& o) { o.Logo.Font.SetHeight(-1); }},
        {Arguments({"--font-height", "32767"}), [](TRenderOptions& o) { o.Logo.Font.SetHeight(-32767); }},
        {Arguments({"--font-color", "0x00123456"}), [](TRenderOptions& o) { o.Logo.Font.SetColor(0x00123456); }},
        {Arguments({"--bg", "#FFFFFF"}), [](TRenderOptions& o) { o.Logo.BgColor = 0x00FFFFFF; }},
        {Arguments({"--top", "0x0000FF"}), [](TRenderOptions& o) { o.Logo.TopColor = 0x000000FF; }},
        {Arguments({"--last", "#0000FF"}), [](TRenderOptions& o) { o.Logo.LastColor = 0x00FF0000; }},
        {Arguments({"--direction", "4"}), [](TRenderOptions& o) { o.Logo.GraType = gtRightLeft; }},
        {Arguments({"--mix", "C"}), [](TRenderOptions& o) { o.Logo.MixType = mtSrcInvert; }},
        {Arguments({"--hspace", "100"}), [](TRenderOptions& o) { o.Logo.HSpace = 100; }},
        {Arguments({"--vspace", "7"}), [](TRenderOptions& o) { o.Logo.VSpace = 7; }},
        {Arguments({"--layer", "text"}), [](TRenderOptions& o) { o.Layer = rlText; }},
        {Arguments({"--layer", "gradient"}), [](TRenderOptions& o) { o.Layer = rlGradient; }},
        {Arguments({"--print-size"}), [](TRenderOptions& o) { o.PrintSize = true; }},
        {Arguments({"-h"}), [](TRenderOptions& o) { o.Help = true; }},
        {Arguments({"--help"}), [](TRenderOptions& o) { o.Help = true; }},
        {Arguments({"--mix", "2", "--mix", "4"}), [](TRenderOptions& o) { o.Logo.MixType = mtSrcAnd; }},
        {Arguments({"--smooth"}), [](TRenderOptions& o) { o.Logo.Smooth = 4; }},
        {Arguments({"--smooth", "2"}), [](TRenderOptions& o) { o.Logo.Smooth = 2; }},
        {Arguments({"--smooth=8"}), [](TRenderOptions& o) { o.Logo.Smooth = 8; }},
        {Arguments({"--smooth", "--mix", "2"}), [](TRenderOptions& o) { o.Logo.Smooth = 4; o.Logo.MixType = mtSrcPaint; }},
        {Arguments({"--letter-spacing", "-20"}), [](TRenderOptions& o) { o.Logo.Effects.Spacing = -20; }},
        {Arguments({"--letter-spacing=200"}), [](TRenderOptions& o) { o.Logo.Effects.Spacing = 200; }},
        {Arguments({"--outline", "16"}), [](TRenderOptions& o) { o.Logo.Effects.OutlineWidth = 16; }},
        {Arguments({"--outline-color", "#FF0000"}), [](TRenderOptions& o) { o.Logo.Effects.OutlineColor = 0x000000FF; }},
        {Arguments({"--shadow", "-32,32"}), [](TRenderOptions& o) { o.Logo.Effects.ShadowX = -32; o.Logo.Effects.ShadowY = 32; }},
        {Arguments({"--shadow=3,0"}), [](TRenderOptions& o) { o.Logo.Effects.ShadowX = 3; }},
        {Arguments({"--shadow-color", "white"}), [](TRenderOptions& o) { o.Logo.Effects.ShadowColor = 0x00FFFFFF; }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(Join(c.Arguments));
        TRenderOptions expected = TRenderOptions::Parse(Arguments({"-o", "out.bmp"}));
        c.Change(expected);
        EXPECT_EQ(Describe(TRenderOptions::Parse(Arguments({"-o", "out.bmp"}) + c.Arguments)), Describe(expected));
    }
}

TEST(RenderOptionsTest, StyleFlagsAddToBoldUntilRegularClearsThem)
{
    struct TCase {
        TArgs Arguments;
        TFontStyles Style;
    };
    for (const TCase& c : {TCase{Arguments({}), fsBold},
                           TCase{Arguments({"--italic"}), fsBold | fsItalic},
                           TCase{Arguments({"--underline", "--strikeout"}), fsBold | fsUnderline | fsStrikeOut},
                           TCase{Arguments({"--regular"}), 0},
                           TCase{Arguments({"--regular", "--italic"}), fsItalic},
                           TCase{Arguments({"--italic", "--regular"}), 0},
                           TCase{Arguments({"--regular", "--bold", "--bold"}), fsBold}}) {
        SCOPED_TRACE(Join(c.Arguments));
        EXPECT_EQ(TRenderOptions::Parse(c.Arguments + Arguments({"--print-size"})).Logo.Font.Style(), c.Style);
    }
}

TEST(RenderOptionsTest, ColoursAreSettingsHexOrWebRgb)
{
    struct TCase {
        const char* Text;
        TColor Color;
    };
    for (const TCase& c : {TCase{"0x0", 0x00000000},
                           TCase{"0x00FF8040", 0x00FF8040},
                           TCase{"0XabCDef", 0x00ABCDEF},
                           TCase{"#FF8040", 0x004080FF},
                           TCase{"#ff8040", 0x004080FF},
                           TCase{"#000000", 0x00000000},
                           TCase{"0x8000000F", clBtnFace},
                           TCase{"0x80000018", clSystemColor + 24}}) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(TRenderOptions::Parse(Arguments({"--print-size", "--top", c.Text})).Logo.TopColor, c.Color);
    }
    for (const char* bad : {"", "0x", "x12", "123456", "FF8040", "#FF804", "#FF80400", "#GG0000", "0x12G",
                            "0x-1", "0x 12", "+0x12", "0x12345678", "0x80000019", "0xFFFFFFFF", "0x000000000", "#FF8040 "}) {
        SCOPED_TRACE(bad);
        const QString message = UsageError(Arguments({"--print-size", "--top", bad}));
        EXPECT_TRUE(message.contains(QStringLiteral("--top"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("'%1'").arg(QString::fromUtf8(bad)))) << message.toStdString();
    }
}

TEST(RenderOptionsTest, ColoursAreAlsoShortWebRgbAndCssNames)
{
    struct TCase {
        const char* Text;
        TColor Color;
    };
    for (const TCase& c : {TCase{"#F84", 0x004488FF}, TCase{"#abc", 0x00CCBBAA}, TCase{"#000", 0x00000000},
                           TCase{"navy", 0x00800000}, TCase{"Orange", 0x0000A5FF}, TCase{"WHITE", 0x00FFFFFF},
                           TCase{"DarkSlateGray", 0x004F4F2F}}) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(TRenderOptions::Parse(Arguments({"--print-size", "--bg", c.Text})).Logo.BgColor, c.Color);
    }
    for (const char* bad : {"#FF", "#FFFF", "#GGG", "transparent", "blurple", "light blue", "red1"}) {
        SCOPED_TRACE(bad);
        const QString message = UsageError(Arguments({"--print-size", "--bg", bad}));
        EXPECT_TRUE(message.startsWith(QStringLiteral("--bg: "))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("'%1'").arg(QString::fromUtf8(bad)))) << message.toStdString();
    }
    EXPECT_EQ(UsageError(Arguments({"--print-size", "--top", "blurple"})), "--top: unknown colour name 'blurple'");
}

TEST(RenderOptionsTest, StandardOutputTakesItsFormatFromFormatAndTransparentNeedsPng)
{
    struct TCase {
        TArgs Arguments;
        TImageFormat Format; // ifNone: refused, the message naming Named
        const char* Named;
    };
    for (const TCase& c : {TCase{Arguments({"-o", "-"}), ifBmp, ""},
                           TCase{Arguments({"-o", "-", "--format", "png"}), ifPng, ""},
                           TCase{Arguments({"--format", "png", "-o", "-", "--transparent"}), ifPng, ""},
                           TCase{Arguments({"--format", "png", "-o", "a.PNG"}), ifPng, ""},
                           TCase{Arguments({"--transparent", "-o", "a.png"}), ifPng, ""},
                           TCase{Arguments({"--format", "gif", "-o", "-"}), ifNone, "--format"},
                           TCase{Arguments({"--format", "png", "-o", "a.bmp"}), ifNone, "a.bmp"},
                           TCase{Arguments({"--transparent", "-o", "a.bmp"}), ifNone, "--transparent"},
                           TCase{Arguments({"--transparent", "-o", "-"}), ifNone, "--transparent"},
                           TCase{Arguments({"-o", "-", "--print-size"}), ifNone, "--print-size"}}) {
        SCOPED_TRACE(Join(c.Arguments));
        if (c.Format == ifNone) {
            const QString message = UsageError(c.Arguments);
            EXPECT_TRUE(message.contains(QLatin1String(c.Named))) << message.toStdString();
            continue;
        }
        EXPECT_EQ(TRenderOptions::Parse(c.Arguments).Format, c.Format);
    }
    EXPECT_TRUE(TRenderOptions::Parse(Arguments({"--version"})).Version);
    EXPECT_TRUE(TRenderOptions::VersionText() == u"vezodev " VEZODEV_VERSION "\n");
}

TEST(RenderOptionsTest, CellsAreDigitsAndMixAlsoTakesLetters)
{
    struct TCase {
        const char* Option;
        const char* Value;
        int Cell; // 0: refused
    };
    for (const TCase& c : {TCase{"--mix", "1", 1}, TCase{"--mix", "4", 4}, TCase{"--mix", "A", 1},
                           TCase{"--mix", "b", 2}, TCase{"--mix", "D", 4}, TCase{"--mix", "E", 0},
                           TCase{"--mix", "0", 0}, TCase{"--mix", "5", 0}, TCase{"--mix", "AB", 0},
                           TCase{"--mix", "", 0}, TCase{"--mix", "01", 0}, TCase{"--direction", "1", 1},
                           TCase{"--direction", "3", 3}, TCase{"--direction", "A", 0},
                           TCase{"--direction", "0", 0}, TCase{"--direction", "5", 0}}) {
        SCOPED_TRACE(std::string(c.Option) + " " + c.Value);
        const TArgs arguments = Arguments({"--print-size", c.Option, c.Value});
        if (c.Cell == 0) {
            EXPECT_TRUE(UsageError(arguments).startsWith(QLatin1String(c.Option)));
            continue;
        }
        const TLogoParams logo = TRenderOptions::Parse(arguments).Logo;
        EXPECT_EQ(QByteArray(c.Option) == "--mix" ? int(logo.MixType) : int(logo.GraType), c.Cell);
    }
}

TEST(RenderOptionsTest, IntegersAreDecimalWithinTheirRange)
{
    struct TCase {
        const char* Option;
        const char* Value;
    };
    for (const TCase& c : {TCase{"--font-height", "0"}, TCase{"--font-height", "-29"},
                           TCase{"--font-height", "32768"}, TCase{"--font-height", "2147483648"},
                           TCase{"--font-height", "+29"}, TCase{"--font-height", " 29"},
                           TCase{"--font-height", "29 "}, TCase{"--font-height", "$1D"},
                           TCase{"--font-height", "2e1"}, TCase{"--font-height", ""},
                           TCase{"--hspace", "-1"}, TCase{"--hspace", "101"}, TCase{"--vspace", "1.5"},
                           TCase{"--vspace", "ten"}, TCase{"--letter-spacing", "-21"},
                           TCase{"--letter-spacing", "201"}, TCase{"--outline", "17"}, TCase{"--outline", "-1"},
                           TCase{"--shadow", "3"}, TCase{"--shadow", "3,33"}, TCase{"--shadow", "-33,0"},
                           TCase{"--shadow", "1,2,3"}, TCase{"--shadow", "1, 2"}, TCase{"--shadow", ","}}) {
        SCOPED_TRACE(std::string(c.Option) + " '" + c.Value + "'");
        const QString message = UsageError(Arguments({"--print-size", c.Option, c.Value}));
        EXPECT_TRUE(message.startsWith(QLatin1String(c.Option) + QLatin1Char(':'))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("'%1'").arg(QLatin1String(c.Value)))) << message.toStdString();
    }
}

TEST(RenderOptionsTest, OutputFormatFollowsTheExtensionInAnyCase)
{
    struct TCase {
        const char* Path;
        TImageFormat Format; // ifNone: refused
    };
    for (const TCase& c : {TCase{"logo.bmp", ifBmp}, TCase{"dir/LOGO.BMP", ifBmp}, TCase{"a.Png", ifPng},
                           TCase{"ロゴ.png", ifPng}, TCase{"logo.jpg", ifNone}, TCase{"logo", ifNone},
                           TCase{"bmp", ifNone}, TCase{"logo.bmp.txt", ifNone}, TCase{"", ifNone}}) {
        SCOPED_TRACE(c.Path);
        const TArgs arguments = Arguments({"-o", c.Path});
        if (c.Format == ifNone) {
            EXPECT_TRUE(UsageError(arguments).startsWith(QLatin1String("-o:")));
            continue;
        }
        const TRenderOptions options = TRenderOptions::Parse(arguments);
        EXPECT_EQ(options.Format, c.Format);
        EXPECT_TRUE(options.OutputPath == Utf8ToText(c.Path));
    }
}

TEST(RenderOptionsTest, MisusedArgumentsAreNamedInTheError)
{
    struct TCase {
        TArgs Arguments;
        const char* Named;
    };
    for (const TCase& c : {TCase{Arguments({}), "-o"},
                           TCase{Arguments({"--text", "x"}), "-o"},
                           TCase{Arguments({"--print-size", "--text"}), "--text"},
                           TCase{Arguments({"--print-size", "--font", ""}), "--font"},
                           TCase{Arguments({"--print-size", "--bold=yes"}), "--bold"},
                           TCase{Arguments({"--print-size", "--colour", "red"}), "--colour"},
                           TCase{Arguments({"--print-size", "-x"}), "-x"},
                           TCase{Arguments({"--print-size", "logo.bmp"}), "logo.bmp"},
                           TCase{Arguments({"--print-size", "--layer", "mask"}), "--layer"},
                           TCase{Arguments({"--print-size", "--layer", "Text"}), "--layer"},
                           TCase{Arguments({"--print-size", "--smooth", "1"}), "2..8"},
                           TCase{Arguments({"--print-size", "--smooth", "9"}), "--smooth"},
                           TCase{Arguments({"--print-size", "--smooth", "-4"}), "--smooth"},
                           TCase{Arguments({"--print-size", "--smooth=x"}), "--smooth"}}) {
        SCOPED_TRACE(Join(c.Arguments));
        const QString message = UsageError(c.Arguments);
        EXPECT_TRUE(message.contains(QLatin1String(c.Named))) << message.toStdString();
        EXPECT_FALSE(message.contains(u'\n'));
    }
}

TEST(RenderOptionsTest, HelpFitsEightyColumnsWithEveryDefaultFilledIn)
{
    const QStringList lines = Q(TRenderOptions::HelpText()).split(u'\n');
    ASSERT_GT(lines.size(), 20);
    for (const QString& line : lines) {
        EXPECT_LE(line.size(), 80) << line.toStdString();
        EXPECT_FALSE(line.contains(u'{')) << line.toStdString();
    }
    EXPECT_TRUE(lines.contains(QStringLiteral("  --bg C              background of the text layer (default 0x00808080)")));
}

} // namespace
