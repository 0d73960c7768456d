#include "tools/RenderOptions.h"

#include "composer/LogoSmoother.h"

#include "platform/base/AsciiCase.h"
#include "platform/raster/Color.h"
#include "platform/raster/Font.h"
#include "platform/base/IntegerSyntax.h"
#include "platform/base/Tr.h"
#include "tools/ColorNames.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

// Applies the value of one option (empty for a flag); `option` is the spelling the
// user typed, so messages name it as given.
using TApply = void (*)(TRenderOptions& options, const QString& option, const QString& value);

// One row per option: parsing and --help both read this table, so a new option is one
// new row and, where its value needs a new kind of check, one new reader function.
struct TOptionRow {
    const char* Name;
    const char* Alias; // another spelling, or nullptr
    const char* Value; // the placeholder shown in --help, in brackets when it may be left out, or nullptr for a flag
    const char* Help;  // may hold several lines; marked for translation, translated where shown
    TApply Apply;
};

[[noreturn]] void Refuse(const QString& option, const QString& value, const QString& expected)
{
    throw EUsageError(Tr("%1: '%2' is not %3").arg(option, value, expected));
}

bool IsDigits(QStringView text, int base)
{
    if (text.isEmpty())
        return false;
    for (const QChar ch : text) {
        if (DigitValue(ch, base) < 0)
            return false;
    }
    return true;
}

bool LooksLikeInteger(const QString& text)
{
    return IsDigits(text.startsWith(u'-') ? QStringView(text).mid(1) : QStringView(text), 10);
}

// A decimal integer with an optional minus sign and nothing else, within first..last.
int ReadInteger(const QString& option, const QString& value, int first, int last)
{
    const QString expected = Tr("an integer in %1..%2").arg(first).arg(last);
    if (!LooksLikeInteger(value))
        Refuse(option, value, expected);
    const std::optional<std::int32_t> number = TryStrToInt(value);
    if (!number || *number < first || *number > last)
        Refuse(option, value, expected);
    return *number;
}

// "0x" and 1 to 8 hex digits as the settings file writes a colour (0x00BBGGRR, or
// 0x800000NN for system colour NN), "#RRGGBB" or "#RGB" as web pages write one, or a
// CSS colour name.
TColor ReadColor(const QString& option, const QString& value)
{
    const QString expected = Tr("a colour (0x00BBGGRR, #RRGGBB, #RGB or a colour name)");
    if (value.startsWith(u'#')) {
        QString digits = value.mid(1);
        if ((digits.size() != 6 && digits.size() != 3) || !IsDigits(digits, 16))
            Refuse(option, value, expected);
        if (digits.size() == 3)
            digits = QString(2, digits[0]) + QString(2, digits[1]) + QString(2, digits[2]);
        return PixelToRGB(digits.toUInt(nullptr, 16));
    }
    if (!value.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        if (const std::optional<TColor> named = TColorNames::Find(value))
            return *named;
        if (!value.isEmpty() && std::all_of(value.cbegin(), value.cend(), [](QChar ch) { return ch.isLetter(); }))
            throw EUsageError(Tr("%1: unknown colour name '%2'").arg(option, value));
        Refuse(option, value, expected);
    }
    const QStringView digits = QStringView(value).mid(2);
    if (digits.size() > 8 || !IsDigits(digits, 16))
        Refuse(option, value, expected);
    const TColor color = digits.toUInt(nullptr, 16);
    const bool plain = (color & 0xFF000000u) == 0;
    const bool system = color >= clSystemColor && color < clSystemColor + SystemColorCount;
    if (!plain && !system)
        Refuse(option, value, expected);
    return color;
}

// How a row of cells may be named: the direction cells by number, the mix cells also
// by their letters.
enum TCellNames { cnDigits, cnDigitsOrLetters };

// 1..4, or with letters A..D.
int ReadCell(const QString& option, const QString& value, TCellNames names)
{
    const bool letters = names == cnDigitsOrLetters;
    if (letters && value.size() == 1) {
        const char16_t c = AsciiUpper(value.front().unicode());
        if (c >= u'A' && c <= u'D')
            return c - u'A' + 1;
    }
    if (value.size() == 1 && value.front() >= u'1' && value.front() <= u'4')
        return value.front().unicode() - u'0';
    Refuse(option, value, letters ? Tr("1..4 or A..D") : Tr("1..4"));
}

