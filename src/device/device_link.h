#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "device/hid_backend.h"

namespace velq {

// The USB IDs of the mouse this utility serves.
inline constexpr uint16_t MouseVendorId = 0x3A7B;
inline constexpr uint16_t MouseProductId = 0x540B;
// The release number (bcdDevice) of the mouse's configuration interface.
inline constexpr uint16_t kMouseReleaseNumber = 0x0104;
// The feature report length of the configuration interface.
inline constexpr int kMouseFeatureLength = 8;
// The interface class under which the companion driver's devices are listed.
inline constexpr const char* kDriverInterfaceClass = "{6E1D8F4A-5C2B-4F7E-9A31-0D54C8B2E741}";

// The device link state: which mouse interface and which companion driver device are open.
// Handles are owned here; dropping or replacing one closes it.
class DeviceLink {
public:
    explicit DeviceLink(HidBackend& backend) : backend_(backend) {}

    // The number of present HID interfaces that can be opened (each is opened and closed), and
    // of those listed that this user lacks the permission to open.
    int CountHidInterfaces();

    // Searches the HID interfaces for the mouse's configuration interface: the IDs and release
    // number given and 8-byte feature reports. When several mice match, the first in sorted
    // path order is taken (or only the chosen path, see ChoosePath); every other opened
    // interface is closed. On success the device handle, path, IDs, release number and feature
    // length are set and `release` holds the one found. When no mouse was opened but an
    // interface of the mouse is listed that this user may not open, MouseAccessDenied() says
    // so; every other outcome clears it.
    bool OpenMouse(uint16_t vendor_id, uint16_t product_id, uint16_t& release);

    // Whether the last OpenMouse found no mouse it could open, but the mouse is connected and
    // this user lacks the permission to open it (no udev rule grants it), and the path of
    // that interface (empty otherwise).
    bool MouseAccessDenied() const { return !denied_path_.empty(); }
    const std::string& DeniedPath() const { return denied_path_; }

    // Whether the interface of the open mouse is still listed. Another mouse of the same kind
    // does not count: the one that was identified and read is gone once its path is.
    bool DevicePathPresent();

    // Restricts the mouse search to one interface path (empty: any path).
    void ChoosePath(std::string path) { chosen_path_ = std::move(path); }
    const std::string& ChosenPath() const { return chosen_path_; }

    // Searches the companion driver's devices for the one whose path carries `number` as four
    // hexadecimal digits at characters 55 to 58 (counting from 1) and keeps it open.
    bool OpenDriver(uint16_t number);

    // The open mouse interface, or nullptr when there is none (an invalid handle).
    HidDevice* Device() const { return device_.get(); }
    bool HasDevice() const { return device_ != nullptr; }
    // Forgets (and closes) the mouse handle; vendor and product ID stay as they were.
    void DropDevice() {
        device_.reset();
        device_path_.clear();
    }
    // Forgets the remembered vendor and product ID too.
    void ClearIds() {
        vendor_id_ = 0;
        product_id_ = 0;
    }

    DriverDevice* Driver() const { return driver_.get(); }

    uint16_t VendorId() const { return vendor_id_; }
    uint16_t ProductId() const { return product_id_; }
    uint16_t ReleaseNumber() const { return release_number_; }
    int FeatureLength() const { return feature_length_; }
    const std::string& DevicePath() const { return device_path_; }

    int LastInterfaceCount() const { return last_interface_count_; }
    void SetLastInterfaceCount(int count) { last_interface_count_ = count; }

    HidBackend& Backend() { return backend_; }

private:
    HidBackend& backend_;
    std::unique_ptr<HidDevice> device_;
    std::unique_ptr<DriverDevice> driver_;
    uint16_t vendor_id_ = 0;
    uint16_t product_id_ = 0;
    uint16_t release_number_ = kMouseReleaseNumber;
    int feature_length_ = 0;
    std::string device_path_;
    std::string chosen_path_;
    std::string denied_path_;
    int last_interface_count_ = 0;
};

// Reads the four characters at positions 55 to 58 (counting from 1) of a companion driver
// device path as a hexadecimal number; false when the path is shorter or they are not hex.
bool DriverNumberOfPath(const std::string& path, uint16_t& number);

}  // namespace velq
