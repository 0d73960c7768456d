#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <vector>

// What one line of a batch leaves for the standard streams, and its exit status.
struct TLineReport {
    QString Out;
    QString Err;
    int Status = 0;
    std::vector<char32_t> Missing; // characters no installed font has
};

// Runs the lines of a batch on worker threads while the calling thread hands each
// line's report on in line order, as one thread would have printed them.
class TBatchRunner {
public:
    // Renders the line of the given index; each worker thread makes its own, so that a
    // renderer may keep memory from one line to the next.
    using TLineRenderer = std::function<TLineReport(std::size_t index)>;

    // Renders count lines, jobs of them at a time (at most one a line), and hands each
    // report to print in line order. A renderer that throws fails its line with
    // failedStatus; the others still run. Returns the worst status of the lines.
    static int Run(std::size_t count, int jobs, const std::function<TLineRenderer()>& makeRenderer,
                   const std::function<void(const TLineReport&)>& print, int failedStatus);
};
