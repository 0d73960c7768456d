#include "tools/RenderOptions.h"

#include "composer/LogoSmoother.h"

#include "platform/base/AsciiCase.h"
#include "platform/raster/Color.h"
#include "platform/raster/Font.h"
#include "platform/base/IntegerSyntax.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"
#include "tools/ColorNames.h"
#include "tools/TextClasses.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

// Applies the value of one option (empty for a flag); `option` is the spelling the
// user typed, so messages name it as given.
using TApply = void (*)(TRenderOptions& options, const std::u16string& option, const std::u16string& value);

// One row per option: parsing and --help both read this table, so a new option is one
// new row and, where its value needs a new kind of check, one new reader function.
struct TOptionRow {
    const char* Name;
    const char* Alias; // another spelling, or nullptr
    const char* Value; // the placeholder shown in --help, in brackets when it may be left out, or nullptr for a flag
    const char* Help;  // may hold several lines; marked for translation, translated where shown
    TApply Apply;
};

[[noreturn]] void Refuse(std::u16string_view option, std::u16string_view value, std::u16string_view expected)
{
    throw EUsageError(Format(TrText("%1: '%2' is not %3"), {option, value, expected}));
}

bool IsDigits(std::u16string_view text, int base)
{
    if (text.empty())
        return false;
    for (const char16_t ch : text) {
        if (DigitValue(ch, base) < 0)
            return false;
    }
    return true;
}

// The value of digits that IsDigits(digits, 16) passed, at most 8 of them.
std::uint32_t HexValue(std::u16string_view digits)
{
    std::uint32_t value = 0;
    for (const char16_t ch : digits)
        value = value * 16 + static_cast<std::uint32_t>(DigitValue(ch, 16));
    return value;
}

bool LooksLikeInteger(std::u16string_view text)
{
    return IsDigits(text.starts_with(u'-') ? text.substr(1) : text, 10);
}

