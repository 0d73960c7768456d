#include "platform/base/FileBatch.h"

#include "platform/base/Exception.h"
#include "platform/base/TemporaryFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// 0 when the file's bytes are on the disk, otherwise the error number of the write-back
// that failed. A handle opened now still learns of an error no one has seen yet.
int SyncFile(const std::string& path)
{
    int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 && errno == EACCES)
        descriptor = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    const int result = fdatasync(descriptor) == 0 ? 0 : errno;
    close(descriptor);
    return result;
}

} // namespace

TFileBatch::~TFileBatch()
{
    for (auto& [device, system] : FSystems) {
        for (const TPending& file : system.Files)
            TTemporaryFile::RemoveKept(file.File.Temporary);
        if (system.Descriptor >= 0)
            close(system.Descriptor);
    }
}

void TFileBatch::Save(std::size_t order, const std::filesystem::path& path, const TByteWriter& write)
{
    TPending pending{order, path, {}};
    SaveFileForLaterRename(path, write, pending.File, [this](const TFileTarget& target) { OpenFileSystem(target); });
    std::unique_lock<std::mutex> guard(FLock);
    if (FClosed) {
        guard.unlock();
        TTemporaryFile::RemoveKept(pending.File.Temporary);
        throw EWriteError(WriteErrorText(path, ECANCELED));
    }
    FPendingBytes += pending.File.Bytes;
    FSystems[pending.File.Target.Device].Files.push_back(std::move(pending));
}

// The handle on a file system is taken before its first file is written and kept for
// the batch's life, so that each of its syncs reports every write-back error since the
// last one. Where the folder cannot be opened, the file system has no handle and its
// files are synced one by one.
void TFileBatch::OpenFileSystem(const TFileTarget& target)
{
    {
        const std::lock_guard<std::mutex> guard(FLock);
        if (FSystems.count(target.Device) != 0)
            return;
    }
    const int descriptor = open(target.Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const std::lock_guard<std::mutex> guard(FLock);
    const auto [system, made] = FSystems.try_emplace(target.Device);
    if (made)
        system->second.Descriptor = descriptor;
    else if (descriptor >= 0)
        close(descriptor);
}

std::uint64_t TFileBatch::PendingBytes() const
{
    const std::lock_guard<std::mutex> guard(FLock);
    return FPendingBytes;
}

void TFileBatch::Close()
{
    const std::lock_guard<std::mutex> guard(FLock);
    FClosed = true;
}

std::vector<TFileBatch::TFailure> TFileBatch::Commit(std::size_t upTo)
{
    // The files due, taken out of the batch, each file system's with its handle.
    struct TDue {
        int Descriptor = -1;
        std::vector<TPending> Files;
    };
    std::vector<TDue> due;
    {
        const std::lock_guard<std::mutex> guard(FLock);
        for (auto& [device, system] : FSystems) {
            const auto later = std::stable_partition(system.Files.begin(), system.Files.end(),
                                                     [upTo](const TPending& file) { return file.Order < upTo; });
            if (later == system.Files.begin())
                continue;
            TDue taken{system.Descriptor, {}};
            taken.Files.assign(std::make_move_iterator(system.Files.begin()), std::make_move_iterator(later));
            system.Files.erase(system.Files.begin(), later);
            for (const TPending& file : taken.Files)
                FPendingBytes -= file.File.Bytes;
            due.push_back(std::move(taken));
        }
    }
    // One sync a file system. Where it fails, each file is synced on its own to learn
    // which failed: those are dropped and their targets kept.
    std::vector<TFailure> failures;
    std::vector<TPending> synced;
    for (TDue& system : due) {
        const bool whole = system.Descriptor >= 0 && syncfs(system.Descriptor) == 0;
        for (TPending& file : system.Files) {
            const int error = whole ? 0 : SyncFile(file.File.Temporary);
            if (error == 0) {
                synced.push_back(std::move(file));
                continue;
            }
            failures.push_back(TFailure{file.Order, WriteErrorText(file.Path, error)});
            TTemporaryFile::RemoveKept(file.File.Temporary);
        }
    }
    std::stable_sort(synced.begin(), synced.end(),
                     [](const TPending& a, const TPending& b) { return a.Order < b.Order; });
    for (const TPending& file : synced) {
        if (!TTemporaryFile::RenameKept(file.File.Temporary, file.File.Target.Path()))
            failures.push_back(TFailure{file.Order, WriteErrorText(file.Path, errno)});
    }
    std::stable_sort(failures.begin(), failures.end(),
                     [](const TFailure& a, const TFailure& b) { return a.Order < b.Order; });
    return failures;
}
