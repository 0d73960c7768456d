#include "tools/RenderBatch.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/FileBatch.h"
#include "platform/base/TemporaryFile.h"
#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"
#include "tools/BatchReport.h"
#include "tools/BatchRunner.h"
#include "tools/Console.h"
#include "tools/ExitStatus.h"
#include "tools/RenderJob.h"
#include "tools/RenderOptions.h"
#include "tools/ShellWords.h"
#include "tools/StopSignals.h"
#include "tools/TextClasses.h"

#include <cerrno>
#include <cstdlib>
#include <deque>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <thread>
#include <vector>

namespace {

struct TBatchLine {
    std::u16string Text;
    std::u16string Where;
    std::size_t Number = 0;
};

// A group of lines whose files reach their names together ends at whichever limit
// comes first: few enough lines, bytes and seconds that an interrupted batch leaves
// little unfinished and its temporary files take little disk, many enough that syncs
// stay rare. A batch read from a slow pipe so makes its logos durable about once a
// second, whatever the pace of its input.
constexpr std::size_t GroupLines = 256;
constexpr std::uint64_t GroupBytes = 64ull * 1024 * 1024;
constexpr std::chrono::milliseconds GroupTime{1000};

// One line of a batch file: its options parsed and its logo written.
TLineReport RunLine(const TBatchLine& line, std::size_t order, TWorkspace& work, TFileBatch& files)
{
    TLineReport report;
    const auto fail = [&](const std::u16string& message, int status) {
        report.Err += TConsole::MessagePrefix;
        report.Err += line.Where + message + u'\n';
        report.Status = status;
        report.Failure = message;
    };
    try {
        const TRenderOptions options = TRenderOptions::Parse(SplitShellWords(line.Text));
        if (!options.BatchPath.empty() || options.Help || options.Version || options.Jobs)
            throw EUsageError(TrText("--batch, --jobs, --help and --version do not go in a batch line"));
        if (options.ReportPath)
            throw EUsageError(TrText("--report does not go in a batch line"));
        if (options.ToStandardOutput())
            throw EUsageError(TrText("-o - does not go in a batch line"));
        report.Path = options.OutputPath;
        TRenderJob::Run(TRenderJob::WithSettings(options), work, report, line.Where, &files, order);
    } catch (const EUsageError& error) {
        fail(error.Message(), ExitBadArgument);
    } catch (const EShellWordsError& error) {
        fail(error.Message(), ExitBadArgument);
    } catch (const Exception& error) {
        fail(error.Message(), ExitFailed);
    } catch (const std::bad_alloc&) {
        fail(TrText("out of memory"), ExitFailed);
    } catch (const std::exception& error) {
        fail(Utf8ToText(error.what()), ExitFailed);
    }
    return report;
}

// The lines of a batch that render a logo (neither empty nor comments), each with
// where it stands. A file is read whole before the batch starts; standard input a
// line at a time as the batch asks for lines, so that a producer on the other end of a
// pipe sees logos while it still writes. Lines whose files are in place are let go.
class TBatchInput {
public:
    // false when the file cannot be read (error then tells why).
    bool Open(const std::u16string& batchPath, std::u16string& error)
    {
        FPath = batchPath;
        if (Streamed())
            return true;
        std::FILE* file = std::fopen(TextToUtf8(batchPath).c_str(), "rbe");
        std::string bytes;
        if (file) {
            char buffer[65536];
            for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
                bytes.append(buffer, read);
            if (std::ferror(file)) {
                const int reason = errno != 0 ? errno : EIO;
                std::fclose(file);
                error = SystemErrorText(reason);
                return false;
            }
            std::fclose(file);
        } else {
            error = SystemErrorText(errno);
            return false;
        }
        const std::u16string text = Utf8ToText(bytes);
        for (std::size_t start = 0; start <= text.size();) {
            const std::size_t end = std::min(text.find(u'\n', start), text.size());
            Keep(std::u16string_view(text).substr(start, end - start));
            start = end + 1;
        }
        return true;
    }
    bool Streamed() const { return FPath == u"-"; }
    // How many lines a file holds.
    std::size_t Count() const { return FLines.size(); }

    // Takes in the next line of standard input that renders a logo; false at its end.
    bool Read()
    {
        for (;;) {
            errno = 0;
            const ssize_t length = getline(&FBuffer, &FBufferSize, stdin);
            if (length < 0) {
                FReadError = std::ferror(stdin) ? (errno != 0 ? errno : EIO) : 0;
                return false;
            }
            if (Keep(Utf8ToText(std::string_view(FBuffer, static_cast<std::size_t>(length)))))
                return true;
        }
    }
    // The error number of a read of standard input that failed, or 0.
    int ReadError() const { return FReadError; }

    TBatchLine Line(std::size_t index) const
    {
        const std::lock_guard<std::mutex> guard(FLock);
        return FLines[index - FFirst];
    }
    // Lets go of the lines before upTo.
    void Forget(std::size_t upTo)
    {
        const std::lock_guard<std::mutex> guard(FLock);
        for (; FFirst < upTo && !FLines.empty(); ++FFirst)
            FLines.pop_front();
    }

    ~TBatchInput() { std::free(FBuffer); }

private:
    // Keeps the line that follows those read, when it renders a logo.
    bool Keep(std::u16string_view text)
    {
        ++FNumber;
        const std::u16string_view line = Trimmed(text);
        if (line.empty() || line.starts_with(u'#'))
            return false;
        const std::lock_guard<std::mutex> guard(FLock);
        FLines.push_back(TBatchLine{std::u16string(line), Format(u"%1:%2: ", {FPath, IntText(static_cast<std::int64_t>(FNumber))}), FNumber});
        return true;
    }

