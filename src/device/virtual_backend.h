#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"
#include "device/virtual_mouse.h"

namespace velq {

// One HID interface of the virtual machine's device list.
struct VirtualInterface {
    std::string path;
    HidAttributes attributes;
    std::vector<int> feature_lengths;
    bool openable = true;
    // True for interfaces of the virtual mouse: they vanish when it is unplugged, and the one
    // with 8-byte feature reports talks to its firmware.
    bool of_mouse = true;
    // Which mouse they belong to: 0 the backend's first, 1 the one AddMouse added first, ...
    int mouse = 0;
    // Listed, but this user lacks the permission to open it (no udev rule grants it).
    bool access_denied = false;
};

// The companion driver's image in driver mode, kept in memory.
class VirtualDriver {
public:
    static constexpr size_t kImageSize = 40960;
    std::vector<uint8_t> image = std::vector<uint8_t>(kImageSize, 0);
};

// A HidBackend whose devices are a virtual mouse (three interfaces: pointer, keyboard and the
// configuration interface with 8-byte feature reports), any number of other interfaces, further
// mice of the same model, and optionally the companion driver's device.
class VirtualBackend final : public HidBackend {
public:
    explicit VirtualBackend(std::shared_ptr<VirtualMouse> mouse);

    // The interfaces a real mouse of this model shows, with the given IDs and release number;
    // their paths are `path_prefix` followed by "-pointer", "-keyboard" and "-config".
    static std::vector<VirtualInterface> MouseInterfaces(
        uint16_t vendor_id, uint16_t product_id, uint16_t release_number,
        const std::string& path_prefix = "/dev/virtual/velq540b");

    // Plugs in another mouse of this model beside the first: its three interfaces are added
    // with paths beginning with `path_prefix`. Returns its number (VirtualInterface::mouse).
    int AddMouse(std::shared_ptr<VirtualMouse> mouse, const std::string& path_prefix);

    void SetInterfaces(std::vector<VirtualInterface> interfaces) {
        interfaces_ = std::move(interfaces);
    }
    std::vector<VirtualInterface>& Interfaces() { return interfaces_; }

    // Lists a companion driver device carrying the mouse's driver number in its path.
    void SetDriverPresent(bool present) { driver_present_ = present; }
    VirtualDriver& Driver() { return *driver_; }
    std::string DriverPath() const;

    VirtualMouse& Mouse() { return *mice_.front(); }
    // Handles opened and not yet closed.
    int OpenHandles() const { return *open_handles_; }

    std::vector<std::string> EnumerateHid() override;
    std::unique_ptr<HidDevice> OpenHid(const std::string& path) override;
    std::optional<HidListing> AccessDenied(const std::string& path) override;
    std::vector<std::string> EnumerateClass(const std::string& interface_class) override;
    std::unique_ptr<DriverDevice> OpenDriverDevice(const std::string& path) override;

private:
    bool Present(const VirtualInterface& interface) const;

    const std::shared_ptr<VirtualMouse>& MouseOf(const VirtualInterface& interface) const;

    std::vector<std::shared_ptr<VirtualMouse>> mice_;  // the first one given at construction
    std::vector<VirtualInterface> interfaces_;
    bool driver_present_ = false;
    std::shared_ptr<VirtualDriver> driver_ = std::make_shared<VirtualDriver>();
    std::shared_ptr<int> open_handles_ = std::make_shared<int>(0);
};

}  // namespace velq
