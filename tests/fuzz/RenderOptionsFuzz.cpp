#include "tools/RenderOptions.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

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

TImageFormat FormatOfName(const QString& path)
{
    if (path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive))
        return ifBmp;
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return ifPng;
    return ifNone;
}

void CheckAccepted(const TRenderOptions& options)
{
    if (!options.BatchPath.isEmpty())
        return; // a batch is read line by line later; nothing else is set
    if (options.OutputPath.isEmpty() && !options.PrintSize && !options.Help && !options.Version)
        std::abort();
    // Standard output takes its format from --format; a file takes it from its name.
    if (options.ToStandardOutput() ? options.Format == ifNone
                                   : !options.OutputPath.isEmpty() && options.Format != FormatOfName(options.OutputPath))
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
    QStringList arguments;
    if (size > 0)
        arguments = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QChar(0));
    try {
        CheckAccepted(TRenderOptions::Parse(arguments));
    } catch (const EUsageError& error) {
        if (error.Message().isEmpty())
            std::abort();
    }
    return 0;
}
