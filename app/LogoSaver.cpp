#include "app/LogoSaver.h"

#include "app/LogoBuild.h"
#include "platform/base/AtomicFile.h"
#include "platform/raster/BmpEncoder.h"
#include "platform/raster/PngEncoder.h"
#include "platform/widgets/Tr.h"

#include <algorithm>

QString TLogoSaver::Filter()
{
    return Tr("BMP ファイル|*.bmp|PNG ファイル|*.png|PNG ファイル 透明な背景|*.png");
}

QString TLogoSaver::WithBmpExtension(const QString& fileName)
{
    const qsizetype folderEnd = std::max({fileName.lastIndexOf(QLatin1Char('\\')), fileName.lastIndexOf(QLatin1Char(':')),
                                          fileName.lastIndexOf(QLatin1Char('/'))});
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > folderEnd;
    const QString extension = hasExtension ? fileName.mid(dot) : QString();
    if (extension.toLower() == QLatin1String(".bmp"))
        return fileName;
    return (hasExtension ? fileName.left(dot) : fileName) + QStringLiteral(".bmp");
}

QString TLogoSaver::WithSaveExtension(const QString& fileName, int filterIndex)
{
    if (fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return fileName;
    const QString bmp = WithBmpExtension(fileName);
    if (filterIndex == stBmp || fileName.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive))
        return bmp;
    return bmp.chopped(4) + QStringLiteral(".png");
}

QByteArray TLogoSaver::Encode(const TLogoBuild& logo, const QString& fileName, int filterIndex)
{
    const TBitmap& composite = logo.Layers().Composite;
    if (!fileName.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return EncodeBmp24(composite);
    if (filterIndex != stTransparentPng)
        return EncodePng(composite);
    return EncodePng(composite, TLogoComposer::TransparentBackground(logo.Params(), logo.Layers()));
}

void TLogoSaver::Save(const TLogoBuild& logo, const QString& fileName, int filterIndex)
{
    SaveFileAtomically(fileName, Encode(logo, fileName, filterIndex));
}
