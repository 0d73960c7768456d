#pragma once

#include "composer/LogoComposer.h"
#include "platform/base/Exception.h"

#include <optional>
#include <string>
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
    std::u16string OutputPath;        // "-" is standard output
    TImageFormat Format = ifNone;
    TImageFormat FormatOption = ifNone; // as --format gave it
    bool Transparent = false;         // PNG only: the text layer's background is transparent
    bool PrintSize = false;
    bool Help = false;
    bool Version = false;
    std::optional<std::u16string> IniPath;   // a settings file whose logo is the base
    std::optional<std::u16string> StyleName; // a style of that file
    std::u16string BatchPath;         // a file of option lines, one logo a line ("-": standard input)
    std::optional<std::u16string> ReportPath; // where each logo's outcome goes as JSON, "-" for standard output
    int Jobs = 0;                     // lines of a batch rendered at a time; 0: one a processor

    // The window's default logo with its default text.
    static TLogoParams DefaultLogo();

    // Reads the arguments that follow the program name; nothing is read from disk.
    // Error policy: the first argument that cannot be used throws EUsageError naming
    // it, and no partial result is returned. An option given twice keeps its last
    // value; style flags apply in order. After the last argument, OutputRule applies.
    static TRenderOptions Parse(const std::vector<std::u16string>& arguments);
    // When an output file must be named, as the error and the help say it.
    static std::u16string OutputRule();

    // The text shown by --help, lines ending in newlines.
    static std::u16string HelpText();
    // The line shown by --version, "vezodev" and the version, ending in a newline.
    static std::u16string VersionText();

    // Whether the image goes to standard output (-o -).
    bool ToStandardOutput() const { return OutputPath == u"-"; }

    // These options over another logo: the arguments are applied again in their order
    // over base, so what the command line gives overrides a settings file's values.
    TRenderOptions OverBase(const TLogoParams& base) const;

private:
    std::vector<std::pair<std::u16string, std::u16string>> FGiven; // option names and values, in order
};
