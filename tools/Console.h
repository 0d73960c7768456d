#pragma once

#include <set>
#include <string>
#include <string_view>

struct TLineReport;

// The renderer's standard streams: output as asked for, and messages on standard
// error after the program's name, all as UTF-8. A failed write to standard output (a
// closed pipe, a full disk) is reported once, as a write error, and makes the run fail.
class TConsole {
public:
    // The program's name and a colon, as every message starts.
    static constexpr std::u16string_view MessagePrefix = u"vezodev-render: ";

    // Writes text to standard output and flushes it; false when this or an earlier
    // write failed.
    static bool Out(std::u16string_view text);
    // "vezodev-render: message" and a newline.
    static void Error(std::u16string_view message);
    // Text already in its final form.
    static void ErrorText(std::u16string_view text);
    // What a line printed: its output, its messages, and each character no installed
    // font has, named once however many lines hold it (named keeps those named).
    static void Report(const TLineReport& report, std::set<char32_t>& named);
    // Whether a write to standard output has failed.
    static bool OutFailed();
};
