#include <gtest/gtest.h>

#include <array>
#include <random>

#include "buttons/usage_names.h"
#include "macros/macro_decode.h"
#include "macros/macro_encode.h"

namespace velq {
namespace {

constexpr std::array<uint8_t, 5> kMasks{0x01, 0x02, 0x04, 0x08, 0x80};
constexpr std::array<uint8_t, 5> kButtons{0x01, 0x02, 0x04, 0x08, 0x10};

struct GeneratedMacro {
    MacroLines lines{"00"};
    MacroLines expected{};  // lines 1.. as decoding gives them back
    MacroOptions options;
};

// A random macro whose tokens fit `room`. Two waits never follow each other (the reader would
// merge them) and no wait needs more than five tokens.
GeneratedMacro Generate(std::mt19937& rng, std::size_t room) {
    GeneratedMacro macro;
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    macro.options.release = pick(0, 1) ? ReleaseOption::kStopOnRelease : ReleaseOption::kPlayToEnd;
    macro.options.repeat = static_cast<RepeatOption>(pick(0, 2));
    macro.options.repeat_count = pick(1, 255);
    std::size_t used = macro.options.repeat == RepeatOption::kNone ? 0 : 3;
    const std::size_t target = static_cast<std::size_t>(pick(0, static_cast<int>(room)));
    bool last_was_wait = false;
    while (true) {
        std::string line;
        std::string expected;
        std::size_t size = 2;
        const int kind = pick(last_was_wait ? 1 : 0, 5);
        if (kind == 0) {
            const int ms = pick(0, 3) == 0 ? pick(2041, 10207) : pick(0, 2040);
            const int units = ms / 8;
            size = 2 * static_cast<std::size_t>(std::max(1, (units + 254) / 255));
            line = DelayLine(ms);
            expected = DelayLine(units * 8);
        } else if (kind == 1) {
            line = ModifierLine(pick(0, 1) != 0, kMasks[static_cast<std::size_t>(pick(0, 4))]);
        } else if (kind == 2) {
            const auto usage = static_cast<uint8_t>(pick(0, 255));
            line = KeyLine(pick(0, 1) != 0, UsageName(usage), usage);
        } else if (kind == 3) {
            line = ButtonLine(pick(0, 1) != 0, kButtons[static_cast<std::size_t>(pick(0, 4))]);
            size = 1;
        } else if (kind == 4) {
            line = MoveXLine(static_cast<uint8_t>(pick(0, 255)));
        } else {
            line = MoveYLine(static_cast<uint8_t>(pick(0, 255)));
        }
        if (used + size > target) {
            break;
        }
        used += size;
        last_was_wait = kind == 0;
        macro.lines.push_back(line);
        macro.expected.push_back(expected.empty() ? line : expected);
    }
    return macro;
}

template <typename Content, typename EncodeFn>
void CheckRoundTrips(ContentForm form, std::size_t room, int count, EncodeFn encode) {
    std::mt19937 rng(20240611);
    for (int n = 0; n < count; ++n) {
        const GeneratedMacro macro = Generate(rng, room);
        Content content{};
        const MacroEncodeResult result = encode(macro.lines, macro.options, content);
        ASSERT_TRUE(result.ok()) << "macro " << n;
        ASSERT_LE(result.token_bytes, room);

        const DecodedMacro decoded = DecodeMacroContent(content, form);
        const MacroLines events(decoded.lines.begin() + 1, decoded.lines.end());
        ASSERT_EQ(events, macro.expected) << "macro " << n;

        // The options come back from the stored bytes, unless nothing was stored at all.
        const auto options = ReadMacroOptions(content, form);
        if (result.token_bytes == 0) {
            EXPECT_FALSE(options.has_value());
        } else {
            ASSERT_TRUE(options.has_value());
            EXPECT_EQ(options->release, macro.options.release);
            EXPECT_EQ(options->repeat, macro.options.repeat);
            if (macro.options.repeat == RepeatOption::kTimes) {
                EXPECT_EQ(options->repeat_count, macro.options.repeat_count);
            }
        }

        // Encoding the decoded lines again stores the same bytes.
        Content again{};
        ASSERT_TRUE(encode(decoded.lines, macro.options, again).ok());
        EXPECT_EQ(again, content) << "macro " << n;
    }
}

TEST(MacroRoundTripTest, DeviceFormKeepsTheEvents) {
    CheckRoundTrips<MacroContent>(ContentForm::kDevice, kMacroTokenRoom, 400,
                                  [](const MacroLines& l, const MacroOptions& o, MacroContent& c) {
                                      return EncodeMacro(l, o, c);
                                  });
}

TEST(MacroRoundTripTest, UtilityFormKeepsTheEvents) {
    CheckRoundTrips<DriverMacroContent>(
        ContentForm::kUtility, kDriverMacroTokenRoom, 60,
        [](const MacroLines& l, const MacroOptions& o, DriverMacroContent& c) {
            return EncodeDriverMacro(l, o, c);
        });
}

// Any bytes decode without reading outside the content, and what is decoded encodes again.
template <typename Content>
void CheckRandomContents(ContentForm form, int count) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int n = 0; n < count; ++n) {
        Content content;
        for (uint8_t& b : content) {
            b = static_cast<uint8_t>(byte(rng));
        }
        if (n % 2 == 0) {
            // Plausible lengths too, so the scan runs into the tokens rather than stopping at once.
            const int length =
                std::uniform_int_distribution<int>(0, static_cast<int>(TokenRoom(form)) + 3)(rng);
            if (form == ContentForm::kDevice) {
                content[1] = static_cast<uint8_t>(length);
            } else {
                content[1] = static_cast<uint8_t>(length >> 8);
                content[2] = static_cast<uint8_t>(length & 0xFF);
            }
        }
        const DecodedMacro decoded = DecodeMacroContent(content, form);
        ASSERT_FALSE(decoded.lines.empty());
        const MacroTokens tokens = BuildMacroTokens(decoded.lines, MacroOptions{});
        EXPECT_FALSE(tokens.bad_line.has_value()) << "content " << n;
        EXPECT_LE(tokens.bytes.size(), TokenRoom(form)) << "content " << n;
        (void)ReadMacroOptions(content, form);
    }
}

TEST(MacroRoundTripTest, RandomContentsDecodeSafely) {
    CheckRandomContents<MacroContent>(ContentForm::kDevice, 3000);
    CheckRandomContents<DriverMacroContent>(ContentForm::kUtility, 500);
}

}  // namespace
}  // namespace velq
