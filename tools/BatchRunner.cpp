#include "tools/BatchRunner.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {

TLineReport Rendered(const TBatchRunner::TLineRenderer& render, std::size_t index, int failedStatus)
{
    try {
        return render(index);
    } catch (const std::exception& error) {
        return TLineReport{QString(), QStringLiteral("vezodev-render: %1\n").arg(QString::fromLocal8Bit(error.what())), failedStatus, {}};
    } catch (...) {
        return TLineReport{QString(), QStringLiteral("vezodev-render: unknown error\n"), failedStatus, {}};
    }
}

} // namespace

int TBatchRunner::Run(std::size_t count, int jobs, const std::function<TLineRenderer()>& makeRenderer,
                      const std::function<void(const TLineReport&)>& print, int failedStatus)
{
    const std::size_t workers = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), 1, std::max<std::size_t>(count, 1));
    std::vector<TLineReport> reports(count);
    std::vector<char> done(count, 0);
    std::mutex lock;
    std::condition_variable finished;
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        const TLineRenderer render = makeRenderer();
        for (std::size_t index; (index = next++) < count;) {
            TLineReport report = Rendered(render, index, failedStatus);
            const std::lock_guard<std::mutex> guard(lock);
            reports[index] = std::move(report);
            done[index] = 1;
            finished.notify_one();
        }
    };
    // Every job is a worker of its own; the calling thread only prints.
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < workers; ++i)
        threads.emplace_back(work);
    int worst = 0;
    for (std::size_t index = 0; index < count; ++index) {
        TLineReport report;
        {
            std::unique_lock<std::mutex> guard(lock);
            finished.wait(guard, [&] { return done[index] != 0; });
            report = std::move(reports[index]);
        }
        print(report);
        worst = std::max(worst, report.Status);
    }
    for (std::thread& thread : threads)
        thread.join();
    return worst;
}
