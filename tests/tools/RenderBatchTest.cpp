#include <QDir>
#include <QProcess>
#include <QStandardPaths>
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
// /dev/null) and its standard input on input (or ours), left to run.
pid_t StartBatch(const QString& folder, const QStringList& arguments, int output = -1, int input = -1)
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
        if (input >= 0)
            dup2(input, STDIN_FILENO);
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

// A batch read from a pipe writes each logo while its producer still holds the pipe
// open, and the logos it makes are those of the same lines read from a file.
TEST_F(RenderBatchTest, AStreamedBatchWritesEachLogoBeforeItsInputEnds)
{
    QTemporaryDir folder;
    int input[2];
    ASSERT_EQ(pipe2(input, O_CLOEXEC), 0);
    const pid_t child = StartBatch(folder.path(), {"--batch", "-"}, -1, input[0]);
    close(input[0]);
    const QByteArray lines = SmallLogos(3);
    for (const QByteArray& line : lines.split('\n')) {
        if (line.isEmpty())
            continue;
        ASSERT_EQ(write(input[1], line.constData(), line.size()), line.size());
        ASSERT_EQ(write(input[1], "\n", 1), 1);
        const QString name = QString::fromUtf8(line.mid(line.lastIndexOf(' ') + 1));
        const auto start = std::chrono::steady_clock::now();
        while (!QFileInfo::exists(folder.filePath(name)) && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_TRUE(QFileInfo::exists(folder.filePath(name))) << name.toStdString() << " waited for more input";
    }
    close(input[1]);
    EXPECT_EQ(Wait(child), 0);
    EXPECT_EQ(Temporaries(folder.path()), QStringList());
    EXPECT_TRUE(Files(folder.path()) == Whole(3));
}

// A streamed batch stopped by a signal while it waits for input leaves the logos
// already made in place and no temporary file.
TEST_F(RenderBatchTest, AStreamedBatchStoppedWhileWaitingKeepsItsLogos)
{
    QTemporaryDir folder;
    int input[2];
    ASSERT_EQ(pipe2(input, O_CLOEXEC), 0);
    const pid_t child = StartBatch(folder.path(), {"--batch", "-", "--jobs", "2"}, -1, input[0]);
    close(input[0]);
    const QByteArray lines = SmallLogos(40);
    ASSERT_EQ(write(input[1], lines.constData(), lines.size()), lines.size());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(child, SIGTERM);
    EXPECT_EQ(Wait(child), 128 + SIGTERM);
    close(input[1]);
    EXPECT_EQ(Temporaries(folder.path()), QStringList());
    ExpectOldOrNew(Files(folder.path()), {}, Whole(40));
}

// The report holds one object a line in line order, each with the line's number, its
// file and size or its error, the file names as given, quotes and all.
TEST_F(RenderBatchTest, TheReportGivesEachLinesOutcomeInLineOrder)
{
    QTemporaryDir folder;
    WriteAll(folder.filePath("batch.txt"), "# logos\n"
                                           "--text A --print-size -o 'say \"a\".bmp'\n"
                                           "\n"
                                           "--text B --mix 9 -o b.bmp\n"
                                           "--text C --print-size -o missing/c.png\n"
                                           "--text D --print-size -o ロゴ.png\n");
    for (const int jobs : {1, 3}) {
        SCOPED_TRACE(jobs);
        TRenderStart start;
        start.Folder = folder.path();
        const TRenderRun run = RunRenderer({"--batch", "batch.txt", "--jobs", QString::number(jobs), "--report", "r.json"}, start);
        EXPECT_EQ(run.ExitCode, 2);
        const QStringList sizes = run.Out.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(sizes.size(), 3) << run.Out.toStdString();
        const auto size = [&](int i) {
            const QStringList wh = sizes[i].split(QStringLiteral(" x "));
            return QStringLiteral("\"width\": %1, \"height\": %2").arg(wh[0], wh[1]);
        };
        const QStringList errors = run.Err.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(errors.size(), 2) << run.Err.toStdString();
        const auto error = [&](int i) { return errors[i].mid(errors[i].indexOf(QStringLiteral(".txt:")) + 8); };
        const QString expected =
            QStringLiteral("{\"line\": 2, \"path\": \"say \\\"a\\\".bmp\", %1, \"ok\": true}\n").arg(size(0))
            + QStringLiteral("{\"line\": 4, \"path\": null, \"ok\": false, \"error\": \"%1\"}\n").arg(error(0))
            + QStringLiteral("{\"line\": 5, \"path\": \"missing/c.png\", \"ok\": false, \"error\": \"%1\"}\n").arg(error(1))
            + QStringLiteral("{\"line\": 6, \"path\": \"ロゴ.png\", %1, \"ok\": true}\n").arg(size(2));
        EXPECT_EQ(QString::fromUtf8(ReadAll(folder.filePath("r.json"))), expected);
    }
}

// The report to standard output, for a single logo too; refused where the logo itself
// goes there.
TEST_F(RenderBatchTest, TheReportGoesToStandardOutputUnlessTheLogoDoes)
{
    QTemporaryDir folder;
    TRenderStart start;
    start.Folder = folder.path();
    const TRenderRun single = RunRenderer({"--text", "X", "-o", "x.png", "--report", "-"}, start);
    ASSERT_EQ(single.ExitCode, 0) << single.Err.toStdString();
    EXPECT_TRUE(single.Out.startsWith(QStringLiteral("{\"line\": 1, \"path\": \"x.png\", \"width\": "))) << single.Out.toStdString();
    EXPECT_TRUE(single.Out.endsWith(QStringLiteral(", \"ok\": true}\n")));
    const TRenderRun both = RunRenderer({"--text", "X", "-o", "-", "--report", "-"}, start);
    EXPECT_EQ(both.ExitCode, 2);
    EXPECT_TRUE(both.OutBytes.isEmpty());
    EXPECT_EQ(RunRenderer({"--batch", "b.txt", "--report", "r.json", "--mix", "2"}, start).ExitCode, 2);
}

// The lines of a batch are independent: GNU parallel handing 500 lines at a time to
// several renderers reading standard input makes the files of one renderer reading
// the whole file.
TEST_F(RenderBatchTest, ABatchSplitByGnuParallelMakesTheFilesOfOneRun)
{
    const QString parallel = QStandardPaths::findExecutable(QStringLiteral("parallel"));
    if (parallel.isEmpty())
        GTEST_SKIP() << "GNU parallel is not installed";
    constexpr int Count = 2000;
    QByteArray lines;
    for (int i = 0; i < Count; ++i)
        lines += QStringLiteral("--text 'P%1' --font-height %2 -o p%1.%3\n").arg(i).arg(6 + i % 5).arg(i % 3 ? "bmp" : "png").toUtf8();
    QTemporaryDir whole, split;
    WriteAll(whole.filePath("batch.txt"), lines);
    WriteAll(split.filePath("batch.txt"), lines);
    EXPECT_EQ(Wait(StartBatch(whole.path(), {"--batch", "batch.txt"})), 0);
    QProcess process;
    process.setWorkingDirectory(split.path());
    process.setStandardInputFile(split.filePath("batch.txt"));
    process.start(parallel, {"--pipe", "-N", "500", QStringLiteral(VEZODEV_RENDER), "--batch", "-"});
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const std::map<QString, QByteArray> one = Files(whole.path());
    EXPECT_EQ(one.size(), std::size_t(Count));
    EXPECT_TRUE(Files(split.path()) == one);
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
