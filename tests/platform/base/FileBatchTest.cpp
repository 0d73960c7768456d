#include "platform/base/FileBatch.h"

#include "platform/base/Exception.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestFiles.h"
#include <cstdlib>
#include <unistd.h>

namespace {

TByteWriter Bytes(const QByteArray& bytes)
{
    return [bytes](const TByteSink& sink) { sink(bytes.constData(), std::size_t(bytes.size())); };
}

// A batch's files keep their old contents, and new ones do not exist, until the batch
// commits; then each holds its new bytes and no temporary file is left.
TEST(FileBatch, FilesReachTheirNamesOnlyWhenTheBatchCommits)
{
    QTemporaryDir dir;
    const QString replaced = dir.filePath("a.bmp"), made = dir.filePath("b.bmp");
    WriteAll(replaced, "old");
    TFileBatch batch;
    batch.Save(0, replaced, Bytes("new a"));
    batch.Save(1, made, Bytes("new b"));
    EXPECT_EQ(ReadAll(replaced), QByteArray("old"));
    EXPECT_FALSE(QFile::exists(made));
    EXPECT_EQ(Entries(dir.path()).size(), 3) << "the old file and two temporary files";
    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_EQ(ReadAll(replaced), QByteArray("new a"));
    EXPECT_EQ(ReadAll(made), QByteArray("new b"));
    EXPECT_EQ(Entries(dir.path()), (QStringList{"a.bmp", "b.bmp"}));
    // A second commit has nothing left to do; a later save is committed on its own.
    EXPECT_TRUE(batch.Commit().empty());
    batch.Save(2, made, Bytes("newer b"));
    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_EQ(ReadAll(made), QByteArray("newer b"));
}

TEST(FileBatch, ABatchLeftUncommittedLeavesTheOldFilesAndNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bmp");
    WriteAll(path, "old");
    {
        TFileBatch batch;
        batch.Save(0, path, Bytes("new"));
        batch.Save(1, dir.filePath("b.bmp"), Bytes("new"));
    }
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
    EXPECT_EQ(Entries(dir.path()), QStringList{"a.bmp"});
}

// A file whose rename fails at the commit is named in a message and its temporary file
// removed; the others are still committed. A file that cannot be started throws at once.
TEST(FileBatch, ARenameThatFailsIsReportedAndTheOtherFilesLand)
{
    QTemporaryDir dir;
    const QString lost = dir.filePath("lost.bmp"), kept = dir.filePath("kept.bmp");
    TFileBatch batch;
    batch.Save(0, lost, Bytes("lost"));
    batch.Save(1, kept, Bytes("kept"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("lost.bmp")); // a folder now stands in the way
    const std::vector<TFileBatch::TFailure> failures = batch.Commit();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].Order, 0u);
    EXPECT_TRUE(failures[0].Message.contains(lost)) << failures[0].Message.toStdString();
    EXPECT_EQ(ReadAll(kept), QByteArray("kept"));
    EXPECT_EQ(Entries(dir.path()), (QStringList{"kept.bmp", "lost.bmp"}));
    EXPECT_THROW(batch.Save(2, dir.filePath("missing/x.bmp"), Bytes("x")), EFCreateError);
}

// Files saved out of their order (as threads finish them) are committed in it, only
// up to the order asked for; one file named two ways keeps the later order's bytes.
TEST(FileBatch, ACommitRenamesInOrderUpToTheOrderAskedFor)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bmp");
    const QString sameFile = dir.path() + "/./a.bmp";
    TFileBatch batch;
    batch.Save(3, sameFile, Bytes("third"));
    batch.Save(1, path, Bytes("first"));
    batch.Save(4, dir.filePath("later.bmp"), Bytes("later"));
    EXPECT_EQ(batch.PendingBytes(), 15u);
    EXPECT_TRUE(batch.Commit(4).empty());
    EXPECT_EQ(ReadAll(path), QByteArray("third"));
    EXPECT_FALSE(QFile::exists(dir.filePath("later.bmp")));
    EXPECT_EQ(batch.PendingBytes(), 5u);
    batch.Close();
    EXPECT_THROW(batch.Save(5, path, Bytes("closed")), EWriteError);
    EXPECT_TRUE(batch.Commit().empty());
    EXPECT_EQ(ReadAll(dir.filePath("later.bmp")), QByteArray("later"));
    EXPECT_EQ(Entries(dir.path()), (QStringList{"a.bmp", "later.bmp"}));
}

// A file system on a loop device whose backing file lies on a tmpfs too small for it:
// writes succeed into the cache, and their write-back to the disk fails.
class TFailingDisk {
public:
    TFailingDisk()
    {
        if (geteuid() != 0 || !FRoot.isValid())
            return;
        const QString commands = QStringLiteral(
            "mkdir -p '%1/backing' '%1/mount' && mount -t tmpfs -o size=2m tmpfs '%1/backing' && "
            "truncate -s 64M '%1/backing/disk' && "
            "mkfs.ext4 -q -F -O ^has_journal -E lazy_itable_init=1 '%1/backing/disk' && "
            "mount -o loop,errors=continue '%1/backing/disk' '%1/mount'")
                                     .arg(FRoot.path());
        FMounted = std::system(commands.toLocal8Bit().constData()) == 0;
    }
    ~TFailingDisk()
    {
        const QString commands = QStringLiteral("umount '%1/mount'; umount '%1/backing'").arg(FRoot.path());
        [[maybe_unused]] const int status = std::system((commands + " 2>/dev/null").toLocal8Bit().constData());
    }
    bool Mounted() const { return FMounted; }
    QString Folder() const { return FRoot.filePath("mount"); }

private:
    QTemporaryDir FRoot;
    bool FMounted = false;
};

// The write-back of a group fails on the disk: those files fail with the write error,
// their old contents stay, and no temporary file is left.
TEST(FileBatch, AFailedWriteBackFailsItsFilesAndKeepsTheOldOnes)
{
    TFailingDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "needs root to mount a loop device";
    const QString old = disk.Folder() + "/old.bmp";
    WriteAll(old, "old");
    sync();
    TFileBatch batch;
    const QByteArray large(4 << 20, 'x');
    batch.Save(0, old, Bytes(large));
    batch.Save(1, disk.Folder() + "/new.bmp", Bytes(large));
    const std::vector<TFileBatch::TFailure> failures = batch.Commit();
    ASSERT_FALSE(failures.empty());
    for (const TFileBatch::TFailure& failure : failures)
        EXPECT_TRUE(failure.Message.startsWith(QString::fromUtf8("ｽﾄﾘｰﾑへの書き込みｴﾗｰ"))) << failure.Message.toStdString();
    EXPECT_EQ(ReadAll(old), QByteArray("old"));
    QStringList left = Entries(disk.Folder());
    left.removeAll(QStringLiteral("lost+found"));
    left.removeAll(QStringLiteral("new.bmp")); // when its own write-back went through
    EXPECT_EQ(left, QStringList{"old.bmp"});
}

} // namespace
