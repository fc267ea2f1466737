// GoogleTest before Xlib, whose macro None would break GoogleTest's own None.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "settings/desktop_env.h"
#include "settings/pointer_file.h"
#include "settings/pointer_rules.h"
#include "settings/pointer_settings.h"
#include "settings/x11_pointer_backend.h"

namespace velq {
namespace {

// The Xvfb that the test fixture started.
std::string TestDisplay() {
    std::ifstream in(VELQ_TEST_XVFB_FILE);
    std::string name;
    std::getline(in, name);
    return name;
}

struct PointerControl {
    int numerator;
    int denominator;
    int threshold;
};

// The test's own connection, to look at the server as another client would.
class X11PointerBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string name = TestDisplay();
        ASSERT_FALSE(name.empty()) << "no display in " << VELQ_TEST_XVFB_FILE;
        display_ = XOpenDisplay(name.c_str());
        ASSERT_NE(display_, nullptr) << name;
        int opcode = 0;
        int event = 0;
        int error = 0;
        int major = 2;
        int minor = 0;
        ASSERT_TRUE(XQueryExtension(display_, "XInputExtension", &opcode, &event, &error));
        ASSERT_EQ(XIQueryVersion(display_, &major, &minor), Success);
        xtest_pointer_ = FindDevice("Virtual core XTEST pointer");
        ASSERT_GT(xtest_pointer_, 0);
        RemoveLibinputProperties();
        XChangePointerControl(display_, True, True, 2, 1, 4);  // the server's default
        XSync(display_, False);
        std::error_code ec;
        std::filesystem::remove_all(TestConfigHome() / "velq540b", ec);
    }
    void TearDown() override {
        if (display_ != nullptr) {
            RemoveLibinputProperties();
            XCloseDisplay(display_);
        }
    }

    int FindDevice(const char* name) {
        int count = 0;
        int id = 0;
        XIDeviceInfo* info = XIQueryDevice(display_, XIAllDevices, &count);
        for (int i = 0; i < count; ++i) {
            if (std::strcmp(info[i].name, name) == 0) {
                id = info[i].deviceid;
            }
        }
        XIFreeDeviceInfo(info);
        return id;
    }

    // Makes the XTEST pointer look like a libinput device: the two properties with the
    // driver's types (a float speed; one byte per profile: adaptive, flat).
    void AddLibinputProperties(float speed, unsigned char adaptive, unsigned char flat) {
        const Atom speed_atom = XInternAtom(display_, kLibinputAccelSpeed, False);
        const Atom profile_atom = XInternAtom(display_, kLibinputAccelProfile, False);
        const Atom float_atom = XInternAtom(display_, "FLOAT", False);
        XIChangeProperty(display_, xtest_pointer_, speed_atom, float_atom, 32, PropModeReplace,
                         reinterpret_cast<unsigned char*>(&speed), 1);
        unsigned char profile[2] = {adaptive, flat};
        XIChangeProperty(display_, xtest_pointer_, profile_atom, XA_INTEGER, 8, PropModeReplace,
                         profile, 2);
        XSync(display_, False);
    }

    void RemoveLibinputProperties() {
        for (const char* name : {kLibinputAccelSpeed, kLibinputAccelProfile}) {
            const Atom atom = XInternAtom(display_, name, True);
            if (atom != None) {
                XIDeleteProperty(display_, xtest_pointer_, atom);
            }
        }
        XSync(display_, False);
    }

    std::vector<unsigned char> PropertyBytes(const char* name) {
        const Atom atom = XInternAtom(display_, name, True);
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned char> bytes;
        if (XIGetProperty(display_, xtest_pointer_, atom, 0, 16, False, AnyPropertyType, &type,
                          &format, &items, &after, &data) == Success &&
            data != nullptr) {
            bytes.assign(data, data + items * static_cast<unsigned long>(format / 8));
            XFree(data);
        }
        return bytes;
    }

    PointerControl Control() {
        PointerControl c{};
        XGetPointerControl(display_, &c.numerator, &c.denominator, &c.threshold);
        return c;
    }

    std::unique_ptr<X11PointerBackend> OpenBackend() {
        return X11PointerBackend::Open(TestDisplay(), DefaultPointerFile());
    }

    Display* display_ = nullptr;
    int xtest_pointer_ = 0;
};

// What `xset q` says of the pointer: "acceleration:  2/1    threshold:  4".
std::string XsetPointerControl(const std::string& display) {
    const std::string command = "xset -display " + display + " q";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        return {};
    }
    std::string out;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
        out += buffer;
    }
    const std::size_t at = out.find("acceleration:");
    if (at == std::string::npos) {
        return out;
    }
    std::string line = out.substr(at, out.find('\n', at) - at);
    // One space between words, as the columns are padded.
    std::string squeezed;
    for (const char c : line) {
        if (c != ' ' || (!squeezed.empty() && squeezed.back() != ' ')) {
            squeezed += c;
        }
    }
    return squeezed;
}

