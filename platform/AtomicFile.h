#pragma once

#include <QByteArray>
#include <QString>

enum TFileWriteResult {
    fwOk,
    // The file could not be started: the folder is missing or closed to us, or
    // the path names something other than a regular file.
    fwCannotCreate,
    // Writing, flushing or the final rename failed (a full disk, for instance).
    fwWriteFailed,
};

// Replaces the file at path with bytes so that readers see either the old file
// or the whole new one. The bytes go to a temporary file in the same folder,
// which is renamed over the target only after every byte is on disk; on failure
// the temporary file is removed and the old file is left as it was. A symbolic
// link is followed: the file it points to is replaced.
TFileWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Like WriteFileAtomically, but throws EFCreateError when the file cannot be
// created and EWriteError when writing it fails.
void SaveFileAtomically(const QString& path, const QByteArray& bytes);
