#include "buttons/key_entry.h"

#include "buttons/hex_text.h"
#include "buttons/key_list.h"

namespace velq {

std::string KeyLineTail(std::string_view key_name, uint8_t usage, EditKind kind) {
    return std::string(key_name) + " CODE:" + (kind == EditKind::kPress ? "82" : "02") +
           HexByte(usage);
}

void KeyEntry::PressKey(int virtual_key) {
    if (virtual_key == 0) {
        return;
    }
    const int index = KeyIndexOfVirtualKey(virtual_key);
    field_ = std::string(KeyIndexName(index));
    tail_ = KeyLineTail(field_, UsageOfKeyIndex(index), kind_);
}

}  // namespace velq
