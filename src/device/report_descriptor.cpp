#include "device/report_descriptor.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>

namespace velq {
namespace {

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };

enum MainTag : uint8_t {
    kInput = 0x8,
    kOutput = 0x9,
    kCollection = 0xA,
    kFeature = 0xB,
    kEndCollection = 0xC,
};

enum GlobalTag : uint8_t {
    kUsagePage = 0x0,
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB,
};

enum LocalTag : uint8_t { kUsage = 0x0 };

constexpr uint8_t kLongItemPrefix = 0xFE;

struct GlobalState {
    uint32_t usage_page = 0;
    uint32_t report_size = 0;
    uint32_t report_count = 0;
    uint32_t report_id = 0;
};

// Bits of each report, by report ID, of one report type in one top-level collection.
using ReportBits = std::map<uint32_t, uint64_t>;

constexpr uint64_t kNoBits = 0;
constexpr uint64_t kTooManyBits = std::numeric_limits<uint64_t>::max();

// Adds the bits of one main item without wrapping: a sum beyond 64 bits stays at the most
// there is, which is far beyond any length a report may have.
void AddBits(uint64_t& total, uint32_t report_size, uint32_t report_count) {
    const uint64_t item = static_cast<uint64_t>(report_size) * report_count;  // fits 64 bits
    total = item > kTooManyBits - total ? kTooManyBits : total + item;
}

// The byte length of the longest report (with its ID byte), 0 without reports; none when it
// is longer than a report may be.
std::optional<int> ByteLength(const ReportBits& reports) {
    if (reports.empty()) {
        return 0;
    }
    uint64_t longest = kNoBits;
    for (const auto& [id, bits] : reports) {
        longest = std::max(longest, bits);
    }
    const uint64_t bytes = longest / 8 + (longest % 8 != 0 ? 1 : 0) + 1;
    if (bytes > static_cast<uint64_t>(kMaxReportLength)) {
        return std::nullopt;
    }
    return static_cast<int>(bytes);
}

}  // namespace

ParsedDescriptor ParseReportDescriptor(std::span<const uint8_t> d) {
    ParsedDescriptor result;
    GlobalState global;
    std::vector<GlobalState> stack;
    std::vector<uint32_t> usages;  // local usages since the last main item
    int depth = 0;
    ReportBits bits[3];  // input, output, feature of the open top-level collection
    TopLevelCollection current;

    size_t pos = 0;
    while (pos < d.size()) {
        const uint8_t prefix = d[pos];
        if (prefix == kLongItemPrefix) {
            if (pos + 2 >= d.size() || pos + 3 + d[pos + 1] > d.size()) {
                result.error = "long item runs past the end";
                return result;
            }
            pos += 3 + d[pos + 1];  // long items carry no data the lengths depend on
            continue;
        }
        const size_t size = (prefix & 0x03) == 3 ? 4 : (prefix & 0x03);
        const uint8_t type = (prefix >> 2) & 0x03;
        const uint8_t tag = prefix >> 4;
        if (pos + 1 + size > d.size()) {
            result.error = "item runs past the end";
            return result;
        }
        uint32_t value = 0;
        for (size_t i = 0; i < size; ++i) {
            value |= static_cast<uint32_t>(d[pos + 1 + i]) << (8 * i);
        }
        pos += 1 + size;

        if (type == kGlobal) {
            switch (tag) {
                case kUsagePage:
                    global.usage_page = value;
                    break;
                case kReportSize:
                    global.report_size = value;
                    break;
                case kReportCount:
                    global.report_count = value;
                    break;
                case kReportId:
                    global.report_id = value;
                    break;
                case kPush:
                    stack.push_back(global);
                    break;
                case kPop:
                    if (stack.empty()) {
                        result.error = "Pop without Push";
                        return result;
                    }
                    global = stack.back();
                    stack.pop_back();
                    break;
                default:
                    break;
            }
            continue;
        }
        if (type == kLocal) {
            if (tag == kUsage) {
                // A 4-byte usage carries its own usage page in the high half.
                usages.push_back(size == 4 ? value : ((global.usage_page << 16) | value));
            }
            continue;
        }
        if (type != kMain) {
            continue;  // reserved item type
        }
        switch (tag) {
            case kCollection:
                if (depth == 0) {
                    current = {};
                    const uint32_t usage = usages.empty() ? (global.usage_page << 16) : usages[0];
                    current.usage_page = static_cast<uint16_t>(usage >> 16);
                    current.usage = static_cast<uint16_t>(usage & 0xFFFF);
                    for (ReportBits& b : bits) {
                        b.clear();
                    }
                }
                ++depth;
                break;
            case kEndCollection:
                if (depth == 0) {
                    result.error = "End Collection without Collection";
                    return result;
                }
                if (--depth == 0) {
                    const std::optional<int> input = ByteLength(bits[0]);
                    const std::optional<int> output = ByteLength(bits[1]);
                    const std::optional<int> feature = ByteLength(bits[2]);
                    if (input && output && feature) {
                        current.input_length = *input;
                        current.output_length = *output;
                        current.feature_length = *feature;
                    } else {
                        current.malformed = true;
                        if (result.error.empty()) {
                            result.error = DescribeCollection(current);
                        }
                    }
                    result.collections.push_back(current);
                }
                break;
            case kInput:
            case kOutput:
            case kFeature:
                if (depth > 0) {
                    const int which = tag == kInput ? 0 : tag == kOutput ? 1 : 2;
                    AddBits(bits[which][global.report_id], global.report_size, global.report_count);
                }
                break;
            default:
                break;
        }
        usages.clear();
    }
    if (depth != 0 && result.error.empty()) {
        result.error = "collection not closed";
    }
    return result;
}

