#include "tools/ShellWords.h"

#include "platform/base/UiLanguage.h"

namespace {

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

} // namespace

std::vector<std::u16string> SplitShellWords(std::u16string_view line)
{
    std::vector<std::u16string> words;
    std::u16string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char16_t c = line[i];
        if (IsBlank(c)) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == u'\\') {
            if (++i >= line.size())
                throw EShellWordsError(TrText("a backslash ends the line"));
            word += line[i];
        } else if (c == u'\'') {
            const std::size_t close = line.find(u'\'', i + 1);
            if (close == std::u16string_view::npos)
                throw EShellWordsError(TrText("a single quote is not closed"));
            word += line.substr(i + 1, close - i - 1);
            i = close;
        } else if (c == u'"') {
            for (++i;; ++i) {
                if (i >= line.size())
                    throw EShellWordsError(TrText("a double quote is not closed"));
                if (line[i] == u'"')
                    break;
                if (line[i] == u'\\' && i + 1 < line.size() && std::u16string_view(u"\\\"$`").find(line[i + 1]) != std::u16string_view::npos)
                    ++i;
                word += line[i];
            }
        } else {
            word += c;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}
