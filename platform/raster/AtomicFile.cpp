#include "platform/raster/AtomicFile.h"

#include "platform/raster/Exception.h"

#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
        const int descriptor = FDescriptor;
        FDescriptor = -1;
        if (close(descriptor) != 0 || std::rename(FName.constData(), target.constData()) != 0)
            return false;
        FExists = false;
        return true;
    }

private:
    QByteArray FName;
    int FDescriptor = -1;
    bool FExists = false;
};

bool WriteAll(int descriptor, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = write(descriptor, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0)
            errno = ENOSPC;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

mode_t NewFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

TFileWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes, TFileSync sync, int* error)
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
    const mode_t mode = replacing ? (existing.st_mode & 07777) : NewFileMode();
    const bool written = WriteAll(temporary.Descriptor(), bytes) && fchmod(temporary.Descriptor(), mode) == 0
        && (sync == fsDeferred || fdatasync(temporary.Descriptor()) == 0);
    if (!written || !temporary.CloseAndRename(targetName))
        return fail(fwWriteFailed, errno);
    return fwOk;
}

void SaveFileAtomically(const QString& path, const QByteArray& bytes, TFileSync sync)
{
    int error = 0;
    switch (WriteFileAtomically(path, bytes, sync, &error)) {
    case fwOk:
        return;
    case fwCannotCreate:
        throw EFCreateError(QString("ﾌｧｲﾙ %1 を作成できません (%2)").arg(path, SystemErrorText(error)));
    case fwWriteFailed:
        throw EWriteError(QString("ｽﾄﾘｰﾑへの書き込みｴﾗｰ (%1: %2)").arg(path, SystemErrorText(error)));
    }
}

QString SystemErrorText(int error)
{
    return qt_error_string(error);
}

void SyncFileSystems()
{
    ::sync();
}
