#include "settings/x11_pointer_backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "settings/pointer_file.h"
#include "settings/pointer_rules.h"

namespace velq {
namespace {

// "libinput Accel Profile Enabled": one byte per profile, adaptive first, flat second.
constexpr std::size_t kAdaptiveByte = 0;
constexpr std::size_t kFlatByte = 1;

// X reports errors asynchronously; the handler notes the last one while a call is checked.
int g_x_error = 0;
int NoteError(Display*, XErrorEvent* event) {
    g_x_error = event->error_code;
    return 0;
}

// Runs `call`, waits for the server's answer and returns the X error it caused (0: none).
template <typename Call>
int Checked(Display* display, Call call) {
    XSync(display, False);
    g_x_error = 0;
    auto* previous = XSetErrorHandler(NoteError);
    call();
    XSync(display, False);
    XSetErrorHandler(previous);
    return g_x_error;
}

std::optional<int> Number(const PointerValues& values, PointerKey key) {
    const auto it = values.find(key);
    return it == values.end() ? std::nullopt : ParseStoredNumber(it->second);
}

struct Property {
    Atom type = None;
    int format = 0;
    std::vector<unsigned char> bytes;  // nitems x format / 8
    unsigned long items = 0;
};

std::optional<Property> GetProperty(Display* display, int device, Atom name) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XIGetProperty(display, device, name, 0, 16, False, AnyPropertyType, &type, &format, &items,
                      &after, &data) != Success) {
        return std::nullopt;
    }
    std::optional<Property> property;
    if (type != None && data != nullptr) {
        property = Property{type, format, {}, items};
        property->bytes.assign(data, data + items * static_cast<unsigned long>(format / 8));
    }
    if (data != nullptr) {
        XFree(data);
    }
    return property;
}

}  // namespace

struct X11PointerBackend::Xlib {
    Display* display = nullptr;
    Atom speed = None;
    Atom profile = None;
    Atom float_type = None;
    ~Xlib() {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }

    // The slave pointers that carry libinput's speed property, found anew each time since
    // devices come and go.
    std::vector<int> LibinputDevices() const {
        std::vector<int> devices;
        if (speed == None) {
            return devices;
        }
        int count = 0;
        XIDeviceInfo* info = XIQueryDevice(display, XIAllDevices, &count);
        for (int i = 0; i < count; ++i) {
            if (info[i].use == XISlavePointer && GetProperty(display, info[i].deviceid, speed)) {
                devices.push_back(info[i].deviceid);
            }
        }
        XIFreeDeviceInfo(info);
        return devices;
    }

    CorePointerControl CoreControl() const {
        CorePointerControl control{1, 1, 0};
        XGetPointerControl(display, &control.numerator, &control.denominator, &control.threshold);
        return control;
    }
};

std::unique_ptr<X11PointerBackend> X11PointerBackend::Open(const std::string& display,
                                                           std::filesystem::path own_file) {
    auto x = std::make_unique<Xlib>();
    x->display = XOpenDisplay(display.empty() ? nullptr : display.c_str());
    if (x->display == nullptr) {
        return nullptr;
    }
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 0;
    if (XQueryExtension(x->display, "XInputExtension", &opcode, &event, &error) &&
        XIQueryVersion(x->display, &major, &minor) == Success) {
        // Atoms that do not exist yet mean no device has the property: none are made here.
        x->speed = XInternAtom(x->display, kLibinputAccelSpeed, True);
        x->profile = XInternAtom(x->display, kLibinputAccelProfile, True);
        x->float_type = XInternAtom(x->display, "FLOAT", True);
    }
    return std::unique_ptr<X11PointerBackend>(
        new X11PointerBackend(std::move(x), std::move(own_file)));
}

X11PointerBackend::X11PointerBackend(std::unique_ptr<Xlib> x, std::filesystem::path own_file)
    : x_(std::move(x)), own_file_(std::move(own_file)) {}

X11PointerBackend::~X11PointerBackend() = default;

int X11PointerBackend::LibinputDeviceCount() const {
    return static_cast<int>(x_->LibinputDevices().size());
}

