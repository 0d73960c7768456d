#include "composer/LogoComposer.h"
#include "platform/raster/AtomicFile.h"
#include "platform/raster/BmpEncoder.h"
#include "platform/raster/ByteSink.h"
#include "platform/raster/Exception.h"
#include "platform/raster/FontFace.h"
#include "platform/raster/PngEncoder.h"
#include "tools/BatchRunner.h"
#include "tools/RenderOptions.h"
#include "tools/SettingsLogo.h"
#include "tools/ShellWords.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <memory>
#include <set>
#include <thread>
#include <vector>
#include <unistd.h>

namespace {

constexpr int ExitDone = 0;
constexpr int ExitFailed = 1;
constexpr int ExitBadArgument = 2;

void Print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

void PrintError(const QString& message)
{
    Print(stderr, QStringLiteral("vezodev-render: %1\n").arg(message));
}

// Each character that no installed font has is named once, however many logos hold it.
void PrintMissingCharacters(const std::vector<char32_t>& missing, std::set<char32_t>& named)
{
    for (const char32_t code : missing) {
        if (named.insert(code).second)
            PrintError(QStringLiteral("no installed font has U+%1")
                           .arg(QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, QLatin1Char('0'))));
    }
}

// The rasters and the PNG buffer of one thread, kept from one logo to the next so that
// a batch does not take fresh memory (and its page faults) for every logo.
struct TWorkspace {
    TLogoLayers Layers;
    QByteArray Bytes;
};

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
    sink(work.Bytes.constData(), std::size_t(work.Bytes.size()));
}

