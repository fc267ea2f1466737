#include "device/report_descriptor.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace velq {
namespace {

struct DescriptorCase {
    std::string ids;
    uint16_t usage_page;
    uint16_t usage;
    int input;
    int output;
    int feature;
    std::vector<uint8_t> descriptor;
};

std::vector<uint8_t> HexBytes(const std::string& hex) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// Real descriptors with the lengths Windows computed for one of their top-level collections.
std::vector<DescriptorCase> LoadCases() {
    std::ifstream in(std::string(VELQ_TEST_DATA_DIR) + "/hid-report-descriptors.tsv");
    std::vector<DescriptorCase> cases;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("vendor", 0) == 0) {
            continue;
        }
        std::istringstream fields(line);
        std::string vendor, product, page, usage, input, output, feature, hex;
        fields >> vendor >> product >> page >> usage >> input >> output >> feature >> hex;
        cases.push_back({vendor + ":" + product,
                         static_cast<uint16_t>(std::stoul(page, nullptr, 16)),
                         static_cast<uint16_t>(std::stoul(usage, nullptr, 16)), std::stoi(input),
                         std::stoi(output), std::stoi(feature), HexBytes(hex)});
    }
    return cases;
}

TEST(ReportDescriptor, LengthsMatchWindowsForEveryRealDescriptor) {
    const std::vector<DescriptorCase> cases = LoadCases();
    ASSERT_EQ(cases.size(), 25u);
    for (const DescriptorCase& c : cases) {
        SCOPED_TRACE(c.ids);
        const ParsedDescriptor parsed = ParseReportDescriptor(c.descriptor);
        EXPECT_EQ(parsed.error, "");
        const TopLevelCollection* found = nullptr;
        for (const TopLevelCollection& collection : parsed.collections) {
            if (collection.usage_page == c.usage_page && collection.usage == c.usage) {
                found = &collection;
            }
        }
        ASSERT_NE(found, nullptr) << "no collection " << std::hex << c.usage_page << ":" << c.usage;
        EXPECT_EQ(found->input_length, c.input);
        EXPECT_EQ(found->output_length, c.output);
        EXPECT_EQ(found->feature_length, c.feature);
        EXPECT_FALSE(found->malformed);
    }
}

TEST(ReportDescriptor, PushPopReportIdsLongItemsAndExtendedUsages) {
    const std::vector<uint8_t> descriptor = {
        0x06, 0x00, 0xFF,              // Usage Page (vendor FF00)
        0x09, 0x01,                    // Usage 1
        0xA1, 0x01,                    // Collection (Application)
        0x85, 0x04,                    //   Report ID 4
        0x75, 0x08, 0x95, 0x07,        //   7 x 8 bits
        0xB1, 0x02,                    //   Feature -> 56 bits
        0xA4,                          //   Push
        0x85, 0x05,                    //   Report ID 5
        0x75, 0x01, 0x95, 0x03,        //   3 x 1 bit
        0x81, 0x02,                    //   Input -> 3 bits in report 5
        0xB4,                          //   Pop: back to report 4, 7 x 8
        0x81, 0x02,                    //   Input -> 56 bits in report 4
        0xFE, 0x02, 0x10, 0xAA, 0xBB,  // a long item, skipped
        0xC0,                          // End Collection
        0x0B, 0x02, 0x00, 0x0C, 0x00,  // Usage (Consumer 0x0002, 4-byte form)
        0xA1, 0x01, 0x75, 0x03, 0x95, 0x01, 0x91, 0x02, 0xC0,  // 3-bit output, no report ID
    };
    const ParsedDescriptor parsed = ParseReportDescriptor(descriptor);
    EXPECT_EQ(parsed.error, "");
    ASSERT_EQ(parsed.collections.size(), 2u);
    EXPECT_EQ(DescribeCollection(parsed.collections[0]), "FF00:0001 in=8 out=0 feature=8");
    EXPECT_EQ(DescribeCollection(parsed.collections[1]), "000C:0002 in=0 out=2 feature=0");
}

TEST(ReportDescriptor, TruncatedDescriptorsReportAnErrorInsteadOfReadingPastTheEnd) {
    const std::vector<std::vector<uint8_t>> broken = {
        {0x06, 0x00},                    // two data bytes announced, one given
        {0xA1, 0x01, 0xFE, 0x05, 0x10},  // long item longer than the rest
        {0xA1, 0x01, 0x75, 0x08},        // collection never closed
        {0xC0},                          // closed but never opened
        {0xB4},                          // Pop without Push
    };
    for (const auto& d : broken) {
        EXPECT_NE(ParseReportDescriptor(d).error, "") << d.size();
    }
}