    std::u16string FPath;
    std::size_t FNumber = 0; // lines read, rendering or not
    mutable std::mutex FLock;
    std::deque<TBatchLine> FLines;
    std::size_t FFirst = 0; // the index of FLines' first line
    char* FBuffer = nullptr;
    std::size_t FBufferSize = 0;
    int FReadError = 0;
};

// The files of the lines handed on, committed a group at a time; the report follows
// the commits.
class TGroups {
public:
    TGroups(TFileBatch& files, TBatchInput& input, TBatchReport* report)
        : FFiles(files), FInput(input), FReport(report)
    {
    }

    // A line's report was handed on: its group may be complete.
    void HandedOn(std::size_t index, const TLineReport& line)
    {
        if (FReport)
            FEntries.emplace_back(index, Entry(index, line));
        FHandedOn = index + 1;
        if (FHandedOn - FCommitted >= GroupLines || FFiles.PendingBytes() >= GroupBytes || Old())
            Commit(FHandedOn);
    }
    // Waiting for a slow line, or for input: the lines before it need not wait too.
    void Idle()
    {
        if (FHandedOn > FCommitted && Old())
            Commit(FHandedOn);
    }
    void Commit(std::size_t upTo)
    {
        for (const TFileBatch::TFailure& failure : FFiles.Commit(upTo)) {
            TConsole::Error(FInput.Line(failure.Order).Where + failure.Message);
            FStatus = ExitFailed;
            for (auto& [order, entry] : FEntries) {
                if (order == failure.Order)
                    entry.Error = TextToUtf8(failure.Message);
            }
        }
        FCommitted = std::max(FCommitted, std::min(upTo, FHandedOn));
        FStarted = std::chrono::steady_clock::now();
        WriteReport(FCommitted);
        FInput.Forget(FCommitted);
    }
    int Status() const { return FStatus; }

private:
    bool Old() const { return std::chrono::steady_clock::now() - FStarted >= GroupTime; }

    TReportEntry Entry(std::size_t index, const TLineReport& line) const
    {
        TReportEntry entry;
        entry.Line = FInput.Line(index).Number;
        if (!line.Path.empty())
            entry.Path = TextToUtf8(line.Path);
        if (line.Width >= 0 && line.Height >= 0) {
            entry.Width = line.Width;
            entry.Height = line.Height;
        }
        if (line.Status != ExitDone)
            entry.Error = TextToUtf8(line.Failure);
        return entry;
    }

    // The entries of the lines committed, once: a report that cannot be written is
    // said once and fails the batch.
    void WriteReport(std::size_t upTo)
    {
        if (!FReport)
            return;
        const auto due = std::find_if(FEntries.begin(), FEntries.end(), [upTo](const auto& e) { return e.first >= upTo; });
        for (auto entry = FEntries.begin(); entry != due; ++entry)
            FReport->Add(entry->second);
        FEntries.erase(FEntries.begin(), due);
        if (!FReport->Flush() && !FReportFailed) {
            FReportFailed = true;
            TConsole::Error(Format(TrText("--report: %1"), {SystemErrorText(FReport->Error())}));
            FStatus = ExitFailed;
        }
    }

    TFileBatch& FFiles;
    TBatchInput& FInput;
    TBatchReport* FReport;
    std::vector<std::pair<std::size_t, TReportEntry>> FEntries; // the lines handed on and not committed, by order
    bool FReportFailed = false;
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
    TConsole::Error(Format(TrText("%1: stopped after %2 of %3 lines"),
                           {Utf8ToText(strsignal(signal)), IntText(static_cast<std::int64_t>(done)),
                            IntText(static_cast<std::int64_t>(count))}));
    std::fflush(stdout);
    std::_Exit(TStopSignals::ExitStatus(signal));
}

} // namespace

int TRenderBatch::Run(const std::u16string& batchPath, int jobs, TBatchReport* report)
{
    TBatchInput input;
    std::u16string error;
    if (!input.Open(batchPath, error)) {
        TConsole::Error(Format(TrText("--batch: cannot read '%1' (%2)"), {batchPath, error}));
        return ExitBadArgument;
    }
    if (jobs <= 0)
        jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

    TFileBatch files;
    TGroups groups(files, input, report);
    TBatchRunner runner = input.Streamed()
                              ? TBatchRunner([&input](std::size_t) { return input.Read(); }, jobs)
                              : TBatchRunner(input.Count(), jobs);
    SetStopRunner(&runner);
    TStopSignals::Watch(StopBatch);

    std::set<char32_t> named;
    std::size_t done = 0;
    TBatchRunner::TSteps steps;
    steps.MakeRenderer = [&input, &files] {
        return [&input, &files, workspace = std::make_shared<TWorkspace>()](std::size_t index) {
            return RunLine(input.Line(index), index, *workspace, files);
        };
    };
    steps.Print = [&](std::size_t index, const TLineReport& line) {
        TConsole::Report(line, named);
        ++done;
        groups.HandedOn(index, line);
    };
    steps.Idle = [&groups] { groups.Idle(); };
    steps.MessagePrefix = TConsole::MessagePrefix;
    const int worst = runner.Execute(steps, ExitFailed);
    SetStopRunner(nullptr);
    if (runner.Stopped())
        EndStopped(files, groups, done, runner.Count(), StopSignal);
    groups.Commit(SIZE_MAX);
    if (StopSignal != 0)
        return TStopSignals::ExitStatus(StopSignal);
    int status = std::max({worst, groups.Status(), TConsole::OutFailed() ? ExitFailed : ExitDone});
    if (input.ReadError() != 0) {
        TConsole::Error(Format(TrText("--batch: cannot read '%1' (%2)"), {batchPath, SystemErrorText(input.ReadError())}));
        status = std::max(status, ExitFailed);
    }
    return status;
}
