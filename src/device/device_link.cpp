#include "device/device_link.h"

#include <algorithm>

namespace velq {

int EffectiveFeatureLength(const std::vector<int>& lengths) {
    if (std::find(lengths.begin(), lengths.end(), kMouseFeatureLength) != lengths.end()) {
        return kMouseFeatureLength;
    }
    int longest = 0;
    for (int length : lengths) {
        longest = std::max(longest, length);
    }
    return longest;
}

int DeviceLink::CountHidInterfaces() {
    int count = 0;
    for (const std::string& path : backend_.EnumerateHid()) {
        // Opened and closed again at once. An interface this user may not open counts too:
        // a mouse plugged in without the udev rule must still be noticed, to be named.
        if (backend_.OpenHid(path) != nullptr || backend_.AccessDenied(path).has_value()) {
            ++count;
        }
    }
    return count;
}

bool DeviceLink::OpenMouse(uint16_t vendor_id, uint16_t product_id, uint16_t& release) {
    std::unique_ptr<HidDevice> found;
    std::string found_path;
    std::string denied_path;
    std::vector<std::string> paths = backend_.EnumerateHid();
    // With two mice plugged in, the choice must not depend on the order the system lists
    // them in: the first path in sorted order wins.
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths) {
        if (found != nullptr) {
            break;
        }
        if (!chosen_path_.empty() && path != chosen_path_) {
            continue;
        }
        std::unique_ptr<HidDevice> device = backend_.OpenHid(path);
        if (device == nullptr) {
            // Held exclusively elsewhere or access denied. A mouse this user may not open must
            // not pass for no mouse at all: the user can grant the access.
            if (denied_path.empty()) {
                const std::optional<HidListing> listed = backend_.AccessDenied(path);
                if (listed && listed->attributes.vendor_id == vendor_id &&
                    listed->attributes.product_id == product_id &&
                    listed->attributes.release_number == release &&
                    (listed->feature_lengths.empty() ||
                     EffectiveFeatureLength(listed->feature_lengths) == kMouseFeatureLength)) {
                    denied_path = path;
                }
            }
            continue;
        }
        const HidAttributes attributes = device->Attributes();
        if (EffectiveFeatureLength(device->FeatureReportLengths()) == kMouseFeatureLength &&
            attributes.product_id == product_id && attributes.vendor_id == vendor_id &&
            attributes.release_number == release) {
            found = std::move(device);
            found_path = path;
        }
        // Any handle not taken closes when `device` goes out of scope.
    }
    if (found == nullptr) {
        denied_path_ = denied_path;
        return false;
    }
    denied_path_.clear();
    device_ = std::move(found);  // a handle held before closes here
    device_path_ = found_path;
    vendor_id_ = vendor_id;
    product_id_ = product_id;
    release_number_ = release;
    feature_length_ = kMouseFeatureLength;
    return true;
}

bool DeviceLink::DevicePathPresent() {
    if (device_ == nullptr || device_->Gone()) {
        return false;
    }
    const std::vector<std::string> paths = backend_.EnumerateHid();
    return std::find(paths.begin(), paths.end(), device_path_) != paths.end();
}

bool DriverNumberOfPath(const std::string& path, uint16_t& number) {
    constexpr size_t kFirst = 54;  // character 55, counting from 1
    if (path.size() < kFirst + 4) {
        return false;
    }
    unsigned value = 0;
    for (size_t i = kFirst; i < kFirst + 4; ++i) {
        const char c = path[i];
        unsigned digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return false;
        }
        value = value * 16 + digit;
    }
    number = static_cast<uint16_t>(value);
    return true;
}

bool DeviceLink::OpenDriver(uint16_t number) {
    bool found = false;
    for (const std::string& path : backend_.EnumerateClass(kDriverInterfaceClass)) {
        uint16_t path_number = 0;
        if (!DriverNumberOfPath(path, path_number) || path_number != number) {
            continue;
        }
        std::unique_ptr<DriverDevice> driver = backend_.OpenDriverDevice(path);
        if (driver != nullptr) {
            driver_ = std::move(driver);
            found = true;
        }
    }
    return found;
}

}  // namespace velq
