#include "buttons/ui/dialog_keys.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <array>
#include <span>

#include "buttons/x11_keysyms.h"

namespace velq::ui {
namespace {

struct QtKeysym {
    int key;  // Qt::Key
    uint32_t keysym;
};

// The keys outside Latin-1, by the keysym the X server gives for them. Latin-1 keys need no
// table: their Qt key value is their upper-case character, which is also its keysym.
constexpr auto kSpecialKeys = std::to_array<QtKeysym>({
    {Qt::Key_Escape, 0xFF1B},
    {Qt::Key_Tab, 0xFF09},
    {Qt::Key_Backtab, 0xFE20},
    {Qt::Key_Backspace, 0xFF08},
    {Qt::Key_Return, 0xFF0D},
    {Qt::Key_Enter, 0xFF8D},
    {Qt::Key_Insert, 0xFF63},
    {Qt::Key_Delete, 0xFFFF},
    {Qt::Key_Pause, 0xFF13},
    {Qt::Key_Print, 0xFF61},
    {Qt::Key_SysReq, 0xFF15},
    {Qt::Key_Clear, 0xFF0B},
    {Qt::Key_Home, 0xFF50},
    {Qt::Key_End, 0xFF57},
    {Qt::Key_Left, 0xFF51},
    {Qt::Key_Up, 0xFF52},
    {Qt::Key_Right, 0xFF53},
    {Qt::Key_Down, 0xFF54},
    {Qt::Key_PageUp, 0xFF55},
    {Qt::Key_PageDown, 0xFF56},
    {Qt::Key_Shift, 0xFFE1},
    {Qt::Key_Control, 0xFFE3},
    {Qt::Key_Alt, 0xFFE9},
    {Qt::Key_AltGr, 0xFE03},
    // Qt on Linux names the Windows key Meta as often as Super.
    {Qt::Key_Meta, 0xFFEB},
    {Qt::Key_Super_L, 0xFFEB},
    {Qt::Key_Super_R, 0xFFEC},
    {Qt::Key_CapsLock, 0xFFE5},
    {Qt::Key_NumLock, 0xFF7F},
    {Qt::Key_ScrollLock, 0xFF14},
    {Qt::Key_Menu, 0xFF67},
    {Qt::Key_Help, 0xFF6A},
    {Qt::Key_Select, 0xFF60},
    {Qt::Key_Back, 0x1008FF26},
    {Qt::Key_Forward, 0x1008FF27},
    {Qt::Key_Refresh, 0x1008FF29},
    {Qt::Key_Stop, 0x1008FF28},
    {Qt::Key_Search, 0x1008FF1B},
    {Qt::Key_Favorites, 0x1008FF30},
    {Qt::Key_HomePage, 0x1008FF18},
    {Qt::Key_VolumeMute, 0x1008FF12},
    {Qt::Key_VolumeDown, 0x1008FF11},
    {Qt::Key_VolumeUp, 0x1008FF13},
    {Qt::Key_MediaNext, 0x1008FF17},
    {Qt::Key_MediaPrevious, 0x1008FF16},
    {Qt::Key_MediaStop, 0x1008FF15},
    {Qt::Key_MediaPlay, 0x1008FF14},
    {Qt::Key_MediaTogglePlayPause, 0x1008FF14},
    {Qt::Key_MediaPause, 0x1008FF31},
    {Qt::Key_LaunchMail, 0x1008FF19},
    {Qt::Key_LaunchMedia, 0x1008FF32},
    {Qt::Key_Launch0, 0x1008FF40},
    {Qt::Key_Launch1, 0x1008FF41},
    {Qt::Key_Calculator, 0x1008FF1D},
});

// Keys of the numeric keypad that type a character have keysyms of their own.
constexpr auto kKeypadKeys = std::to_array<QtKeysym>({
    {Qt::Key_Asterisk, 0xFFAA},
    {Qt::Key_Plus, 0xFFAB},
    {Qt::Key_Comma, 0xFFAC},
    {Qt::Key_Minus, 0xFFAD},
    {Qt::Key_Period, 0xFFAE},
    {Qt::Key_Slash, 0xFFAF},
});

constexpr uint32_t kKeysymF1 = 0xFFBE;
constexpr uint32_t kKeysymKeypad0 = 0xFFB0;

uint32_t Find(std::span<const QtKeysym> table, int key) {
    for (const QtKeysym& row : table) {
        if (row.key == key) {
            return row.keysym;
        }
    }
    return 0;
}

uint32_t KeysymOfQtKey(int key, bool keypad) {
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) {
            return kKeysymKeypad0 + static_cast<uint32_t>(key - Qt::Key_0);
        }
        if (const uint32_t keysym = Find(kKeypadKeys, key); keysym != 0) {
            return keysym;
        }
    }
    if (key >= Qt::Key_Space && key <= 0xFF) {
        return static_cast<uint32_t>(key);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return kKeysymF1 + static_cast<uint32_t>(key - Qt::Key_F1);
    }
    return Find(kSpecialKeys, key);
}

}  // namespace

bool PlatformGivesKeysyms() {
    const QString platform = QGuiApplication::platformName();
    return platform == QStringLiteral("xcb") || platform.startsWith(QStringLiteral("wayland"));
}

uint32_t KeysymOfKeyEvent(const QKeyEvent& event, bool native_keysyms) {
    if (native_keysyms && event.nativeVirtualKey() != 0) {
        return event.nativeVirtualKey();
    }
    return KeysymOfQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

int DialogVirtualKey(const QKeyEvent& event, bool native_keysyms) {
    return RawInputVirtualKey(VirtualKeyOfKeysym(KeysymOfKeyEvent(event, native_keysyms)));
}

bool ModifierHeld(const QKeyEvent& event) {
    return (event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
}

}  // namespace velq::ui