TImageFormat FormatOfPath(const QString& path)
{
    if (path == QLatin1String("-"))
        return ifBmp;
    if (path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive))
        return ifBmp;
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return ifPng;
    return ifNone;
}

void AddStyle(TRenderOptions& options, TFontStyles style)
{
    options.Logo.Font.SetStyle(options.Logo.Font.Style() | style);
}

const TOptionRow OptionTable[] = {
    {"--text", nullptr, "TEXT", N_("the logo's text (default \"{text}\")"),
     [](TRenderOptions& o, const QString&, const QString& v) { o.Logo.Text = v; }},
    {"--font", nullptr, "NAME", N_("font family (default \"{font}\")"),
     [](TRenderOptions& o, const QString& n, const QString& v) {
         if (v.trimmed().isEmpty())
             Refuse(n, v, Tr("a font name"));
         o.Logo.Font.SetName(v);
     }},
    {"--font-height", nullptr, "N", N_("character height in pixels, 1..{max-height} (default {height})"),
     [](TRenderOptions& o, const QString& n, const QString& v) {
         o.Logo.Font.SetHeight(-ReadInteger(n, v, 1, TRenderOptions::MaxFontHeight));
     }},
    {"--bold", nullptr, nullptr, N_("add bold (the default style)"),
     [](TRenderOptions& o, const QString&, const QString&) { AddStyle(o, fsBold); }},
    {"--italic", nullptr, nullptr, N_("add italic"),
     [](TRenderOptions& o, const QString&, const QString&) { AddStyle(o, fsItalic); }},
    {"--underline", nullptr, nullptr, N_("add underline"),
     [](TRenderOptions& o, const QString&, const QString&) { AddStyle(o, fsUnderline); }},
    {"--strikeout", nullptr, nullptr, N_("add strike-out"),
     [](TRenderOptions& o, const QString&, const QString&) { AddStyle(o, fsStrikeOut); }},
    {"--regular", nullptr, nullptr, N_("clear all four styles; style flags after it add again\n"
                                    "(--regular --italic gives italic without bold)"),
     [](TRenderOptions& o, const QString&, const QString&) { o.Logo.Font.SetStyle(0); }},
    {"--font-color", nullptr, "C", N_("text colour (default {font-color})"),
     [](TRenderOptions& o, const QString& n, const QString& v) { o.Logo.Font.SetColor(ReadColor(n, v)); }},
    {"--bg", nullptr, "C", N_("background of the text layer (default {bg})"),
     [](TRenderOptions& o, const QString& n, const QString& v) { o.Logo.BgColor = ReadColor(n, v); }},
    {"--top", nullptr, "C", N_("first colour of the gradient (default {top})"),
     [](TRenderOptions& o, const QString& n, const QString& v) { o.Logo.TopColor = ReadColor(n, v); }},
    {"--last", nullptr, "C", N_("last colour of the gradient (default {last})"),
     [](TRenderOptions& o, const QString& n, const QString& v) { o.Logo.LastColor = ReadColor(n, v); }},
    {"--direction", nullptr, "N", N_("gradient direction as the direction cells (default {direction}):\n"
                                  "1 top to bottom, 2 left to right,\n"
                                  "3 bottom to top, 4 right to left"),
     [](TRenderOptions& o, const QString& n, const QString& v) { o.Logo.GraType = TLogoComposer::GraTypeOf(ReadCell(n, v, cnDigits), gtTopBottom); }},
    {"--mix", nullptr, "N", N_("how the gradient meets the text layer, 1..4 or A..D\n"
                            "as the mix cells (default {mix}); for dark text on a light\n"
                            "background: A gradient letters on black, B gradient\n"
                            "letters on white, C letters on the inverted gradient,\n"
                            "D black letters on the gradient"),
     [](TRenderOptions& o, const QString& n, const QString& v) { o.Logo.MixType = TLogoComposer::MixTypeOf(ReadCell(n, v, cnDigitsOrLetters), mtSrcErase); }},
    {"--hspace", nullptr, "N", N_("left and right margins in pixels, 0..{max-space} (default {hspace})"),
     [](TRenderOptions& o, const QString& n, const QString& v) { o.Logo.HSpace = ReadInteger(n, v, 0, TRenderOptions::MaxSpace); }},
    {"--vspace", nullptr, "N", N_("top and bottom margins in pixels, 0..{max-space} (default {vspace})"),
     [](TRenderOptions& o, const QString& n, const QString& v) { o.Logo.VSpace = ReadInteger(n, v, 0, TRenderOptions::MaxSpace); }},
    {"--smooth", nullptr, "[N]", N_("smooth the letters' edges: draw at N times the size,\n"
                                 "{min-smooth}..{max-smooth} (default {smooth}), and average each N x N block"),
     [](TRenderOptions& o, const QString& n, const QString& v) {
         o.Logo.Smooth = v.isEmpty() ? TLogoSmoother::DefaultFactor
                                     : ReadInteger(n, v, TLogoSmoother::MinFactor, TLogoSmoother::MaxFactor);
     }},
    {"--letter-spacing", nullptr, "N", N_("pixels added after each character, {min-spacing}..{max-spacing}\n"
                                       "(default 0)"),
     [](TRenderOptions& o, const QString& n, const QString& v) {
         o.Logo.Effects.Spacing = ReadInteger(n, v, TTextEffects::MinSpacing, TTextEffects::MaxSpacing);
     }},
    {"--outline", nullptr, "W", N_("outline the letters W pixels wide (a square around each\n"
                                "letter pixel), 0..{max-outline} (default 0, none); the logo\n"
                                "grows by W on each side"),
     [](TRenderOptions& o, const QString& n, const QString& v) {
         o.Logo.Effects.OutlineWidth = ReadInteger(n, v, 0, TTextEffects::MaxOutlineWidth);
     }},
    {"--outline-color", nullptr, "C", N_("colour of the outline (default {outline-color})"),
     [](TRenderOptions& o, const QString& n, const QString& v) { o.Logo.Effects.OutlineColor = ReadColor(n, v); }},
    {"--shadow", nullptr, "DX,DY", N_("drop shadow of the letters and their outline, moved\n"
                                   "DX right and DY down, each {min-shadow}..{max-shadow} (default 0,0,\n"
                                   "none); the logo grows by |DX| and |DY| on that side"),
     [](TRenderOptions& o, const QString& n, const QString& v) {
         const QStringList parts = v.split(u',');
         const QString expected = Tr("two integers DX,DY in %1..%2")
                                      .arg(-TTextEffects::MaxShadowOffset).arg(TTextEffects::MaxShadowOffset);
         std::optional<std::int32_t> offsets[2];
         for (qsizetype i = 0; parts.size() == 2 && i < 2; ++i) {
             if (LooksLikeInteger(parts[i]))
                 offsets[i] = TryStrToInt(parts[i]);
         }
         const auto inRange = [](const std::optional<std::int32_t>& offset) {
             return offset && std::abs(*offset) <= TTextEffects::MaxShadowOffset;
         };
         if (!inRange(offsets[0]) || !inRange(offsets[1]))
             Refuse(n, v, expected);
         o.Logo.Effects.ShadowX = *offsets[0];
         o.Logo.Effects.ShadowY = *offsets[1];
     }},
    {"--shadow-color", nullptr, "C", N_("colour of the shadow (default {shadow-color})"),
     [](TRenderOptions& o, const QString& n, const QString& v) { o.Logo.Effects.ShadowColor = ReadColor(n, v); }},
    {"--layer", nullptr, "L", N_("the raster to write: composite (default), text or\n"
                              "gradient"),
     [](TRenderOptions& o, const QString& n, const QString& v) {
         if (v == QLatin1String("composite"))
             o.Layer = rlComposite;
         else if (v == QLatin1String("text"))
             o.Layer = rlText;
         else if (v == QLatin1String("gradient"))
             o.Layer = rlGradient;
         else
             Refuse(n, v, Tr("composite, text or gradient"));
     }},
    {"-o", nullptr, "FILE", N_("the image to write: a .bmp (24-bit BMP) or .png file,\n"
                            "extension in any case; an existing file is replaced\n"
                            "whole or not at all; - writes to standard output\n"
                            "(not to a terminal) in the format of --format"),
     [](TRenderOptions& o, const QString& n, const QString& v) {
         o.Format = FormatOfPath(v);
         if (o.Format == ifNone)
             Refuse(n, v, Tr("a file name ending in .bmp or .png, or -"));
         o.OutputPath = v;
     }},
    {"--format", nullptr, "F", N_("the format for -o -: bmp (default) or png"),
     [](TRenderOptions& o, const QString& n, const QString& v) {
         if (v == QLatin1String("bmp"))
             o.FormatOption = ifBmp;
         else if (v == QLatin1String("png"))
             o.FormatOption = ifPng;
         else
             Refuse(n, v, Tr("bmp or png"));
     }},
    {"--transparent", nullptr, nullptr, N_("PNG only: make the pixels where the text layer shows\n"
                                        "its background colour transparent, except the\n"
                                        "outline and the shadow"),
     [](TRenderOptions& o, const QString&, const QString&) { o.Transparent = true; }},
    {"--ini", nullptr, "FILE", N_("start from the logo of a settings file as the program\n"
                               "writes it: its last parameters (section OPTION); the\n"
                               "other options override its values; the file is only read"),
     [](TRenderOptions& o, const QString&, const QString& v) { o.IniPath = v; }},
    {"--style", nullptr, "NAME", N_("with --ini: that file's style NAME over its last\n"
                                 "parameters, as the program shows it once the style is\n"
                                 "chosen (a to z match A to Z)"),
     [](TRenderOptions& o, const QString&, const QString& v) { o.StyleName = v; }},
    {"--batch", nullptr, "FILE", N_("render one logo a line of FILE (UTF-8), each line the\n"
                                 "options of one run with its own -o, split into words as\n"
                                 "a shell splits them; blank lines and lines starting\n"
                                 "with # are skipped; a bad line is reported with its\n"
                                 "number and the others still render; only --jobs and\n"
                                 "--report go with --batch; - reads standard input as\n"
                                 "it comes, each logo written about a second after its\n"
                                 "line at the latest"),
     [](TRenderOptions& o, const QString& n, const QString& v) {
         if (v.isEmpty())
             Refuse(n, v, Tr("a file name"));
         o.BatchPath = v;
     }},
    {"--jobs", "-j", "N", N_("with --batch: render N lines at a time, 1..{max-jobs} (default:\n"
                          "the number of processors); what is written and printed\n"
                          "is the same as one at a time, in line order"),
     [](TRenderOptions& o, const QString& n, const QString& v) { o.Jobs = ReadInteger(n, v, 1, TRenderOptions::MaxJobs); }},
    {"--report", nullptr, "FILE", N_("write one JSON object a line to FILE for each logo, in\n"
                                  "line order once its file is in place: \"line\", \"path\",\n"
                                  "\"width\", \"height\" and \"ok\": true, or \"ok\": false and\n"
                                  "the \"error\" printed; - writes to standard output (not\n"
                                  "with -o -)"),
     [](TRenderOptions& o, const QString& n, const QString& v) {
         if (v.isEmpty())
             Refuse(n, v, Tr("a file name"));
         o.ReportPath = v;
     }},
    {"--print-size", nullptr, nullptr, N_("print the logo's size as \"W x H\" on standard output,\n"
                                       "even for a logo too large to draw"),
     [](TRenderOptions& o, const QString&, const QString&) { o.PrintSize = true; }},
    {"--help", "-h", nullptr, N_("show this help"),
     [](TRenderOptions& o, const QString&, const QString&) { o.Help = true; }},
    {"--version", nullptr, nullptr, N_("show the program's version"),
     [](TRenderOptions& o, const QString&, const QString&) { o.Version = true; }},
};

