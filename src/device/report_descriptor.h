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
struct TopLevelCollection {
    uint16_t usage_page = 0;
    uint16_t usage = 0;
    int input_length = 0;
    int output_length = 0;
    int feature_length = 0;
};

struct ParsedDescriptor {
    std::vector<TopLevelCollection> collections;
    // Empty when the whole descriptor was understood; else what stopped the parser (the
    // collections found up to there are kept).
    std::string error;
};

ParsedDescriptor ParseReportDescriptor(std::span<const uint8_t> descriptor);

// "FF00:0001 in=0 out=0 feature=8": the line `velqctl rdesc` prints for a collection.
std::string DescribeCollection(const TopLevelCollection& collection);

// Reads a descriptor file's content: binary bytes as they are, or hex text ("05 01 09 02",
// "0x05, 0x01", "050109") with any separators. False when text is not valid hex.
bool DecodeDescriptorFile(std::span<const uint8_t> content, std::vector<uint8_t>& descriptor,
                          std::string& error);

}  // namespace velq
