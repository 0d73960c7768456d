#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// What became of one line of a batch, as the report gives it.
struct TReportEntry {
    std::size_t Line = 0;             // the line's number in its file, from 1
    std::optional<std::string> Path;  // the file it writes (UTF-8), none when it names none
    std::optional<std::int64_t> Width; // the logo's size, when it was known
    std::optional<std::int64_t> Height;
    std::optional<std::string> Error; // the message that failed the line (UTF-8); none when it is done
};

// The report of a batch for other programs: one JSON object a line, a line a batch
// line, in line order, written as the lines' files reach their names.
class TBatchReport {
public:
    // Writes to stream, which the report does not close.
    explicit TBatchReport(std::FILE* stream) : FStream(stream) {}

    // {"line": N, "path": "...", "width": W, "height": H, "ok": true}, or for a failed
    // line {"line": N, "path": "...", "ok": false, "error": "..."}; a path that is not
    // known is null. Ends in a newline.
    static std::string JsonLine(const TReportEntry& entry);
    // text (UTF-8) as a JSON string, quotes included.
    static std::string JsonString(std::string_view text);

    // Adds an entry; the entries reach the stream at the latest on Flush.
    void Add(const TReportEntry& entry);
    // false when this or an earlier write failed.
    bool Flush();
    // The error number of the write that failed.
    int Error() const { return FError; }

private:
    void Fail();

    std::FILE* FStream;
    bool FFailed = false;
    int FError = 0;
};
