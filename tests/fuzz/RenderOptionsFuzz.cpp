#include "tools/RenderOptions.h"

#include "platform/base/AsciiCase.h"
#include "platform/base/UnicodeText.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// TRenderOptions::Parse on any argument list either returns options that keep its
// promises or throws EUsageError with a message; any other exception ends the run
// through std::terminate and counts as a crash.

namespace {

bool InRange(int value, int first, int last) { return value >= first && value <= last; }

bool SameLogo(const TLogoParams& a, const TLogoParams& b)
{
    return a.Text == b.Text && a.Font.SameAttributes(b.Font) && a.BgColor == b.BgColor
        && a.TopColor == b.TopColor && a.LastColor == b.LastColor && a.GraType == b.GraType
        && a.MixType == b.MixType && a.HSpace == b.HSpace && a.VSpace == b.VSpace;
}

bool HasExtension(std::u16string_view path, std::u16string_view extension)
{
    return path.size() >= extension.size()
        && SameIgnoringAsciiCase(path.substr(path.size() - extension.size()), extension);
}

TImageFormat FormatOfName(std::u16string_view path)
{
    if (HasExtension(path, u".bmp"))
        return ifBmp;
    if (HasExtension(path, u".png"))
        return ifPng;
    return ifNone;
}

void CheckAccepted(const TRenderOptions& options)
{
    if (!options.BatchPath.empty())
        return; // a batch is read line by line later; nothing else is set
    if (options.OutputPath.empty() && !options.PrintSize && !options.Help && !options.Version)
        std::abort();
    // Standard output takes its format from --format; a file takes it from its name.
    if (options.ToStandardOutput() ? options.Format == ifNone
                                   : !options.OutputPath.empty() && options.Format != FormatOfName(options.OutputPath))
        std::abort();
    if (options.StyleName && !options.IniPath)
        std::abort();
    const TLogoParams& logo = options.Logo;
    if (!InRange(-logo.Font.Height(), 1, TRenderOptions::MaxFontHeight)
        || !InRange(logo.GraType, 1, 4) || !InRange(logo.MixType, 1, 4)
        || !InRange(logo.HSpace, 0, TRenderOptions::MaxSpace)
        || !InRange(logo.VSpace, 0, TRenderOptions::MaxSpace)
        || (logo.Font.Style() & ~unsigned(fsBold | fsItalic | fsUnderline | fsStrikeOut)) != 0)
        std::abort();
    // The arguments were applied over the default logo once already; applying them
    // again over it must neither fail nor give another logo.
    if (!SameLogo(options.OverBase(TRenderOptions::DefaultLogo()).Logo, logo))
        std::abort();
}

} // namespace

// The input is UTF-8 text; NUL bytes separate the arguments.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::u16string> arguments;
    if (size > 0) {
        const std::u16string text = Utf8ToText(std::string_view(reinterpret_cast<const char*>(data), size));
        for (std::size_t start = 0;;) {
            const std::size_t end = text.find(u'\0', start);
            arguments.push_back(text.substr(start, end == std::u16string::npos ? end : end - start));
            if (end == std::u16string::npos)
                break;
            start = end + 1;
        }
    }
    try {
        CheckAccepted(TRenderOptions::Parse(arguments));
    } catch (const EUsageError& error) {
        if (error.Message().empty())
            std::abort();
    }
    return 0;
}
