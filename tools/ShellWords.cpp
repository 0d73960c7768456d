#include "tools/ShellWords.h"

#include "platform/base/Tr.h"

namespace {

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

} // namespace

QStringList SplitShellWords(const QString& line)
{
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (IsBlank(c)) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == u'\\') {
            if (++i >= line.size())
                throw EShellWordsError(Tr("a backslash ends the line"));
            word += line[i];
        } else if (c == u'\'') {
            const qsizetype close = line.indexOf(u'\'', i + 1);
            if (close < 0)
                throw EShellWordsError(Tr("a single quote is not closed"));
            word += line.mid(i + 1, close - i - 1);
            i = close;
        } else if (c == u'"') {
            for (++i;; ++i) {
                if (i >= line.size())
                    throw EShellWordsError(Tr("a double quote is not closed"));
                if (line[i] == u'"')
                    break;
                if (line[i] == u'\\' && i + 1 < line.size() && QStringView(u"\\\"$`").contains(line[i + 1]))
                    ++i;
                word += line[i];
            }
        } else {
            word += c;
        }
    }
    if (inWord)
        words << word;
    return words;
}
