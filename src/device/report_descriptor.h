#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velq {

// One top-level collection of a HID report descriptor with its report byte lengths counted
// the way Windows counts them for an interface: one report ID byte (always counted, also when
// the descriptor declares no report IDs) plus the largest report of that type in the
// collection, rounded up to whole bytes; 0 when the collection has no report of that type.
//
// A collection with a report longer than kMaxReportLength bytes is malformed: no HID stack
// can state such a length (Windows keeps them in 16 bits), and a length that wrapped could
// pass for another one, 8 among them. Its lengths are then all 0.
struct TopLevelCollection {
    uint16_t usage_page = 0;
    uint16_t usage = 0;
    int input_length = 0;
    int output_length = 0;
    int feature_length = 0;
    bool malformed = false;
};

// The longest report, in bytes with its ID byte, that a collection may have.
inline constexpr int kMaxReportLength = 0xFFFF;

struct ParsedDescriptor {
    std::vector<TopLevelCollection> collections;
    // Empty when the whole descriptor was understood; else what stopped the parser (the
    // collections found up to there are kept) or what made the first malformed collection so
    // (the parser goes on after it).
    std::string error;
};

ParsedDescriptor ParseReportDescriptor(std::span<const uint8_t> descriptor);

// "FF00:0001 in=0 out=0 feature=8": the line `velqctl rdesc` prints for a collection
// ("FF00:0001 malformed: ..." for a malformed one).
std::string DescribeCollection(const TopLevelCollection& collection);

// Reads a descriptor file's content: binary bytes as they are, or hex text ("05 01 09 02",
// "0x05, 0x01", "050109") with any separators. False when text is not valid hex.
bool DecodeDescriptorFile(std::span<const uint8_t> content, std::vector<uint8_t>& descriptor,
                          std::string& error);

}  // namespace velq
