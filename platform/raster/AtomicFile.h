#pragma once

#include "platform/raster/ByteSink.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <mutex>
#include <vector>

enum TFileWriteResult {
    fwOk,
    // The file could not be started: the folder is missing or closed to us, the
    // file exists but we may not write it, or the path names something other
    // than a regular file.
    fwCannotCreate,
    // Writing, flushing or the final rename failed (a full disk, for instance).
    fwWriteFailed,
};

// When the new bytes reach the disk itself.
enum TFileSync {
    fsNow,      // before the rename: a power cut leaves the old file or the new one
    fsDeferred, // not synced here: a file whose loss in a power cut costs nothing
};

// Replaces the file at path with bytes so that readers see either the old file
// or the whole new one. The bytes go to a temporary file in the same folder,
// which is renamed over the target only after every byte is written; on failure
// the temporary file is removed and the old file is left as it was. A symbolic
// link is followed: the file it points to is replaced. A replaced file keeps its
// permissions; a new one gets the usual ones (0666 less the umask). On failure
// error, when given, receives the system's error number that says why.
TFileWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes, TFileSync sync = fsNow,
                                     int* error = nullptr);
// The same with the bytes handed over piece by piece by write, which is called once,
// after the temporary file is made, so that a large file needs no buffer of its size.
// An exception from write leaves the old file as it was and goes on to the caller.
TFileWriteResult WriteFileAtomically(const QString& path, const TByteWriter& write, TFileSync sync = fsNow,
                                     int* error = nullptr);

// Like WriteFileAtomically, but throws EFCreateError when the file cannot be
// created and EWriteError when writing it fails; both messages name the file and
// end with the system's reason.
void SaveFileAtomically(const QString& path, const QByteArray& bytes, TFileSync sync = fsNow);
void SaveFileAtomically(const QString& path, const TByteWriter& write, TFileSync sync = fsNow);

// The system's text for an error number ("No such file or directory").
QString SystemErrorText(int error);

// Flushes what deferred writes left in the cache to the disks.
void SyncFileSystems();

// Files saved together, as a batch of logos is: each is written to a temporary file
// beside its target when it is saved, and Commit makes them all durable with one sync
// before it renames each over its target, so that a power cut leaves every target old
// or new without a sync a file. Files saved and not committed are removed. Save may be
// called from several threads at once.
class TFileBatch {
public:
    TFileBatch() = default;
    ~TFileBatch();
    TFileBatch(const TFileBatch&) = delete;
    TFileBatch& operator=(const TFileBatch&) = delete;

    // Writes the temporary file; throws as SaveFileAtomically does.
    void Save(const QString& path, const TByteWriter& write);
    // Syncs and renames the files saved since the last commit, in the order they were
    // saved; returns the message of each rename that failed, whose target is kept.
    QStringList Commit();

private:
    struct TPending {
        QString Path;
        QByteArray Temporary;
        QByteArray Target;
    };
    std::mutex FLock;
    std::vector<TPending> FPending;
};
