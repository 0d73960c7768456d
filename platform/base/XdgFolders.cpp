#include "platform/base/XdgFolders.h"

#include <cstdlib>
#include <string>

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::string HomeFolder()
{
    const std::string home = Environment("HOME");
    if (home.empty())
        return "/";
    std::string cleaned = std::filesystem::path(home).lexically_normal().native();
    while (cleaned.size() > 1 && cleaned.back() == '/')
        cleaned.pop_back();
    return cleaned;
}

std::filesystem::path XdgFolder(TXdgFolder folder)
{
    struct TRule {
        const char* Variable;
        const char* Default; // below the home folder
    };
    static constexpr TRule Rules[] = {
        {"XDG_CONFIG_HOME", "/.config"},
        {"XDG_CACHE_HOME", "/.cache"},
        {"XDG_DATA_HOME", "/.local/share"},
    };
    const TRule& rule = Rules[folder];
    std::string path = Environment(rule.Variable);
    if (path.empty() || path.front() != '/')
        path = HomeFolder() + rule.Default;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}
