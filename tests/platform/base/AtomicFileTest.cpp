#include "platform/base/AtomicFile.h"

#include "platform/base/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("new bytes"));
    EXPECT_EQ(Entries(dir.path()), QStringList{"kept.bmp"});
}

namespace {

// A path given through symbolic links writes the file they lead to, made where the
// last one dangles into a folder; a link that leads nowhere a file can be is refused.
// Nothing else appears, in the folder or in the current one.
TEST(AtomicFile, AFileGivenThroughLinksIsTheFileTheyLeadTo)
{
    struct TCase {
        const char* Name;
        const char* Link;    // the link "given" made in the folder, to this
        const char* Written; // the file that then holds the bytes, or null when refused
    };
    const TCase cases[] = {
        {"to an existing file", "old.bmp", "old.bmp"},
        {"dangling into the folder", "new.bmp", "new.bmp"},
        {"through another link", "second", "old.bmp"},
        {"dangling into a subfolder", "sub/made.bmp", "sub/made.bmp"},
        {"dangling into a missing folder", "missing/x.bmp", nullptr},
        {"in a loop", "given", nullptr},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
        WriteAll(dir.filePath("old.bmp"), "old");
        ASSERT_TRUE(QFile::link("old.bmp", dir.filePath("second")));
        ASSERT_EQ(symlink(test.Link, QFile::encodeName(dir.filePath("given")).constData()), 0);
        const QStringList before = Entries(dir.path());
        const QString current = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.filePath("sub")));
        const TFileWriteResult result = WriteFileAtomically(dir.filePath("given"), "new");
        QDir::setCurrent(current);
        if (test.Written == nullptr) {
            EXPECT_EQ(result, fwCannotCreate);
            EXPECT_EQ(Entries(dir.path()), before);
            EXPECT_EQ(ReadAll(dir.filePath("old.bmp")), QByteArray("old"));
            continue;
        }
        EXPECT_EQ(result, fwOk);
        EXPECT_EQ(ReadAll(dir.filePath(test.Written)), QByteArray("new"));
        EXPECT_TRUE(QFileInfo(dir.filePath("given")).isSymLink());
        QStringList after = Entries(dir.path()) + Entries(dir.filePath("sub"));
        after.removeAll(QStringLiteral("made.bmp"));
        after.removeAll(QStringLiteral("new.bmp"));
        QStringList expected = before;
        expected.sort();
        after.sort();
        EXPECT_EQ(after, expected);
    }
}

// An empty name is no file; a name near the system's limit still gets its temporary
// file beside it.
TEST(AtomicFile, AnEmptyNameWritesNothingAndALongNameIsWritten)
{
    QTemporaryDir dir;
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    EXPECT_EQ(WriteFileAtomically(QString(), "x"), fwCannotCreate);
    const QString longName = QString(246, QChar(u'あ')).left(80) + QStringLiteral(".bmp"); // 244 bytes in UTF-8
    EXPECT_EQ(WriteFileAtomically(longName, "long"), fwOk);
    QDir::setCurrent(current);
    EXPECT_EQ(Entries(dir.path()), QStringList{longName});
    EXPECT_EQ(ReadAll(dir.filePath(longName)), QByteArray("long"));
}

// The rename itself fails (a folder took the file's place while it was written): the
// old name is left to the folder and the temporary file is removed.
TEST(AtomicFile, AFailedRenameLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.bmp");
    WriteAll(path, "old");
    const auto write = [&](const TByteSink& sink) {
        sink("new", 3);
        QFile::remove(path);
        QDir(dir.path()).mkpath("logo.bmp/inside");
    };
    EXPECT_EQ(WriteFileAtomically(path, write), fwWriteFailed);
    EXPECT_EQ(Entries(dir.path()), QStringList{"logo.bmp"});
    EXPECT_TRUE(QFileInfo(path).isDir());
}

} // namespace
