// A progress line on standard error for long runs: done/total, rate and time
// left, redrawn in place a few times a second by a thread of its own.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

namespace ecc200::tool {

class ProgressBar {
public:
    // Draws nothing unless `shown` (standard error is a terminal).
    ProgressBar(std::size_t total, const std::atomic<std::size_t>& done, bool shown);
    ~ProgressBar();  // stops and clears the line
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

private:
    void Run();
    void Draw() const;

    const std::size_t total_;
    const std::atomic<std::size_t>& done_;
    const std::chrono::steady_clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace ecc200::tool
