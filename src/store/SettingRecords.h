#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Setting records: single key values looked up across the five line arrays and written back to
// the very line they came from. The operations take no arguments of their own beyond how to tell
// the user something; they work on the globals below, which the caller sets first.
namespace Functions {

// One option setting: its key, where its line was found and the value after the key.
struct TOptionSetting {
    std::string Key;             // the key including its "=", as the caller sets it
    std::int16_t KeyLength = 0;  // length of Key; set by LookUpSetting
    std::int16_t LineLength = 0; // length of the line found (capped at the 16-bit maximum)
    std::int16_t LineIndex = 0;  // index of that line in the array named by ArrayName
    std::string ArrayName;       // selector of the array holding the line; empty when not found
    std::string Value;           // the bytes after the key
    bool InUse = false;          // true once AllocateSetting has handed the record out
};

inline constexpr int SettingCount = 51; // records 0 to 50

extern std::array<TOptionSetting, SettingCount> OptionSettings;
// The record AllocateSetting handed out last (51 when none was free); LookUpSetting's record.
extern std::int16_t CurrentSetting;
// A record index as decimal text; StoreSetting's record.
extern std::string SettingIndexText;

// The message shown when a key stands in none of the arrays.
inline constexpr std::string_view KeyNotFoundMessage =
    "Goats have eaten your hard-drive, please report this error";

// Shows a message to the user (OK button only, application title) and returns once it is read.
using ShowMessage = std::function<void(std::string_view message)>;

// Marks the first free record as in use and leaves its index in CurrentSetting. When all are
// in use it hands out none and leaves CurrentSetting at SettingCount.
void AllocateSetting();

// Finds the first line, in the arrays' fixed order and from index 0 up to the spare element,
// that starts with record CurrentSetting's Key ignoring letter case, and records where it
// stands and the bytes after the key. A key found nowhere is told through showMessage once,
// and the record's ArrayName is emptied so that it is written nowhere.
// Throws std::out_of_range when CurrentSetting names no record.
void LookUpSetting(const ShowMessage& showMessage);

// Rewrites the line recorded in the record that SettingIndexText names as the line's own key
// part followed by the record's Value. A record without a known array changes nothing.
// Throws std::invalid_argument when SettingIndexText is not a number or the Value holds a line
// break (CR or LF), and std::out_of_range when it names no record or the recorded line is no
// longer in its array; then nothing has changed.
void StoreSetting();

// The record index that a decimal text names. Throws as StoreSetting does.
int settingIndex(std::string_view text);

} // namespace Functions
