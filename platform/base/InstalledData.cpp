#include "platform/base/InstalledData.h"

#include <climits>
#include <unistd.h>

std::filesystem::path InstalledDataFolder(const std::filesystem::path& path, const std::filesystem::path& name)
{
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::absolute(path, ignored).parent_path();
    std::filesystem::path data = (folder / ".." / "share" / name).lexically_normal();
    // A cleaned folder has no trailing "/", whatever name ended with.
    if (!data.has_filename() && data.has_relative_path())
        data = data.parent_path();
    return data;
}

std::filesystem::path RunningProgramFile()
{
    char link[PATH_MAX];
    const ssize_t size = readlink("/proc/self/exe", link, sizeof link);
    if (size <= 0 || size == ssize_t(sizeof link))
        return {};
    return std::filesystem::path(std::string(link, std::size_t(size)));
}
