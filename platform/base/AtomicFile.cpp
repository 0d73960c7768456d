#include "platform/base/AtomicFile.h"

#include "platform/base/Exception.h"
#include "platform/base/TemporaryFile.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How much of a file goes to the disk at a time while the rest is still being written.
constexpr off_t EarlyWritebackBytes = 512 * 1024;

// The system's limit on links followed in one path.
constexpr int MaxLinks = 40;

// The umask, read once while the program loads, before any thread can start: asking
// for it means setting it, and two threads doing that at once can leave it at 0 for
// good. Linux shows it without a change in /proc/self/status.
mode_t ReadUmask()
{
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return static_cast<mode_t>(mask);
    }
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

const mode_t StartUmask = ReadUmask();

mode_t NewFileMode()
{
    return 0666 & ~StartUmask;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

int TFileTarget::Resolve(const std::filesystem::path& path, TFileTarget& target)
{
    if (path.empty())
        return ENOENT;
    std::error_code ignored;
    std::string current = std::filesystem::absolute(path, ignored);
    for (int links = 0; links <= MaxLinks; ++links) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return errno;
            // Nothing there yet: the folder must exist for the file to be made.
            target.Folder = FolderOf(current);
            target.Name = NameOf(current);
            struct stat folder {};
            if (target.Name.empty() || stat(target.Folder.c_str(), &folder) != 0)
                return ENOENT;
            if (!S_ISDIR(folder.st_mode))
                return ENOTDIR;
            target.Exists = false;
            target.Device = folder.st_dev;
            return 0;
        }
        if (S_ISLNK(info.st_mode)) {
            std::string link(std::size_t(info.st_size > 0 ? info.st_size : PATH_MAX), '\0');
            const ssize_t size = readlink(current.c_str(), link.data(), link.size());
            if (size < 0)
                return errno;
            link.resize(std::size_t(size));
            current = link[0] == '/' ? link : FolderOf(current) + '/' + link;
            continue;
        }
        // A rename would put a regular file in place of a folder, a device or a pipe
        // (as root, even over /dev/full), so anything else under the name is refused.
        if (!S_ISREG(info.st_mode))
            return S_ISDIR(info.st_mode) ? EISDIR : EEXIST;
        target.Folder = FolderOf(current);
        target.Name = NameOf(current);
        target.Exists = true;
        target.Info = info;
        target.Device = info.st_dev;
        return 0;
    }
    return ELOOP;
}

