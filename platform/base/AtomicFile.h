#pragma once

#include "platform/base/ByteSink.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>

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
// link is followed: the file it points to is replaced, or made when the link
// dangles into a folder that exists. A replaced file keeps its permissions; a new
// one gets the usual ones (0666 less the umask the process started with). On
// failure error, when given, receives the system's error number that says why; an
// empty path is no file (ENOENT).
TFileWriteResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, TFileSync sync = fsNow,
                                     int* error = nullptr);
// The same with the bytes handed over piece by piece by write, which is called once,
// after the temporary file is made, so that a large file needs no buffer of its size.
// An exception from write leaves the old file as it was and goes on to the caller.
TFileWriteResult WriteFileAtomically(const std::filesystem::path& path, const TByteWriter& write, TFileSync sync = fsNow,
                                     int* error = nullptr);

// Like WriteFileAtomically, but throws EFCreateError when the file cannot be
// created and EWriteError when writing it fails; both messages name the file and
// end with the system's reason.
void SaveFileAtomically(const std::filesystem::path& path, std::string_view bytes, TFileSync sync = fsNow);
void SaveFileAtomically(const std::filesystem::path& path, const TByteWriter& write, TFileSync sync = fsNow);

// The system's text for an error number ("No such file or directory"): four common
// reasons in fixed English words, the others in the C library's, as the messages have
// always worded them.
std::u16string SystemErrorText(int error);

// The file a path reaches, symbolic links followed: the folder it is or will be in,
// its name there, and whether it exists (then info holds its status).
struct TFileTarget {
    std::string Folder;
    std::string Name;
    bool Exists = false;
    struct stat Info {};
    dev_t Device = 0; // the file system the file is or will be on

    std::string Path() const { return Folder + '/' + Name; }
    // 0, or the error number why no regular file can be written at path: a missing
    // folder, a folder or device under the name, a loop of links.
    static int Resolve(const std::filesystem::path& path, TFileTarget& target);
};

// The write error's text for a file ("ｽﾄﾘｰﾑへの書き込みｴﾗｰ (path: reason)").
std::u16string WriteErrorText(const std::filesystem::path& path, int error);

// A file written in full to its temporary file, which is closed and left for a later
// rename (TTemporaryFile::RenameKept) after a sync: how a batch of files is saved.
struct TWrittenFile {
    std::string Temporary;
    TFileTarget Target;
    std::uint64_t Bytes = 0;
};
// Writes a file so, throwing as SaveFileAtomically does; resolved is told the file path
// reaches before anything is written.
void SaveFileForLaterRename(const std::filesystem::path& path, const TByteWriter& write, TWrittenFile& written,
                            const std::function<void(const TFileTarget&)>& resolved);
