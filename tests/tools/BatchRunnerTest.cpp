#include "tools/BatchRunner.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <chrono>
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

} // namespace
