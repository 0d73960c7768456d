#pragma once

#include "platform/base/AtomicFile.h"
#include "platform/base/ByteSink.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// Files saved together, as a batch of logos is: each is written to a temporary file
// beside its target when it is saved, and Commit makes a group of them durable with
// one sync of each file system they are on before it renames them over their targets
// in their order, so that a power cut leaves every target old or new without a sync
// a file. A sync that fails fails the files it was for, whose targets are kept. Files
// saved and not committed are removed. Save may be called from several threads at once.
class TFileBatch {
public:
    // A file that could not be committed: its order, and the write error's text.
    struct TFailure {
        std::size_t Order = 0;
        std::u16string Message;
    };

    TFileBatch() = default;
    ~TFileBatch();
    TFileBatch(const TFileBatch&) = delete;
    TFileBatch& operator=(const TFileBatch&) = delete;

    // Writes the temporary file of the file that comes order'th in the batch; throws
    // as SaveFileAtomically does, and after Close.
    void Save(std::size_t order, const std::filesystem::path& path, const TByteWriter& write);
    // The bytes saved and not yet committed.
    std::uint64_t PendingBytes() const;
    // Syncs and renames the files saved with an order below upTo, in their order (of two
    // files with one target the later order's stays); returns those that failed.
    std::vector<TFailure> Commit(std::size_t upTo = SIZE_MAX);
    // Refuses every later save; a save in progress removes its own temporary file.
    void Close();

private:
    struct TPending {
        std::size_t Order = 0;
        std::filesystem::path Path;
        TWrittenFile File;
    };
    // A file system the batch writes to, with a handle on it taken before its first
    // file was written, and its files not yet committed.
    struct TFileSystem {
        int Descriptor = -1;
        std::vector<TPending> Files;
    };

    void OpenFileSystem(const TFileTarget& target);

    mutable std::mutex FLock;
    std::map<dev_t, TFileSystem> FSystems;
    std::uint64_t FPendingBytes = 0;
    bool FClosed = false;
};
