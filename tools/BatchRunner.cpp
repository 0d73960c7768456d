#include "tools/BatchRunner.h"

#include "platform/base/UiLanguage.h"
#include "platform/base/UnicodeText.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// How many lines each worker may render ahead of the report last handed on.
constexpr std::size_t LinesAheadPerWorker = 4;

TLineReport Failed(std::u16string_view prefix, std::u16string_view message, int failedStatus)
{
    TLineReport report;
    report.Err.assign(prefix);
    report.Err += message;
    report.Err += u'\n';
    report.Status = failedStatus;
    report.Failure.assign(message);
    return report;
}

TLineReport Rendered(const TBatchRunner::TLineRenderer& render, std::size_t index, int failedStatus,
                     std::u16string_view prefix)
{
    try {
        return render(index);
    } catch (const std::exception& error) {
        return Failed(prefix, Utf8ToText(error.what()), failedStatus);
    } catch (...) {
        return Failed(prefix, TrText("unknown error"), failedStatus);
    }
}

} // namespace

// What the calling thread and the workers share. Workers hold it too, so that after a
// stop those still rendering a line find it alive.
struct TBatchRunner::TState {
    std::size_t Count = 0;  // the lines known
    bool Ended = true;      // no line comes after them
    TLineReader Read;       // takes in the next line while not Ended
    bool Reading = false;   // a thread is in Read
    std::size_t Ahead = 0;
    int FailedStatus = 1;
    std::u16string MessagePrefix;
    std::function<TLineRenderer()> MakeRenderer;

    std::mutex Lock;
    std::condition_variable Done; // a line is done or read, the input ended, or the run stopped
    std::condition_variable Room; // a report was handed on, a line was read, or the run stopped
    std::size_t Next = 0;         // the next line to start
    std::size_t HandedOn = 0;     // the lines whose reports were handed on
    bool Stop = false;
    std::vector<TLineReport> Reports;
    std::vector<char> Finished;

    // Whether line index exists, reading up to it if need be; guard holds Lock. The
    // lock is let go while reading, so that a reader waiting for its input holds back
    // neither the reports nor a stop.
    bool Available(std::size_t index, std::unique_lock<std::mutex>& guard)
    {
        while (index >= Count && !Ended && !Stop) {
            if (Reading) {
                Room.wait(guard);
                continue;
            }
            Reading = true;
            guard.unlock();
            bool more = false;
            try {
                more = Read(Count);
            } catch (...) {
                more = false;
            }
            guard.lock();
            Reading = false;
            if (more) {
                ++Count;
                Reports.emplace_back();
                Finished.push_back(0);
            } else {
                Ended = true;
            }
            Room.notify_all();
            Done.notify_all();
        }
        return index < Count;
    }

    // The next line this worker may start, or false when there is none.
    bool Take(std::size_t& index)
    {
        std::unique_lock<std::mutex> guard(Lock);
        for (;;) {
            Room.wait(guard, [&] { return Stop || (Ended && Next >= Count) || Next < HandedOn + Ahead; });
            if (Stop || (Ended && Next >= Count))
                return false;
            if (Next < Count) {
                index = Next++;
                return true;
            }
            // Another worker may take the line read while the lock was let go.
            Available(Next, guard);
        }
    }

    void Work()
    {
        TLineRenderer render;
        try {
            render = MakeRenderer();
        } catch (...) {
            render = [error = std::current_exception()](std::size_t) -> TLineReport { std::rethrow_exception(error); };
        }
        for (std::size_t index; Take(index);) {
            TLineReport report = Rendered(render, index, FailedStatus, MessagePrefix);
            const std::lock_guard<std::mutex> guard(Lock);
            Reports[index] = std::move(report);
            Finished[index] = 1;
            Done.notify_all();
        }
    }
};

TBatchRunner::TBatchRunner(std::size_t count, int jobs)
    : FState(std::make_shared<TState>())
{
    FJobs = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), 1, std::max<std::size_t>(count, 1));
    FState->Count = count;
    FState->Ahead = LinesAheadPerWorker * FJobs;
    FState->Reports.resize(count);
    FState->Finished.assign(count, 0);
}

