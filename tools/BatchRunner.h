#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// What one line of a batch leaves for the standard streams, and its exit status.
struct TLineReport {
    std::u16string Out;
    std::u16string Err;
    int Status = 0;
    std::vector<char32_t> Missing; // characters no installed font has
    // What the line made, for a report: the file it writes (empty for none), the
    // logo's size (negative before it is known) and the message that failed it.
    std::u16string Path{};
    std::int64_t Width = -1;
    std::int64_t Height = -1;
    std::u16string Failure{};
};

// Runs the lines of a batch on worker threads while the calling thread hands each
// line's report on in line order, as one thread would have printed them. The lines are
// counted up front or read as they come; workers run (and read) at most a few lines
// ahead of the reports handed on, so that what a batch keeps between its input, its
// reports and its renders stays small however slow one line is. Workers that cannot be
// started are done without: with none, the calling thread renders each line itself.
class TBatchRunner {
public:
    // Renders the line of the given index; each worker thread makes its own, so that a
    // renderer may keep memory from one line to the next.
    using TLineRenderer = std::function<TLineReport(std::size_t index)>;
    // Takes in the line of the given index, the next one; false when the input has
    // ended. Called by one thread at a time, in line order; it may block.
    using TLineReader = std::function<bool(std::size_t index)>;

    struct TSteps {
        std::function<TLineRenderer()> MakeRenderer;
        // Takes each line's report, in line order, on the calling thread.
        std::function<void(std::size_t index, const TLineReport&)> Print;
        // Called on the calling thread at least every IdleInterval while it waits for
        // the next line; may be empty.
        std::function<void()> Idle;
        std::chrono::milliseconds IdleInterval{250};
        // Goes before the message of a renderer that throws ("program: ").
        std::u16string MessagePrefix;
    };

    // count lines, jobs of them at a time (at most one a line).
    TBatchRunner(std::size_t count, int jobs);
    // The lines read reads, jobs of them at a time.
    TBatchRunner(TLineReader read, int jobs);
    ~TBatchRunner();
    TBatchRunner(const TBatchRunner&) = delete;
    TBatchRunner& operator=(const TBatchRunner&) = delete;

    // Renders the lines and hands their reports to steps.Print. A renderer that throws
    // fails its line with failedStatus; the others still run. Returns the worst status
    // of the lines handed on. After Stop it returns as soon as it has handed on, in line
    // order, the reports of the lines already done; lines in progress then end on their
    // own in the background, so what their renderers use must outlive them (the
    // program ends).
    int Execute(const TSteps& steps, int failedStatus);
    // Ends Execute early, from any thread: no line starts after it.
    void Stop();
    bool Stopped() const;
    // How many worker threads rendered the lines (0: the calling thread did).
    std::size_t Workers() const;
    // How many lines there are, or have been read so far.
    std::size_t Count() const;

    // Execute with only MakeRenderer and Print.
    static int Run(std::size_t count, int jobs, const std::function<TLineRenderer()>& makeRenderer,
                   const std::function<void(const TLineReport&)>& print, int failedStatus,
                   std::u16string_view messagePrefix);

private:
    struct TState;
    int RenderOnCallingThread(const TSteps& steps, int failedStatus);
    int HandOnReports(const TSteps& steps);
    bool Available(std::size_t index);

    std::shared_ptr<TState> FState;
    std::size_t FJobs = 1;
    std::size_t FWorkers = 0;
};
