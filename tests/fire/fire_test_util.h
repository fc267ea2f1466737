#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "fire/fire_block.h"

namespace velq::fire_test {

// A closed block from a flag and its tokens; fails the test when they do not fit.
inline FireMacroBlock Block(bool stop_on_release, std::initializer_list<uint8_t> tokens) {
    const std::vector<uint8_t> content(tokens);
    auto block = MakeFireBlock(stop_on_release, content);
    EXPECT_TRUE(block.has_value());
    return block.value_or(FireMacroBlock{});
}

// The two shapes the default sets use.
inline FireMacroBlock ClickPerShot(uint8_t y) {
    return Block(true, {0xFD, 0xFF, 0xA1, 0x21, 0xFB, 0x00, 0xFA, y, 0xFE, 0x01, 0xFC});
}
inline FireMacroBlock HoldAndPull(uint8_t y, uint8_t t) {
    return Block(true, {0xA1, 0xFE, 0x03, 0xFD, 0xFF, 0xFB, 0x00, 0xFA, y, 0xFE, t, 0xFC, 0x21});
}

}  // namespace velq::fire_test
