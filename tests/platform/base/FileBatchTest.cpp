#include "platform/base/FileBatch.h"

#include "platform/base/Exception.h"

#include "platform/base/UnicodeText.h"

#include "TestFolder.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

TByteWriter Bytes(const std::string& bytes)
{
    return [bytes](const TByteSink& sink) { sink(bytes.data(), bytes.size()); };
}

bool Holds(std::u16string_view text, const std::filesystem::path& path)
{
    return text.find(path.u16string()) != std::u16string_view::npos;
}

// A batch's files keep their old contents, and new ones do not exist, until the batch
// commits; then each holds its new bytes and no temporary file is left.
TEST(FileBatch, FilesReachTheirNamesOnlyWhenTheBatchCommits)
{
    TTestFolder dir;
    const std::filesystem::path replaced = dir.FilePath("a.bmp"), made = dir.FilePath("b.bmp");
    WriteBytes(replaced, "old");
    TFileBatch batch;
    batch.Save(0, replaced, Bytes("new a"));
    batch.Save(1, made, Bytes("new b"));
    EXPECT_EQ(ReadBytes(replaced), std::string("old"));
    EXPECT_FALSE(std::filesystem::exists(made));
    EXPECT_EQ(Entries(dir.Path()).size(), 3u) << "the old file and two temporary files";
    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_EQ(ReadBytes(replaced), std::string("new a"));
    EXPECT_EQ(ReadBytes(made), std::string("new b"));
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"a.bmp", "b.bmp"}));
    // A second commit has nothing left to do; a later save is committed on its own.
    EXPECT_TRUE(batch.Commit().empty());
    batch.Save(2, made, Bytes("newer b"));
    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_EQ(ReadBytes(made), std::string("newer b"));
}

TEST(FileBatch, ABatchLeftUncommittedLeavesTheOldFilesAndNoTemporaryFile)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("a.bmp");
    WriteBytes(path, "old");
    {
        TFileBatch batch;
        batch.Save(0, path, Bytes("new"));
        batch.Save(1, dir.FilePath("b.bmp"), Bytes("new"));
    }
    EXPECT_EQ(ReadBytes(path), std::string("old"));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"a.bmp"});
}

// A file whose rename fails at the commit is named in a message and its temporary file
// removed; the others are still committed. A file that cannot be started throws at once.
TEST(FileBatch, ARenameThatFailsIsReportedAndTheOtherFilesLand)
{
    TTestFolder dir;
    const std::filesystem::path lost = dir.FilePath("lost.bmp"), kept = dir.FilePath("kept.bmp");
    TFileBatch batch;
    batch.Save(0, lost, Bytes("lost"));
    batch.Save(1, kept, Bytes("kept"));
    ASSERT_TRUE(std::filesystem::create_directory(dir.FilePath("lost.bmp"))); // a folder now stands in the way
    const std::vector<TFileBatch::TFailure> failures = batch.Commit();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].Order, 0u);
    EXPECT_TRUE(Holds(failures[0].Message, lost)) << TextToUtf8(failures[0].Message);
    EXPECT_EQ(ReadBytes(kept), std::string("kept"));
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"kept.bmp", "lost.bmp"}));
    EXPECT_THROW(batch.Save(2, dir.FilePath("missing/x.bmp"), Bytes("x")), EFCreateError);
}

// Files saved out of their order (as threads finish them) are committed in it, only
// up to the order asked for; one file named two ways keeps the later order's bytes.
TEST(FileBatch, ACommitRenamesInOrderUpToTheOrderAskedFor)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("a.bmp");
    const std::filesystem::path sameFile = dir.Path().native() + "/./a.bmp";
    TFileBatch batch;
    batch.Save(3, sameFile, Bytes("third"));
    batch.Save(1, path, Bytes("first"));
    batch.Save(4, dir.FilePath("later.bmp"), Bytes("later"));
    EXPECT_EQ(batch.PendingBytes(), 15u);
    EXPECT_TRUE(batch.Commit(4).empty());
    EXPECT_EQ(ReadBytes(path), std::string("third"));
    EXPECT_FALSE(std::filesystem::exists(dir.FilePath("later.bmp")));
    EXPECT_EQ(batch.PendingBytes(), 5u);
    batch.Close();
    EXPECT_THROW(batch.Save(5, path, Bytes("closed")), EWriteError);
    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_EQ(ReadBytes(dir.FilePath("later.bmp")), std::string("later"));
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"a.bmp", "later.bmp"}));
}

// A file system on a loop device whose backing file lies on a tmpfs too small for it:
// writes succeed into the cache, and their write-back to the disk fails.
class TFailingDisk {
public:
    TFailingDisk()
    {
        if (geteuid() != 0)
            return;
        const std::u16string commands = Format(
            u"mkdir -p '%1/backing' '%1/mount' && mount -t tmpfs -o size=2m tmpfs '%1/backing' && "
            u"truncate -s 64M '%1/backing/disk' && "
            u"mkfs.ext4 -q -F -O ^has_journal -E lazy_itable_init=1 '%1/backing/disk' && "
            u"mount -o loop,errors=continue '%1/backing/disk' '%1/mount'",
            {FRoot.Path().u16string()});
        FMounted = std::system(TextToUtf8(commands).c_str()) == 0;
    }
    ~TFailingDisk()
    {
        const std::u16string commands = Format(u"umount '%1/mount'; umount '%1/backing' 2>/dev/null", {FRoot.Path().u16string()});
        [[maybe_unused]] const int status = std::system(TextToUtf8(commands).c_str());
    }
    bool Mounted() const { return FMounted; }
    std::filesystem::path Folder() const { return FRoot.FilePath("mount"); }

private:
    TTestFolder FRoot;
    bool FMounted = false;
};

// The write-back of a group fails on the disk: those files fail with the write error,
// their old contents stay, and no temporary file is left.
TEST(FileBatch, AFailedWriteBackFailsItsFilesAndKeepsTheOldOnes)
{
    TFailingDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "needs root to mount a loop device";
    const std::filesystem::path old = disk.Folder() / "old.bmp";
    WriteBytes(old, "old");
    sync();
    TFileBatch batch;
    const std::string large(4 << 20, 'x');
    batch.Save(0, old, Bytes(large));
    batch.Save(1, disk.Folder() / "new.bmp", Bytes(large));
    const std::vector<TFileBatch::TFailure> failures = batch.Commit();
    ASSERT_FALSE(failures.empty());
    for (const TFileBatch::TFailure& failure : failures)
        EXPECT_TRUE(failure.Message.starts_with(u"ｽﾄﾘｰﾑへの書き込みｴﾗｰ")) << TextToUtf8(failure.Message);
    EXPECT_EQ(ReadBytes(old), std::string("old"));
    std::vector<std::string> left = Entries(disk.Folder());
    std::erase(left, "lost+found");
    std::erase(left, "new.bmp"); // when its own write-back went through
    EXPECT_EQ(left, std::vector<std::string>{"old.bmp"});
}

} // namespace
