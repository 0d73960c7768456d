#include "platform/raster/FontLocator.h"

#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* CacheHeader = "vezodev font cache 1";

QString Substitute(const QString& family)
{
    for (const auto& [windows, debian] : TFontLocator::Substitutions()) {
        if (family.compare(windows, Qt::CaseInsensitive) == 0)
            return debian;
    }
    return family;
}

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
std::string EnvironmentLine()
{
    return "env\t" + Environment("FONTCONFIG_FILE") + '\t' + Environment("FONTCONFIG_PATH") + '\t'
        + Environment("FONTCONFIG_SYSROOT") + '\t' + Environment("XDG_CONFIG_HOME") + '\t'
        + Environment("XDG_DATA_HOME") + '\t' + Environment("HOME");
}

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

TFontLocator& TFontLocator::Shared()
{
    static TFontLocator locator([] {
        std::string folder = Environment("XDG_CACHE_HOME");
        if (folder.empty() || folder[0] != '/') {
            const std::string home = Environment("HOME");
            if (home.empty())
                return std::string();
            folder = home + "/.cache";
        }
        return folder + "/vezodev/fonts.cache";
    }());
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
    const std::string home = Environment("HOME");
    const std::string configHome = Environment("XDG_CONFIG_HOME").empty() ? home + "/.config" : Environment("XDG_CONFIG_HOME");
    const std::string dataHome = Environment("XDG_DATA_HOME").empty() ? home + "/.local/share" : Environment("XDG_DATA_HOME");
    for (const std::string& path : {configHome + "/fontconfig", configHome + "/fontconfig/fonts.conf",
                                    configHome + "/fontconfig/conf.d", home + "/.fonts.conf", home + "/.fonts",
                                    dataHome + "/fonts"})
        paths.push_back(path);
    for (const std::string& path : paths)
        FStamps.push_back(TStamp{path, ModificationTime(path)});
}

void TFontLocator::Load()
{
    if (FCachePath.empty())
        return;
    std::ifstream in(FCachePath);
    std::string line;
    if (!std::getline(in, line) || line != CacheHeader || !std::getline(in, line) || line != EnvironmentLine())
        return;
    std::vector<TStamp> stamps;
    std::map<std::string, TFontFile> answers;
    while (std::getline(in, line)) {
        const std::vector<std::string> fields = Split(line);
        if (fields.size() == 3 && fields[0] == "stamp") {
            // A change anywhere makes the whole cache stale.
            if (ModificationTime(fields[2]) != fields[1])
                return;
            stamps.push_back(TStamp{fields[2], fields[1]});
        } else if (fields.size() == 9 && fields[0] == "face") {
            TFontFile file;
            file.Path = fields[4];
            file.Index = std::atoi(fields[5].c_str());
            file.Family = QString::fromStdString(fields[6]);
            file.Found = fields[7] == "1";
            if (fields[8] != "end")
                return;
            answers[fields[1] + '\t' + fields[2] + '\t' + fields[3]] = file;
        } else {
            return; // not written by us: ask fontconfig
        }
    }
    if (stamps.empty())
        return;
    FStamps = std::move(stamps);
    FAnswers = std::move(answers);
}

void TFontLocator::Save() const
{
    if (FCachePath.empty() || FStamps.empty())
        return;
    std::ostringstream out;
    out << CacheHeader << '\n' << EnvironmentLine() << '\n';
    for (const TStamp& stamp : FStamps)
        out << "stamp\t" << stamp.Time << '\t' << stamp.Path << '\n';
    for (const auto& [key, file] : FAnswers)
        out << "face\t" << key << '\t' << file.Path << '\t' << file.Index << '\t' << file.Family.toStdString() << '\t'
            << (file.Found ? '1' : '0') << "\tend\n";
    // Written beside the cache and renamed over it, so a reader never sees half a file;
    // any failure leaves the old cache (or none), which costs only time.
    const std::size_t slash = FCachePath.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        const std::string folder = FCachePath.substr(0, slash);
        const std::size_t parent = folder.rfind('/');
        if (parent != std::string::npos && parent > 0)
            mkdir(folder.substr(0, parent).c_str(), 0700);
        mkdir(folder.c_str(), 0700);
    }
    const std::string temporary = FCachePath + '.' + std::to_string(getpid()) + ".tmp";
    const std::string text = out.str();
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written || std::rename(temporary.c_str(), FCachePath.c_str()) != 0)
        std::remove(temporary.c_str());
}
