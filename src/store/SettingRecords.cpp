#include "store/SettingRecords.h"

#include "platform/AsciiCase.h"
#include "store/Startup.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <stdexcept>

namespace Functions {

std::array<TOptionSetting, SettingCount> OptionSettings;
std::int16_t CurrentSetting = 0;
std::string SettingIndexText;

namespace {

constexpr std::size_t Int16Max = std::numeric_limits<std::int16_t>::max();

std::int16_t cappedLength(std::size_t length) {
    return static_cast<std::int16_t>(std::min(length, Int16Max));
}

// Whether the line starts with the key, ignoring letter case. keyStart is the key's first
// character in upper case: most lines are told apart by it alone.
bool startsWithKey(std::string_view line, std::string_view key, char keyStart) {
    return line.size() >= key.size() && (key.empty() || AsciiCase::toUpper(line[0]) == keyStart) &&
           AsciiCase::equalIgnoringCase(line.substr(0, key.size()), key);
}

} // namespace

void AllocateSetting() {
    for (int i = 0; i < SettingCount; ++i) {
        CurrentSetting = static_cast<std::int16_t>(i);
        if (!OptionSettings[static_cast<std::size_t>(i)].InUse) {
            OptionSettings[static_cast<std::size_t>(i)].InUse = true;
            return;
        }
    }
    CurrentSetting = SettingCount;
}

void LookUpSetting(const ShowMessage& showMessage) {
    if (CurrentSetting < 0 || CurrentSetting >= SettingCount)
        throw std::out_of_range("no setting record " + std::to_string(CurrentSetting));
    TOptionSetting& record = OptionSettings[static_cast<std::size_t>(CurrentSetting)];
    // Keys are short texts of the program's own; a longer one could never be recorded.
    if (record.Key.size() > Int16Max)
        throw std::length_error("setting key too long");
    record.KeyLength = static_cast<std::int16_t>(record.Key.size());

    const char keyStart = record.Key.empty() ? '\0' : AsciiCase::toUpper(record.Key[0]);
    for (const auto& file : Startup::settingsFiles()) {
        const LineArray& lines = *file.lines;
        // Loads refuse files of more than 32,766 lines, so every index fits 16 bits.
        const std::size_t count = std::min(lines.size(), Int16Max + 1);
        for (std::size_t i = 0; i < count; ++i) {
            if (!startsWithKey(lines[i], record.Key, keyStart))
                continue;
            record.LineIndex = static_cast<std::int16_t>(i);
            record.ArrayName = file.selector;
            record.LineLength = cappedLength(lines[i].size());
            record.Value = std::string(lines[i].substr(record.Key.size()));
            return;
        }
    }
    record.ArrayName.clear();
    if (showMessage)
        showMessage(KeyNotFoundMessage);
}

int settingIndex(std::string_view text) {
    const bool digitsOnly = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    if (!digitsOnly)
        throw std::invalid_argument("not a setting record index: \"" + std::string(text) + "\"");
    int index = 0;
    const auto error = std::from_chars(text.data(), text.data() + text.size(), index).ec;
    if (error != std::errc{} || index >= SettingCount)
        throw std::out_of_range("no setting record " + std::string(text));
    return index;
}

void StoreSetting() {
    const TOptionSetting& record =
        OptionSettings[static_cast<std::size_t>(settingIndex(SettingIndexText))];
    for (const auto& file : Startup::settingsFiles()) {
        if (!AsciiCase::equalIgnoringCase(record.ArrayName, file.selector))
            continue;
        LineArray& lines = *file.lines;
        if (record.LineIndex < 0 || static_cast<std::size_t>(record.LineIndex) >= lines.size() ||
            record.KeyLength < 0 ||
            static_cast<std::size_t>(record.KeyLength) >
                lines[static_cast<std::size_t>(record.LineIndex)].size())
            throw std::out_of_range("setting record " + SettingIndexText + " names no line of " +
                                    file.selector);
        // A line break in a value would split its line in two and shift every line after it.
        if (holdsLineBreak(record.Value))
            throw std::invalid_argument("the value of " + record.Key + " holds a line break");
        const auto index = static_cast<std::size_t>(record.LineIndex);
        lines.set(index,
                  std::string(lines[index].substr(0, static_cast<std::size_t>(record.KeyLength))) +
                      record.Value);
        return;
    }
}

} // namespace Functions
