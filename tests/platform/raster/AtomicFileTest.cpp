#include "platform/raster/AtomicFile.h"

#include "platform/raster/Exception.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

#include "TestFiles.h"
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs body in a child process after prepare (which may end the child with its own
// code) and returns the child's exit code.
int RunInChild(const std::function<void()>& prepare, const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0) {
        prepare();
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs body in a child process whose files may not grow past limit bytes, as on a
// full disk, and returns the child's exit code.
// 1 when saving throws the error expected, 0 when it throws nothing: a result that a
// child process can hand back as its exit status.
template <class TError>
int ThrowsOnSave(const std::function<void()>& save)
{
    try {
        save();
    } catch (const TError&) {
        return 1;
    }
    return 0;
}

int RunWithFileSizeLimit(rlim_t limit, const std::function<int()>& body)
{
    return RunInChild(
        [limit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit fileSize{limit, limit};
            setrlimit(RLIMIT_FSIZE, &fileSize);
        },
        body);
}

TEST(AtomicFile, WritesNewFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.ini");
    EXPECT_EQ(WriteFileAtomically(path, "abc\r\n"), fwOk);
    EXPECT_EQ(ReadAll(path), QByteArray("abc\r\n"));
    EXPECT_EQ(Entries(dir.path()), QStringList{"logo.ini"});
}

TEST(AtomicFile, ReplacesLongerFileCompletely)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.ini");
    WriteAll(path, QByteArray(5000, 'x'));
    EXPECT_EQ(WriteFileAtomically(path, "new"), fwOk);
    EXPECT_EQ(ReadAll(path), QByteArray("new"));
    EXPECT_EQ(Entries(dir.path()), QStringList{"logo.ini"});
}

TEST(AtomicFile, RefusesTargetsThatCannotBeCreated)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("folder");
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    const QString targets[] = {dir.filePath("missing/logo.ini"), dir.filePath("folder"), fifo};
    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        EXPECT_EQ(WriteFileAtomically(target, "abc"), fwCannotCreate);
    }
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(Entries(dir.path()), (QStringList{"folder", "pipe"}));
    EXPECT_THROW(SaveFileAtomically(targets[0], "abc"), EFCreateError);
}

TEST(AtomicFile, RefusesFolderClosedToWriting)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into any folder";
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(WriteFileAtomically(dir.filePath("logo.ini"), "abc"), fwCannotCreate);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Runs body in a child process without root's privilege (as the user nobody when the
// test runs as root) and returns the child's exit code.
int RunUnprivileged(const std::function<int()>& body)
{
    return RunInChild(
        [] {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                _exit(100);
        },
        body);
}

TEST(AtomicFile, RefusesAReadOnlyFileEvenInAWritableFolder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.bmp");
    WriteAll(path, "old");
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0444), 0);
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);

    const int result = RunUnprivileged([&] { return int(WriteFileAtomically(path, "new")); });
    EXPECT_EQ(result, fwCannotCreate);
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
    EXPECT_EQ(Entries(dir.path()), QStringList{"kept.bmp"});
    const int thrown = RunUnprivileged([&] { return ThrowsOnSave<EFCreateError>([&] { SaveFileAtomically(path, "new"); }); });
    EXPECT_EQ(thrown, 1);
}

TEST(AtomicFile, FailureMidWayKeepsOldFileAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.bmp");
    const QByteArray old(1000, 'o');
    WriteAll(path, old);

    const int result = RunWithFileSizeLimit(4096, [&] {
        return int(WriteFileAtomically(path, QByteArray(100000, 'n')));
    });
    EXPECT_EQ(result, fwWriteFailed);
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(Entries(dir.path()), QStringList{"logo.bmp"});

    const int thrown = RunWithFileSizeLimit(
        4096, [&] { return ThrowsOnSave<EWriteError>([&] { SaveFileAtomically(path, QByteArray(100000, 'n')); }); });
    EXPECT_EQ(thrown, 1);
}

