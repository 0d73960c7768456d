#include "app/LogoComposer.h"
#include "platform/AtomicFile.h"
#include "platform/BmpEncoder.h"
#include "platform/Exception.h"
#include "platform/PngEncoder.h"
#include "tools/RenderOptions.h"
#include "tools/SettingsLogo.h"
#include "tools/ShellWords.h"

#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
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

// Qt warns while it starts up about things a renderer without a display never uses
// (a missing XDG_RUNTIME_DIR, for one); a run that succeeds keeps standard error empty.
void DropStartupWarning(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        PrintError(message);
}

// The raster the options ask for, drawn into layers. Only the layers it needs are
// drawn, except for a transparent background, whose pixels the text layer decides.
const TBitmap& RenderLayer(const TRenderOptions& options, TSize size, TLogoLayers& layers)
{
    const TLogoParams& logo = options.Logo;
    if (!options.Transparent) {
        switch (options.Layer) {
        case rlText:
            TLogoComposer::RenderTextLayer(logo, layers.Text);
            return layers.Text;
        case rlGradient:
            TLogoComposer::RenderGradientLayer(logo, size.Width, size.Height, layers.Gradient);
            return layers.Gradient;
        case rlComposite:
            break;
        }
    }
    TLogoComposer::Compose(logo, layers);
    switch (options.Layer) {
    case rlText: return layers.Text;
    case rlGradient: return layers.Gradient;
    case rlComposite: break;
    }
    return layers.Composite;
}

QByteArray Encode(const TRenderOptions& options, const TBitmap& image, const TLogoLayers& layers)
{
    if (options.Format == ifBmp)
        return EncodeBmp24(image.Image());
    if (options.Transparent)
        return EncodePng(image, TLogoComposer::TransparentBackground(options.Logo, layers.Text));
    return EncodePng(image);
}

// Writes all of bytes to standard output.
void WriteStandardOutput(const QByteArray& bytes)
{
    if (std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) != std::size_t(bytes.size())
        || std::fflush(stdout) != 0)
        throw EWriteError(QStringLiteral("standard output: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
}

// The options with a settings file's logo as their base, when they name one.
TRenderOptions WithSettings(const TRenderOptions& options)
{
    if (!options.IniPath)
        return options;
    return options.OverBase(ReadSettingsLogo(*options.IniPath, options.StyleName));
}

int Run(const TRenderOptions& options, TFileSync sync = fsNow)
{
    const TSize size = TLogoComposer::LogoSize(options.Logo);
    if (options.PrintSize) {
        Print(stdout, QStringLiteral("%1 x %2\n").arg(size.Width).arg(size.Height));
        std::fflush(stdout);
    }
    if (options.OutputPath.isEmpty())
        return ExitDone;
    TLogoComposer::CheckLogoSize(size);
    if (size.Width <= 0 || size.Height <= 0)
        throw Exception(QStringLiteral("the logo is empty (%1 x %2); nothing written").arg(size.Width).arg(size.Height));
    TLogoLayers layers;
    const QByteArray bytes = Encode(options, RenderLayer(options, size, layers), layers);
    if (options.ToStandardOutput()) {
        WriteStandardOutput(bytes);
        return ExitDone;
    }
    try {
        SaveFileAtomically(options.OutputPath, bytes, sync);
    } catch (const EWriteError& error) {
        // The write error's own text does not say which file it was.
        throw EWriteError(QStringLiteral("%1: %2").arg(options.OutputPath, error.Message()));
    }
    return ExitDone;
}

// Renders every line of a batch file; a bad line is reported with its number and the
// others still render. The status is the worst of the lines'.
int RunBatch(const QString& batchPath)
{
    QFile file(batchPath);
    if (!file.open(QIODevice::ReadOnly)) {
        PrintError(QStringLiteral("--batch: cannot read '%1'").arg(batchPath));
        return ExitBadArgument;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    int worst = ExitDone;
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QString line = lines[index].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QString where = QStringLiteral("%1:%2: ").arg(batchPath).arg(index + 1);
        try {
            const TRenderOptions options = TRenderOptions::Parse(SplitShellWords(line));
            if (!options.BatchPath.isEmpty() || options.Help || options.Version)
                throw EUsageError(QStringLiteral("--batch, --help and --version do not go in a batch line"));
            if (options.ToStandardOutput())
                throw EUsageError(QStringLiteral("-o - does not go in a batch line"));
            Run(WithSettings(options), fsDeferred);
        } catch (const EUsageError& error) {
            PrintError(where + error.Message());
            worst = std::max(worst, ExitBadArgument);
        } catch (const EShellWordsError& error) {
            PrintError(where + error.Message());
            worst = std::max(worst, ExitBadArgument);
        } catch (const Exception& error) {
            PrintError(where + error.Message());
            worst = std::max(worst, ExitFailed);
        } catch (const std::bad_alloc&) {
            PrintError(where + QStringLiteral("out of memory"));
            worst = std::max(worst, ExitFailed);
        }
    }
    // Each logo went out without its own flush; one sync makes them all durable.
    SyncFileSystems();
    return worst;
}

} // namespace

int main(int argc, char** argv)
{
    // Arguments are read as UTF-8 whatever the locale, and before the application
    // object exists, so a bad argument costs no start-up of Qt's GUI layer.
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
    // The settings file is read before Qt starts too: a missing file or style is a
    // bad argument.
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

    // Fonts need a GUI application, but never a display. Qt is given no arguments of
    // ours, so that it cannot take "-platform" or "-reverse" from a logo's text.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    const QtMessageHandler qtMessages = qInstallMessageHandler(DropStartupWarning);
    QGuiApplication application(qtArgc, argv);
    qInstallMessageHandler(qtMessages);
    int status = ExitFailed;
    try {
        status = options.BatchPath.isEmpty() ? Run(options) : RunBatch(options.BatchPath);
    } catch (const Exception& error) {
        PrintError(error.Message());
    } catch (const std::bad_alloc&) {
        PrintError(QStringLiteral("out of memory"));
    }
    // The file is in place or the error reported: nothing is left to do. Tearing down
    // the application (its font database, fonts and platform plugin) would only give
    // back memory the kernel reclaims at exit anyway, and takes a seventh of a small
    // logo's run, so the process ends here.
    std::fflush(stdout);
    std::_Exit(status);
}