bool EndsWithIgnoringAsciiCase(std::u16string_view text, std::u16string_view end)
{
    return text.size() >= end.size() && SameIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

// A decimal integer with an optional minus sign and nothing else, within first..last.
int ReadInteger(const std::u16string& option, const std::u16string& value, int first, int last)
{
    const std::u16string expected = Format(TrText("an integer in %1..%2"), {IntText(first), IntText(last)});
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
TColor ReadColor(const std::u16string& option, const std::u16string& value)
{
    const std::u16string expected = TrText("a colour (0x00BBGGRR, #RRGGBB, #RGB or a colour name)");
    if (value.starts_with(u'#')) {
        std::u16string digits = value.substr(1);
        if ((digits.size() != 6 && digits.size() != 3) || !IsDigits(digits, 16))
            Refuse(option, value, expected);
        if (digits.size() == 3)
            digits = {digits[0], digits[0], digits[1], digits[1], digits[2], digits[2]};
        return PixelToRGB(HexValue(digits));
    }
    if (value.size() < 2 || value[0] != u'0' || AsciiLower(value[1]) != u'x') {
        if (const std::optional<TColor> named = TColorNames::Find(value))
            return *named;
        if (!value.empty() && std::all_of(value.cbegin(), value.cend(), IsLetterUnit))
            throw EUsageError(Format(TrText("%1: unknown colour name '%2'"), {option, value}));
        Refuse(option, value, expected);
    }
    const std::u16string_view digits = std::u16string_view(value).substr(2);
    if (digits.size() > 8 || !IsDigits(digits, 16))
        Refuse(option, value, expected);
    const TColor color = HexValue(digits);
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
int ReadCell(const std::u16string& option, const std::u16string& value, TCellNames names)
{
    const bool letters = names == cnDigitsOrLetters;
    if (letters && value.size() == 1) {
        const char16_t c = AsciiUpper(value.front());
        if (c >= u'A' && c <= u'D')
            return c - u'A' + 1;
    }
    if (value.size() == 1 && value.front() >= u'1' && value.front() <= u'4')
        return value.front() - u'0';
    Refuse(option, value, letters ? TrText("1..4 or A..D") : TrText("1..4"));
}

TImageFormat FormatOfPath(std::u16string_view path)
{
    if (path == u"-")
        return ifBmp;
    if (EndsWithIgnoringAsciiCase(path, u".bmp"))
        return ifBmp;
    if (EndsWithIgnoringAsciiCase(path, u".png"))
        return ifPng;
    return ifNone;
}

void AddStyle(TRenderOptions& options, TFontStyles style)
{
    options.Logo.Font.SetStyle(options.Logo.Font.Style() | style);
}

const TOptionRow OptionTable[] = {
    {"--text", nullptr, "TEXT", N_("the logo's text (default \"{text}\")"),
     [](TRenderOptions& o, const std::u16string&, const std::u16string& v) { o.Logo.Text = v; }},
    {"--font", nullptr, "NAME", N_("font family (default \"{font}\")"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) {
         if (Trimmed(v).empty())
             Refuse(n, v, TrText("a font name"));
         o.Logo.Font.SetName(v);
     }},
    {"--font-height", nullptr, "N", N_("character height in pixels, 1..{max-height} (default {height})"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) {
         o.Logo.Font.SetHeight(-ReadInteger(n, v, 1, TRenderOptions::MaxFontHeight));
     }},
    {"--bold", nullptr, nullptr, N_("add bold (the default style)"),
     [](TRenderOptions& o, const std::u16string&, const std::u16string&) { AddStyle(o, fsBold); }},
    {"--italic", nullptr, nullptr, N_("add italic"),
     [](TRenderOptions& o, const std::u16string&, const std::u16string&) { AddStyle(o, fsItalic); }},
    {"--underline", nullptr, nullptr, N_("add underline"),
     [](TRenderOptions& o, const std::u16string&, const std::u16string&) { AddStyle(o, fsUnderline); }},
    {"--strikeout", nullptr, nullptr, N_("add strike-out"),
     [](TRenderOptions& o, const std::u16string&, const std::u16string&) { AddStyle(o, fsStrikeOut); }},
    {"--regular", nullptr, nullptr, N_("clear all four styles; style flags after it add again\n"
                                    "(--regular --italic gives italic without bold)"),
     [](TRenderOptions& o, const std::u16string&, const std::u16string&) { o.Logo.Font.SetStyle(0); }},
    {"--font-color", nullptr, "C", N_("text colour (default {font-color})"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) { o.Logo.Font.SetColor(ReadColor(n, v)); }},
    {"--bg", nullptr, "C", N_("background of the text layer (default {bg})"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) { o.Logo.BgColor = ReadColor(n, v); }},
    {"--top", nullptr, "C", N_("first colour of the gradient (default {top})"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) { o.Logo.TopColor = ReadColor(n, v); }},
    {"--last", nullptr, "C", N_("last colour of the gradient (default {last})"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) { o.Logo.LastColor = ReadColor(n, v); }},
    {"--direction", nullptr, "N", N_("gradient direction as the direction cells (default {direction}):\n"
                                  "1 top to bottom, 2 left to right,\n"
                                  "3 bottom to top, 4 right to left"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) { o.Logo.GraType = TLogoComposer::GraTypeOf(ReadCell(n, v, cnDigits), gtTopBottom); }},
    {"--mix", nullptr, "N", N_("how the gradient meets the text layer, 1..4 or A..D\n"
                            "as the mix cells (default {mix}); for dark text on a light\n"
                            "background: A gradient letters on black, B gradient\n"
                            "letters on white, C letters on the inverted gradient,\n"
                            "D black letters on the gradient"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) { o.Logo.MixType = TLogoComposer::MixTypeOf(ReadCell(n, v, cnDigitsOrLetters), mtSrcErase); }},
    {"--hspace", nullptr, "N", N_("left and right margins in pixels, 0..{max-space} (default {hspace})"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) { o.Logo.HSpace = ReadInteger(n, v, 0, TRenderOptions::MaxSpace); }},
    {"--vspace", nullptr, "N", N_("top and bottom margins in pixels, 0..{max-space} (default {vspace})"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) { o.Logo.VSpace = ReadInteger(n, v, 0, TRenderOptions::MaxSpace); }},
    {"--smooth", nullptr, "[N]", N_("smooth the letters' edges: draw at N times the size,\n"
                                 "{min-smooth}..{max-smooth} (default {smooth}), and average each N x N block"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) {
         o.Logo.Smooth = v.empty() ? TLogoSmoother::DefaultFactor
                                     : ReadInteger(n, v, TLogoSmoother::MinFactor, TLogoSmoother::MaxFactor);
     }},
    {"--letter-spacing", nullptr, "N", N_("pixels added after each character, {min-spacing}..{max-spacing}\n"
                                       "(default 0)"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) {
         o.Logo.Effects.Spacing = ReadInteger(n, v, TTextEffects::MinSpacing, TTextEffects::MaxSpacing);
     }},
    {"--outline", nullptr, "W", N_("outline the letters W pixels wide (a square around each\n"
                                "letter pixel), 0..{max-outline} (default 0, none); the logo\n"
                                "grows by W on each side"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) {
         o.Logo.Effects.OutlineWidth = ReadInteger(n, v, 0, TTextEffects::MaxOutlineWidth);
     }},
    {"--outline-color", nullptr, "C", N_("colour of the outline (default {outline-color})"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) { o.Logo.Effects.OutlineColor = ReadColor(n, v); }},
    {"--shadow", nullptr, "DX,DY", N_("drop shadow of the letters and their outline, moved\n"
                                   "DX right and DY down, each {min-shadow}..{max-shadow} (default 0,0,\n"
                                   "none); the logo grows by |DX| and |DY| on that side"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) {
         const std::size_t comma = v.find(u',');
         const bool two = comma != std::u16string::npos && v.find(u',', comma + 1) == std::u16string::npos;
         const std::u16string_view parts[2] = {std::u16string_view(v).substr(0, comma),
                                               two ? std::u16string_view(v).substr(comma + 1) : std::u16string_view()};
         const std::u16string expected = Format(TrText("two integers DX,DY in %1..%2"),
                                                {IntText(-TTextEffects::MaxShadowOffset), IntText(TTextEffects::MaxShadowOffset)});
         std::optional<std::int32_t> offsets[2];
         for (std::size_t i = 0; two && i < 2; ++i) {
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
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) { o.Logo.Effects.ShadowColor = ReadColor(n, v); }},
    {"--layer", nullptr, "L", N_("the raster to write: composite (default), text or\n"
                              "gradient"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) {
         if (v == u"composite")
             o.Layer = rlComposite;
         else if (v == u"text")
             o.Layer = rlText;
         else if (v == u"gradient")
             o.Layer = rlGradient;
         else
             Refuse(n, v, TrText("composite, text or gradient"));
     }},
    {"-o", nullptr, "FILE", N_("the image to write: a .bmp (24-bit BMP) or .png file,\n"
                            "extension in any case; an existing file is replaced\n"
                            "whole or not at all; - writes to standard output\n"
                            "(not to a terminal) in the format of --format"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) {
         o.Format = FormatOfPath(v);
         if (o.Format == ifNone)
             Refuse(n, v, TrText("a file name ending in .bmp or .png, or -"));
         o.OutputPath = v;
     }},
    {"--format", nullptr, "F", N_("the format for -o -: bmp (default) or png"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) {
         if (v == u"bmp")
             o.FormatOption = ifBmp;
         else if (v == u"png")
             o.FormatOption = ifPng;
         else
             Refuse(n, v, TrText("bmp or png"));
     }},
    {"--transparent", nullptr, nullptr, N_("PNG only: make the pixels where the text layer shows\n"
                                        "its background colour transparent, except the\n"
                                        "outline and the shadow"),
     [](TRenderOptions& o, const std::u16string&, const std::u16string&) { o.Transparent = true; }},
    {"--ini", nullptr, "FILE", N_("start from the logo of a settings file as the program\n"
                               "writes it: its last parameters (section OPTION); the\n"
                               "other options override its values; the file is only read"),
     [](TRenderOptions& o, const std::u16string&, const std::u16string& v) { o.IniPath = v; }},
    {"--style", nullptr, "NAME", N_("with --ini: that file's style NAME over its last\n"
                                 "parameters, as the program shows it once the style is\n"
                                 "chosen (a to z match A to Z)"),
     [](TRenderOptions& o, const std::u16string&, const std::u16string& v) { o.StyleName = v; }},
    {"--batch", nullptr, "FILE", N_("render one logo a line of FILE (UTF-8), each line the\n"
                                 "options of one run with its own -o, split into words as\n"
                                 "a shell splits them; blank lines and lines starting\n"
                                 "with # are skipped; a bad line is reported with its\n"
                                 "number and the others still render; only --jobs and\n"
                                 "--report go with --batch; - reads standard input as\n"
                                 "it comes, each logo written about a second after its\n"
                                 "line at the latest"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) {
         if (v.empty())
             Refuse(n, v, TrText("a file name"));
         o.BatchPath = v;
     }},
    {"--jobs", "-j", "N", N_("with --batch: render N lines at a time, 1..{max-jobs} (default:\n"
                          "the number of processors); what is written and printed\n"
                          "is the same as one at a time, in line order"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) { o.Jobs = ReadInteger(n, v, 1, TRenderOptions::MaxJobs); }},
    {"--report", nullptr, "FILE", N_("write one JSON object a line to FILE for each logo, in\n"
                                  "line order once its file is in place: \"line\", \"path\",\n"
                                  "\"width\", \"height\" and \"ok\": true, or \"ok\": false and\n"
                                  "the \"error\" printed; - writes to standard output (not\n"
                                  "with -o -)"),
     [](TRenderOptions& o, const std::u16string& n, const std::u16string& v) {
         if (v.empty())
             Refuse(n, v, TrText("a file name"));
         o.ReportPath = v;
     }},
    {"--print-size", nullptr, nullptr, N_("print the logo's size as \"W x H\" on standard output,\n"
                                       "even for a logo too large to draw"),
     [](TRenderOptions& o, const std::u16string&, const std::u16string&) { o.PrintSize = true; }},
    {"--help", "-h", nullptr, N_("show this help"),
     [](TRenderOptions& o, const std::u16string&, const std::u16string&) { o.Help = true; }},
    {"--version", nullptr, nullptr, N_("show the program's version"),
     [](TRenderOptions& o, const std::u16string&, const std::u16string&) { o.Version = true; }},
};

// A row's help with the defaults and limits it names in braces filled in from where the
// program keeps them.
std::u16string WithFacts(const char* help)
{
    const TLogoParams logo = TRenderOptions::DefaultLogo();
    const std::pair<std::u16string_view, std::u16string> facts[] = {
        {u"{text}", logo.Text},
        {u"{font}", logo.Font.Name()},
        {u"{height}", IntText(-logo.Font.Height())},
        {u"{max-height}", IntText(TRenderOptions::MaxFontHeight)},
        {u"{font-color}", HexText(logo.Font.Color())},
        {u"{bg}", HexText(logo.BgColor)},
        {u"{top}", HexText(logo.TopColor)},
        {u"{last}", HexText(logo.LastColor)},
        {u"{direction}", IntText(logo.GraType)},
        {u"{mix}", IntText(logo.MixType)},
        {u"{hspace}", IntText(logo.HSpace)},
        {u"{vspace}", IntText(logo.VSpace)},
        {u"{max-space}", IntText(TRenderOptions::MaxSpace)},
        {u"{smooth}", IntText(TLogoSmoother::DefaultFactor)},
        {u"{min-smooth}", IntText(TLogoSmoother::MinFactor)},
        {u"{max-smooth}", IntText(TLogoSmoother::MaxFactor)},
        {u"{min-spacing}", IntText(TTextEffects::MinSpacing)},
        {u"{max-spacing}", IntText(TTextEffects::MaxSpacing)},
        {u"{max-outline}", IntText(TTextEffects::MaxOutlineWidth)},
        {u"{outline-color}", HexText(TTextEffects::DefaultOutlineColor)},
        {u"{min-shadow}", IntText(-TTextEffects::MaxShadowOffset)},
        {u"{max-shadow}", IntText(TTextEffects::MaxShadowOffset)},
        {u"{shadow-color}", HexText(TTextEffects::DefaultShadowColor)},
        {u"{max-jobs}", IntText(TRenderOptions::MaxJobs)},
    };
    std::u16string text = Utf8ToText(help);
    for (const auto& [name, value] : facts) {
        for (std::size_t at = text.find(name); at != std::u16string::npos; at = text.find(name, at + value.size()))
            text.replace(at, name.size(), value);
    }
    return text;
}

const TOptionRow* FindOption(std::u16string_view name)
{
    for (const TOptionRow& row : OptionTable) {
        if (name == Latin1ToText(row.Name) || (row.Alias && name == Latin1ToText(row.Alias)))
            return &row;
    }
    return nullptr;
}

// The lines of text, split at each newline (a text ending in one gives an empty last line).
std::vector<std::u16string_view> Lines(std::u16string_view text)
{
    std::vector<std::u16string_view> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(u'\n', start);
        lines.push_back(text.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start));
        if (end == std::u16string_view::npos)
            return lines;
        start = end + 1;
    }
}

} // namespace

TLogoParams TRenderOptions::DefaultLogo()
{
    return TLogoParams::Defaults();
}

TRenderOptions TRenderOptions::Parse(const std::vector<std::u16string>& arguments)
{
    TRenderOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        // A long option may carry its value after "=": --text=Hello.
        const std::size_t equals = argument.starts_with(u"--") ? argument.find(u'=') : std::u16string::npos;
        const std::u16string name = argument.substr(0, equals);
        const TOptionRow* row = FindOption(name);
        if (!row) {
            if (argument.starts_with(u'-') && argument.size() > 1)
                throw EUsageError(::Format(TrText("unknown option '%1'"), {name}));
            throw EUsageError(::Format(TrText("unexpected argument '%1'"), {argument}));
        }
        std::u16string value;
        if (equals != std::u16string::npos) {
            if (!row->Value)
                throw EUsageError(::Format(TrText("%1 takes no value"), {name}));
            value = argument.substr(equals + 1);
        } else if (row->Value && row->Value[0] == '[') {
            // A value that may be left out is taken only when the next argument looks
            // like a number, so "--smooth -o a.bmp" keeps its meaning.
            if (i + 1 < arguments.size() && LooksLikeInteger(arguments[i + 1]))
                value = arguments[++i];
        } else if (row->Value) {
            // The next argument is the value even when it starts with a dash, so that
            // --text -5- draws "-5-".
            if (i + 1 >= arguments.size())
                throw EUsageError(::Format(TrText("%1 needs a value (%1 %2)"), {name, Latin1ToText(row->Value)}));
            value = arguments[++i];
        }
        row->Apply(options, name, value);
        options.FGiven.emplace_back(name, value);
    }
    if (!options.BatchPath.empty()) {
        if (options.FGiven.size() != 1u + (options.Jobs ? 1u : 0u) + (options.ReportPath ? 1u : 0u))
            throw EUsageError(TrText("--batch takes no other options but --jobs and --report"));
        return options;
    }
    if (options.Jobs)
        throw EUsageError(TrText("--jobs goes with --batch only"));
    if (options.StyleName && !options.IniPath)
        throw EUsageError(TrText("--style needs --ini FILE"));
    if (options.OutputPath.empty() && !options.PrintSize && !options.Help && !options.Version)
        throw EUsageError(TRenderOptions::OutputRule());
    if (options.FormatOption != ifNone) {
        if (options.ToStandardOutput())
            options.Format = options.FormatOption;
        else if (!options.OutputPath.empty() && options.FormatOption != options.Format)
            throw EUsageError(::Format(TrText("--format does not match the extension of '%1'"), {options.OutputPath}));
    }
    if (options.ToStandardOutput() && options.ReportPath == u"-")
        throw EUsageError(TrText("--report - and -o - both write to standard output"));
    if (options.ToStandardOutput() && options.PrintSize)
        throw EUsageError(TrText("--print-size and -o - both write to standard output"));
    if (options.Transparent && options.Format != ifPng && !options.OutputPath.empty())
        throw EUsageError(TrText("--transparent needs PNG output (a .png file, or -o - --format png)"));
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

std::u16string TRenderOptions::HelpText()
{
    constexpr std::size_t column = 22;
    std::u16string text = TrText(
        "Usage: vezodev-render [options] -o FILE\n"
        "Draws a one-line logo with the text filled by a two-colour gradient.\n"
        "\n");
    for (const TOptionRow& row : OptionTable) {
        std::u16string left = u"  ";
        if (row.Alias)
            left += Latin1ToText(row.Alias) + u", ";
        left += Latin1ToText(row.Name);
        if (row.Value)
            left += u' ' + Latin1ToText(row.Value);
        const std::u16string help = WithFacts(Translate(row.Help));
        const std::vector<std::u16string_view> lines = Lines(help);
        for (std::size_t k = 0; k < lines.size(); ++k) {
            std::u16string lead = k == 0 ? left : std::u16string();
            if (lead.size() >= column)
                lead += u'\n' + std::u16string(column, u' ');
            else
                lead.resize(column, u' ');
            text += lead;
            text += lines[k];
            text += u'\n';
        }
    }
    text += ::Format(TrText(
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
        "Colour names:\n"), {TRenderOptions::OutputRule()});
    std::u16string line;
    for (const std::string_view name : TColorNames::All()) {
        if (line.size() + 1 + name.size() > 78) {
            text += line + u'\n';
            line.clear();
        }
        line += line.empty() ? u"  " : u" ";
        line += Latin1ToText(name);
    }
    text += line + u'\n';
    return text;
}

std::u16string TRenderOptions::OutputRule()
{
    return TrText("-o FILE is required unless --print-size, --help or --version is given");
}

std::u16string TRenderOptions::VersionText()
{
    return u"vezodev " VEZODEV_VERSION "\n";
}
