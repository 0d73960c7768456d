#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "RenderProcess.h"
#include "TestFiles.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Batches run as a user runs them, and stopped, cut off and starved as real runs are:
// by signals, closed pipes, a umask, limits on threads.
namespace {

// The batch's files in a folder, by name, hidden ones (temporary files) included.
std::map<QString, QByteArray> Files(const QString& folder)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : Entries(folder)) {
        if (name != QLatin1String("batch.txt") && QFileInfo(folder + '/' + name).isFile())
            files[name] = ReadAll(folder + '/' + name);
    }
    return files;
}

QStringList Temporaries(const QString& folder)
{
    return Entries(folder).filter(QStringLiteral(".vezodev-"));
}

// A batch of count small logos, each named l<i>.bmp.
QByteArray SmallLogos(int count)
{
    QByteArray lines;
    for (int i = 0; i < count; ++i)
        lines += QStringLiteral("--text 'Line %1' --font-height 14 --print-size -o l%1.bmp\n").arg(i).toUtf8();
    return lines;
}

// The renderer started in folder on a batch, its standard output on output (or
// /dev/null), left to run.
pid_t StartBatch(const QString& folder, const QStringList& arguments, int output = -1)
{
    QList<QByteArray> words{QByteArray(VEZODEV_RENDER)};
    for (const QString& argument : arguments)
        words.push_back(argument.toUtf8());
    const QByteArray where = QFile::encodeName(folder);
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (QByteArray& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        const int out = output >= 0 ? output : open("/dev/null", O_WRONLY);
        dup2(out, STDOUT_FILENO);
        const int err = open("/dev/null", O_WRONLY);
        dup2(err, STDERR_FILENO);
        if (chdir(where.constData()) != 0)
            _exit(120);
        execv(argv[0], argv.data());
        _exit(121);
    }
    return child;
}

// The exit status, or 128 + the signal that ended it.
int Wait(pid_t child)
{
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Each file is as it was (absent, or its old bytes) or as a whole run makes it.
void ExpectOldOrNew(const std::map<QString, QByteArray>& found, const std::map<QString, QByteArray>& old,
                    const std::map<QString, QByteArray>& whole)
{
    QStringList neither;
    for (const auto& [name, bytes] : found) {
        const auto before = old.find(name), after = whole.find(name);
        const bool isOld = before != old.end() && before->second == bytes;
        const bool isNew = after != whole.end() && after->second == bytes;
        if (!isOld && !isNew)
            neither.push_back(name);
    }
    EXPECT_EQ(neither, QStringList()) << "files neither old nor new";
    for (const auto& [name, bytes] : old)
        EXPECT_TRUE(found.count(name)) << name.toStdString() << " was lost";
}

class RenderBatchTest : public testing::Test {
protected:
    // A folder holding the batch of count logos and every other logo's old file.
    std::map<QString, QByteArray> Prepare(const QString& folder, int count)
    {
        WriteAll(folder + "/batch.txt", SmallLogos(count));
        std::map<QString, QByteArray> old;
        for (int i = 0; i < count; i += 2) {
            const QString name = QStringLiteral("l%1.bmp").arg(i);
            old[name] = "old " + name.toUtf8();
            WriteAll(folder + '/' + name, old[name]);
        }
        return old;
    }

    // What the whole batch of count logos makes, once for all cases.
    const std::map<QString, QByteArray>& Whole(int count)
    {
        static std::map<int, std::map<QString, QByteArray>> made;
        if (!made.count(count)) {
            QTemporaryDir folder;
            WriteAll(folder.filePath("batch.txt"), SmallLogos(count));
            EXPECT_EQ(Wait(StartBatch(folder.path(), {"--batch", "batch.txt"})), 0);
            made[count] = Files(folder.path());
        }
        return made[count];
    }
};

// A batch stopped by SIGINT, SIGTERM or SIGHUP at any moment leaves each file old or
// new, no temporary file, and ends with 128 + the signal (or 0 when it was done first).
TEST_F(RenderBatchTest, AStopSignalLeavesEachFileOldOrNewAndNoTemporaryFile)
{
    constexpr int Count = 600;
    struct TCase {
        int Signal;
        int AfterMilliseconds;
    };
    for (const TCase& stop : {TCase{SIGTERM, 0}, TCase{SIGTERM, 40}, TCase{SIGINT, 120}, TCase{SIGHUP, 300},
                              TCase{SIGTERM, 700}}) {
        SCOPED_TRACE(testing::Message() << "signal " << stop.Signal << " after " << stop.AfterMilliseconds << " ms");
        QTemporaryDir folder;
        const std::map<QString, QByteArray> old = Prepare(folder.path(), Count);
        const pid_t child = StartBatch(folder.path(), {"--batch", "batch.txt", "--jobs", "3"});
        std::this_thread::sleep_for(std::chrono::milliseconds(stop.AfterMilliseconds));
        kill(child, stop.Signal);
        const int status = Wait(child);
        EXPECT_TRUE(status == 128 + stop.Signal || status == 0) << status;
        EXPECT_EQ(Temporaries(folder.path()), QStringList());
        ExpectOldOrNew(Files(folder.path()), old, Whole(Count));
    }
}

// Standard output closed under a batch (a pipe into `head -1`): the error is reported
// once, every logo still reaches its name, and the run fails.
TEST_F(RenderBatchTest, AClosedStandardOutputIsAWriteErrorAndTheLogosStillLand)
{
    constexpr int Count = 200;
    QTemporaryDir folder;
    WriteAll(folder.filePath("batch.txt"), SmallLogos(Count));
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    close(pipeEnds[0]);
    const pid_t child = StartBatch(folder.path(), {"--batch", "batch.txt"}, pipeEnds[1]);
    close(pipeEnds[1]);
    EXPECT_EQ(Wait(child), 1);
    EXPECT_EQ(Temporaries(folder.path()), QStringList());
    EXPECT_EQ(Files(folder.path()), Whole(Count));
}

// The umask is the process's, however many threads make files at once.
TEST_F(RenderBatchTest, NewFilesGetTheUmasksModeUnderManyJobs)
{
    constexpr int Count = 800;
    QTemporaryDir folder;
    WriteAll(folder.filePath("batch.txt"), SmallLogos(Count));
    TRenderStart start;
    start.Folder = folder.path();
    start.ChildSetup = [] { umask(027); };
    const TRenderRun run = RunRenderer({"--batch", "batch.txt", "--jobs", "16"}, start);
    ASSERT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    std::map<int, int> modes;
    for (const auto& [name, bytes] : Files(folder.path())) {
        struct stat info {};
        stat(QFile::encodeName(folder.filePath(name)).constData(), &info);
        ++modes[info.st_mode & 0777];
    }
    EXPECT_EQ(modes, (std::map<int, int>{{0640, Count}}));
}

// Threads the system refuses (each would need more address space than the process may
// have) leave the batch to the calling thread: every logo is made, nothing aborts.
TEST_F(RenderBatchTest, ABatchWhoseThreadsCannotStartRunsOnTheCallingThread)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's shadow memory alone is larger than the limit";
#endif
    constexpr int Count = 20;
    QTemporaryDir folder;
    WriteAll(folder.filePath("batch.txt"), SmallLogos(Count));
    TRenderStart start;
    start.Folder = folder.path();
    start.ChildSetup = [] {
        const rlimit stack{rlim_t(2) << 30, rlim_t(2) << 30};
        setrlimit(RLIMIT_STACK, &stack);
        const rlimit space{rlim_t(1536) << 20, rlim_t(1536) << 20};
        setrlimit(RLIMIT_AS, &space);
    };
    const TRenderRun run = RunRenderer({"--batch", "batch.txt", "--jobs", "4"}, start);
    EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
    EXPECT_EQ(Files(folder.path()), Whole(Count));
}

