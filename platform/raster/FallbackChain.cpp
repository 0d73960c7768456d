#include "platform/raster/FallbackChain.h"

#include "platform/raster/CaseFolding.h"
#include "platform/raster/FontFallback.h"
#include "platform/raster/FontLocator.h"
#include "platform/raster/SizedFontFile.h"

TFallbackChain::TFallbackChain(std::shared_ptr<TSizedFontFile> own, std::u16string_view ownFamily, std::u16string_view requested,
                               TFontStyles style, int em)
    : FRequested(requested), FStyle(style), FEm(em)
{
    FFiles.push_back(std::move(own));
    // Characters the face's own file lacks come from the Japanese UI face (the stand-in
    // for MS UI Gothic), then from DejaVu, as a Japanese desktop links fonts, instead of
    // showing empty boxes.
    for (const std::u16string& standIn : {TFontLocator::Substitute(u"MS UI Gothic"), std::u16string(u"DejaVu Sans")}) {
        if (!EqualIgnoringCase(ownFamily, standIn))
            FStandInFamilies.push_back(standIn);
    }
    FStandInEnd = 1 + FStandInFamilies.size();
    FFiles.resize(FStandInEnd);
}

TFallbackChain::~TFallbackChain() = default;

TSizedFontFile& TFallbackChain::File(std::size_t index)
{
    const std::lock_guard<std::mutex> lock(FFilesLock);
    if (!FFiles[index]) {
        const std::u16string& family = FStandInFamilies[index - 1];
        const TFontFile file = TFontLocator::Shared().Find(family, FStyle & fsBold, FStyle & fsItalic);
        FFiles[index] = std::make_shared<TSizedFontFile>(file, family, FStyle);
        FFiles[index]->SetEm(FEm);
    }
    return *FFiles[index];
}

int TFallbackChain::IndexOfFile(const TFontFile& file)
{
    const std::lock_guard<std::mutex> lock(FFilesLock);
    const std::string key = file.Path + '|' + std::to_string(file.Index);
    const auto known = FIndexOfFile.find(key);
    if (known != FIndexOfFile.end())
        return known->second;
    auto sized = std::make_shared<TSizedFontFile>(file, file.Family, FStyle);
    sized->SetEm(FEm);
    FFiles.push_back(std::move(sized));
    const int index = static_cast<int>(FFiles.size() - 1);
    FIndexOfFile.emplace(key, index);
    return index;
}

int TFallbackChain::FallbackFileFor(char32_t code)
{
    {
        const std::lock_guard<std::mutex> lock(FChoicesLock);
        const auto known = FChoices.find(code);
        if (known != FChoices.end())
            return known->second;
    }
    const TFontFile file = TFontFallback::Shared().FileFor(FRequested, FStyle & fsBold, FStyle & fsItalic, code);
    int chosen = -1;
    if (!file.Path.empty()) {
        const int index = IndexOfFile(file);
        if (File(std::size_t(index)).GlyphOf(code) != 0)
            chosen = index;
    }
    const std::lock_guard<std::mutex> lock(FChoicesLock);
    return FChoices.emplace(code, chosen).first->second;
}

int TFallbackChain::FileFor(char32_t code)
{
    for (std::size_t f = 0; f < FStandInEnd; ++f) {
        if (File(f).GlyphOf(code) != 0)
            return static_cast<int>(f);
    }
    if (code < 0x20)
        return -1;
    return FallbackFileFor(code);
}
