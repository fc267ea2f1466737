#pragma once

#include <optional>

#include "flows/flow_host.h"
#include "image/sections.h"

namespace velq {

// What a read that completed tells the user beside what the pages show: the settings shown as
// defaults because their sections failed their checks (a line each), and that only Apply puts
// them into the mouse. Nothing when every section passed.
std::optional<UserMessage> RepairedSettingsMessage(const SectionRepairs& repairs);

}  // namespace velq
