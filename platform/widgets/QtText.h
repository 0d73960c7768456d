#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

// The window's edge: Qt's strings to and from the UTF-16 standard strings of the
// layers below, unit for unit. (QString::fromUtf16 and fromStdU16String would take a
// leading U+FEFF for a byte order mark and drop it.)
inline QString ToQString(std::u16string_view text)
{
    return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

inline std::u16string ToText(const QString& text)
{
    return text.toStdU16String();
}

inline QStringList ToQStringList(const std::vector<std::u16string>& texts)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::u16string& text : texts)
        list.append(ToQString(text));
    return list;
}

inline std::vector<std::u16string> ToTextList(const QStringList& list)
{
    std::vector<std::u16string> texts;
    texts.reserve(static_cast<std::size_t>(list.size()));
    for (const QString& text : list)
        texts.push_back(text.toStdU16String());
    return texts;
}
