#include "common/checksum.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace velq {
namespace {

TEST(SectionChecksum, SumModulo256XorWithKey) {
    EXPECT_EQ(SectionChecksum({}), 0x5A);
    const std::array<uint8_t, 3> bytes{0xFF, 0x02, 0x10};  // sum 0x111 -> 0x11
    EXPECT_EQ(SectionChecksum(bytes), 0x11 ^ 0x5A);
    const std::vector<uint8_t> ones(256, 1);  // sum 256 wraps to 0
    EXPECT_EQ(SectionChecksum(ones), 0x5A);
}

}  // namespace
}  // namespace velq
