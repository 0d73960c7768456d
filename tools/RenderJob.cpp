#include "tools/RenderJob.h"

#include "platform/base/AtomicFile.h"
#include "platform/raster/BmpEncoder.h"
#include "platform/base/ByteSink.h"
#include "platform/base/Exception.h"
#include "platform/base/FileBatch.h"
#include "platform/raster/FontFace.h"
#include "platform/raster/PngEncoder.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"
#include "tools/SettingsLogo.h"

#include <cerrno>
#include <cstdio>

namespace {

// The raster the options ask for. Only the layers it needs are drawn, and the text
// layer for a transparent background, whose pixels it decides.
const TBitmap& RenderLayer(const TRenderOptions& options, TSize size, TLogoLayers& layers)
{
    const TLogoParams& logo = options.Logo;
    switch (options.Layer) {
    case rlText:
        TLogoComposer::RenderTextLayer(logo, layers.Text);
        return layers.Text;
    case rlGradient:
        if (options.Transparent)
            TLogoComposer::RenderTextLayer(logo, layers.Text);
        TLogoComposer::RenderGradientLayer(logo, size.Width, size.Height, layers.Gradient);
        return layers.Gradient;
    case rlComposite:
        break;
    }
    TLogoComposer::Compose(logo, layers, luCompositeOnly);
    return layers.Composite;
}

// Hands the file's bytes to sink: a BMP run of rows by run of rows as it is encoded,
// so that no buffer the size of the file is filled first; a PNG in one piece.
void Encode(const TRenderOptions& options, const TBitmap& image, TWorkspace& work, const TByteSink& sink)
{
    if (options.Format == ifBmp) {
        EncodeBmp24(image, sink);
        return;
    }
    if (options.Transparent)
        work.Bytes = EncodePng(image, TLogoComposer::TransparentBackground(options.Logo, work.Layers));
    else
        work.Bytes = EncodePng(image);
    sink(work.Bytes.data(), work.Bytes.size());
}

// Writes all that write gives to standard output.
void WriteStandardOutput(const TByteWriter& write)
{
    bool written = true;
    int error = 0;
    write([&](const char* data, std::size_t size) {
        if (written && std::fwrite(data, 1, size, stdout) != size) {
            written = false;
            error = errno;
        }
    });
    if (written && std::fflush(stdout) != 0) {
        written = false;
        error = errno;
    }
    if (!written)
        throw EWriteError(Format(TrText("standard output: %1"), {SystemErrorText(error != 0 ? error : EIO)}));
}

// A family that is not installed falls back to a default face; the user is told.
void ReportMissingFont(const TRenderOptions& options, std::u16string_view where, TLineReport& report)
{
    const auto face = TFontFace::For(options.Logo.Font);
    if (!face->FamilyFound())
        report.Err += Format(TrText("vezodev-render: %1font '%2' not found, using '%3'\n"),
                             {where, options.Logo.Font.Name(), face->Family()});
}

} // namespace

TRenderOptions TRenderJob::WithSettings(const TRenderOptions& options)
{
    if (!options.IniPath)
        return options;
    return options.OverBase(ReadSettingsLogo(*options.IniPath, options.StyleName));
}

void TRenderJob::Run(const TRenderOptions& options, TWorkspace& work, TLineReport& report, std::u16string_view where,
                     TFileBatch* batch, std::size_t order)
{
    if (!options.ToStandardOutput())
        report.Path = options.OutputPath;
    ReportMissingFont(options, where, report);
    report.Missing = TFontFace::For(options.Logo.Font)->MissingCharacters(options.Logo.Text);
    const TLogoExtent extent = TLogoComposer::LogoExtent(options.Logo);
    report.Width = extent.Width;
    report.Height = extent.Height;
    if (options.PrintSize)
        report.Out += Format(u"%1 x %2\n", {IntText(extent.Width), IntText(extent.Height)});
    if (options.OutputPath.empty())
        return;
    TLogoComposer::CheckLogoSize(extent);
    const TSize size = extent.Saturated();
    if (size.Width <= 0 || size.Height <= 0)
        throw Exception(Format(TrText("the logo is empty (%1 x %2); nothing written"),
                               {IntText(size.Width), IntText(size.Height)}));
    const TBitmap& image = RenderLayer(options, size, work.Layers);
    const auto encode = [&](const TByteSink& sink) { Encode(options, image, work, sink); };
    if (options.ToStandardOutput())
        WriteStandardOutput(encode);
    else if (batch)
        batch->Save(order, options.OutputPath, encode);
    else
        SaveFileAtomically(options.OutputPath, encode);
}
