#include "platform/base/ProfileFile.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/ProfileText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The whole of the open file; false (errno set) when a read fails.
bool ReadAll(int descriptor, std::string& bytes)
{
    char buffer[65536];
    for (;;) {
        const ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            return true;
        bytes.append(buffer, std::size_t(count));
    }
}

} // namespace

// A file that exists but cannot be read gives nothing, so that a write never
// replaces contents it could not see.
std::optional<std::string> ReadProfileFile(const std::filesystem::path& path, int* error)
{
    const auto fail = [error](int reason) -> std::optional<std::string> {
        if (error != nullptr)
            *error = reason;
        return std::nullopt;
    };
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? std::optional<std::string>(std::string()) : fail(errno);
    if (!S_ISREG(info.st_mode))
        return fail(S_ISDIR(info.st_mode) ? EISDIR : EEXIST);
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return fail(errno);
    std::string bytes;
    const bool read = ReadAll(descriptor, bytes);
    const int reason = errno;
    close(descriptor);
    if (!read)
        return fail(reason);
    return bytes;
}

std::u16string GetPrivateProfileString(std::u16string_view section, std::u16string_view key,
                                       std::u16string_view defaultValue, int bufferSize,
                                       const std::filesystem::path& path)
{
    const TProfileText text(ReadProfileFile(path).value_or(std::string()));
    return text.Read(section, key, defaultValue, bufferSize);
}

bool WritePrivateProfileString(std::u16string_view section, const std::u16string* key,
                               const std::u16string* value, const std::filesystem::path& path)
{
    const auto original = ReadProfileFile(path);
    if (!original)
        return false;
    TProfileText text(*original);
    if (key == nullptr)
        text.EraseSection(section);
    else if (value == nullptr)
        text.DeleteKey(section, *key);
    else if (!text.Write(section, *key, *value))
        return false;

    // Deleting what is not there changes nothing and needs no write.
    const std::string bytes = text.Bytes();
    if (bytes == *original)
        return true;
    return WriteFileAtomically(path, bytes) == fwOk;
}
