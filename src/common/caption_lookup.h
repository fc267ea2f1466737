#pragma once

#include <string>
#include <string_view>

namespace velq {

// Looks up a caption of the current language table by its key ("Str210", "FontName", ...).
// Texts are UTF-8. A key the table does not hold gives an empty text.
class CaptionLookup {
public:
    virtual ~CaptionLookup() = default;
    virtual std::string Caption(std::string_view key) const = 0;
};

}  // namespace velq
