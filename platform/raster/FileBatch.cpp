#include "platform/raster/FileBatch.h"

#include "platform/raster/Exception.h"
#include "platform/raster/TemporaryFile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The device of the file system that holds folder, and a handle on it (-1 when the
// folder cannot be opened: its files are then synced one by one).
int OpenFileSystem(const std::string& folder, dev_t& device)
{
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0)
        return -1;
    device = info.st_dev;
    return open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

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

void TFileBatch::Save(std::size_t order, const QString& path, const TByteWriter& write)
{
    // The handle on the file system is taken before the file is written, so that its
    // sync reports a failed write-back of this file.
    TFileTarget target;
    dev_t device = 0;
    int system = -1;
    if (TFileTarget::Resolve(path, target) == 0)
        system = OpenFileSystem(target.Folder, device);
    TPending pending{order, path, {}};
    try {
        SaveFileForLaterRename(path, write, pending.File);
    } catch (...) {
        if (system >= 0)
            close(system);
        throw;
    }
    std::unique_lock<std::mutex> guard(FLock);
    if (FClosed) {
        guard.unlock();
        TTemporaryFile::RemoveKept(pending.File.Temporary);
        if (system >= 0)
            close(system);
        throw EWriteError(WriteErrorText(path, ECANCELED));
    }
    // A file system's first file brings its handle; one without a handle from its
    // first file keeps none.
    TFileSystem& group = FSystems[device];
    if (group.Files.empty() && group.Descriptor < 0)
        group.Descriptor = std::exchange(system, -1);
    if (system >= 0)
        close(system);
    FPendingBytes += pending.File.Bytes;
    group.Files.push_back(std::move(pending));
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
    // The files due, taken out of the batch with a handle on each of their file
    // systems; a file system that keeps later files keeps its own handle.
    std::vector<TFileSystem> due;
    {
        const std::lock_guard<std::mutex> guard(FLock);
        for (auto entry = FSystems.begin(); entry != FSystems.end();) {
            TFileSystem& system = entry->second;
            const auto later = std::stable_partition(system.Files.begin(), system.Files.end(),
                                                     [upTo](const TPending& file) { return file.Order < upTo; });
            TFileSystem taken;
            taken.Files.assign(std::make_move_iterator(system.Files.begin()), std::make_move_iterator(later));
            system.Files.erase(system.Files.begin(), later);
            for (const TPending& file : taken.Files)
                FPendingBytes -= file.File.Bytes;
            if (system.Files.empty()) {
                taken.Descriptor = std::exchange(system.Descriptor, -1);
                entry = FSystems.erase(entry);
            } else {
                taken.Descriptor = system.Descriptor >= 0 ? dup(system.Descriptor) : -1;
                ++entry;
            }
            if (!taken.Files.empty())
                due.push_back(std::move(taken));
            else if (taken.Descriptor >= 0)
                close(taken.Descriptor);
        }
    }
    // One sync a file system. Where it fails, each file is synced on its own to learn
    // which failed: those are dropped and their targets kept.
    std::vector<TFailure> failures;
    std::vector<TPending> synced;
    for (TFileSystem& system : due) {
        const bool whole = system.Descriptor >= 0 && syncfs(system.Descriptor) == 0;
        if (system.Descriptor >= 0)
            close(system.Descriptor);
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