// Without libinput's properties the core control follows the table: every position in both
// modes as `xset q` shows it, read back by a new connection as the same position and mode.
TEST_F(X11PointerBackendTest, CorePointerControlFollowsTheTableAsXsetShowsIt) {
    auto backend = OpenBackend();
    ASSERT_NE(backend, nullptr);
    ASSERT_EQ(backend->LibinputDeviceCount(), 0);
    PointerSettings settings(backend.get());
    ASSERT_TRUE(settings.Refresh());
    // The server's own 2/1 over 4 pixels is the middle position with precision.
    EXPECT_EQ(settings.page().speed, 6);
    EXPECT_TRUE(settings.page().precision);
    EXPECT_EQ(XsetPointerControl(TestDisplay()), "acceleration: 2/1 threshold: 4");

    struct Row {
        bool precision;
        int position;
        const char* xset;
    };
    const Row rows[] = {
        {true, 1, "acceleration: 5/4 threshold: 10"}, {true, 6, "acceleration: 2/1 threshold: 4"},
        {true, 11, "acceleration: 4/1 threshold: 2"}, {false, 6, "acceleration: 1/1 threshold: 6"},
        {false, 1, "acceleration: 1/1 threshold: 1"}, {false, 11, "acceleration: 2/1 threshold: 9"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.position) + (row.precision ? " precise" : " plain"));
        if (settings.page().precision != row.precision) {
            ASSERT_TRUE(settings.SetPrecision(row.precision));
        }
        ASSERT_TRUE(settings.SetSpeed(row.position));
        EXPECT_EQ(XsetPointerControl(TestDisplay()), row.xset);
    }
    for (const bool precision : {true, false}) {
        ASSERT_TRUE(settings.SetPrecision(precision));
        for (int position = 1; position <= kPointerPositions; ++position) {
            SCOPED_TRACE(position);
            ASSERT_TRUE(settings.SetSpeed(position));
            const PointerControl c = Control();
            EXPECT_EQ(CorePointerControl({c.numerator, c.denominator, c.threshold}),
                      CoreControlOf(position, precision));
            auto again = OpenBackend();
            PointerSettings next(again.get());
            ASSERT_TRUE(next.Refresh());
            EXPECT_EQ(next.page().speed, position);
            EXPECT_EQ(next.page().precision, precision);
        }
    }
    // Toggling precision keeps the position.
    ASSERT_TRUE(settings.SetSpeed(9));
    ASSERT_TRUE(settings.SetPrecision(true));
    EXPECT_EQ(Control().threshold, CoreControlOf(9, true).threshold);
}

TEST_F(X11PointerBackendTest, LibinputPropertiesChangedAndReadBack) {
    AddLibinputProperties(0.0F, 1, 0);
    auto backend = OpenBackend();
    ASSERT_NE(backend, nullptr);
    ASSERT_EQ(backend->LibinputDeviceCount(), 1);
    const PointerControl before = Control();

    PointerSettings settings(backend.get());
    ASSERT_TRUE(settings.Refresh());
    EXPECT_EQ(settings.page().speed, 6);
    EXPECT_TRUE(settings.page().precision);

    ASSERT_TRUE(settings.SetSpeed(11));
    std::vector<unsigned char> speed = PropertyBytes(kLibinputAccelSpeed);
    ASSERT_EQ(speed.size(), sizeof(float));
    float value = 0;
    std::memcpy(&value, speed.data(), sizeof value);
    EXPECT_FLOAT_EQ(value, 1.0F);
    EXPECT_EQ(PropertyBytes(kLibinputAccelProfile), (std::vector<unsigned char>{1, 0}))
        << "the untouched profile is left alone";

    ASSERT_TRUE(settings.SetPrecision(false));
    EXPECT_EQ(PropertyBytes(kLibinputAccelProfile), (std::vector<unsigned char>{0, 1}));
    ASSERT_TRUE(settings.SetSpeed(1));
    std::memcpy(&value, PropertyBytes(kLibinputAccelSpeed).data(), sizeof value);
    EXPECT_FLOAT_EQ(value, -1.0F);

    const PointerControl after = Control();
    EXPECT_EQ(after.numerator, before.numerator) << "the core control is not used";
    EXPECT_EQ(after.threshold, before.threshold);

    PointerSettings next(backend.get());
    ASSERT_TRUE(next.Refresh());
    EXPECT_EQ(next.page().speed, 1);
    EXPECT_FALSE(next.page().precision);
}

TEST_F(X11PointerBackendTest, DoubleClickAndWheelKeptInOurOwnFile) {
    auto backend = OpenBackend();
    ASSERT_NE(backend, nullptr);
    PointerSettings settings(backend.get());
    ASSERT_TRUE(settings.Refresh());
    EXPECT_EQ(settings.page().double_click, 7) << "no time stored: 480 ms";
    EXPECT_EQ(settings.page().wheel, 0) << "no wheel lines stored: untouched";

    ASSERT_TRUE(settings.SetDoubleClick(2));
    ASSERT_TRUE(settings.SetWheel(9));
    PointerValues own;
    ASSERT_TRUE(ReadPointerFile(DefaultPointerFile(), own));
    EXPECT_EQ(own, (PointerValues{{PointerKey::kDoubleClickSpeed, "830"},
                                  {PointerKey::kWheelScrollLines, "9"}}));

    PointerSettings next(backend.get());
    ASSERT_TRUE(next.Refresh());
    EXPECT_EQ(next.page().double_click, 2);
    EXPECT_EQ(next.page().wheel, 9);
}

TEST(X11PointerBackend, NoServerNoBackend) {
    EXPECT_EQ(X11PointerBackend::Open(":4711", DefaultPointerFile()), nullptr);
}

}  // namespace
}  // namespace velq
