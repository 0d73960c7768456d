#include "tools/BatchReport.h"

#include <cerrno>

std::string TBatchReport::JsonString(std::string_view text)
{
    static const char Hex[] = "0123456789abcdef";
    std::string json = "\"";
    json.reserve(text.size() + 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': json += "\\\""; break;
        case '\\': json += "\\\\"; break;
        case '\b': json += "\\b"; break;
        case '\f': json += "\\f"; break;
        case '\n': json += "\\n"; break;
        case '\r': json += "\\r"; break;
        case '\t': json += "\\t"; break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                json += "\\u00";
                json += Hex[byte >> 4];
                json += Hex[byte & 15];
            } else {
                json += c;
            }
        }
    }
    json += '"';
    return json;
}

std::string TBatchReport::JsonLine(const TReportEntry& entry)
{
    std::string json = "{\"line\": " + std::to_string(entry.Line) + ", \"path\": ";
    json += entry.Path ? JsonString(*entry.Path) : std::string("null");
    if (entry.Error) {
        json += ", \"ok\": false, \"error\": " + JsonString(*entry.Error) + "}\n";
        return json;
    }
    if (entry.Width && entry.Height)
        json += ", \"width\": " + std::to_string(*entry.Width) + ", \"height\": " + std::to_string(*entry.Height);
    json += ", \"ok\": true}\n";
    return json;
}

void TBatchReport::Fail()
{
    FFailed = true;
    FError = errno != 0 ? errno : EIO;
}

void TBatchReport::Add(const TReportEntry& entry)
{
    const std::string line = JsonLine(entry);
    errno = 0;
    if (!FFailed && std::fwrite(line.data(), 1, line.size(), FStream) != line.size())
        Fail();
}

bool TBatchReport::Flush()
{
    errno = 0;
    if (!FFailed && std::fflush(FStream) != 0)
        Fail();
    return !FFailed;
}
