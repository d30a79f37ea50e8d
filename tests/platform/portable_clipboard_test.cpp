#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/drawing_surface.h"

namespace ecc200::platform {
namespace {

std::unique_ptr<EnhMetafile> MetafileWithLine(std::int32_t x) {
    std::unique_ptr<EnhMetafileRecorder> recorder = CreateEnhMetafileRecorder();
    recorder->LineTo(x, 1);
    return recorder->Close();
}

TEST(PortableClipboardTest, HoldsTheBitsOfTheMetafilePut) {
    std::unique_ptr<EnhMetafile> metafile = MetafileWithLine(5);
    const std::vector<std::uint8_t> bits = metafile->GetBits();
    ASSERT_TRUE(PutEnhMetafileOnClipboard(std::move(metafile)));
    EXPECT_EQ(GetClipboardEnhMetafileBits(), bits);
    EXPECT_EQ(GetClipboardEnhMetafileBits(), bits);  // reading leaves it there
}

TEST(PortableClipboardTest, PuttingReplacesWhatWasThere) {
    ASSERT_TRUE(PutEnhMetafileOnClipboard(MetafileWithLine(5)));
    std::unique_ptr<EnhMetafile> second = MetafileWithLine(9);
    const std::vector<std::uint8_t> bits = second->GetBits();
    ASSERT_TRUE(PutEnhMetafileOnClipboard(std::move(second)));
    EXPECT_EQ(GetClipboardEnhMetafileBits(), bits);
}

TEST(PortableClipboardTest, NoMetafileLeavesTheClipboardAlone) {
    std::unique_ptr<EnhMetafile> metafile = MetafileWithLine(7);
    const std::vector<std::uint8_t> bits = metafile->GetBits();
    ASSERT_TRUE(PutEnhMetafileOnClipboard(std::move(metafile)));
    EXPECT_FALSE(PutEnhMetafileOnClipboard(nullptr));
    EXPECT_EQ(GetClipboardEnhMetafileBits(), bits);
}

// A process starts with an empty clipboard; run in a fresh copy of the
// test program so that no earlier case has filled it.
TEST(PortableClipboardTest, EmptyInANewProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(GetClipboardEnhMetafileBits().has_value() ? 1 : 0), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace ecc200::platform
