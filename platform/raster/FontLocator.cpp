#include "platform/raster/FontLocator.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/XdgFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>

namespace {

std::string Key(const QString& family, bool bold, bool italic)
{
    return family.toStdString() + '\t' + (bold ? '1' : '0') + '\t' + (italic ? '1' : '0');
}

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
    std::vector<QString> Families;
};

TMatch Match(const QString& family, bool bold, bool italic)
{
    TMatch match;
    FcPattern* pattern = FcPatternCreate();
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
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
        match.Families.push_back(QString::fromUtf8(reinterpret_cast<const char*>(value)));
    FcPatternDestroy(found);
    return match;
}

} // namespace

TFontLocator::TFontLocator(std::string cachePath)
    : FCachePath(std::move(cachePath))
{
}

const std::vector<std::pair<QString, QString>>& TFontLocator::Substitutions()
{
    static const std::vector<std::pair<QString, QString>> substitutions = {
        {QString::fromUtf8("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")},
        {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")},
        {QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic")},
        {QString::fromUtf8("ＭＳ ゴシック"), QStringLiteral("IPAGothic")},
        {QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")},
    };
    return substitutions;
}

QString TFontLocator::Substitute(const QString& family)
{
    for (const auto& [windows, debian] : Substitutions()) {
        if (family.compare(windows, Qt::CaseInsensitive) == 0)
            return debian;
    }
    return family;
}

TFontLocator& TFontLocator::Shared()
{
    static TFontLocator locator((XdgFolder(xfCache) + QStringLiteral("/vezodev/fonts.cache")).toStdString());
    return locator;
}

TFontFile TFontLocator::Find(const QString& family, bool bold, bool italic)
{
    const std::lock_guard<std::mutex> lock(FLock);
    if (!FLoaded) {
        FLoaded = true;
        Load();
    }
    const std::string key = Key(family, bold, italic);
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

TFontFile TFontLocator::Ask(const QString& family, bool bold, bool italic)
{
    const QString wanted = Substitute(family);
    const TMatch match = Match(wanted, bold, italic);
    TFontFile answer;
    answer.Path = match.Path;
    answer.Index = match.Index;
    answer.Family = match.Families.empty() ? QString() : match.Families.front();
    // The family is installed when the face found carries its name, when the name is
    // one of the program's own substitutions, or when fontconfig's aliases led to a
    // face other than the one it gives for a name it does not know.
    bool named = wanted != family;
    for (const QString& name : match.Families)
        named = named || name.compare(wanted, Qt::CaseInsensitive) == 0;
    answer.Found = named || Match(QStringLiteral("\x01no such family"), bold, italic).Path != match.Path;
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
    const std::string home = QDir::homePath().toStdString();
    const std::string configHome = XdgFolder(xfConfig).toStdString();
    const std::string dataHome = XdgFolder(xfData).toStdString();
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
    QFile file(QString::fromStdString(FCachePath));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const std::optional<TFontCache> cache = TFontCache::Parse(file.readAll().toStdString());
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
    const QString path = QString::fromStdString(FCachePath);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return;
    TFontCache cache;
    cache.Environment = EnvironmentFields();
    cache.Stamps = FStamps;
    cache.Answers = FAnswers;
    // Nothing is lost if a power cut takes the cache: no sync is needed.
    WriteFileAtomically(path, QByteArray::fromStdString(cache.Format()), fsDeferred);
}
