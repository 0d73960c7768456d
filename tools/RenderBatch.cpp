#include "tools/RenderBatch.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/FileBatch.h"
#include "platform/base/TemporaryFile.h"
#include "platform/base/Tr.h"
#include "tools/BatchRunner.h"
#include "tools/Console.h"
#include "tools/ExitStatus.h"
#include "tools/RenderJob.h"
#include "tools/RenderOptions.h"
#include "tools/ShellWords.h"
#include "tools/StopSignals.h"

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <thread>
#include <vector>

namespace {

struct TBatchLine {
    QString Text;
    QString Where;
};

// A group of lines whose files reach their names together ends at whichever limit
// comes first: few enough lines, bytes and seconds that an interrupted batch leaves
// little unfinished and its temporary files take little disk, many enough that syncs
// stay rare.
constexpr std::size_t GroupLines = 256;
constexpr std::uint64_t GroupBytes = 64ull * 1024 * 1024;
constexpr std::chrono::milliseconds GroupTime{1000};

// One line of a batch file: its options parsed and its logo written.
TLineReport RunLine(const TBatchLine& line, std::size_t order, TWorkspace& work, TFileBatch& files)
{
    TLineReport report;
    const auto fail = [&](const QString& message, int status) {
        report.Err += QStringLiteral("vezodev-render: %1\n").arg(line.Where + message);
        report.Status = status;
    };
    try {
        const TRenderOptions options = TRenderOptions::Parse(SplitShellWords(line.Text));
        if (!options.BatchPath.isEmpty() || options.Help || options.Version || options.Jobs)
            throw EUsageError(Tr("--batch, --jobs, --help and --version do not go in a batch line"));
        if (options.ToStandardOutput())
            throw EUsageError(Tr("-o - does not go in a batch line"));
        TRenderJob::Run(TRenderJob::WithSettings(options), work, report, line.Where, &files, order);
    } catch (const EUsageError& error) {
        fail(error.Message(), ExitBadArgument);
    } catch (const EShellWordsError& error) {
        fail(error.Message(), ExitBadArgument);
    } catch (const Exception& error) {
        fail(error.Message(), ExitFailed);
    } catch (const std::bad_alloc&) {
        fail(Tr("out of memory"), ExitFailed);
    } catch (const std::exception& error) {
        fail(QString::fromLocal8Bit(error.what()), ExitFailed);
    }
    return report;
}

// The lines that render a logo: neither empty nor comments, each with where it stands.
std::vector<TBatchLine> ReadLines(const QString& batchPath, const QByteArray& bytes)
{
    const QStringList texts = QString::fromUtf8(bytes).split(u'\n');
    std::vector<TBatchLine> lines;
    for (qsizetype index = 0; index < texts.size(); ++index) {
        const QString line = texts[index].trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            lines.push_back(TBatchLine{line, QStringLiteral("%1:%2: ").arg(batchPath).arg(index + 1)});
    }
    return lines;
}

// The files of the lines handed on, committed a group at a time.
class TGroups {
public:
    TGroups(TFileBatch& files, const std::vector<TBatchLine>& lines) : FFiles(files), FLines(lines) {}

    // A line's report was handed on: its group may be complete.
    void HandedOn(std::size_t index)
    {
        FHandedOn = index + 1;
        if (FHandedOn - FCommitted >= GroupLines || FFiles.PendingBytes() >= GroupBytes || Old())
            Commit(FHandedOn);
    }
    // Waiting for a slow line: the lines before it need not wait too.
    void Idle()
    {
        if (FHandedOn > FCommitted && Old())
            Commit(FHandedOn);
    }
    void Commit(std::size_t upTo)
    {
        for (const TFileBatch::TFailure& failure : FFiles.Commit(upTo)) {
            TConsole::Error(FLines[failure.Order].Where + failure.Message);
            FStatus = ExitFailed;
        }
        FCommitted = std::max(FCommitted, std::min(upTo, FLines.size()));
        FStarted = std::chrono::steady_clock::now();
    }
    int Status() const { return FStatus; }

private:
    bool Old() const { return std::chrono::steady_clock::now() - FStarted >= GroupTime; }

    TFileBatch& FFiles;
    const std::vector<TBatchLine>& FLines;
    std::size_t FHandedOn = 0;
    std::size_t FCommitted = 0;
    std::chrono::steady_clock::time_point FStarted = std::chrono::steady_clock::now();
    int FStatus = ExitDone;
};

// The batch a signal stops: the watcher's thread may see a signal at any time, the
// runner lives only while the batch runs.
std::mutex StopLock;
TBatchRunner* StopRunner = nullptr;
std::atomic<int> StopSignal{0};

void StopBatch(int signal)
{
    StopSignal = signal;
    const std::lock_guard<std::mutex> guard(StopLock);
    if (StopRunner)
        StopRunner->Stop();
}

void SetStopRunner(TBatchRunner* runner)
{
    const std::lock_guard<std::mutex> guard(StopLock);
    StopRunner = runner;
}

// A batch stopped by a signal: the lines done are committed, every other temporary
// file is removed, and the program ends with the signal's status.
[[noreturn]] void EndStopped(TFileBatch& files, TGroups& groups, std::size_t done, std::size_t count, int signal)
{
    files.Close();
    groups.Commit(SIZE_MAX);
    TTemporaryFile::RemoveAll();
    TConsole::Error(Tr("%1: stopped after %2 of %3 lines")
                        .arg(QString::fromLocal8Bit(strsignal(signal)))
                        .arg(done)
                        .arg(count));
    std::fflush(stdout);
    std::_Exit(TStopSignals::ExitStatus(signal));
}

} // namespace

int TRenderBatch::Run(const QString& batchPath, int jobs)
{
    QFile file(batchPath);
    if (!file.open(QIODevice::ReadOnly)) {
        TConsole::Error(Tr("--batch: cannot read '%1' (%2)").arg(batchPath, file.errorString()));
        return ExitBadArgument;
    }
    const std::vector<TBatchLine> lines = ReadLines(batchPath, file.readAll());
    if (jobs <= 0)
        jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

    TFileBatch files;
    TGroups groups(files, lines);
    TBatchRunner runner(lines.size(), jobs);
    SetStopRunner(&runner);
    TStopSignals::Watch(StopBatch);

    std::set<char32_t> named;
    std::size_t done = 0;
    TBatchRunner::TSteps steps;
    steps.MakeRenderer = [&lines, &files] {
        return [&lines, &files, workspace = std::make_shared<TWorkspace>()](std::size_t index) {
            return RunLine(lines[index], index, *workspace, files);
        };
    };
    steps.Print = [&](std::size_t index, const TLineReport& report) {
        TConsole::Report(report, named);
        ++done;
        groups.HandedOn(index);
    };
    steps.Idle = [&groups] { groups.Idle(); };
    const int worst = runner.Execute(steps, ExitFailed);
    SetStopRunner(nullptr);
    if (runner.Stopped())
        EndStopped(files, groups, done, lines.size(), StopSignal);
    groups.Commit(SIZE_MAX);
    if (StopSignal != 0)
        return TStopSignals::ExitStatus(StopSignal);
    const int output = TConsole::OutFailed() ? ExitFailed : ExitDone;
    return std::max({worst, groups.Status(), output});
}