// Random batches, with outputs that repeat under spellings of their own (no two lines
// name a file alike) and bad lines, make the same files under any number of jobs as
// under one, and leave no temporary file.
TEST_F(RenderBatchTest, AnyNumberOfJobsMakesTheFilesOfOneJob)
{
    const QStringList outputs{"a.bmp", "out/../a.bmp", "b.png", "out/c.bmp", "missing/d.bmp"};
    const QStringList extras{"", "--bold", "--mix 3", "--smooth 2", "--outline 1", "--font-height 30", "--direction x"};
    QRandomGenerator random(20261209);
    for (int round = 0; round < 3; ++round) {
        QByteArray lines;
        for (int i = 0; i < 40; ++i)
            lines += QStringLiteral("--text 'R%1 %2' %3 -o %4\n")
                         .arg(round)
                         .arg(i)
                         .arg(extras[random.bounded(int(extras.size()))],
                              QStringLiteral("./").repeated(i) + outputs[random.bounded(int(outputs.size()))])
                         .toUtf8();
        std::map<QString, QByteArray> first;
        int firstStatus = -1;
        for (const int jobs : {1, 2, 5, 8}) {
            SCOPED_TRACE(testing::Message() << "round " << round << ", " << jobs << " jobs");
            QTemporaryDir folder;
            ASSERT_TRUE(QDir(folder.path()).mkdir("out"));
            WriteAll(folder.filePath("batch.txt"), lines);
            const int status = Wait(StartBatch(folder.path(), {"--batch", "batch.txt", "--jobs", QString::number(jobs)}));
            std::map<QString, QByteArray> files = Files(folder.path());
            for (const auto& [name, bytes] : Files(folder.filePath("out")))
                files["out/" + name] = bytes;
            EXPECT_EQ(Temporaries(folder.path()) + Temporaries(folder.filePath("out")), QStringList());
            if (jobs == 1) {
                first = files;
                firstStatus = status;
                continue;
            }
            EXPECT_EQ(status, firstStatus);
            EXPECT_TRUE(files == first);
        }
    }
}

} // namespace
