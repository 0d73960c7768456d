#include "platform/raster/AtomicFile.h"

#include "platform/raster/Exception.h"

#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// How much of a file goes to the disk at a time while the rest is still being written.
constexpr off_t EarlyWritebackBytes = 512 * 1024;

// A temporary file beside the target; removed again unless it was renamed over it.
class TTemporaryFile {
public:
    explicit TTemporaryFile(const QByteArray& target) : FName(target + ".XXXXXX")
    {
        FDescriptor = mkstemp(FName.data());
        FExists = FDescriptor >= 0;
    }
    ~TTemporaryFile()
    {
        if (FDescriptor >= 0)
            close(FDescriptor);
        if (FExists)
            unlink(FName.constData());
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    bool IsOpen() const { return FDescriptor >= 0; }
    int Descriptor() const { return FDescriptor; }
    // Closes the file and renames it over the target.
    bool CloseAndRename(const QByteArray& target)
    {
        return Close() && Rename(Release(), target);
    }
    // Closes the file and leaves it on the disk for a later rename: its name.
    bool Close()
    {
        const int descriptor = FDescriptor;
        FDescriptor = -1;
        return close(descriptor) == 0;
    }
    QByteArray Release()
    {
        FExists = false;
        return FName;
    }
    static bool Rename(const QByteArray& temporary, const QByteArray& target)
    {
        return std::rename(temporary.constData(), target.constData()) == 0;
    }

private:
    QByteArray FName;
    int FDescriptor = -1;
    bool FExists = false;
};

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
TByteWriter Whole(const QByteArray& bytes)
{
    return [&bytes](const TByteSink& sink) { sink(bytes.constData(), std::size_t(bytes.size())); };
}

mode_t NewFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// How a written temporary file is finished.
enum TFinish {
    fnSyncAndRename,
    fnRename,
    fnKeep, // closed and left for a batch's rename; its name goes to kept
};

TFileWriteResult WriteTemporaryFile(const QString& path, const TByteWriter& write, TFinish finish, int* error,
                                    std::pair<QByteArray, QByteArray>* kept)
{
    const auto fail = [error](TFileWriteResult result, int reason) {
        if (error != nullptr)
            *error = reason;
        return result;
    };
    // A rename would put a regular file in place of a device or a pipe (as root,
    // even over /dev/full), so anything else that already exists under the name is
    // refused.
    const QFileInfo given(path);
    if (given.exists() && !given.isFile())
        return fail(fwCannotCreate, given.isDir() ? EISDIR : EEXIST);
    const QString target = given.isSymLink() ? given.canonicalFilePath() : given.absoluteFilePath();
    const QByteArray targetName = QFile::encodeName(target);
    struct stat existing {};
    const bool replacing = stat(targetName.constData(), &existing) == 0;
    // A file this process may not write is refused before anything is written, as
    // the platform's own write would refuse it: a rename needs only the folder's
    // permission and would replace a read-only file, and an immutable one would
    // fail only at the rename, as a write error that names no file.
    if (replacing && access(targetName.constData(), W_OK) != 0)
        return fail(fwCannotCreate, errno);

    TTemporaryFile temporary(targetName);
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
    const mode_t mode = replacing ? (existing.st_mode & 07777) : NewFileMode();
    if (fchmod(temporary.Descriptor(), mode) != 0)
        return fail(fwWriteFailed, errno);
    bool finished = false;
    switch (finish) {
    case fnSyncAndRename:
        finished = fdatasync(temporary.Descriptor()) == 0 && temporary.CloseAndRename(targetName);
        break;
    case fnRename:
        finished = temporary.CloseAndRename(targetName);
        break;
    case fnKeep:
        finished = temporary.Close();
        if (finished)
            *kept = {temporary.Release(), targetName};
        break;
    }
    return finished ? fwOk : fail(fwWriteFailed, errno);
}

QString WriteErrorText(const QString& path, int error)
{
    return QString("ｽﾄﾘｰﾑへの書き込みｴﾗｰ (%1: %2)").arg(path, SystemErrorText(error));
}

[[noreturn]] void ThrowWriteResult(const QString& path, TFileWriteResult result, int error)
{
    if (result == fwCannotCreate)
        throw EFCreateError(QString("ﾌｧｲﾙ %1 を作成できません (%2)").arg(path, SystemErrorText(error)));
    throw EWriteError(WriteErrorText(path, error));
}

} // namespace

TFileWriteResult WriteFileAtomically(const QString& path, const TByteWriter& write, TFileSync sync, int* error)
{
    return WriteTemporaryFile(path, write, sync == fsNow ? fnSyncAndRename : fnRename, error, nullptr);
}

TFileWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes, TFileSync sync, int* error)
{
    return WriteFileAtomically(path, Whole(bytes), sync, error);
}

void SaveFileAtomically(const QString& path, const TByteWriter& write, TFileSync sync)
{
    int error = 0;
    const TFileWriteResult result = WriteFileAtomically(path, write, sync, &error);
    if (result != fwOk)
        ThrowWriteResult(path, result, error);
}

void SaveFileAtomically(const QString& path, const QByteArray& bytes, TFileSync sync)
{
    SaveFileAtomically(path, Whole(bytes), sync);
}

QString SystemErrorText(int error)
{
    return qt_error_string(error);
}

void SyncFileSystems()
{
    ::sync();
}

TFileBatch::~TFileBatch()
{
    for (const TPending& file : FPending)
        unlink(file.Temporary.constData());
}

void TFileBatch::Save(const QString& path, const TByteWriter& write)
{
    int error = 0;
    std::pair<QByteArray, QByteArray> kept;
    const TFileWriteResult result = WriteTemporaryFile(path, write, fnKeep, &error, &kept);
    if (result != fwOk)
        ThrowWriteResult(path, result, error);
    const std::lock_guard<std::mutex> lock(FLock);
    FPending.push_back(TPending{path, kept.first, kept.second});
}

QStringList TFileBatch::Commit()
{
    std::vector<TPending> pending;
    {
        const std::lock_guard<std::mutex> lock(FLock);
        pending.swap(FPending);
    }
    QStringList failures;
    if (pending.empty())
        return failures;
    SyncFileSystems();
    for (const TPending& file : pending) {
        if (!TTemporaryFile::Rename(file.Temporary, file.Target)) {
            failures.push_back(WriteErrorText(file.Path, errno));
            unlink(file.Temporary.constData());
        }
    }
    return failures;
}
