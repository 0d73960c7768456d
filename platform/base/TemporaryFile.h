#pragma once

#include <string>

// A temporary file beside the file it will replace, named ".NAME.vezodev-XXXXXX" in
// the target's folder, so that one left behind by a killed program says whose it is
// and what it was for. It is removed again unless it is renamed over its target or
// kept for a later rename.
//
// Every temporary file the process has on the disk is listed in one registry, so that
// a program stopped by a signal can remove them all before it ends (RemoveAll).
class TTemporaryFile {
public:
    // Creates the file in folder (which must exist) for the target file name; on
    // failure IsOpen() is false and errno tells why.
    TTemporaryFile(const std::string& folder, const std::string& name);
    ~TTemporaryFile();
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    bool IsOpen() const { return FDescriptor >= 0; }
    int Descriptor() const { return FDescriptor; }
    const std::string& Path() const { return FPath; }

    // Closes the file; false (errno set) when the system reports an error.
    bool Close();
    // Renames the closed file over target; on failure the file is still removed by the
    // destructor.
    bool RenameOver(const std::string& target);
    // Leaves the closed file on the disk, still listed, for RenameKept or RemoveKept;
    // its path.
    std::string Keep();

    // The same for a file kept earlier: both take it off the list.
    static bool RenameKept(const std::string& path, const std::string& target);
    static void RemoveKept(const std::string& path);
    // Removes every listed file and refuses to make new ones: for a process that is
    // about to end. A rename of a listed file racing with it may fail, which leaves
    // the target as it was.
    static void RemoveAll();

    // The name of the temporary file for a target file name (without the random part's
    // letters filled in): long names are shortened so that it stays a valid name.
    static std::string NameFor(const std::string& name);

private:
    std::string FPath;
    int FDescriptor = -1;
    bool FListed = false;
};
