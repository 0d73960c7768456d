#include "tools/BatchRunner.h"

#include "platform/base/UnicodeText.h"

#include <QString>
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
                return TLineReport{rendezvous.Meet() ? u"met" : u"alone", u"", 0, {}};
            };
        };
        QStringList printed;
        TBatchRunner::Run(static_cast<std::size_t>(jobs), jobs, makeRenderer,
                          [&](const TLineReport& report) { printed << QString::fromStdU16String(report.Out); }, 1, u"");
        EXPECT_EQ(printed, QStringList(jobs, QStringLiteral("met")));
    }
}

TEST(BatchRunnerTest, ReportsComeOutInLineOrderWithTheWorstStatus)
{
    const auto makeRenderer = [] {
        return [](std::size_t index) { return TLineReport{IntText(static_cast<std::int64_t>(index)), u"", index == 3 ? 2 : 0, {}}; };
    };
    QStringList printed;
    const int worst = TBatchRunner::Run(9, 4, makeRenderer, [&](const TLineReport& report) { printed << QString::fromStdU16String(report.Out); }, 1, u"");
    EXPECT_EQ(printed.join(','), QStringLiteral("0,1,2,3,4,5,6,7,8"));
    EXPECT_EQ(worst, 2);
}

TEST(BatchRunnerTest, ALineThatThrowsFailsAloneAndTheOthersRun)
{
    const auto makeRenderer = [] {
        return [](std::size_t index) -> TLineReport {
            if (index == 1)
                throw std::length_error("vector too long");
            return TLineReport{u"ok", u"", 0, {}};
        };
    };
    std::vector<TLineReport> reports;
    const int worst = TBatchRunner::Run(3, 2, makeRenderer, [&](const TLineReport& report) { reports.push_back(report); }, 1,
                                        u"tool: ");
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_TRUE(reports[0].Out == u"ok");
    EXPECT_TRUE(reports[1].Err == u"tool: vector too long\n") << "the caller names the program";
    EXPECT_TRUE(reports[2].Out == u"ok");
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
    TBatchRunner::Run(200, 2, makeRenderer, [&](const TLineReport&) { ++printed; }, 1, u"");
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
            return TLineReport{IntText(static_cast<std::int64_t>(index)), u"", 0, {}};
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

// Lines read as they come: each line's report is handed on before the next line is
// even read, as a producer that waits for a logo before it writes the next line needs;
// the reports keep their order and the run ends with the input.
TEST(BatchRunnerTest, ReadLinesAreHandedOnBeforeTheInputEnds)
{
    for (const int jobs : {1, 3}) {
        SCOPED_TRACE(jobs);
        constexpr std::size_t Lines = 12;
        std::mutex lock;
        std::condition_variable printedOne;
        std::size_t printed = 0;
        bool waitedTooLong = false;
        const auto read = [&](std::size_t index) {
            std::unique_lock<std::mutex> guard(lock);
            if (!printedOne.wait_for(guard, std::chrono::seconds(5), [&] { return printed == index; }))
                waitedTooLong = true;
            return index < Lines;
        };
        TBatchRunner runner(read, jobs);
        TBatchRunner::TSteps steps;
        steps.MakeRenderer = [] {
            return [](std::size_t index) { return TLineReport{IntText(static_cast<std::int64_t>(index)), u"", index == 7 ? 2 : 0, {}}; };
        };
        QStringList order;
        steps.Print = [&](std::size_t, const TLineReport& report) {
            order << QString::fromStdU16String(report.Out);
            const std::lock_guard<std::mutex> guard(lock);
            ++printed;
            printedOne.notify_all();
        };
        EXPECT_EQ(runner.Execute(steps, 1), 2);
        EXPECT_FALSE(waitedTooLong) << "a line was held back until more input came";
        EXPECT_EQ(order.join(','), QStringLiteral("0,1,2,3,4,5,6,7,8,9,10,11"));
        EXPECT_EQ(runner.Count(), Lines);
    }
}

// However fast the input, the workers read only a few lines past the report last
// handed on, so that a long stream is not taken into memory ahead of its logos.
TEST(BatchRunnerTest, ReadingStaysAFewLinesAheadOfTheReports)
{
    std::atomic<std::size_t> read{0};
    std::atomic<std::size_t> furthestAhead{0};
    std::atomic<std::size_t> handedOn{0};
    TBatchRunner runner(
        [&](std::size_t index) {
            furthestAhead = std::max(furthestAhead.load(), index - std::min(index, handedOn.load()));
            read = index + 1;
            return index < 300;
        },
        2);
    TBatchRunner::TSteps steps;
    steps.MakeRenderer = [] {
        return [](std::size_t index) {
            if (index % 50 == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            return TLineReport{};
        };
    };
    steps.Print = [&](std::size_t index, const TLineReport&) { handedOn = index + 1; };
    runner.Execute(steps, 1);
    EXPECT_EQ(handedOn.load(), 300u);
    EXPECT_LE(furthestAhead.load(), 9u);
}

} // namespace
