#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velq {

// Vendor ID, product ID and release number (bcdDevice) of a HID interface.
struct HidAttributes {
    uint16_t vendor_id = 0;
    uint16_t product_id = 0;
    uint16_t release_number = 0;
};

// An open HID interface. Destroying it closes the handle.
class HidDevice {
public:
    virtual ~HidDevice() = default;
    virtual HidAttributes Attributes() const = 0;
    // Feature report byte lengths as Windows counts them (report ID byte included), one per
    // top-level collection the interface carries. Windows sees each collection as an interface
    // of its own; on Linux one hidraw node carries all collections of a USB interface.
    virtual std::vector<int> FeatureReportLengths() const = 0;
    // Sends one feature report; report[0] is the report ID.
    [[nodiscard]] virtual bool SetFeature(std::span<const uint8_t> report) = 0;
    // Fetches the feature report whose ID stands in report[0] into `report`. On failure the
    // buffer is left as it was.
    [[nodiscard]] virtual bool GetFeature(std::span<uint8_t> report) = 0;
    // True once the interface has been unplugged: every later request fails.
    virtual bool Gone() const { return false; }
};

// An open device of the companion driver. Destroying it closes the handle.
class DriverDevice {
public:
    virtual ~DriverDevice() = default;
    // One device control request; `output` may be empty.
    [[nodiscard]] virtual bool Control(uint32_t code, std::span<const uint8_t> input,
                                       std::span<uint8_t> output) = 0;
};

// What the system lists about an interface, read without opening it.
struct HidListing {
    HidAttributes attributes;
    // The feature report lengths where the report descriptor can be read without opening the
    // interface (sysfs shows it to everyone); empty when it cannot.
    std::vector<int> feature_lengths;
};

// Everything the device link needs from the operating system. One implementation per platform
// (hidapi on Linux) and the virtual mouse for tests and the demo.
class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Paths of the present HID interfaces, in enumeration order.
    virtual std::vector<std::string> EnumerateHid() = 0;
    // Opens an interface without claiming it exclusively; nullptr when it cannot be opened.
    virtual std::unique_ptr<HidDevice> OpenHid(const std::string& path) = 0;
    // For a listed interface that this user lacks the permission to open: what the system
    // lists about it. None when it may be opened, is not listed, or the backend cannot tell.
    virtual std::optional<HidListing> AccessDenied(const std::string& /*path*/) {
        return std::nullopt;
    }
    // Paths of the present devices of an interface class (the companion driver's).
    virtual std::vector<std::string> EnumerateClass(const std::string& interface_class) = 0;
    // Opens such a device; nullptr when it cannot be opened.
    virtual std::unique_ptr<DriverDevice> OpenDriverDevice(const std::string& path) = 0;
};

// The feature report length the mouse search looks at: 8 when one collection of the interface
// has 8-byte feature reports, else the largest one (0 when there are none).
int EffectiveFeatureLength(const std::vector<int>& lengths);

}  // namespace velq
