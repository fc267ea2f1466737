#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "buttons/name_lookups.h"
#include "common/caption_lookup.h"

namespace velq::test {

// A caption table holding the given keys; missing keys give the empty text.
class FakeCaptions : public CaptionLookup {
public:
    explicit FakeCaptions(std::map<std::string, std::string, std::less<>> texts)
        : texts_(std::move(texts)) {}
    std::string Caption(std::string_view key) const override {
        const auto it = texts_.find(key);
        return it == texts_.end() ? std::string{} : it->second;
    }

private:
    std::map<std::string, std::string, std::less<>> texts_;
};

// The [lang1] texts of the names the tests look at.
inline FakeCaptions Lang1Captions() {
    return FakeCaptions({
        {"Str210", "Clique esquerdo"},
        {"Str211", "Clique direito "},
        {"Str220", "Chave de fogo"},
        {"Str221", "LED ON/OFF"},
        {"Str222", "Alvo"},
        {"Str223", "İnterruptor de pistola  Fn"},
        {"Str224", "İnterruptor Off"},
        {"Str231", "Loop DPI"},
        {"Str243", "Area de Trabalho"},
        {"Str250", "Play/a Pausa"},
        {"Str266", "Favoritos"},
        {"Str600", "AKM"},
        {"Str602", "M4"},
        {"Str605", "Fogo 5.56mm "},
        {"Str606", "Fogo 7.62mm"},
    });
}

class FakeMacroNames : public MacroNameLookup {
public:
    std::map<int, std::string> slots;        // slot 1..6 -> name
    std::vector<std::string> driver_macros;  // the driver list, in order

    std::string SlotMacroName(int slot) const override {
        const auto it = slots.find(slot);
        return it == slots.end() ? std::string{} : it->second;
    }
    std::optional<std::string> DriverMacroName(std::size_t n) const override {
        if (n >= driver_macros.size()) {
            return std::nullopt;
        }
        return driver_macros[n];
    }
};

class FakeGunNames : public GunNameLookup {
public:
    bool file_found = false;
    std::vector<std::string> texts = std::vector<std::string>(10, "000000");

    bool GunKeyFileFound() const override { return file_found; }
    std::vector<std::string> GunKeyTexts() const override { return texts; }
};

}  // namespace velq::test
