#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velq::ui {

// What kind of widget a control of the main window is. Every control is created from its name
// alone, so the kind table below is the one place that knows which name is what.
enum class ControlKind : uint8_t {
    kPicture,  // a picture (skin image)
    kButton,   // a transparent caption label over a picture, receiving clicks and hover
    kLabel,    // a caption label (option captions too: they receive clicks)
    kCover,    // a transparent label over a whole page that swallows input
    kSwatch,   // a colour swatch lying on its frame picture
    kEdit,
    kList,
    kCombo,
    kRadio,  // hidden state radio buttons
    kSlider,
    kGroup,       // group box holding other controls
    kPanel,       // a bordered panel (menus, the macro library buttons)
    kMenuEntry,   // an entry row of a function menu panel
    kMenuMarker,  // the ">>" marker of a menu entry that opens a second level
};

// Where a control lives. kCopy: the control exists once per page and its trailing number is the
// page (1..5); kGbDelay / kGbInsert: inside that group box; kMenu: inside the menu panel that
// lists it; kPcMacro: on the macro library panel.
enum class ControlPlace : uint8_t {
    kWindow,
    kCopy,
    kPage1,
    kPage2,
    kPage3,
    kPage4,
    kPage5,
    kPage6,
    kGbDelay,
    kGbInsert,
    kMenu,
    kPcMacro,
};

struct ControlKindRow {
    std::string_view pattern;  // '*' any run of characters, '#' one decimal digit
    ControlKind kind;
    ControlPlace place;
    std::string_view picture;  // picture shown before any state: '#' takes the name's number
    bool hidden = false;       // created hidden (state radios, closed menus, pop-ups)
};

struct ControlSpec {
    ControlKind kind;
    ControlPlace place;
    std::string picture;  // resolved initial picture, empty for none
    bool hidden;
    int copy;  // for kCopy: 1..5
};

// True when `name` matches `pattern` ('*' any run, '#' one digit).
bool MatchControlPattern(std::string_view pattern, std::string_view name);

// The entry of a control name by the first matching row of the kind table; nothing for a name
// the table does not know (the caller reports it rather than guessing a widget).
std::optional<ControlSpec> ClassifyControl(std::string_view name);

// The menu panel that holds a menu entry or marker ("Key_CPI" -> "Pnl_CPIKey"); empty if none.
std::string_view MenuPanelOf(std::string_view entry);
// Row of an entry in its panel (0-based), -1 when it is in none.
int MenuRowOf(std::string_view entry);

// Controls of the macro page's group boxes and library panel, by the group they sit in.
std::string_view GroupOf(ControlPlace place);

}  // namespace velq::ui
