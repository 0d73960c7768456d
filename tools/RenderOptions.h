#pragma once

#include "composer/LogoComposer.h"
#include "platform/base/Exception.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

// Which raster of the logo the renderer writes.
enum TRenderLayer { rlComposite, rlText, rlGradient };

// The file format of the output, chosen by the file name's extension, or by --format
// for standard output.
enum TImageFormat { ifNone, ifBmp, ifPng };

// An argument the renderer cannot use. The message is one line and names the argument.
class EUsageError : public Exception { using Exception::Exception; };

// What one run of vezodev-render is asked to do.
struct TRenderOptions {
    static constexpr int MaxFontHeight = TLogoParams::MaxFontHeight;
    static constexpr int MaxSpace = TLogoParams::MaxSpace;
    static constexpr int MaxJobs = 256;

    TLogoParams Logo = DefaultLogo();
    TRenderLayer Layer = rlComposite;
    QString OutputPath;               // "-" is standard output
    TImageFormat Format = ifNone;
    TImageFormat FormatOption = ifNone; // as --format gave it
    bool Transparent = false;         // PNG only: the text layer's background is transparent
    bool PrintSize = false;
    bool Help = false;
    bool Version = false;
    std::optional<QString> IniPath;   // a settings file whose logo is the base
    std::optional<QString> StyleName; // a style of that file
    QString BatchPath;                // a file of option lines, one logo a line
    std::optional<QString> ReportPath; // where each logo's outcome goes as JSON, "-" for standard output
    int Jobs = 0;                     // lines of a batch rendered at a time; 0: one a processor

    // The window's default logo with its default text.
    static TLogoParams DefaultLogo();

    // Reads the arguments that follow the program name; nothing is read from disk.
    // Error policy: the first argument that cannot be used throws EUsageError naming
    // it, and no partial result is returned. An option given twice keeps its last
    // value; style flags apply in order. After the last argument, OutputRule applies.
    static TRenderOptions Parse(const QStringList& arguments);
    // When an output file must be named, as the error and the help say it.
    static QString OutputRule();

    // The text shown by --help, lines ending in newlines.
    static QString HelpText();
    // The line shown by --version, "vezodev" and the version, ending in a newline.
    static QString VersionText();

    // Whether the image goes to standard output (-o -).
    bool ToStandardOutput() const { return OutputPath == QLatin1String("-"); }

    // These options over another logo: the arguments are applied again in their order
    // over base, so what the command line gives overrides a settings file's values.
    TRenderOptions OverBase(const TLogoParams& base) const;

private:
    std::vector<std::pair<QString, QString>> FGiven; // option names and values, in order
};