// A row's help with the defaults and limits it names in braces filled in from where the
// program keeps them.
QString WithFacts(const char* help)
{
    const TLogoParams logo = TRenderOptions::DefaultLogo();
    const std::pair<const char*, QString> facts[] = {
        {"{text}", logo.Text},
        {"{font}", logo.Font.Name()},
        {"{height}", QString::number(-logo.Font.Height())},
        {"{max-height}", QString::number(TRenderOptions::MaxFontHeight)},
        {"{font-color}", HexText(logo.Font.Color())},
        {"{bg}", HexText(logo.BgColor)},
        {"{top}", HexText(logo.TopColor)},
        {"{last}", HexText(logo.LastColor)},
        {"{direction}", QString::number(logo.GraType)},
        {"{mix}", QString::number(logo.MixType)},
        {"{hspace}", QString::number(logo.HSpace)},
        {"{vspace}", QString::number(logo.VSpace)},
        {"{max-space}", QString::number(TRenderOptions::MaxSpace)},
        {"{smooth}", QString::number(TLogoSmoother::DefaultFactor)},
        {"{min-smooth}", QString::number(TLogoSmoother::MinFactor)},
        {"{max-smooth}", QString::number(TLogoSmoother::MaxFactor)},
        {"{min-spacing}", QString::number(TTextEffects::MinSpacing)},
        {"{max-spacing}", QString::number(TTextEffects::MaxSpacing)},
        {"{max-outline}", QString::number(TTextEffects::MaxOutlineWidth)},
        {"{outline-color}", HexText(TTextEffects::DefaultOutlineColor)},
        {"{min-shadow}", QString::number(-TTextEffects::MaxShadowOffset)},
        {"{max-shadow}", QString::number(TTextEffects::MaxShadowOffset)},
        {"{shadow-color}", HexText(TTextEffects::DefaultShadowColor)},
        {"{max-jobs}", QString::number(TRenderOptions::MaxJobs)},
    };
    QString text = QString::fromUtf8(help);
    for (const auto& [name, value] : facts)
        text.replace(QLatin1String(name), value);
    return text;
}