// Writes all that write gives to standard output.
void WriteStandardOutput(const TByteWriter& write)
{
    bool written = true;
    write([&written](const char* data, std::size_t size) {
        written = written && std::fwrite(data, 1, size, stdout) == size;
    });
    if (!written || std::fflush(stdout) != 0)
        throw EWriteError(QStringLiteral("standard output: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
}

// The options with a settings file's logo as their base, when they name one.
TRenderOptions WithSettings(const TRenderOptions& options)
{
    if (!options.IniPath)
        return options;
    return options.OverBase(ReadSettingsLogo(*options.IniPath, options.StyleName));
}

// A family that is not installed falls back to a default face; the user is told.
void ReportMissingFont(const TRenderOptions& options, const QString& where, TLineReport& report)
{
    const auto face = TFontFace::For(options.Logo.Font);
    if (!face->FamilyFound())
        report.Err += QStringLiteral("vezodev-render: %1font '%2' not found, using '%3'\n")
                          .arg(where, options.Logo.Font.Name(), face->Family());
}

// Writes the logo (a batch's logos go to its file batch) or only prints its size.
void Run(const TRenderOptions& options, TWorkspace& work, TLineReport& report, const QString& where = {},
         TFileBatch* batch = nullptr)
{
    ReportMissingFont(options, where, report);
    report.Missing = TFontFace::For(options.Logo.Font)->MissingCharacters(options.Logo.Text);
    const TLogoExtent extent = TLogoComposer::LogoExtent(options.Logo);
    if (options.PrintSize)
        report.Out += QStringLiteral("%1 x %2\n").arg(extent.Width).arg(extent.Height);
    if (options.OutputPath.isEmpty())
        return;
    TLogoComposer::CheckLogoSize(extent);
    const TSize size = extent.Saturated();
    if (size.Width <= 0 || size.Height <= 0)
        throw Exception(QStringLiteral("the logo is empty (%1 x %2); nothing written").arg(size.Width).arg(size.Height));
    const TBitmap& image = RenderLayer(options, size, work.Layers);
    const auto encode = [&](const TByteSink& sink) { Encode(options, image, work, sink); };
    if (options.ToStandardOutput())
        WriteStandardOutput(encode);
    else if (batch)
        batch->Save(options.OutputPath, encode);
    else
        SaveFileAtomically(options.OutputPath, encode);
}

// One line of a batch file: its options parsed and its logo written.
TLineReport RunLine(const QString& line, const QString& where, TWorkspace& work, TFileBatch& files)
{
    TLineReport report;
    const auto fail = [&](const QString& message, int status) {
        report.Err += QStringLiteral("vezodev-render: %1\n").arg(where + message);
        report.Status = status;
    };
    try {
        const TRenderOptions options = TRenderOptions::Parse(SplitShellWords(line));
        if (!options.BatchPath.isEmpty() || options.Help || options.Version || options.Jobs)
            throw EUsageError(QStringLiteral("--batch, --jobs, --help and --version do not go in a batch line"));
        if (options.ToStandardOutput())
            throw EUsageError(QStringLiteral("-o - does not go in a batch line"));
        Run(WithSettings(options), work, report, where, &files);
    } catch (const EUsageError& error) {
        fail(error.Message(), ExitBadArgument);
    } catch (const EShellWordsError& error) {
        fail(error.Message(), ExitBadArgument);
    } catch (const Exception& error) {
        fail(error.Message(), ExitFailed);
    } catch (const std::bad_alloc&) {
        fail(QStringLiteral("out of memory"), ExitFailed);
    } catch (const std::exception& error) {
        fail(QString::fromLocal8Bit(error.what()), ExitFailed);
    }
    return report;
}

struct TBatchLine {
    QString Text;
    QString Where;
};

// Two lines writing the same file must write it in their order.
bool OutputsRepeat(const std::vector<TBatchLine>& lines)
{
    std::set<QString> outputs;
    for (const TBatchLine& line : lines) {
        try {
            const TRenderOptions options = TRenderOptions::Parse(SplitShellWords(line.Text));
            if (!options.OutputPath.isEmpty() && !outputs.insert(options.OutputPath).second)
                return true;
        } catch (const Exception&) {
            // The line is reported when it runs.
        }
    }
    return false;
}

// How many lines' logos a batch writes between two syncs: few enough that an
// interrupted batch leaves little unfinished, many enough that syncs stay rare.
constexpr std::size_t CommitGroupLines = 256;

// Renders every line of a batch file; a bad line is reported with its number and the
// others still render. The status is the worst of the lines'. Lines are rendered by
// `jobs` threads; what each line prints comes out in line order, as one thread would
// print it.
int RunBatch(const QString& batchPath, int jobs)
{
    QFile file(batchPath);
    if (!file.open(QIODevice::ReadOnly)) {
        PrintError(QStringLiteral("--batch: cannot read '%1' (%2)").arg(batchPath, file.errorString()));
        return ExitBadArgument;
    }
    const QStringList texts = QString::fromUtf8(file.readAll()).split(u'\n');
    std::vector<TBatchLine> lines;
    for (qsizetype index = 0; index < texts.size(); ++index) {
        const QString line = texts[index].trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            lines.push_back(TBatchLine{line, QStringLiteral("%1:%2: ").arg(batchPath).arg(index + 1)});
    }
    if (jobs <= 0)
        jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    jobs = std::min<int>(jobs, static_cast<int>(lines.size()));
    if (jobs > 1 && OutputsRepeat(lines))
        jobs = 1;

    // The logos reach their names a group at a time, after one sync for the group.
    TFileBatch files;
    int commitFailed = 0;
    const auto commit = [&files, &commitFailed] {
        for (const QString& failure : files.Commit()) {
            PrintError(failure);
            commitFailed = ExitFailed;
        }
    };
    const auto makeRenderer = [&lines, &files] {
        return [&lines, &files, workspace = std::make_shared<TWorkspace>()](std::size_t index) {
            return RunLine(lines[index].Text, lines[index].Where, *workspace, files);
        };
    };
    std::set<char32_t> named;
    std::size_t printed = 0;
    const int worst = TBatchRunner::Run(lines.size(), jobs, makeRenderer, [&](const TLineReport& report) {
        Print(stdout, report.Out);
        std::fflush(stdout);
        Print(stderr, report.Err);
        PrintMissingCharacters(report.Missing, named);
        if (++printed % CommitGroupLines == 0)
            commit();
    }, ExitFailed);
    commit();
    return std::max(worst, commitFailed);
}

} // namespace

int main(int argc, char** argv)
{
    // Arguments are read as UTF-8 whatever the locale.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(QString::fromUtf8(argv[i]));
    TRenderOptions options;
    try {
        options = TRenderOptions::Parse(arguments);
    } catch (const EUsageError& error) {
        PrintError(error.Message() + QStringLiteral(" (see --help)"));
        return ExitBadArgument;
    }
    if (options.Help) {
        Print(stdout, TRenderOptions::HelpText());
        return ExitDone;
    }
    if (options.Version) {
        Print(stdout, TRenderOptions::VersionText());
        return ExitDone;
    }
    // An image is no text for a terminal to show.
    if (options.ToStandardOutput() && isatty(STDOUT_FILENO)) {
        PrintError(QStringLiteral("-o -: standard output is a terminal; redirect it to a file or a pipe"));
        return ExitBadArgument;
    }
    // A missing settings file or style is a bad argument.
    if (options.BatchPath.isEmpty()) {
        try {
            options = WithSettings(options);
        } catch (const EUsageError& error) {
            PrintError(error.Message());
            return ExitBadArgument;
        } catch (const Exception& error) {
            PrintError(error.Message());
            return ExitFailed;
        }
    }

    int status = ExitFailed;
    try {
        if (options.BatchPath.isEmpty()) {
            TWorkspace work;
            TLineReport report;
            std::set<char32_t> named;
            try {
                Run(options, work, report);
                status = ExitDone;
            } catch (...) {
                Print(stdout, report.Out);
                Print(stderr, report.Err);
                PrintMissingCharacters(report.Missing, named);
                throw;
            }
            Print(stdout, report.Out);
            Print(stderr, report.Err);
            PrintMissingCharacters(report.Missing, named);
        } else {
            status = RunBatch(options.BatchPath, options.Jobs);
        }
    } catch (const Exception& error) {
        PrintError(error.Message());
    } catch (const std::bad_alloc&) {
        PrintError(QStringLiteral("out of memory"));
    }
    // The file is in place or the error reported: nothing is left to do. Tearing down
    // the font caches would only give back memory the kernel reclaims at exit anyway,
    // so the process ends here.
    std::fflush(stdout);
    std::_Exit(status);
}
