#include "tools/BatchRunner.h"

#include "platform/base/Tr.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// How many lines each worker may render ahead of the report last handed on.
constexpr std::size_t LinesAheadPerWorker = 4;

TLineReport Rendered(const TBatchRunner::TLineRenderer& render, std::size_t index, int failedStatus)
{
    try {
        return render(index);
    } catch (const std::exception& error) {
        return TLineReport{QString(), QStringLiteral("vezodev-render: %1\n").arg(QString::fromLocal8Bit(error.what())), failedStatus, {}};
    } catch (...) {
        return TLineReport{QString(), Tr("vezodev-render: unknown error\n"), failedStatus, {}};
    }
}

} // namespace

// What the calling thread and the workers share. Workers hold it too, so that after a
// stop those still rendering a line find it alive.
struct TBatchRunner::TState {
    std::size_t Count = 0;
    std::size_t Ahead = 0;
    int FailedStatus = 1;
    std::function<TLineRenderer()> MakeRenderer;

    std::mutex Lock;
    std::condition_variable Done; // a line is done, or the run stopped
    std::condition_variable Room; // a report was handed on, or the run stopped
    std::size_t Next = 0;         // the next line to start
    std::size_t HandedOn = 0;     // the lines whose reports were handed on
    bool Stop = false;
    std::vector<TLineReport> Reports;
    std::vector<char> Finished;

    // The next line this worker may start, or false when there is none.
    bool Take(std::size_t& index)
    {
        std::unique_lock<std::mutex> guard(Lock);
        Room.wait(guard, [&] { return Stop || Next >= Count || Next < HandedOn + Ahead; });
        if (Stop || Next >= Count)
            return false;
        index = Next++;
        return true;
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
            TLineReport report = Rendered(render, index, FailedStatus);
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

int TBatchRunner::Execute(const TSteps& steps, int failedStatus)
{
    FState->FailedStatus = failedStatus;
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
    for (; index < state.Count && !state.Stop; ++index) {
        while (!state.Finished[index] && !state.Stop) {
            if (state.Done.wait_for(guard, steps.IdleInterval) == std::cv_status::timeout && steps.Idle) {
                guard.unlock();
                steps.Idle();
                guard.lock();
            }
        }
        if (state.Stop)
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
    for (std::size_t index = 0; index < FState->Count && !Stopped(); ++index) {
        const TLineReport report = Rendered(render, index, failedStatus);
        steps.Print(index, report);
        worst = std::max(worst, report.Status);
    }
    return worst;
}

int TBatchRunner::Run(std::size_t count, int jobs, const std::function<TLineRenderer()>& makeRenderer,
                      const std::function<void(const TLineReport&)>& print, int failedStatus)
{
    TBatchRunner runner(count, jobs);
    TSteps steps;
    steps.MakeRenderer = makeRenderer;
    steps.Print = [&print](std::size_t, const TLineReport& report) { print(report); };
    return runner.Execute(steps, failedStatus);
}
