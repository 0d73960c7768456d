#include "platform/base/AtomicFile.h"

#include "platform/base/Exception.h"
#include "platform/base/UnicodeText.h"

#include "TestFolder.h"

#include <QString>

#include <algorithm>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
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
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("logo.ini");
    EXPECT_EQ(WriteFileAtomically(path, "abc\r\n"), fwOk);
    EXPECT_EQ(ReadBytes(path), std::string("abc\r\n"));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"logo.ini"});
}

TEST(AtomicFile, ReplacesLongerFileCompletely)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("logo.ini");
    WriteBytes(path, std::string(5000, 'x'));
    EXPECT_EQ(WriteFileAtomically(path, "new"), fwOk);
    EXPECT_EQ(ReadBytes(path), std::string("new"));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"logo.ini"});
}

TEST(AtomicFile, RefusesTargetsThatCannotBeCreated)
{
    TTestFolder dir;
    std::filesystem::create_directory(dir.FilePath("folder"));
    const std::filesystem::path fifo = dir.FilePath("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    const std::filesystem::path targets[] = {dir.FilePath("missing/logo.ini"), dir.FilePath("folder"), fifo};
    for (const std::filesystem::path& target : targets) {
        SCOPED_TRACE(target);
        EXPECT_EQ(WriteFileAtomically(target, "abc"), fwCannotCreate);
    }
    struct stat info {};
    ASSERT_EQ(stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"folder", "pipe"}));
    EXPECT_THROW(SaveFileAtomically(targets[0], "abc"), EFCreateError);
}

TEST(AtomicFile, RefusesFolderClosedToWriting)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into any folder";
    TTestFolder dir;
    ASSERT_EQ(chmod(dir.Path().c_str(), 0500), 0);
    EXPECT_EQ(WriteFileAtomically(dir.FilePath("logo.ini"), "abc"), fwCannotCreate);
    chmod(dir.Path().c_str(), 0700);
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
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("kept.bmp");
    WriteBytes(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);

    const int result = RunUnprivileged([&] { return int(WriteFileAtomically(path, "new")); });
    EXPECT_EQ(result, fwCannotCreate);
    EXPECT_EQ(ReadBytes(path), std::string("old"));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"kept.bmp"});
    const int thrown = RunUnprivileged([&] { return ThrowsOnSave<EFCreateError>([&] { SaveFileAtomically(path, "new"); }); });
    EXPECT_EQ(thrown, 1);
}

TEST(AtomicFile, FailureMidWayKeepsOldFileAndLeavesNoTemporaryFile)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("logo.bmp");
    const std::string old(1000, 'o');
    WriteBytes(path, old);

    const int result = RunWithFileSizeLimit(4096, [&] {
        return int(WriteFileAtomically(path, std::string(100000, 'n')));
    });
    EXPECT_EQ(result, fwWriteFailed);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"logo.bmp"});

    const int thrown = RunWithFileSizeLimit(
        4096, [&] { return ThrowsOnSave<EWriteError>([&] { SaveFileAtomically(path, std::string(100000, 'n')); }); });
    EXPECT_EQ(thrown, 1);
}

// Pieces large enough that the file goes to the disk in parts while it is written.
TEST(AtomicFile, WritesThePiecesAWriterHandsOverInTheirOrder)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("logo.bmp");
    WriteBytes(path, "old");
    std::string expected;
    for (const TFileSync sync : {fsNow, fsDeferred}) {
        SCOPED_TRACE(int(sync));
        expected.clear();
        const auto write = [&expected](const TByteSink& sink) {
            for (int piece = 0; piece < 12; ++piece) {
                const std::string bytes(100000 + piece, char('a' + piece));
                expected += bytes;
                sink(bytes.data(), bytes.size());
            }
        };
        ASSERT_EQ(WriteFileAtomically(path, write, sync), fwOk);
        EXPECT_EQ(ReadBytes(path), expected);
        EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"logo.bmp"});
    }
}

TEST(AtomicFile, AWriterThatThrowsKeepsOldFileAndLeavesNoTemporaryFile)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("logo.bmp");
    WriteBytes(path, "old");
    const auto write = [](const TByteSink& sink) {
        sink("new", 3);
        throw EImageSizeError(u"too large");
    };
    EXPECT_THROW(WriteFileAtomically(path, write), EImageSizeError);
    EXPECT_THROW(SaveFileAtomically(path, write), EImageSizeError);
    EXPECT_EQ(ReadBytes(path), std::string("old"));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"logo.bmp"});
}

