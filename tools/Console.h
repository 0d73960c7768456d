#pragma once

#include <QString>
#include <set>
#include <vector>

struct TLineReport;

// The renderer's standard streams: output as asked for, and messages on standard
// error after the program's name. A failed write to standard output (a closed pipe, a
// full disk) is reported once, as a write error, and makes the run fail.
class TConsole {
public:
    // Writes text to standard output and flushes it; false when this or an earlier
    // write failed.
    static bool Out(const QString& text);
    // "vezodev-render: message" and a newline.
    static void Error(const QString& message);
    // Text already in its final form.
    static void ErrorText(const QString& text);
    // What a line printed: its output, its messages, and each character no installed
    // font has, named once however many lines hold it (named keeps those named).
    static void Report(const TLineReport& report, std::set<char32_t>& named);
    // Whether a write to standard output has failed.
    static bool OutFailed();
};
