#include "app/LogoComposer.h"
#include "platform/AtomicFile.h"
#include "platform/BmpEncoder.h"
#include "platform/Exception.h"
#include "tools/RenderOptions.h"
#include "tools/SettingsLogo.h"
#include "tools/ShellWords.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <new>

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

// The raster the options ask for. Only the layers it needs are drawn.
QImage RenderLayer(const TRenderOptions& options, TSize size)
{
    const TLogoParams& logo = options.Logo;
    TBitmap text, gradient;
    switch (options.Layer) {
    case rlText:
        TLogoComposer::RenderTextLayer(logo, text);
        return text.Image();
    case rlGradient:
        TLogoComposer::RenderGradientLayer(logo, size.Width, size.Height, gradient);
        return gradient.Image();
    case rlComposite:
        break;
    }
    TLogoLayers layers;
    TLogoComposer::Compose(logo, layers);
    return layers.Composite.Image();
}

QByteArray Encode(const QImage& image, TImageFormat format)
{
    if (format == ifBmp)
        return EncodeBmp24(image);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw Exception(QStringLiteral("the PNG encoder failed"));
    return bytes;
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
    SaveFileAtomically(options.OutputPath, Encode(RenderLayer(options, size), options.Format), sync);
    return ExitDone;
}

// Renders every line of a batch file; a bad line is reported with its number and the
// others still render. The status is the worst of the lines'.
int RunBatch(const QString& batchPath)
{
    QFile file(batchPath);
    if (!file.open(QIODevice::ReadOnly)) {
        PrintError(QStringLiteral("--batch: cannot read '%1' (%2)").arg(batchPath, file.errorString()));
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
            if (!options.BatchPath.isEmpty() || options.Help)
                throw EUsageError(QStringLiteral("--batch and --help do not go in a batch line"));
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
    // With no plugin folders, QImage writes PNG with its built-in encoder; otherwise it
    // loads every image-format plugin (GIF, ICO, JPEG) first to ask whether it writes PNG.
    QCoreApplication::setLibraryPaths({});
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
