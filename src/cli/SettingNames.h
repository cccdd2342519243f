#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The settings the command line knows, under the names a server operator types: the eight
// loadout names thief1 to thief4 and guard1 to guard4, ForceBuying, and the fourteen options
// under their keys without "=" (Name, ShowVisibility, ..., PercentageToPassVote).
namespace SettingNames {

enum class Where {
    LoadoutBox, // a box of the loadouts window, by index 0 to 7
    ForceBuy,   // the loadouts window's check box
    OptionRow,  // a row of the option field table
};

struct Setting {
    std::string name;
    Where where;
    std::size_t index; // the box or the row; 0 for ForceBuy
    bool isSwitch;     // set as true/false/1/0 and shown as True/False
    int typingLimit;   // most characters a value may have; 0 for switches
};

// All of them, in the order the windows show them: loadouts, ForceBuying, then the options in
// the option field table's order.
const std::vector<Setting>& all();

// The setting of that name, compared ignoring letter case; nullptr when there is none.
const Setting* find(std::string_view name);

} // namespace SettingNames
