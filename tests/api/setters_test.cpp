// The exported setters on the process-wide record. The first test must run
// before any other in its process: it is the only test of this executable
// that sees the record as loaded (CTest runs every test in a process of its
// own, and GoogleTest runs them in file order).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "api/nine_adapter.h"
#include "ecc200.h"

namespace ecc200 {
namespace {

DMSettings Snapshot() {
    const std::lock_guard<std::mutex> lock(ApiMutex());
    return Settings();
}

std::uint32_t FloatBits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TEST(Setters, StartFromAnAllZeroRecordAndWriteOnlyTheirOwnFields) {
    DMSettings s = Snapshot();
    EXPECT_EQ(s.barColour, 0u);
    EXPECT_EQ(s.backgroundColour, 0u);
    EXPECT_EQ(s.width, 0);
    EXPECT_EQ(s.height, 0);
    EXPECT_EQ(s.borderStyle, 0);
    EXPECT_EQ(FloatBits(s.moduleSize), 0u);
    EXPECT_EQ(s.orientation, 0);
    EXPECT_EQ(s.messageBytes(), "");

    DMSetSize(0, -5);
    s = Snapshot();
    EXPECT_EQ(s.width, 500);
    EXPECT_EQ(s.height, 300);
    EXPECT_EQ(FloatBits(s.moduleSize), 0u);
    EXPECT_EQ(s.messageBytes(), "");

    DMSetInfo(0.05, 3, 2);
    s = Snapshot();
    EXPECT_EQ(FloatBits(s.moduleSize), FloatBits(0.05f));
    EXPECT_EQ(s.orientation, 3);
    EXPECT_EQ(s.borderStyle, 2);
    EXPECT_EQ(s.backgroundColour, 0u);

    DMSetBackColor(255, 0, 256);
    DMSetBarColor(-1, 128, 64);
    DMSetMessage("\x80hello");
    s = Snapshot();
    EXPECT_EQ(s.backgroundColour, 0x0000FFu);
    EXPECT_EQ(s.barColour, 0x408000u);
    EXPECT_EQ(s.messageBytes(), "\x80hello");
    EXPECT_EQ(s.width, 500);
    EXPECT_EQ(s.orientation, 3);
}

TEST(Setters, DefaultRestoresEverythingAfterOtherSetters) {
    DMSetSize(1, 1);
    DMSetInfo(0.0, 4, 3);
    DMSetBackColor(1, 2, 3);
    DMSetBarColor(4, 5, 6);
    DMSetMessage(nullptr);
    DMSettings s = Snapshot();
    EXPECT_EQ(s.width, 1);
    EXPECT_EQ(s.height, 1);
    EXPECT_EQ(FloatBits(s.moduleSize), 0x3E4CCCCDu);
    EXPECT_EQ(s.orientation, 0);
    EXPECT_EQ(s.borderStyle, 0);
    EXPECT_EQ(s.messageBytes(), "");

    DMSetDefault();
    s = Snapshot();
    EXPECT_EQ(s.barColour, 0u);
    EXPECT_EQ(s.backgroundColour, 0xFFFFFFu);
    EXPECT_EQ(s.width, 500);
    EXPECT_EQ(s.height, 300);
    EXPECT_EQ(s.borderStyle, 0);
    EXPECT_EQ(FloatBits(s.moduleSize), 0x3E4CCCCDu);
    EXPECT_EQ(s.orientation, 0);
    EXPECT_EQ(s.messageBytes(), "12");
}

// Callers that overlap their calls are serialised: a reader holding the lock
// never sees half of one setter's values, whatever the writers do.
TEST(Setters, SerialiseOverlappingCallers) {
    const std::vector<std::string> messages = {std::string(1999, 'a'), std::string(1999, 'b'), std::string(7, 'c')};
    constexpr int kWriters = 2;
    // What writer 0 writes, so that every snapshot must be consistent.
    DMSetMessage(messages[0].c_str());
    DMSetSize(1, 2);
    DMSetInfo(1.0, 0, 0);
    std::atomic<int> running{kWriters};
    std::vector<std::thread> writers;
    for (int t = 0; t < kWriters; ++t) {
        writers.emplace_back([&, t] {
            for (int i = 0; i < 50000; ++i) {
                DMSetMessage(messages[static_cast<std::size_t>((t + i) % 3)].c_str());
                DMSetSize(t + 1, 2 * (t + 1));
                DMSetInfo(t + 1.0, t % 4, t % 3);
                DMSetBarColor(t, t, t);
            }
            --running;
        });
    }
    int snapshots = 0;
    while (running > 0 || snapshots == 0) {
        const DMSettings s = Snapshot();
        ++snapshots;
        const std::string message(s.messageBytes());
        ASSERT_TRUE(std::find(messages.begin(), messages.end(), message) != messages.end())
            << "torn message of " << message.size() << " bytes";
        ASSERT_EQ(s.height, 2 * s.width);
        const int t = static_cast<int>(s.moduleSize) - 1;
        ASSERT_EQ(s.orientation, t % 4);
        ASSERT_EQ(s.borderStyle, t % 3);
    }
    for (std::thread& writer : writers) writer.join();
}

}  // namespace
}  // namespace ecc200
