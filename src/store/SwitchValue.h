#pragma once

#include <string_view>

// On/off settings as the game reads them: "True" in any letter case, or "1", is on; anything
// else (including blanks around the word) is off. They are written back as "True" or "False".
namespace SwitchValue {

bool isOn(std::string_view value);

inline constexpr std::string_view text(bool on) {
    return on ? "True" : "False";
}

} // namespace SwitchValue
