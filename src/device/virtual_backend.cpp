#include "device/virtual_backend.h"

#include <algorithm>
#include <cstdio>

#include "device/command_protocol.h"
#include "device/device_link.h"

namespace velq {
namespace {

class VirtualHidDevice final : public HidDevice {
public:
    VirtualHidDevice(std::shared_ptr<VirtualMouse> mouse, VirtualInterface interface,
                     std::shared_ptr<int> open_handles)
        : mouse_(std::move(mouse)),
          interface_(std::move(interface)),
          open_handles_(std::move(open_handles)) {
        ++*open_handles_;
    }
    ~VirtualHidDevice() override { --*open_handles_; }

    HidAttributes Attributes() const override { return interface_.attributes; }
    std::vector<int> FeatureReportLengths() const override { return interface_.feature_lengths; }

    bool SetFeature(std::span<const uint8_t> report) override {
        if (!TalksToMouse() || report.size() != kMouseFeatureLength || Hangs(true)) {
            return false;
        }
        mouse_->HandleSetFeature(report);
        return true;
    }

    bool GetFeature(std::span<uint8_t> report) override {
        if (!TalksToMouse() || report.size() != kMouseFeatureLength || Hangs(false)) {
            return false;
        }
        return mouse_->HandleGetFeature(report);
    }

    bool Gone() const override { return interface_.of_mouse && !mouse_->Plugged(); }

private:
    // A hung mouse holds the request as long as the kernel waits for it, then it fails.
    bool Hangs(bool set_feature) {
        const std::optional<VirtualMouse::Hang> hang = mouse_->RequestHangs(set_feature);
        if (!hang) {
            return false;
        }
        hang->clock->SleepMs(hang->ms);
        return true;
    }

    bool TalksToMouse() const {
        return interface_.of_mouse && mouse_->Plugged() &&
               EffectiveFeatureLength(interface_.feature_lengths) == kMouseFeatureLength;
    }

    std::shared_ptr<VirtualMouse> mouse_;
    VirtualInterface interface_;
    std::shared_ptr<int> open_handles_;
};

class VirtualDriverDevice final : public DriverDevice {
public:
    explicit VirtualDriverDevice(std::shared_ptr<VirtualDriver> driver)
        : driver_(std::move(driver)) {}

    bool Control(uint32_t code, std::span<const uint8_t> input,
                 std::span<uint8_t> output) override {
        if (input.size() < 8) {
            return false;
        }
        uint32_t offset = 0;
        uint32_t length = 0;
        for (int i = 3; i >= 0; --i) {
            offset = (offset << 8) | input[static_cast<size_t>(i)];
            length = (length << 8) | input[static_cast<size_t>(4 + i)];
        }
        std::vector<uint8_t>& image = driver_->image;
        if (uint64_t{offset} + length > image.size() || input.size() < 8 + uint64_t{length}) {
            return false;
        }
        if (code == kDriverReadCode) {
            if (output.size() < 8 + uint64_t{length}) {
                return false;
            }
            std::copy(input.begin(), input.begin() + 8, output.begin());
            std::copy_n(image.begin() + offset, length, output.begin() + 8);
            return true;
        }
        if (code == kDriverWriteCode) {
            std::copy_n(input.begin() + 8, length, image.begin() + offset);
            return true;
        }
        return false;
    }

private:
    std::shared_ptr<VirtualDriver> driver_;
};

}  // namespace

VirtualBackend::VirtualBackend(std::shared_ptr<VirtualMouse> mouse)
    : mice_{std::move(mouse)},
      interfaces_(MouseInterfaces(MouseVendorId, MouseProductId, kMouseReleaseNumber)) {}

std::vector<VirtualInterface> VirtualBackend::MouseInterfaces(uint16_t vendor_id,
                                                              uint16_t product_id,
                                                              uint16_t release_number,
                                                              const std::string& path_prefix) {
    const HidAttributes ids{vendor_id, product_id, release_number};
    return {
        {path_prefix + "-pointer", ids, {0}, true, true},
        {path_prefix + "-keyboard", ids, {0, 3}, true, true},
        {path_prefix + "-config", ids, {kMouseFeatureLength}, true, true},
    };
}

int VirtualBackend::AddMouse(std::shared_ptr<VirtualMouse> mouse, const std::string& path_prefix) {
    const int number = static_cast<int>(mice_.size());
    mice_.push_back(std::move(mouse));
    for (VirtualInterface& interface :
         MouseInterfaces(MouseVendorId, MouseProductId, kMouseReleaseNumber, path_prefix)) {
        interface.mouse = number;
        interfaces_.push_back(std::move(interface));
    }
    return number;
}

const std::shared_ptr<VirtualMouse>& VirtualBackend::MouseOf(
    const VirtualInterface& interface) const {
    const auto number = static_cast<std::size_t>(interface.mouse);
    return number < mice_.size() ? mice_[number] : mice_.front();
}

bool VirtualBackend::Present(const VirtualInterface& interface) const {
    return !interface.of_mouse || MouseOf(interface)->Plugged();
}

std::vector<std::string> VirtualBackend::EnumerateHid() {
    std::vector<std::string> paths;
    for (const VirtualInterface& interface : interfaces_) {
        if (Present(interface)) {
            paths.push_back(interface.path);
        }
    }
    return paths;
}

std::unique_ptr<HidDevice> VirtualBackend::OpenHid(const std::string& path) {
    for (const VirtualInterface& interface : interfaces_) {
        if (interface.path == path && Present(interface) && interface.openable &&
            !interface.access_denied) {
            return std::make_unique<VirtualHidDevice>(MouseOf(interface), interface, open_handles_);
        }
    }
    return nullptr;
}

std::optional<HidListing> VirtualBackend::AccessDenied(const std::string& path) {
    for (const VirtualInterface& interface : interfaces_) {
        if (interface.path == path && Present(interface) && interface.access_denied) {
            return HidListing{interface.attributes, interface.feature_lengths};
        }
    }
    return std::nullopt;
}

std::string VirtualBackend::DriverPath() const {
    // The driver number stands at characters 55 to 58 of the path.
    std::string path = "/dev/virtual/velq540b-companion/";
    path.resize(54, '_');
    char number[5];
    std::snprintf(number, sizeof number, "%04x", mice_.front()->DriverNumber());
    return path + number + "/image";
}

std::vector<std::string> VirtualBackend::EnumerateClass(const std::string& interface_class) {
    if (!driver_present_ || interface_class != kDriverInterfaceClass) {
        return {};
    }
    return {DriverPath()};
}

std::unique_ptr<DriverDevice> VirtualBackend::OpenDriverDevice(const std::string& path) {
    if (!driver_present_ || path != DriverPath()) {
        return nullptr;
    }
    return std::make_unique<VirtualDriverDevice>(driver_);
}

}  // namespace velq