const TOptionRow* FindOption(const QString& name)
{
    for (const TOptionRow& row : OptionTable) {
        if (name == QLatin1String(row.Name) || (row.Alias && name == QLatin1String(row.Alias)))
            return &row;
    }
    return nullptr;
}

} // namespace

TLogoParams TRenderOptions::DefaultLogo()
{
    return TLogoParams::Defaults();
}

TRenderOptions TRenderOptions::Parse(const QStringList& arguments)
{
    TRenderOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        // A long option may carry its value after "=": --text=Hello.
        const qsizetype equals = argument.startsWith(QLatin1String("--")) ? argument.indexOf(u'=') : -1;
        const QString name = equals < 0 ? argument : argument.left(equals);
        const TOptionRow* row = FindOption(name);
        if (!row) {
            if (argument.startsWith(u'-') && argument.size() > 1)
                throw EUsageError(Tr("unknown option '%1'").arg(name));
            throw EUsageError(Tr("unexpected argument '%1'").arg(argument));
        }
        QString value;
        if (equals >= 0) {
            if (!row->Value)
                throw EUsageError(Tr("%1 takes no value").arg(name));
            value = argument.mid(equals + 1);
        } else if (row->Value && row->Value[0] == '[') {
            // A value that may be left out is taken only when the next argument looks
            // like a number, so "--smooth -o a.bmp" keeps its meaning.
            if (i + 1 < arguments.size() && LooksLikeInteger(arguments[i + 1]))
                value = arguments[++i];
        } else if (row->Value) {
            // The next argument is the value even when it starts with a dash, so that
            // --text -5- draws "-5-".
            if (i + 1 >= arguments.size())
                throw EUsageError(Tr("%1 needs a value (%1 %2)").arg(name, QLatin1String(row->Value)));
            value = arguments[++i];
        }
        row->Apply(options, name, value);
        options.FGiven.emplace_back(name, value);
    }
    if (!options.BatchPath.isEmpty()) {
        if (options.FGiven.size() != 1u + (options.Jobs ? 1u : 0u) + (options.ReportPath ? 1u : 0u))
            throw EUsageError(Tr("--batch takes no other options but --jobs and --report"));
        return options;
    }
    if (options.Jobs)
        throw EUsageError(Tr("--jobs goes with --batch only"));
    if (options.StyleName && !options.IniPath)
        throw EUsageError(Tr("--style needs --ini FILE"));
    if (options.OutputPath.isEmpty() && !options.PrintSize && !options.Help && !options.Version)
        throw EUsageError(TRenderOptions::OutputRule());
    if (options.FormatOption != ifNone) {
        if (options.ToStandardOutput())
            options.Format = options.FormatOption;
        else if (!options.OutputPath.isEmpty() && options.FormatOption != options.Format)
            throw EUsageError(Tr("--format does not match the extension of '%1'").arg(options.OutputPath));
    }
    if (options.ToStandardOutput() && options.ReportPath == QLatin1String("-"))
        throw EUsageError(Tr("--report - and -o - both write to standard output"));
    if (options.ToStandardOutput() && options.PrintSize)
        throw EUsageError(Tr("--print-size and -o - both write to standard output"));
    if (options.Transparent && options.Format != ifPng && !options.OutputPath.isEmpty())
        throw EUsageError(Tr("--transparent needs PNG output (a .png file, or -o - --format png)"));
    return options;
}

