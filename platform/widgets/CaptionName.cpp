#include "platform/widgets/CaptionName.h"

#include <QRegularExpression>

namespace {

// A bracketed marker holds one letter or digit, "&" before it or not, in half- or
// full-width brackets, with any space before it.
const QRegularExpression BracketedMarker(QStringLiteral("\\s*[(（]&?[A-Za-z0-9][)）]"));

QString WithoutAmpersands(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] != u'&')
            result += text[at];
        else if (at + 1 < text.size() && text[at + 1] == u'&')
            result += text[++at];
    }
    return result;
}

} // namespace

QString CaptionName(const QString& caption)
{
    QString name = caption;
    name.remove(BracketedMarker);
    name = WithoutAmpersands(name).trimmed();
    while (name.endsWith(u':') || name.endsWith(u'：'))
        name.chop(1);
    return name.trimmed();
}