TBatchRunner::TBatchRunner(TLineReader read, int jobs)
    : FState(std::make_shared<TState>())
{
    FJobs = static_cast<std::size_t>(std::max(jobs, 1));
    FState->Ended = false;
    FState->Read = std::move(read);
    FState->Ahead = LinesAheadPerWorker * FJobs;
}

TBatchRunner::~TBatchRunner() = default;

void TBatchRunner::Stop()
{
    const std::lock_guard<std::mutex> guard(FState->Lock);
    FState->Stop = true;
    FState->Done.notify_all();
    FState->Room.notify_all();
}

bool TBatchRunner::Stopped() const
{
    const std::lock_guard<std::mutex> guard(FState->Lock);
    return FState->Stop;
}

std::size_t TBatchRunner::Workers() const
{
    return FWorkers;
}

std::size_t TBatchRunner::Count() const
{
    const std::lock_guard<std::mutex> guard(FState->Lock);
    return FState->Count;
}

bool TBatchRunner::Available(std::size_t index)
{
    std::unique_lock<std::mutex> guard(FState->Lock);
    return FState->Available(index, guard);
}

int TBatchRunner::Execute(const TSteps& steps, int failedStatus)
{
    FState->FailedStatus = failedStatus;
    FState->MessagePrefix = steps.MessagePrefix;
    FState->MakeRenderer = steps.MakeRenderer;
    // A thread the system refuses (too little memory for its stack, too many
    // threads) leaves the lines to the workers that did start.
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < FJobs; ++i) {
        try {
            threads.emplace_back([state = FState] { state->Work(); });
        } catch (const std::system_error&) {
            break;
        }
    }
    FWorkers = threads.size();
    if (threads.empty())
        return RenderOnCallingThread(steps, failedStatus);
    const int worst = HandOnReports(steps);
    for (std::thread& thread : threads) {
        if (Stopped())
            thread.detach();
        else
            thread.join();
    }
    return worst;
}

int TBatchRunner::HandOnReports(const TSteps& steps)
{
    TState& state = *FState;
    int worst = 0;
    const auto handOn = [&](std::size_t index, std::unique_lock<std::mutex>& guard) {
        TLineReport report = std::move(state.Reports[index]);
        state.Finished[index] = 0;
        guard.unlock();
        steps.Print(index, report);
        worst = std::max(worst, report.Status);
        guard.lock();
    };
    std::unique_lock<std::mutex> guard(state.Lock);
    std::size_t index = 0;
    for (; !state.Stop; ++index) {
        // The line may not be read yet: a worker reads it, or the input ends.
        while (!state.Stop && !(index < state.Count && state.Finished[index]) && !(state.Ended && index >= state.Count)) {
            if (state.Done.wait_for(guard, steps.IdleInterval) == std::cv_status::timeout && steps.Idle) {
                guard.unlock();
                steps.Idle();
                guard.lock();
            }
        }
        if (state.Stop || index >= state.Count)
            break;
        handOn(index, guard);
        state.HandedOn = index + 1;
        state.Room.notify_all();
    }
    // Stopped: the lines done so far, in their order.
    for (; index < state.Count; ++index) {
        if (state.Finished[index])
            handOn(index, guard);
    }
    return worst;
}

int TBatchRunner::RenderOnCallingThread(const TSteps& steps, int failedStatus)
{
    const TLineRenderer render = steps.MakeRenderer();
    int worst = 0;
    for (std::size_t index = 0; !Stopped() && Available(index); ++index) {
        const TLineReport report = Rendered(render, index, failedStatus, steps.MessagePrefix);
        steps.Print(index, report);
        worst = std::max(worst, report.Status);
    }
    return worst;
}

int TBatchRunner::Run(std::size_t count, int jobs, const std::function<TLineRenderer()>& makeRenderer,
                      const std::function<void(const TLineReport&)>& print, int failedStatus,
                      std::u16string_view messagePrefix)
{
    TBatchRunner runner(count, jobs);
    TSteps steps;
    steps.MakeRenderer = makeRenderer;
    steps.Print = [&print](std::size_t, const TLineReport& report) { print(report); };
    steps.MessagePrefix = messagePrefix;
    return runner.Execute(steps, failedStatus);
}
