// Timing several libraries at one job side by side: each gets a batch size
// calibrated to a target duration, then the batches run in interleaved
// rounds (A, B, C, ours, A, B, C, ours, ...), so that a slow phase of the
// machine falls on all of them alike. Every round gives one time per
// operation; the median, minimum and maximum over the rounds are reported.
//
// Jobs that only compute are timed on the thread's CPU clock, which other
// processes sharing the machine do not advance; jobs that write files or
// wait on the system are timed on the wall clock.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace peers {

struct Contender {
    std::string library;
    std::function<bool()> operation;  // one operation; false when it failed
    // Run after each batch, outside the timing (e.g. removing the files the
    // batch wrote, so that every batch starts from the same directory).
    std::function<void()> afterBatch = nullptr;
};

enum class Clock { ThreadCpu, Wall };

struct TimingPlan {
    double batchSeconds;  // a batch lasts at least this long (0: one operation per batch)
    int rounds;
};

struct Timing {
    std::string library;
    double medianMicroseconds;
    double minMicroseconds;
    double maxMicroseconds;
    long operationsPerBatch;
    int rounds;
};

// Throws std::runtime_error naming the library when an operation fails.
std::vector<Timing> TimeSideBySide(const std::vector<Contender>& contenders, const TimingPlan& plan, Clock clock);

}  // namespace peers
