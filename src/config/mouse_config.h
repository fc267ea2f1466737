#pragma once

#include <array>
#include <cstdint>

#include "buttons/function_code.h"
#include "image/memory_map.h"

namespace velq {

// The mouse's settings as the pages, the flows and velqctl see them, whatever bytes hold them.
// Fields keep what the mouse stores, typed: a field whose stored value has no meaning of its
// own (a level's value index 0xFF, a lamp count outside 4..13) holds it as it is, so it goes
// back unchanged.

// Which lights the mouse drives.
enum class LightType : uint8_t {
    kFlowing,    // flowing LED (`rb_MCULED`)
    kTwoColour,  // two-colour LED (`rb_RBLED`)
    kSync,       // seven-colour LED, synchronous (`rb_SyncLED`)
    kBreathing,  // seven-colour LED, breathing (`rb_BreLED`)
};

struct Colour {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Colour&) const = default;
};

struct OptionsConfig {
    bool led_switch_keys = true;     // LED on/off with middle button + DPI key
    bool gun_function = true;        // recoil (gun) function
    bool led_mode_keys = true;       // LED mode with left button + DPI key
    bool remember_key_mode = true;   // the mouse starts in the key mode it had
    uint8_t sensor_orientation = 0;  // position in the orientation list, 0..7
    bool middle_long_press = false;
    bool dpi_long_press = false;
    bool gun_long_press = false;
    bool smoothing = false;
    bool operator==(const OptionsConfig&) const = default;
};

struct DpiLevel {
    uint8_t value = 0;  // index into the DPI value list; 0xFF: no value
    Colour colour;
    bool operator==(const DpiLevel&) const = default;
};

struct DpiConfig {
    uint8_t count = 4;    // levels in use, 2..7
    uint8_t current = 0;  // the level in use, 0 = level 1
    std::array<DpiLevel, kDpiLevels> levels{};
    bool operator==(const DpiConfig&) const = default;
};

struct LightingConfig {
    LightType type = LightType::kFlowing;
    bool on = true;
    // The current mode, 1..7 (0: none). It belongs to the flowing and two-colour lights.
    uint8_t mode = 0;
    // The flowing light's speed step, 0..7.
    uint8_t step = 0;
    bool full_brightness = true;  // flowing light at full (not half) brightness
    int lamps = 13;               // flowing light's lamp count, 4..13
    // The flowing light's modes offered by the mode key, modes 1..7.
    std::array<bool, 7> modes_offered{};
    bool operator==(const LightingConfig&) const = default;
};

struct FireKeyConfig {
    bool while_held = false;  // repeats as long as the key is held
    uint8_t repeat = 2;       // otherwise the group runs repeat + 1 times
    uint8_t interval = 100;   // wait between shots, in the macro's time unit
    bool operator==(const FireKeyConfig&) const = default;
};

struct FireSlotConfig {
    int8_t y_adjust = 0;
    Colour colour;
    bool operator==(const FireSlotConfig&) const = default;
};

using ProfileButtons = std::array<FunctionCode, kButtonsPerProfile>;

struct MouseConfig {
    OptionsConfig options;
    DpiConfig dpi;
    LightingConfig lighting;
    ProfileButtons office{};  // profile 1
    ProfileButtons gaming{};  // profile 2
    uint8_t key_mode = 0;     // 0 office, 1 gaming
    FireKeyConfig fire_key;
    std::array<FireSlotConfig, kFireSlots> fire_slots{};
    // The aim keys' DPI value index: that of the last aim key found, office before gaming.
    uint8_t aim_dpi = 0;
    uint8_t vendor_code = 0xFF;
    uint8_t product_code = 0xFF;
    bool operator==(const MouseConfig&) const = default;
};

}  // namespace velq
