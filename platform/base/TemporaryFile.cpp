#include "platform/base/TemporaryFile.h"

#include <cerrno>
#include <fcntl.h>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <unistd.h>

namespace {

constexpr char Suffix[] = ".vezodev-XXXXXX";

// The temporary files of the process that are on the disk.
struct TRegistry {
    std::mutex Lock;
    std::set<std::string> Paths;
    bool Closed = false;
};

TRegistry& Registry()
{
    static TRegistry registry;
    return registry;
}

void Unlist(const std::string& path)
{
    TRegistry& registry = Registry();
    const std::lock_guard<std::mutex> guard(registry.Lock);
    registry.Paths.erase(path);
}

// The longest prefix of name of at most limit bytes that does not end inside a UTF-8
// sequence.
std::string Shortened(const std::string& name, std::size_t limit)
{
    if (name.size() <= limit)
        return name;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.substr(0, end);
}

} // namespace

std::string TTemporaryFile::NameFor(const std::string& name)
{
    constexpr std::size_t fixed = 1 + sizeof(Suffix) - 1;
    return '.' + Shortened(name, NAME_MAX - fixed) + Suffix;
}

TTemporaryFile::TTemporaryFile(const std::string& folder, const std::string& name)
{
    std::string path = folder;
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += NameFor(name);
    TRegistry& registry = Registry();
    // Made under the lock, so that RemoveAll cannot miss a file that is being made.
    const std::lock_guard<std::mutex> guard(registry.Lock);
    if (registry.Closed) {
        errno = ECANCELED;
        return;
    }
    FDescriptor = mkostemp(path.data(), O_CLOEXEC);
    if (FDescriptor < 0)
        return;
    FPath = std::move(path);
    registry.Paths.insert(FPath);
    FListed = true;
}

TTemporaryFile::~TTemporaryFile()
{
    if (FDescriptor >= 0)
        close(FDescriptor);
    if (FListed)
        RemoveKept(FPath);
}

bool TTemporaryFile::Close()
{
    const int descriptor = FDescriptor;
    FDescriptor = -1;
    return close(descriptor) == 0;
}

bool TTemporaryFile::RenameOver(const std::string& target)
{
    if (std::rename(FPath.c_str(), target.c_str()) != 0)
        return false;
    FListed = false;
    Unlist(FPath);
    return true;
}

std::string TTemporaryFile::Keep()
{
    FListed = false;
    return FPath;
}

bool TTemporaryFile::RenameKept(const std::string& path, const std::string& target)
{
    const bool renamed = std::rename(path.c_str(), target.c_str()) == 0;
    const int reason = errno;
    if (renamed)
        Unlist(path);
    else
        RemoveKept(path);
    errno = reason;
    return renamed;
}

void TTemporaryFile::RemoveKept(const std::string& path)
{
    const int reason = errno;
    unlink(path.c_str());
    Unlist(path);
    errno = reason;
}

void TTemporaryFile::RemoveAll()
{
    TRegistry& registry = Registry();
    const std::lock_guard<std::mutex> guard(registry.Lock);
    for (const std::string& path : registry.Paths)
        unlink(path.c_str());
    registry.Paths.clear();
    registry.Closed = true;
}