TRenderOptions TRenderOptions::OverBase(const TLogoParams& base) const
{
    TRenderOptions options = *this;
    options.Logo = base;
    for (const auto& [name, value] : FGiven)
        FindOption(name)->Apply(options, name, value);
    return options;
}

QString TRenderOptions::HelpText()
{
    constexpr int column = 22;
    QString text = Tr(
        "Usage: vezodev-render [options] -o FILE\n"
        "Draws a one-line logo with the text filled by a two-colour gradient.\n"
        "\n");
    for (const TOptionRow& row : OptionTable) {
        QString left = QStringLiteral("  ");
        if (row.Alias)
            left += QLatin1String(row.Alias) + QStringLiteral(", ");
        left += QLatin1String(row.Name);
        if (row.Value)
            left += u' ' + QLatin1String(row.Value);
        const QStringList lines = WithFacts(Translate(row.Help)).split(u'\n');
        for (qsizetype k = 0; k < lines.size(); ++k) {
            const QString lead = k == 0 ? left : QString();
            if (lead.size() >= column)
                text += lead + u'\n' + QString(column, u' ') + lines[k] + u'\n';
            else
                text += lead.leftJustified(column) + lines[k] + u'\n';
        }
    }
    text += Tr(
        "\n"
        "C is 0x followed by 1 to 8 hex digits, 0x00BBGGRR as the settings file writes\n"
        "colours (0x800000NN names system colour NN), #RRGGBB, #RGB, or one of the\n"
        "CSS colour names below, in any case.\n"
        "Options with a value also take it as --name=VALUE. An option given twice keeps\n"
        "its last value.\n"
        "%1.\n"
        "With --print-size and -o the size is printed and the file written.\n"
        "An empty logo (no text and no margins) is an error.\n"
        "\n"
        "Exit status: 0 done, 1 the logo could not be drawn or written, 2 a bad argument\n"
        "(with --batch: the worst status of its lines), 128 + N stopped by signal N\n"
        "(SIGINT, SIGTERM, SIGHUP: the lines done so far are in place, the others\n"
        "untouched, and no temporary file is left).\n"
        "\n"
        "Colour names:\n").arg(TRenderOptions::OutputRule());
    QString line;
    for (const std::string_view name : TColorNames::All()) {
        if (line.size() + 1 + qsizetype(name.size()) > 78) {
            text += line + u'\n';
            line.clear();
        }
        line += (line.isEmpty() ? QStringLiteral("  ") : QStringLiteral(" ")) + QLatin1String(name);
    }
    text += line + u'\n';
    return text;
}

QString TRenderOptions::OutputRule()
{
    return Tr("-o FILE is required unless --print-size, --help or --version is given");
}

QString TRenderOptions::VersionText()
{
    return QStringLiteral("vezodev " VEZODEV_VERSION "\n");
}
