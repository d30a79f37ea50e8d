#include "side_by_side.h"

#include <algorithm>
#include <ctime>
#include <stdexcept>

namespace peers {
namespace {

double Now(Clock clock) {
    timespec now{};
    clock_gettime(clock == Clock::ThreadCpu ? CLOCK_THREAD_CPUTIME_ID : CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Seconds taken by `count` operations in a row.
double RunBatch(const Contender& contender, long count, Clock clock) {
    const double start = Now(clock);
    for (long i = 0; i < count; ++i) {
        if (!contender.operation()) throw std::runtime_error(contender.library + ": operation failed");
    }
    const double seconds = Now(clock) - start;
    if (contender.afterBatch) contender.afterBatch();
    return seconds;
}

// The smallest power of two of operations whose batch lasts the target.
long CalibrateBatch(const Contender& contender, double batchSeconds, Clock clock) {
    constexpr long kMostOperations = 1L << 24;
    long count = 1;
    while (count < kMostOperations && RunBatch(contender, count, clock) < batchSeconds) count *= 2;
    return count;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

}  // namespace

std::vector<Timing> TimeSideBySide(const std::vector<Contender>& contenders, const TimingPlan& plan, Clock clock) {
    std::vector<long> batches;
    for (const Contender& contender : contenders) {
        batches.push_back(CalibrateBatch(contender, plan.batchSeconds, clock));
    }

    std::vector<std::vector<double>> microseconds(contenders.size());
    for (int round = 0; round < plan.rounds; ++round) {
        for (std::size_t c = 0; c < contenders.size(); ++c) {
            const double seconds = RunBatch(contenders[c], batches[c], clock);
            microseconds[c].push_back(seconds * 1e6 / static_cast<double>(batches[c]));
        }
    }

    std::vector<Timing> timings;
    for (std::size_t c = 0; c < contenders.size(); ++c) {
        const auto [least, most] = std::minmax_element(microseconds[c].begin(), microseconds[c].end());
        timings.push_back(
            Timing{contenders[c].library, Median(microseconds[c]), *least, *most, batches[c], plan.rounds});
    }
    return timings;
}

}  // namespace peers
