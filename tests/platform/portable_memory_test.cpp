#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/drawing_surface.h"

namespace ecc200::platform {
namespace {

TEST(PortableMemoryTest, BlockHasTheSizeAskedForAndIsWritable) {
    std::unique_ptr<FixedBlock> block = AllocateFixedBlock(19248);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->size(), 19248u);
    for (std::size_t i = 0; i < block->size(); ++i) block->data()[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(block->data()[19247], static_cast<std::uint8_t>(19247));
}

TEST(PortableMemoryTest, EmptyBlockExists) {
    std::unique_ptr<FixedBlock> block = AllocateFixedBlock(0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->size(), 0u);
}

TEST(PortableMemoryTest, ImpossibleSizeGivesNoBlock) {
    EXPECT_EQ(AllocateFixedBlock(std::numeric_limits<std::size_t>::max()), nullptr);
    EXPECT_EQ(AllocateFixedBlock(std::size_t{1} << 60), nullptr);
}

}  // namespace
}  // namespace ecc200::platform
