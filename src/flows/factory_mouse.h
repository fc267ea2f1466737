#pragma once

#include <memory>
#include <string>

#include "device/virtual_mouse.h"

namespace velq {

// A virtual mouse as it leaves the factory: its memory holds the first default image. Null,
// with the reason in `error`, when that image cannot be loaded.
std::shared_ptr<VirtualMouse> MakeFactoryVirtualMouse(std::string& error);

}  // namespace velq