PointerResult X11PointerBackend::Read(PointerValues& values) {
    values.clear();
    Display* d = x_->display;
    const std::vector<int> devices = x_->LibinputDevices();
    int sensitivity = 0;
    bool precision = false;
    if (!devices.empty()) {
        const auto speed = GetProperty(d, devices.front(), x_->speed);
        float value = 0.0F;
        if (speed && speed->format == 32 && speed->items >= 1) {
            std::memcpy(&value, speed->bytes.data(), sizeof value);
        }
        sensitivity = SensitivityOfAccelSpeed(value);
        const auto profile =
            x_->profile == None ? std::nullopt : GetProperty(d, devices.front(), x_->profile);
        precision = !(profile && profile->format == 8 && profile->items > kFlatByte &&
                      profile->bytes[kFlatByte] != 0);
    } else {
        const CoreControlReading reading = PositionOfCoreControl(x_->CoreControl());
        sensitivity = SensitivityOfPosition(reading.position);
        precision = reading.precision;
    }
    values[PointerKey::kMouseSensitivity] = std::to_string(sensitivity);
    const PrecisionValues p = precision ? kPrecisionOn : kPrecisionOff;
    values[PointerKey::kMouseSpeed] = std::to_string(p.mouse_speed);
    values[PointerKey::kMouseThreshold1] = std::to_string(p.threshold1);
    values[PointerKey::kMouseThreshold2] = std::to_string(p.threshold2);

    PointerValues own;
    if (PointerResult read = ReadPointerFile(own_file_, own); !read) {
        return read;
    }
    for (const PointerKey key : {PointerKey::kDoubleClickSpeed, PointerKey::kWheelScrollLines}) {
        if (const auto it = own.find(key); it != own.end()) {
            values[key] = it->second;
        }
    }
    return PointerOk();
}

PointerResult X11PointerBackend::Write(const PointerValues& values) {
    Display* d = x_->display;
    const auto sensitivity = Number(values, PointerKey::kMouseSensitivity);
    std::optional<bool> precision;
    if (values.count(PointerKey::kMouseSpeed) != 0) {
        precision = Number(values, PointerKey::kMouseSpeed).value_or(0) != 0 ||
                    Number(values, PointerKey::kMouseThreshold1).value_or(0) != 0 ||
                    Number(values, PointerKey::kMouseThreshold2).value_or(0) != 0;
    }
    const std::vector<int> devices = x_->LibinputDevices();
    int error = 0;
    if (!devices.empty()) {
        for (const int device : devices) {
            if (sensitivity) {
                const float speed = static_cast<float>(AccelSpeedOfSensitivity(*sensitivity));
                error = Checked(d, [&] {
                    XIChangeProperty(d, device, x_->speed, x_->float_type, 32, PropModeReplace,
                                     reinterpret_cast<unsigned char*>(const_cast<float*>(&speed)),
                                     1);
                });
            }
            if (precision && error == 0 && x_->profile != None) {
                auto profile = GetProperty(d, device, x_->profile);
                if (profile && profile->format == 8 && profile->items > kFlatByte) {
                    std::fill(profile->bytes.begin(), profile->bytes.end(), 0);
                    profile->bytes[*precision ? kAdaptiveByte : kFlatByte] = 1;
                    error = Checked(d, [&] {
                        XIChangeProperty(d, device, x_->profile, profile->type, 8, PropModeReplace,
                                         profile->bytes.data(), static_cast<int>(profile->items));
                    });
                }
            }
            if (error != 0) {
                return PointerError("the X server refused the acceleration of device " +
                                    std::to_string(device) + " (X error " + std::to_string(error) +
                                    ")");
            }
        }
    } else if (sensitivity || precision) {
        // Factor and threshold each depend on both settings: the one not given is what the
        // server holds now.
        const CoreControlReading now = PositionOfCoreControl(x_->CoreControl());
        const CorePointerControl control =
            CoreControlOf(sensitivity ? SpeedPositionOfSensitivity(*sensitivity) : now.position,
                          precision.value_or(now.precision));
        error = Checked(d, [&] {
            XChangePointerControl(d, True, True, control.numerator, control.denominator,
                                  control.threshold);
        });
        if (error != 0) {
            return PointerError("the X server refused the pointer control (X error " +
                                std::to_string(error) + ")");
        }
    }

    PointerValues own;
    for (const PointerKey key : {PointerKey::kDoubleClickSpeed, PointerKey::kWheelScrollLines}) {
        if (const auto it = values.find(key); it != values.end()) {
            own[key] = it->second;
        }
    }
    return own.empty() ? PointerOk() : WritePointerFile(own_file_, own);
}

}  // namespace velq