std::string DescribeCollection(const TopLevelCollection& c) {
    char line[96];
    if (c.malformed) {
        std::snprintf(line, sizeof line, "%04X:%04X malformed: a report longer than %d bytes",
                      c.usage_page, c.usage, kMaxReportLength);
    } else {
        std::snprintf(line, sizeof line, "%04X:%04X in=%d out=%d feature=%d", c.usage_page, c.usage,
                      c.input_length, c.output_length, c.feature_length);
    }
    return line;
}

bool DecodeDescriptorFile(std::span<const uint8_t> content, std::vector<uint8_t>& descriptor,
                          std::string& error) {
    descriptor.clear();
    const bool text =
        !content.empty() && std::all_of(content.begin(), content.end(), [](uint8_t c) {
            return c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c < 0x7F);
        });
    if (!text) {
        descriptor.assign(content.begin(), content.end());
        return true;
    }
    // Hex text: runs of hex digits separated by anything else; a "0x" prefix belongs to the
    // run that follows it. A run of odd length other than one digit is ambiguous.
    std::string run;
    auto flush = [&]() -> bool {
        if (run.empty()) {
            return true;
        }
        if (run.size() % 2 != 0) {
            if (run.size() != 1) {
                error = "hex run of odd length: " + run;
                return false;
            }
            run.insert(run.begin(), '0');
        }
        for (size_t i = 0; i < run.size(); i += 2) {
            descriptor.push_back(static_cast<uint8_t>(std::stoul(run.substr(i, 2), nullptr, 16)));
        }
        run.clear();
        return true;
    };
    for (size_t i = 0; i < content.size(); ++i) {
        const char c = static_cast<char>(content[i]);
        if (run.empty() && c == '0' && i + 1 < content.size() &&
            (content[i + 1] == 'x' || content[i + 1] == 'X')) {
            ++i;  // skip "0x"
            continue;
        }
        if (std::isxdigit(static_cast<unsigned char>(c))) {
            run.push_back(c);
        } else if (std::isspace(static_cast<unsigned char>(c)) || c == ',' || c == ':' ||
                   c == '-' || c == ';') {
            if (!flush()) {
                return false;
            }
        } else {
            error = std::string("not a hex digit: '") + c + "'";
            return false;
        }
    }
    if (!flush()) {
        return false;
    }
    if (descriptor.empty()) {
        error = "no bytes";
        return false;
    }
    return true;
}

}  // namespace velq