namespace {

bool WriteAll(int descriptor, const char* data, std::size_t left)
{
    while (left > 0) {
        const ssize_t written = write(descriptor, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = ENOSPC;
        if (written <= 0)
            return false;
        data += written;
        left -= std::size_t(written);
    }
    return true;
}

// The bytes in one piece.
TByteWriter Whole(std::string_view bytes)
{
    return [bytes](const TByteSink& sink) { sink(bytes.data(), bytes.size()); };
}

// How a written temporary file is finished.
enum TFinish {
    fnSyncAndRename,
    fnRename,
    fnKeep, // closed and left for a later rename; described in kept
};

TFileWriteResult WriteTemporaryFile(const TFileTarget& target, const TByteWriter& write, TFinish finish, int* error,
                                    TWrittenFile* kept)
{
    const auto fail = [error](TFileWriteResult result, int reason) {
        if (error != nullptr)
            *error = reason;
        return result;
    };
    const std::string targetPath = target.Path();
    // A file this process may not write is refused before anything is written, as
    // the platform's own write would refuse it: a rename needs only the folder's
    // permission and would replace a read-only file, and an immutable one would
    // fail only at the rename, as a write error that names no file.
    if (target.Exists && access(targetPath.c_str(), W_OK) != 0)
        return fail(fwCannotCreate, errno);

    TTemporaryFile temporary(target.Folder, target.Name);
    if (!temporary.IsOpen())
        return fail(fwCannotCreate, errno);
    // After a failed write the pieces still to come are dropped, and the first
    // failure's reason is the one reported. A file synced before its rename has its
    // first pieces sent to the disk while the rest are still being made, so that the
    // sync waits only for the last ones; the start is only a request, and a kernel
    // that ignores it leaves the sync to do it all.
    bool written = true;
    int writeError = 0;
    off_t total = 0;
    off_t sentUpTo = 0;
    write([&](const char* data, std::size_t size) {
        if (!written)
            return;
        if (!WriteAll(temporary.Descriptor(), data, size)) {
            written = false;
            writeError = errno;
            return;
        }
        total += off_t(size);
        if (finish == fnSyncAndRename && total - sentUpTo >= EarlyWritebackBytes) {
            sync_file_range(temporary.Descriptor(), sentUpTo, total - sentUpTo, SYNC_FILE_RANGE_WRITE);
            sentUpTo = total;
        }
    });
    if (!written)
        return fail(fwWriteFailed, writeError);
    const mode_t mode = target.Exists ? (target.Info.st_mode & 07777) : NewFileMode();
    if (fchmod(temporary.Descriptor(), mode) != 0)
        return fail(fwWriteFailed, errno);
    bool finished = false;
    switch (finish) {
    case fnSyncAndRename:
        finished = fdatasync(temporary.Descriptor()) == 0 && temporary.Close() && temporary.RenameOver(targetPath);
        break;
    case fnRename:
        finished = temporary.Close() && temporary.RenameOver(targetPath);
        break;
    case fnKeep:
        // A batch syncs its files later, all at once: their writing starts now.
        sync_file_range(temporary.Descriptor(), 0, 0, SYNC_FILE_RANGE_WRITE);
        finished = temporary.Close();
        if (finished)
            *kept = TWrittenFile{temporary.Keep(), target, static_cast<std::uint64_t>(total)};
        break;
    }
    return finished ? fwOk : fail(fwWriteFailed, errno);
}

// A file's name as a message shows it; a name that is not UTF-8 still has one.
std::u16string NameText(const std::filesystem::path& path)
{
    return Utf8ToText(path.native());
}

[[noreturn]] void ThrowWriteResult(const std::filesystem::path& path, TFileWriteResult result, int error)
{
    if (result == fwCannotCreate)
        throw EFCreateError(Format(TrText("ﾌｧｲﾙ %1 を作成できません (%2)"), {NameText(path), SystemErrorText(error)}));
    throw EWriteError(WriteErrorText(path, error));
}

} // namespace

std::u16string WriteErrorText(const std::filesystem::path& path, int error)
{
    return Format(TrText("ｽﾄﾘｰﾑへの書き込みｴﾗｰ (%1: %2)"), {NameText(path), SystemErrorText(error)});
}

TFileWriteResult WriteFileAtomically(const std::filesystem::path& path, const TByteWriter& write, TFileSync sync, int* error)
{
    TFileTarget target;
    if (const int reason = TFileTarget::Resolve(path, target)) {
        if (error != nullptr)
            *error = reason;
        return fwCannotCreate;
    }
    return WriteTemporaryFile(target, write, sync == fsNow ? fnSyncAndRename : fnRename, error, nullptr);
}

TFileWriteResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, TFileSync sync, int* error)
{
    return WriteFileAtomically(path, Whole(bytes), sync, error);
}

void SaveFileAtomically(const std::filesystem::path& path, const TByteWriter& write, TFileSync sync)
{
    int error = 0;
    const TFileWriteResult result = WriteFileAtomically(path, write, sync, &error);
    if (result != fwOk)
        ThrowWriteResult(path, result, error);
}

void SaveFileAtomically(const std::filesystem::path& path, std::string_view bytes, TFileSync sync)
{
    SaveFileAtomically(path, Whole(bytes), sync);
}

// The C library's text follows the messages locale; it is taken less its outer blanks.
std::u16string SystemErrorText(int error)
{
    switch (error) {
    case 0:
        return {};
    case EACCES:
        return u"Permission denied";
    case EMFILE:
        return u"Too many open files";
    case ENOENT:
        return u"No such file or directory";
    case ENOSPC:
        return u"No space left on device";
    default:
        break;
    }
    char buffer[1024] = {};
    const std::u16string text = Utf8ToText(strerror_r(error, buffer, sizeof buffer));
    const auto blank = [](char16_t ch) { return ch == u' ' || (ch >= u'\t' && ch <= u'\r'); };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

void SaveFileForLaterRename(const std::filesystem::path& path, const TByteWriter& write, TWrittenFile& written,
                            const std::function<void(const TFileTarget&)>& resolved)
{
    TFileTarget target;
    if (const int reason = TFileTarget::Resolve(path, target))
        ThrowWriteResult(path, fwCannotCreate, reason);
    resolved(target);
    int error = 0;
    const TFileWriteResult result = WriteTemporaryFile(target, write, fnKeep, &error, &written);
    if (result != fwOk)
        ThrowWriteResult(path, result, error);
}
