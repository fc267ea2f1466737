#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace velq {

// The machine's HID interfaces through hidapi (hidraw on Linux). Feature report lengths come
// from each interface's report descriptor. There is no companion driver on this platform:
// its enumeration is always empty, so driver mode finds nothing.
class HidapiBackend final : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    // False when hidapi could not be initialised; every enumeration is then empty.
    bool Available() const { return available_; }

    std::vector<std::string> EnumerateHid() override;
    std::unique_ptr<HidDevice> OpenHid(const std::string& path) override;
    // The enumeration reads the IDs from sysfs without opening the node, and the report
    // descriptor is in sysfs too; whether this user may read and write the node is asked of
    // the system without opening it.
    std::optional<HidListing> AccessDenied(const std::string& path) override;
    std::vector<std::string> EnumerateClass(const std::string& interface_class) override;
    std::unique_ptr<DriverDevice> OpenDriverDevice(const std::string& path) override;

private:
    bool available_ = false;
    // IDs of each path from the last enumeration; hidapi reports them per collection.
    std::map<std::string, HidAttributes> attributes_;
};

// The report descriptor of a hidraw node ("/dev/hidraw3"): from sysfs, or from the node
// itself with HIDIOCGRDESC. Empty when neither can be read.
std::vector<uint8_t> ReadHidrawReportDescriptor(const std::string& device_path);

}  // namespace velq