// Pieces large enough that the file goes to the disk in parts while it is written.
TEST(AtomicFile, WritesThePiecesAWriterHandsOverInTheirOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.bmp");
    WriteAll(path, "old");
    QByteArray expected;
    for (const TFileSync sync : {fsNow, fsDeferred}) {
        SCOPED_TRACE(int(sync));
        expected.clear();
        const auto write = [&expected](const TByteSink& sink) {
            for (int piece = 0; piece < 12; ++piece) {
                const QByteArray bytes(100000 + piece, char('a' + piece));
                expected += bytes;
                sink(bytes.constData(), std::size_t(bytes.size()));
            }
        };
        ASSERT_EQ(WriteFileAtomically(path, write, sync), fwOk);
        EXPECT_EQ(ReadAll(path), expected);
        EXPECT_EQ(Entries(dir.path()), QStringList{"logo.bmp"});
    }
}

TEST(AtomicFile, AWriterThatThrowsKeepsOldFileAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.bmp");
    WriteAll(path, "old");
    const auto write = [](const TByteSink& sink) {
        sink("new", 3);
        throw EImageSizeError(QStringLiteral("too large"));
    };
    EXPECT_THROW(WriteFileAtomically(path, write), EImageSizeError);
    EXPECT_THROW(SaveFileAtomically(path, write), EImageSizeError);
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
    EXPECT_EQ(Entries(dir.path()), QStringList{"logo.bmp"});
}

// The second piece crosses the limit: the pieces written before it do not make a file.
TEST(AtomicFile, AFailedPieceFailsTheWholeFileAndKeepsTheOldOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.bmp");
    WriteAll(path, "old");
    const int result = RunWithFileSizeLimit(4096, [&] {
        return int(WriteFileAtomically(path, [](const TByteSink& sink) {
            const QByteArray bytes(3000, 'n');
            for (int piece = 0; piece < 5; ++piece)
                sink(bytes.constData(), std::size_t(bytes.size()));
        }));
    });
    EXPECT_EQ(result, fwWriteFailed);
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
    EXPECT_EQ(Entries(dir.path()), QStringList{"logo.bmp"});
}

} // namespace

TEST(AtomicFile, ReplacedFileKeepsItsPermissionsAndDeferredWritesLandToo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.bmp");
    ASSERT_EQ(WriteFileAtomically(path, "old"), fwOk);
    const mode_t mask = umask(0);
    umask(mask);
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask) << "a new file gets the usual permissions";
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_EQ(WriteFileAtomically(path, "new bytes", fsDeferred), fwOk);
    SyncFileSystems();
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("new bytes"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.bmp"});
}

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
    batch.Save(replaced, Bytes("new a"));
    batch.Save(made, Bytes("new b"));
    EXPECT_EQ(ReadAll(replaced), QByteArray("old"));
    EXPECT_FALSE(QFile::exists(made));
    EXPECT_EQ(Entries(dir.path()).size(), 3) << "the old file and two temporary files";
    EXPECT_TRUE(batch.Commit().isEmpty());
    EXPECT_EQ(ReadAll(replaced), QByteArray("new a"));
    EXPECT_EQ(ReadAll(made), QByteArray("new b"));
    EXPECT_EQ(Entries(dir.path()), (QStringList{"a.bmp", "b.bmp"}));
    // A second commit has nothing left to do; a later save is committed on its own.
    EXPECT_TRUE(batch.Commit().isEmpty());
    batch.Save(made, Bytes("newer b"));
    EXPECT_TRUE(batch.Commit().isEmpty());
    EXPECT_EQ(ReadAll(made), QByteArray("newer b"));
}

TEST(FileBatch, ABatchLeftUncommittedLeavesTheOldFilesAndNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bmp");
    WriteAll(path, "old");
    {
        TFileBatch batch;
        batch.Save(path, Bytes("new"));
        batch.Save(dir.filePath("b.bmp"), Bytes("new"));
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
    batch.Save(lost, Bytes("lost"));
    batch.Save(kept, Bytes("kept"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("lost.bmp")); // a folder now stands in the way
    const QStringList failures = batch.Commit();
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains(lost)) << failures[0].toStdString();
    EXPECT_EQ(ReadAll(kept), QByteArray("kept"));
    EXPECT_EQ(Entries(dir.path()), (QStringList{"kept.bmp", "lost.bmp"}));
    EXPECT_THROW(batch.Save(dir.filePath("missing/x.bmp"), Bytes("x")), EFCreateError);
}

} // namespace
