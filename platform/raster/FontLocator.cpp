#include "platform/raster/FontLocator.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/UnicodeText.h"
#include "platform/base/XdgFolders.h"
#include "platform/raster/CaseFolding.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <system_error>

namespace {

std::string ModificationTime(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return "-";
    return std::to_string(info.st_mtim.tv_sec) + '.' + std::to_string(info.st_mtim.tv_nsec);
}

bool Exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// What decides fontconfig's answers besides its files.
std::string EnvironmentFields()
{
    return Environment("FONTCONFIG_FILE") + '\t' + Environment("FONTCONFIG_PATH") + '\t'
        + Environment("FONTCONFIG_SYSROOT") + '\t' + Environment("XDG_CONFIG_HOME") + '\t'
        + Environment("XDG_DATA_HOME") + '\t' + Environment("HOME");
}

struct TMatch {
    std::string Path;
    int Index = 0;
    std::vector<std::u16string> Families;
};

TMatch Match(std::u16string_view family, bool bold, bool italic)
{
    TMatch match;
    FcPattern* pattern = FcPatternCreate();
    const std::string name = TextToUtf8(family);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* found = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!found)
        return match;
    FcChar8* file = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch)
        match.Path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(found, FC_INDEX, 0, &match.Index);
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &value) == FcResultMatch; ++i)
        match.Families.push_back(Utf8ToText(reinterpret_cast<const char*>(value)));
    FcPatternDestroy(found);
    return match;
}

// The user's home folder as the desktop finds it: $HOME, or the root when it is unset
// or empty, without a trailing "/".

} // namespace

TFontLocator::TFontLocator(std::filesystem::path cachePath)
    : FCachePath(std::move(cachePath))
{
}

const std::vector<std::pair<std::u16string, std::u16string>>& TFontLocator::Substitutions()
{
    static const std::vector<std::pair<std::u16string, std::u16string>> substitutions = {
        {u"ＭＳ Ｐゴシック", u"IPAPGothic"},
        {u"MS PGothic", u"IPAPGothic"},
        {u"MS UI Gothic", u"IPAPGothic"},
        {u"ＭＳ ゴシック", u"IPAGothic"},
        {u"MS Gothic", u"IPAGothic"},
    };
    return substitutions;
}

std::u16string TFontLocator::Substitute(std::u16string_view family)
{
    for (const auto& [windows, debian] : Substitutions()) {
        if (EqualIgnoringCase(family, windows))
            return debian;
    }
    return std::u16string(family);
}

TFontLocator& TFontLocator::Shared()
{
    static TFontLocator locator(XdgFolder(xfCache) / "vezodev" / "fonts.cache");
    return locator;
}

TFontFile TFontLocator::Find(std::u16string_view family, bool bold, bool italic)
{
    const std::lock_guard<std::mutex> lock(FLock);
    if (!FLoaded) {
        FLoaded = true;
        Load();
    }
    const std::string key = TFontCache::QuestionKey(family, bold, italic);
    const auto known = FAnswers.find(key);
    if (known != FAnswers.end()) {
        if (Exists(known->second.Path))
            return known->second;
        // A font file has gone: everything the cache says is in doubt.
        FAnswers.clear();
        FStamps.clear();
        FStampsTaken = false;
    }
    TFontFile answer = Ask(family, bold, italic);
    if (!FStampsTaken)
        TakeStamps();
    if (!answer.Path.empty() && key.find('\n') == std::string::npos && std::count(key.begin(), key.end(), '\t') == 2) {
        FAnswers[key] = answer;
        Save();
    }
    return answer;
}

TFontFile TFontLocator::Ask(std::u16string_view family, bool bold, bool italic)
{
    const std::u16string wanted = Substitute(family);
    const TMatch match = Match(wanted, bold, italic);
    TFontFile answer;
    answer.Path = match.Path;
    answer.Index = match.Index;
    answer.Family = match.Families.empty() ? std::u16string() : match.Families.front();
    // The family is installed when the face found carries its name, when the name is
    // one of the program's own substitutions, or when fontconfig's aliases led to a
    // face other than the one it gives for a name it does not know.
    bool named = wanted != family;
    for (const std::u16string& name : match.Families)
        named = named || EqualIgnoringCase(name, wanted);
    answer.Found = named || Match(u"\x01no such family", bold, italic).Path != match.Path;
    return answer;
}

void TFontLocator::TakeStamps()
{
    FStampsTaken = true;
    FStamps.clear();
    std::vector<std::string> paths;
    FcConfig* config = FcConfigGetCurrent();
    for (FcStrList* list : {FcConfigGetConfigFiles(config), FcConfigGetFontDirs(config), FcConfigGetConfigDirs(config)}) {
        if (!list)
            continue;
        while (FcChar8* path = FcStrListNext(list))
            paths.emplace_back(reinterpret_cast<const char*>(path));
        FcStrListDone(list);
    }
    // Places a user may yet create: they are not listed while they do not exist.
    const std::string home = HomeFolder();
    const std::string configHome = XdgFolder(xfConfig).string();
    const std::string dataHome = XdgFolder(xfData).string();
    for (const std::string& path : {configHome + "/fontconfig", configHome + "/fontconfig/fonts.conf",
                                    configHome + "/fontconfig/conf.d", home + "/.fonts.conf", home + "/.fonts",
                                    dataHome + "/fonts"})
        paths.push_back(path);
    for (const std::string& path : paths)
        FStamps.push_back(TFontCache::TStamp{path, ModificationTime(path)});
}

void TFontLocator::Load()
{
    if (FCachePath.empty())
        return;
    std::ifstream file(FCachePath, std::ios::binary);
    if (!file)
        return;
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad())
        return;
    const std::optional<TFontCache> cache = TFontCache::Parse(text.str());
    if (!cache || cache->Environment != EnvironmentFields() || cache->Stamps.empty())
        return;
    // A change anywhere makes the whole cache stale.
    for (const TFontCache::TStamp& stamp : cache->Stamps) {
        if (ModificationTime(stamp.Path) != stamp.Time)
            return;
    }
    FStamps = cache->Stamps;
    FAnswers = cache->Answers;
}

// Any failure leaves the old cache (or none), which costs only time.
void TFontLocator::Save() const
{
    if (FCachePath.empty() || FStamps.empty())
        return;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::absolute(FCachePath, error).parent_path(), error);
    if (error)
        return;
    TFontCache cache;
    cache.Environment = EnvironmentFields();
    cache.Stamps = FStamps;
    cache.Answers = FAnswers;
    // Nothing is lost if a power cut takes the cache: no sync is needed.
    WriteFileAtomically(FCachePath, cache.Format(), fsDeferred);
}
