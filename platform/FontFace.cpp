#include "platform/FontFace.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QtEndian>
#include <algorithm>

// One realised font file at one pixel size, with its advance table in font units.
struct TFontFace::TFace {
    QRawFont Raw;
    int UnitsPerEm = 2048;
    std::vector<quint16> AdvanceUnits;

    int Advance(quint32 glyph, int em) const
    {
        if (AdvanceUnits.empty())
            return qRound(Raw.advancesForGlyphIndexes(QVector<quint32>{glyph}).value(0).x());
        const quint16 units = AdvanceUnits[std::min<std::size_t>(glyph, AdvanceUnits.size() - 1)];
        return (units * em + UnitsPerEm / 2) / UnitsPerEm;
    }
};

namespace {

int ReadU16(const QByteArray& table, int offset)
{
    if (offset + 2 > table.size())
        return 0;
    return qFromBigEndian<quint16>(table.constData() + offset);
}

int ReadS16(const QByteArray& table, int offset)
{
    if (offset + 2 > table.size())
        return 0;
    return qFromBigEndian<qint16>(table.constData() + offset);
}

int Scale(int units, int em, int unitsPerEm)
{
    return MulDiv(units, em, unitsPerEm);
}

void InstallSubstitutions()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    // fontconfig maps the Windows Latin faces to Liberation itself; the Japanese UI
    // faces have no alias in Debian, so Qt is told where to find them.
    const QString pgothic = QStringLiteral("IPAPGothic");
    const QString gothic = QStringLiteral("IPAGothic");
    QFont::insertSubstitution(QString::fromUtf8("ＭＳ Ｐゴシック"), pgothic);
    QFont::insertSubstitution(QStringLiteral("MS PGothic"), pgothic);
    QFont::insertSubstitution(QStringLiteral("MS UI Gothic"), pgothic);
    QFont::insertSubstitution(QString::fromUtf8("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitution(QStringLiteral("MS Gothic"), gothic);
}

QFont QtFontFor(const QString& family, TFontStyles style)
{
    QFont font(family);
    font.setBold(style & fsBold);
    font.setItalic(style & fsItalic);
    font.setKerning(false);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setPixelSize(64);
    return font;
}

std::shared_ptr<TFontFace::TFace> MakeFace(const QString& family, TFontStyles style)
{
    auto face = std::make_shared<TFontFace::TFace>();
    face->Raw = QRawFont::fromFont(QtFontFor(family, style));
    const QByteArray head = face->Raw.fontTable("head");
    const QByteArray hhea = face->Raw.fontTable("hhea");
    const QByteArray hmtx = face->Raw.fontTable("hmtx");
    face->UnitsPerEm = std::max(16, ReadU16(head, 18));
    const int metrics = ReadU16(hhea, 34);
    for (int i = 0; i < metrics && 4 * i + 2 <= hmtx.size(); ++i)
        face->AdvanceUnits.push_back(static_cast<quint16>(ReadU16(hmtx, 4 * i)));
    return face;
}

QString CacheKey(const TFont& font)
{
    const bool symbol = font.Charset() == SYMBOL_CHARSET;
    return font.Name() + QLatin1Char('|') + QString::number(font.Height()) + QLatin1Char('|')
        + QString::number(font.Style()) + (symbol ? QStringLiteral("|s") : QString());
}

} // namespace

const TFontFace& TFontFace::For(const TFont& font)
{
    static QHash<QString, std::shared_ptr<TFontFace>> cache;
    const QString key = CacheKey(font);
    auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return **found;
    if (cache.size() >= 64)
        cache.clear();
    auto face = std::shared_ptr<TFontFace>(new TFontFace(font));
    cache.insert(key, face);
    return *face;
}

TFontFace::TFontFace(const TFont& font)
    : FStyle(font.Style())
{
    InstallSubstitutions();
    auto primary = MakeFace(font.Name(), FStyle);
    const QByteArray os2 = primary->Raw.fontTable("OS/2");
    const QByteArray post = primary->Raw.fontTable("post");
    int winAscent = ReadU16(os2, 74);
    int winDescent = ReadU16(os2, 76);
    const int upem = primary->UnitsPerEm;
    if (winAscent + winDescent == 0) {
        winAscent = qRound(primary->Raw.ascent() * upem / primary->Raw.pixelSize());
        winDescent = qRound(primary->Raw.descent() * upem / primary->Raw.pixelSize());
    }
    const int height = font.Height();
    if (height < 0)
        FEm = -height;
    else if (height > 0)
        FEm = std::max(1, MulDiv(upem, height, winAscent + winDescent));
    else
        FEm = 16;
    FAscent = Scale(winAscent, FEm, upem);
    FDescent = Scale(winDescent, FEm, upem);
    FAveCharWidth = std::max(1, Scale(ReadS16(os2, 2), FEm, upem));
    FUnderlineThickness = std::max(1, Scale(ReadS16(post, 10), FEm, upem));
    FUnderlineOffset = -Scale(ReadS16(post, 8), FEm, upem);
    FStrikeOutThickness = std::max(1, Scale(ReadS16(os2, 26), FEm, upem));
    FStrikeOutOffset = Scale(ReadS16(os2, 28), FEm, upem);
    if (post.size() < 12) {
        FUnderlineThickness = FAscent / 20 + 1;
        FUnderlineOffset = 0;
    }
    if (os2.size() < 30)
        FStrikeOutOffset = FAscent / 2;

    const QString family = primary->Raw.familyName();
    FSymbol = font.Charset() == SYMBOL_CHARSET || font.Name().compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0
        || family.startsWith(QLatin1String("Standard Symbols"), Qt::CaseInsensitive);
    primary->Raw.setPixelSize(FEm);
    FFaces.push_back(primary);
    // Characters the face lacks come from the Japanese UI face, then from DejaVu,
    // as a Japanese desktop links fonts, instead of showing empty boxes.
    for (const QString& fallback : {QStringLiteral("IPAPGothic"), QStringLiteral("DejaVu Sans")}) {
        if (family.compare(fallback, Qt::CaseInsensitive) != 0)
            FFallbackFamilies.push_back(fallback);
    }
    FFaces.resize(1 + FFallbackFamilies.size());
}

const TFontFace::TFace& TFontFace::Face(std::size_t index) const
{
    if (!FFaces[index]) {
        FFaces[index] = MakeFace(FFallbackFamilies[index - 1], FStyle);
        FFaces[index]->Raw.setPixelSize(FEm);
    }
    return *FFaces[index];
}

QString TFontFace::CodesFor(const QString& text) const
{
    if (!FSymbol)
        return text;
    // A symbol face is addressed by byte value: characters that stand for single bytes
    // (Latin-1, or the half-width katakana the Japanese code page gives bytes A1..DF)
    // become those byte codes.
    QString codes = text;
    for (QChar& c : codes) {
        const char16_t u = c.unicode();
        if (u >= 0xFF61 && u <= 0xFF9F)
            c = QChar(char16_t(0xA1 + (u - 0xFF61)));
    }
    return codes;
}

TFontFace::TGlyphs TFontFace::Shape(const QString& text) const
{
    TGlyphs result;
    const QString codes = CodesFor(text);
    result.Glyphs = FFaces.front()->Raw.glyphIndexesForString(codes);
    const int count = static_cast<int>(result.Glyphs.size());
    result.FaceOfGlyph.assign(count, 0);
    result.Advances.resize(count);
    const QList<uint> points = codes.toUcs4();
    const bool perCodePoint = points.size() == count;
    for (int i = 0; i < count; ++i) {
        if (result.Glyphs[i] == 0 && perCodePoint && points[i] >= 0x20) {
            for (std::size_t f = 1; f < FFaces.size(); ++f) {
                const QVector<quint32> alternative = Face(f).Raw.glyphIndexesForString(QString::fromUcs4(reinterpret_cast<const char32_t*>(&points[i]), 1));
                if (alternative.size() == 1 && alternative[0] != 0) {
                    result.Glyphs[i] = alternative[0];
                    result.FaceOfGlyph[i] = static_cast<int>(f);
                    break;
                }
            }
        }
        result.Advances[i] = Face(result.FaceOfGlyph[i]).Advance(result.Glyphs[i], FEm);
    }
    return result;
}

int TFontFace::TextWidth(const QString& text) const
{
    const TGlyphs glyphs = Shape(text);
    int width = 0;
    for (int advance : glyphs.Advances)
        width += advance;
    return width;
}

std::vector<int> TFontFace::Advances(const QString& text) const
{
    return Shape(text).Advances;
}

int TFontFace::DrawLine(QPainter& painter, int x, int y, const QString& text) const
{
    const TGlyphs glyphs = Shape(text);
    const int count = static_cast<int>(glyphs.Glyphs.size());
    const int baseline = y + FAscent;
    int pen = x;
    int start = 0;
    while (start < count) {
        const int face = glyphs.FaceOfGlyph[start];
        QGlyphRun run;
        run.setRawFont(Face(face).Raw);
        QVector<quint32> indexes;
        QVector<QPointF> positions;
        int i = start;
        for (; i < count && glyphs.FaceOfGlyph[i] == face; ++i) {
            indexes.push_back(glyphs.Glyphs[i]);
            positions.push_back(QPointF(pen, baseline));
            pen += glyphs.Advances[i];
        }
        run.setGlyphIndexes(indexes);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(0, 0), run);
        start = i;
    }
    const int width = pen - x;
    if (FStyle & fsUnderline)
        DrawBar(painter, x, width, baseline + FUnderlineOffset, FUnderlineThickness);
    if (FStyle & fsStrikeOut)
        DrawBar(painter, x, width, baseline - FStrikeOutOffset, FStrikeOutThickness);
    return width;
}

void TFontFace::DrawBar(QPainter& painter, int x, int width, int centreY, int thickness) const
{
    if (width <= 0)
        return;
    const int top = centreY - thickness / 2;
    painter.fillRect(QRect(x, top, width, thickness), painter.pen().color());
}
