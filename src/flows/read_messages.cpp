#include "flows/read_messages.h"

namespace velq {
namespace {

// The settings each checked section holds, as the message names them.
struct RepairedSettings {
    bool SectionRepairs::*repaired;
    const char* key;
};
constexpr RepairedSettings kRepairedSettings[] = {
    {&SectionRepairs::parameter_a, "Str909"},  // DPI levels, their colours, the options
    {&SectionRepairs::parameter_b, "Str910"},  // current DPI level, LED state, key mode
    {&SectionRepairs::profile, "Str911"},      // the button functions of both profiles
    {&SectionRepairs::fire_key, "Str912"},     // the fire key
};

// A line each: "\r" is a line break in the message window.
constexpr const char* kLineBreak = "\r";

}  // namespace

std::optional<UserMessage> RepairedSettingsMessage(const SectionRepairs& repairs) {
    if (!repairs.Any()) {
        return std::nullopt;
    }
    std::vector<std::string> keys = {kRepairedSettingsMessage};
    for (const RepairedSettings& settings : kRepairedSettings) {
        if (repairs.*settings.repaired) {
            keys.emplace_back(settings.key);
        }
    }
    return UserMessage::Window(std::move(keys), kLineBreak);
}

}  // namespace velq
