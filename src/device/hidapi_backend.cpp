#include "device/hidapi_backend.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <hidapi/hidapi.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "device/report_descriptor.h"

namespace velq {
namespace {

class HidapiDevice final : public HidDevice {
public:
    HidapiDevice(hid_device* handle, HidAttributes attributes, std::vector<int> feature_lengths)
        : handle_(handle), attributes_(attributes), feature_lengths_(std::move(feature_lengths)) {}
    ~HidapiDevice() override { hid_close(handle_); }
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    HidAttributes Attributes() const override { return attributes_; }
    std::vector<int> FeatureReportLengths() const override { return feature_lengths_; }

    bool SetFeature(std::span<const uint8_t> report) override {
        if (hid_send_feature_report(handle_, report.data(), report.size()) >= 0) {
            return true;
        }
        NoteFailure();
        return false;
    }

    bool GetFeature(std::span<uint8_t> report) override {
        if (report.empty()) {
            return false;
        }
        // Fetch into a copy so a failed request leaves the caller's buffer untouched.
        std::vector<uint8_t> answer(report.size(), 0);
        answer[0] = report[0];
        const int n = hid_get_feature_report(handle_, answer.data(), answer.size());
        if (n < 0) {
            NoteFailure();
            return false;
        }
        std::copy(answer.begin(), answer.end(), report.begin());
        return true;
    }

    bool Gone() const override { return gone_; }

private:
    // hidraw answers ENODEV once the device has been unplugged; nothing will answer again.
    void NoteFailure() {
        if (errno == ENODEV) {
            gone_ = true;
        }
    }

    bool gone_ = false;
    hid_device* handle_;
    HidAttributes attributes_;
    std::vector<int> feature_lengths_;
};

std::vector<int> FeatureLengthsOf(const std::string& path) {
    std::vector<int> lengths;
    const ParsedDescriptor parsed = ParseReportDescriptor(ReadHidrawReportDescriptor(path));
    for (const TopLevelCollection& collection : parsed.collections) {
        lengths.push_back(collection.feature_length);
    }
    return lengths;
}

}  // namespace

std::vector<uint8_t> ReadHidrawReportDescriptor(const std::string& device_path) {
    const std::string node = std::filesystem::path(device_path).filename().string();
    std::ifstream sysfs("/sys/class/hidraw/" + node + "/device/report_descriptor",
                        std::ios::binary);
    if (sysfs) {
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(sysfs)),
                                   std::istreambuf_iterator<char>());
        if (!bytes.empty()) {
            return bytes;
        }
    }
    const int fd = ::open(device_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    std::vector<uint8_t> bytes;
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) == 0 && size > 0 && size <= HID_MAX_DESCRIPTOR_SIZE) {
        hidraw_report_descriptor descriptor{};
        descriptor.size = static_cast<__u32>(size);
        if (::ioctl(fd, HIDIOCGRDESC, &descriptor) == 0) {
            bytes.assign(descriptor.value, descriptor.value + size);
        }
    }
    ::close(fd);
    return bytes;
}

HidapiBackend::HidapiBackend() : available_(hid_init() == 0) {}

HidapiBackend::~HidapiBackend() {
    if (available_) {
        hid_exit();
    }
}

std::vector<std::string> HidapiBackend::EnumerateHid() {
    std::vector<std::string> paths;
    attributes_.clear();
    if (!available_) {
        return paths;
    }
    hid_device_info* list = hid_enumerate(0, 0);
    // hidapi lists one record per top-level collection; the path is the interface.
    for (hid_device_info* info = list; info != nullptr; info = info->next) {
        if (info->path == nullptr) {
            continue;
        }
        const std::string path = info->path;
        if (attributes_
                .emplace(path,
                         HidAttributes{info->vendor_id, info->product_id, info->release_number})
                .second) {
            paths.push_back(path);
        }
    }
    hid_free_enumeration(list);
    return paths;
}

std::unique_ptr<HidDevice> HidapiBackend::OpenHid(const std::string& path) {
    if (!available_) {
        return nullptr;
    }
    auto known = attributes_.find(path);
    if (known == attributes_.end()) {
        EnumerateHid();
        known = attributes_.find(path);
        if (known == attributes_.end()) {
            return nullptr;
        }
    }
    hid_device* handle = hid_open_path(path.c_str());
    if (handle == nullptr) {
        return nullptr;
    }
    return std::make_unique<HidapiDevice>(handle, known->second, FeatureLengthsOf(path));
}

std::optional<HidListing> HidapiBackend::AccessDenied(const std::string& path) {
    const auto known = attributes_.find(path);
    if (!available_ || known == attributes_.end()) {
        return std::nullopt;
    }
    if (::access(path.c_str(), R_OK | W_OK) == 0 || (errno != EACCES && errno != EPERM)) {
        return std::nullopt;
    }
    return HidListing{known->second, FeatureLengthsOf(path)};
}

std::vector<std::string> HidapiBackend::EnumerateClass(const std::string&) {
    return {};
}

std::unique_ptr<DriverDevice> HidapiBackend::OpenDriverDevice(const std::string&) {
    return nullptr;
}

}  // namespace velq
