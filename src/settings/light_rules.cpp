#include "settings/light_rules.h"

namespace velq {
namespace {

struct TypeGroups {
    LightType type;
    LightGroups groups;
};
constexpr std::array<TypeGroups, 4> kGroups = {{
    {LightType::kFlowing, {false, true, true, true, true}},
    {LightType::kTwoColour, {true, true, false, false, false}},
    {LightType::kSync, {false, false, false, false, false}},
    {LightType::kBreathing, {false, false, false, false, false}},
}};

}  // namespace

LightGroups GroupsOfLight(LightType type) {
    for (const TypeGroups& entry : kGroups) {
        if (entry.type == type) {
            return entry.groups;
        }
    }
    return kGroups[0].groups;
}

}  // namespace velq