// The second piece crosses the limit: the pieces written before it do not make a file.
TEST(AtomicFile, AFailedPieceFailsTheWholeFileAndKeepsTheOldOne)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("logo.bmp");
    WriteBytes(path, "old");
    const int result = RunWithFileSizeLimit(4096, [&] {
        return int(WriteFileAtomically(path, [](const TByteSink& sink) {
            const std::string bytes(3000, 'n');
            for (int piece = 0; piece < 5; ++piece)
                sink(bytes.data(), bytes.size());
        }));
    });
    EXPECT_EQ(result, fwWriteFailed);
    EXPECT_EQ(ReadBytes(path), std::string("old"));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"logo.bmp"});
}

} // namespace

TEST(AtomicFile, ReplacedFileKeepsItsPermissionsAndDeferredWritesLandToo)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("kept.bmp");
    ASSERT_EQ(WriteFileAtomically(path, "old"), fwOk);
    const mode_t mask = umask(0);
    umask(mask);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask) << "a new file gets the usual permissions";
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(WriteFileAtomically(path, "new bytes", fsDeferred), fwOk);
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadBytes(path), std::string("new bytes"));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"kept.bmp"});
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
        TTestFolder dir;
        ASSERT_TRUE(std::filesystem::create_directory(dir.FilePath("sub")));
        WriteBytes(dir.FilePath("old.bmp"), "old");
        ASSERT_EQ(symlink("old.bmp", dir.FilePath("second").c_str()), 0);
        ASSERT_EQ(symlink(test.Link, dir.FilePath("given").c_str()), 0);
        const std::vector<std::string> before = Entries(dir.Path());
        const std::filesystem::path current = std::filesystem::current_path();
        std::filesystem::current_path(dir.FilePath("sub"));
        const TFileWriteResult result = WriteFileAtomically(dir.FilePath("given"), "new");
        std::filesystem::current_path(current);
        if (test.Written == nullptr) {
            EXPECT_EQ(result, fwCannotCreate);
            EXPECT_EQ(Entries(dir.Path()), before);
            EXPECT_EQ(ReadBytes(dir.FilePath("old.bmp")), std::string("old"));
            continue;
        }
        EXPECT_EQ(result, fwOk);
        EXPECT_EQ(ReadBytes(dir.FilePath(test.Written)), std::string("new"));
        EXPECT_TRUE(std::filesystem::is_symlink(dir.FilePath("given")));
        std::vector<std::string> after = Entries(dir.Path());
        for (const std::string& name : Entries(dir.FilePath("sub")))
            after.push_back(name);
        std::erase(after, "made.bmp");
        std::erase(after, "new.bmp");
        std::sort(after.begin(), after.end());
        EXPECT_EQ(after, before);
    }
}

// An empty name is no file; a name near the system's limit still gets its temporary
// file beside it.
TEST(AtomicFile, AnEmptyNameWritesNothingAndALongNameIsWritten)
{
    TTestFolder dir;
    const std::filesystem::path current = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    EXPECT_EQ(WriteFileAtomically(std::filesystem::path(), "x"), fwCannotCreate);
    const std::filesystem::path longName = std::u16string(80, u'あ') + u".bmp"; // 244 bytes in UTF-8
    EXPECT_EQ(WriteFileAtomically(longName, "long"), fwOk);
    std::filesystem::current_path(current);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{longName.native()});
    EXPECT_EQ(ReadBytes(dir.FilePath(longName)), std::string("long"));
}

// The rename itself fails (a folder took the file's place while it was written): the
// old name is left to the folder and the temporary file is removed.
TEST(AtomicFile, AFailedRenameLeavesNoTemporaryFile)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("logo.bmp");
    WriteBytes(path, "old");
    const auto write = [&](const TByteSink& sink) {
        sink("new", 3);
        std::filesystem::remove(path);
        std::filesystem::create_directories(dir.FilePath("logo.bmp/inside"));
    };
    EXPECT_EQ(WriteFileAtomically(path, write), fwWriteFailed);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"logo.bmp"});
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

// The reasons read as Qt's qt_error_string words them, which the messages used.
TEST(AtomicFile, SystemErrorTextWordsReasonsAsQtDid)
{
    for (int error = 0; error < 140; ++error) {
        SCOPED_TRACE(error);
        EXPECT_EQ(SystemErrorText(error), qt_error_string(error).toStdU16String());
    }
}

TEST(AtomicFile, ErrorsNameTheFileAndTheReason)
{
    TTestFolder dir;
    const std::filesystem::path path = dir.FilePath("missing/ロゴ.bmp");
    EXPECT_EQ(WriteErrorText(path, ENOSPC),
              u"ｽﾄﾘｰﾑへの書き込みｴﾗｰ (" + path.u16string() + u": No space left on device)");
    try {
        SaveFileAtomically(path, "x");
        ADD_FAILURE() << "no exception";
    } catch (const EFCreateError& error) {
        EXPECT_EQ(error.Message(), u"ﾌｧｲﾙ " + path.u16string() + u" を作成できません (No such file or directory)");
        EXPECT_EQ(error.what(), TextToUtf8(error.Message()));
    }
}

} // namespace