// Crafted descriptors whose report lengths are beyond any report: summed without wrapping, they
// make their collection malformed, so none of them can pass for the mouse's 8-byte feature
// report or print a negative length. A well-formed collection after one is still read.
TEST(ReportDescriptor, LengthsBeyondAnyReportMakeTheCollectionMalformed) {
    const std::vector<uint8_t> kVendorCollection = {0x06, 0x00, 0xFF, 0x09, 0x01,
                                                    0xA1, 0x01, 0x85, 0x04};
    struct Case {
        const char* name;
        std::vector<uint8_t> items;  // between the collection's start and its end
    };
    const std::vector<Case> cases = {
        // 8 x 0xFFFFFFFF bits and 8 x 8 more: 2^32 + 8 bytes, which as 32 bits reads as 8.
        {"4-gigabyte feature report",
         {0x75, 0x08, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0xB1, 0x02, 0x95, 0x08, 0xB1, 0x02}},
        // 8 x 2^31 bits: 2^31 + 1 bytes, negative as a 32-bit length.
        {"2-gigabyte input report", {0x75, 0x08, 0x97, 0x00, 0x00, 0x00, 0x80, 0x81, 0x02}},
        // (2^32 - 1)^2 bits plus 3 x 0xAAAAAABD bits: 56 bits once the sum wraps at 64 bits.
        {"sum wrapping to 56 bits",
         {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0xB1,
          0x02, 0x75, 0x03, 0x97, 0xBD, 0xAA, 0xAA, 0xAA, 0xB1, 0x02}},
        // Sums beyond 64 bits, again and again, stay beyond.
        {"sums beyond 64 bits",
         {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x91, 0x02, 0x91, 0x02, 0x91,
          0x02}},
        // One byte over the longest length: 65535 data bytes and the ID byte.
        {"65536-byte feature report", {0x75, 0x08, 0x97, 0xFF, 0xFF, 0x00, 0x00, 0xB1, 0x02}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> descriptor = kVendorCollection;
        descriptor.insert(descriptor.end(), c.items.begin(), c.items.end());
        descriptor.push_back(0xC0);
        // A keyboard collection after it, read as usual.
        descriptor.insert(descriptor.end(), {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x75, 0x08, 0x95,
                                             0x08, 0x81, 0x02, 0xC0});
        const ParsedDescriptor parsed = ParseReportDescriptor(descriptor);
        ASSERT_EQ(parsed.collections.size(), 2u);
        const TopLevelCollection& bad = parsed.collections[0];
        EXPECT_TRUE(bad.malformed);
        EXPECT_EQ(bad.input_length, 0);
        EXPECT_EQ(bad.output_length, 0);
        EXPECT_EQ(bad.feature_length, 0);
        EXPECT_EQ(DescribeCollection(bad), "FF00:0001 malformed: a report longer than 65535 bytes");
        EXPECT_EQ(parsed.error, DescribeCollection(bad));
        EXPECT_FALSE(parsed.collections[1].malformed);
        EXPECT_EQ(DescribeCollection(parsed.collections[1]), "0001:0006 in=9 out=0 feature=0");
    }

    // The longest report there may be still counts: 65534 data bytes and the ID byte.
    std::vector<uint8_t> longest = kVendorCollection;
    longest.insert(longest.end(), {0x75, 0x08, 0x97, 0xFE, 0xFF, 0x00, 0x00, 0xB1, 0x02, 0xC0});
    const ParsedDescriptor parsed = ParseReportDescriptor(longest);
    EXPECT_EQ(parsed.error, "");
    ASSERT_EQ(parsed.collections.size(), 1u);
    EXPECT_EQ(DescribeCollection(parsed.collections[0]), "FF00:0001 in=0 out=0 feature=65535");
}

TEST(ReportDescriptor, DecodesBinaryAndHexTextFiles) {
    struct Case {
        std::string content;
        std::vector<uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"05 01 09 02", {0x05, 0x01, 0x09, 0x02}},
        {"0x05, 0x01,\n0x09,0x02", {0x05, 0x01, 0x09, 0x02}},
        {"05010902\n", {0x05, 0x01, 0x09, 0x02}},
        {"05:01-a1 C0", {0x05, 0x01, 0xA1, 0xC0}},
        {std::string("\x05\x01\xa1\x01\xc0", 5), {0x05, 0x01, 0xA1, 0x01, 0xC0}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes;
        std::string error;
        const std::vector<uint8_t> content(c.content.begin(), c.content.end());
        EXPECT_TRUE(DecodeDescriptorFile(content, bytes, error)) << c.content << error;
        EXPECT_EQ(bytes, c.bytes) << c.content;
    }
    for (const std::string bad : {"05 0g", "050", "   "}) {
        std::vector<uint8_t> bytes;
        std::string error;
        const std::vector<uint8_t> content(bad.begin(), bad.end());
        EXPECT_FALSE(DecodeDescriptorFile(content, bytes, error)) << bad;
        EXPECT_NE(error, "");
    }
}

}  // namespace
}  // namespace velq
