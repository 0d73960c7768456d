#include "tools/BatchRunner.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace {

// Lines that each wait until `jobs` lines are being rendered at once (or give up after
// a while), so a run shows whether it really renders that many lines at a time.
class TRendezvous {
public:
    explicit TRendezvous(int wanted) : FWanted(wanted) {}

    bool Meet()
    {
        std::unique_lock<std::mutex> guard(FLock);
        ++FArrived;
        FMet.notify_all();
        return FMet.wait_for(guard, std::chrono::seconds(5), [this] { return FArrived >= FWanted; });
    }

private:
    const int FWanted;
    int FArrived = 0;
    std::mutex FLock;
    std::condition_variable FMet;
};

TEST(BatchRunnerTest, RendersAsManyLinesAtATimeAsThereAreJobs)
{
    for (const int jobs : {2, 3}) {
        SCOPED_TRACE(jobs);
        TRendezvous rendezvous(jobs);
        const auto makeRenderer = [&] {
            return [&](std::size_t) {
                return TLineReport{rendezvous.Meet() ? QStringLiteral("met") : QStringLiteral("alone"), QString(), 0, {}};
            };
        };
        QStringList printed;
        TBatchRunner::Run(static_cast<std::size_t>(jobs), jobs, makeRenderer,
                          [&](const TLineReport& report) { printed << report.Out; }, 1);
        EXPECT_EQ(printed, QStringList(jobs, QStringLiteral("met")));
    }
}

TEST(BatchRunnerTest, ReportsComeOutInLineOrderWithTheWorstStatus)
{
    const auto makeRenderer = [] {
        return [](std::size_t index) { return TLineReport{QString::number(index), QString(), index == 3 ? 2 : 0, {}}; };
    };
    QStringList printed;
    const int worst = TBatchRunner::Run(9, 4, makeRenderer, [&](const TLineReport& report) { printed << report.Out; }, 1);
    EXPECT_EQ(printed.join(','), QStringLiteral("0,1,2,3,4,5,6,7,8"));
    EXPECT_EQ(worst, 2);
}

TEST(BatchRunnerTest, ALineThatThrowsFailsAloneAndTheOthersRun)
{
    const auto makeRenderer = [] {
        return [](std::size_t index) -> TLineReport {
            if (index == 1)
                throw std::length_error("vector too long");
            return TLineReport{QStringLiteral("ok"), QString(), 0, {}};
        };
    };
    std::vector<TLineReport> reports;
    const int worst = TBatchRunner::Run(3, 2, makeRenderer, [&](const TLineReport& report) { reports.push_back(report); }, 1);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].Out, QStringLiteral("ok"));
    EXPECT_EQ(reports[1].Err, QStringLiteral("vezodev-render: vector too long\n"));
    EXPECT_EQ(reports[2].Out, QStringLiteral("ok"));
    EXPECT_EQ(worst, 1);
}

// While one slow line holds the reports back, the workers start only a few lines past
// it, so that what waits for its report (files, memory) stays bounded.
TEST(BatchRunnerTest, WorkersStayAFewLinesAheadOfASlowLine)
{
    std::atomic<std::size_t> furthest{0};
    std::atomic<bool> slowDone{false};
    std::atomic<std::size_t> furthestWhileSlow{0};
    const auto makeRenderer = [&] {
        return [&](std::size_t index) {
            if (index == 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                furthestWhileSlow = furthest.load();
                slowDone = true;
            } else if (!slowDone) {
                furthest = std::max(furthest.load(), index);
            }
            return TLineReport{};
        };
    };
    std::size_t printed = 0;
    TBatchRunner::Run(200, 2, makeRenderer, [&](const TLineReport&) { ++printed; }, 1);
    EXPECT_EQ(printed, 200u);
    EXPECT_GT(furthestWhileSlow.load(), 0u);
    EXPECT_LE(furthestWhileSlow.load(), 8u);
}

// A stop from the printing thread (as a signal's watcher asks): the lines done are
// handed on in order, and no line starts after it.
TEST(BatchRunnerTest, AStopHandsOnTheLinesDoneAndStartsNoOther)
{
    struct TShared {
        std::atomic<std::size_t> Started{0};
    };
    const auto shared = std::make_shared<TShared>();
    TBatchRunner runner(1000, 2);
    TBatchRunner::TSteps steps;
    steps.MakeRenderer = [shared] {
        return [shared](std::size_t index) {
            ++shared->Started;
            std::this_thread::sleep_for(std::chrono::milliseconds(index % 3));
            return TLineReport{QString::number(index), QString(), 0, {}};
        };
    };
    std::vector<std::size_t> printed;
    std::size_t startedAtStop = 0;
    steps.Print = [&](std::size_t index, const TLineReport&) {
        printed.push_back(index);
        if (index == 5) {
            runner.Stop();
            startedAtStop = shared->Started;
        }
    };
    runner.Execute(steps, 1);
    EXPECT_TRUE(runner.Stopped());
    EXPECT_TRUE(std::is_sorted(printed.begin(), printed.end()));
    ASSERT_GE(printed.size(), 6u);
    EXPECT_EQ(printed[5], 5u);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_LE(shared->Started.load(), startedAtStop + 2) << "at most the lines in progress end";
    EXPECT_LT(shared->Started.load(), 30u);
}

} // namespace
