#include "platform/raster/FontCache.h"

#include "platform/base/UnicodeText.h"

#include <cstdlib>
#include <sstream>

namespace {

constexpr const char* Header = "vezodev font cache 1";

std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

} // namespace

std::string TFontCache::QuestionKey(std::u16string_view family, bool bold, bool italic)
{
    return TextToUtf8(family) + '\t' + (bold ? '1' : '0') + '\t' + (italic ? '1' : '0');
}

std::optional<TFontCache> TFontCache::Parse(const std::string& text)
{
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != Header || !std::getline(in, line) || line.rfind("env\t", 0) != 0)
        return std::nullopt;
    TFontCache cache;
    cache.Environment = line.substr(4);
    while (std::getline(in, line)) {
        const std::vector<std::string> fields = Split(line);
        if (fields.size() == 3 && fields[0] == "stamp") {
            cache.Stamps.push_back(TStamp{fields[2], fields[1]});
        } else if (fields.size() == 9 && fields[0] == "face" && fields[8] == "end") {
            TFontFile file;
            file.Path = fields[4];
            file.Index = std::atoi(fields[5].c_str());
            file.Family = Utf8ToText(fields[6]);
            file.Found = fields[7] == "1";
            cache.Answers[fields[1] + '\t' + fields[2] + '\t' + fields[3]] = file;
        } else {
            return std::nullopt;
        }
    }
    return cache;
}

std::string TFontCache::Format() const
{
    std::ostringstream out;
    out << Header << '\n' << "env\t" << Environment << '\n';
    for (const TStamp& stamp : Stamps)
        out << "stamp\t" << stamp.Time << '\t' << stamp.Path << '\n';
    for (const auto& [key, file] : Answers)
        out << "face\t" << key << '\t' << file.Path << '\t' << file.Index << '\t' << TextToUtf8(file.Family) << '\t'
            << (file.Found ? '1' : '0') << "\tend\n";
    return out.str();
}
