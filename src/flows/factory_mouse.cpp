#include "flows/factory_mouse.h"

#include <algorithm>

#include "image/built_in_images.h"

namespace velq {

std::shared_ptr<VirtualMouse> MakeFactoryVirtualMouse(std::string& error) {
    const ImageTextResult factory = LoadBuiltInImage(BuiltInImage::kVELQ55XData_Cfg1);
    if (!factory || factory.bytes.size() != VirtualMouse::kMemorySize) {
        error = factory ? "the first default image has the wrong size" : factory.error;
        return nullptr;
    }
    VirtualMouse::Memory memory{};
    std::copy(factory.bytes.begin(), factory.bytes.end(), memory.begin());
    return std::make_shared<VirtualMouse>(memory);
}

}  // namespace velq
