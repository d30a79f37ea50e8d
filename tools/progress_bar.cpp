#include "progress_bar.h"

#include <cstdio>

namespace ecc200::tool {
namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

}  // namespace

ProgressBar::ProgressBar(std::size_t total, const std::atomic<std::size_t>& done, bool shown)
    : total_(total), done_(done), start_(std::chrono::steady_clock::now()) {
    if (shown) thread_ = std::thread([this] { Run(); });
}

ProgressBar::~ProgressBar() {
    if (!thread_.joinable()) return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_one();
    thread_.join();
    std::fputs("\r\x1b[K", stderr);  // the summary takes the line
    std::fflush(stderr);
}

void ProgressBar::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_.wait_for(lock, kRedrawInterval, [this] { return stopping_; })) Draw();
}

void ProgressBar::Draw() const {
    const std::size_t done = done_.load();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double rate = seconds > 0 ? done / seconds : 0;
    const int filled = total_ == 0 ? kBarWidth : static_cast<int>(kBarWidth * done / total_);
    char bar[kBarWidth + 1];
    for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '-';
    bar[kBarWidth] = '\0';
    const double left = rate > 0 ? (total_ - done) / rate : 0;
    std::fprintf(stderr, "\r[%s] %zu/%zu  %.0f lines/s  %.0f s left\x1b[K", bar, done, total_, rate, left);
    std::fflush(stderr);
}

}  // namespace ecc200::tool
