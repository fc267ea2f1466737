#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "config/mouse_config.h"
#include "image/sections.h"

namespace velq {

// The configuration as JSON, in the order a person reads it.
using Json = nlohmann::ordered_json;

// The shown name of a function code (the button names of the current language).
using CodeNamer = std::function<std::string(const FunctionCode&)>;

// The configuration as JSON. Array positions count from 0; the current DPI level counts from 1
// as the mouse's level numbers do; a DPI level holds its DPI number (null when its stored index
// lies outside the value list); colours are "RRGGBB"; function codes are their six upper-case
// hex digits with their names beside them.
Json ConfigToJson(const MouseConfig& config, const CodeNamer& namer);

// One key whose value an edit changed: its path ("dpi.levels[2].value") and both values.
struct ConfigChange {
    std::string key;
    Json before;
    Json after;
};

struct ConfigEditResult {
    bool ok = false;
    std::string error;  // the key first: "dpi.levels[9]: no such key"
    std::vector<ConfigChange> changes;
    // The keys the edit set, as it named them (a key given its shown value is left out, except
    // the current level, which wins over the one a new level count makes current).
    std::vector<std::string> asked;
    explicit operator bool() const { return ok; }
};

// A key and the value wanted for it, as `set` gives them.
struct ConfigAssignment {
    std::string key;   // "buttons.gaming[4].code"
    std::string text;  // "0300CD"
};

// Changes `config` to the values of `patch`, a JSON object in the form of `shown` holding any
// part of it: keys left out keep their values. `shown` is everything that is shown of the
// mouse, ConfigToJson(config) and whatever a caller added beside it. A key `shown` lacks is
// refused; a value equal to the shown one changes nothing, whatever the key; a key that is
// only shown (names, device codes, the light type, anything a caller added) is refused when it
// differs; a value of the wrong type or out of range is refused; so is a change that leaves a
// profile without a left click. Keys that move others move them as the pages do (a new level
// count makes its top level current); a key the edit names itself wins over what another
// derives (the current level, the aim DPI). On a refusal `config` is left as it was; no
// exception leaves.
ConfigEditResult EditConfig(const Json& patch, const Json& shown, const CodeNamer& namer,
                            MouseConfig& config);

// The same for "key=value" texts. A value is read by the type the key shows: text keys take the
// text as it is, the others take JSON (a number, true, false, null). A value that is not UTF-8
// is refused.
ConfigEditResult EditConfig(const std::vector<ConfigAssignment>& assignments, const Json& shown,
                            const CodeNamer& namer, MouseConfig& config);

// Reads the JSON text `apply` takes. False on a fault in it (a syntax error, a number beyond
// what a JSON number holds, a text that is not UTF-8), with `error` naming the key where it was
// met.
bool ParseConfigPatch(std::string_view text, Json& patch, std::string& error);

// Encodes `wanted`, an edit of `decoded` (what `copies` hold), into `copies`, and lists what the
// mouse will then hold by decoding the copies again: every key whose value changes, those the
// edit moved without naming them too (the aim DPI of a new aim key), each with the value it will
// hold. An `asked` key the mouse would hold another value for (two keys of the edit decide it
// differently) refuses the edit, and `copies` are left as they were.
ConfigEditResult EncodeConfigEdit(const MouseConfig& wanted, const MouseConfig& decoded,
                                  const std::vector<std::string>& asked, const CodeNamer& namer,
                                  SectionCopies& copies);

// Splits "key=value"; false when there is no '=' or no key.
bool ParseAssignment(const std::string& text, ConfigAssignment& assignment);

// The value at `key` of `root` ("a.b[2].c"), or null when it is not there.
const Json* FindKey(const Json& root, const std::string& key);

}  // namespace velq
