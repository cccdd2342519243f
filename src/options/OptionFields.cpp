#include "options/OptionFields.h"

#include "platform/AsciiCase.h"
#include "store/FileText.h"
#include "store/SettingRecords.h"
#include "store/Startup.h"
#include "store/SwitchValue.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace OptionFields {

namespace {

using Functions::OptionSettings;

constexpr std::array<OptionField, OptionFieldCount> Table{{
    {"Name=", "txtplayername", "Player Name", OptionKind::Text, 20},
    {"ShowVisibility=", "chkshowvispcent", "Show Visibility %?", OptionKind::Check, 0},
    {"bTeamMessagesShowLocation=", "chkshowlocinchat", "Show Location in Chat Window?",
     OptionKind::Check, 0},
    {"AllowDownloads=", "chkallowdownloads", "Allow Downloads?", OptionKind::Check, 0},
    {"bInvertMouse=", "chkmouseinvert", "Invert Mouse?", OptionKind::Check, 0},
    {"MouseSensitivity=", "txtmousesensitivity", "Mouse Sensitivity", OptionKind::Text, 4},
    {"PurgeCacheDays=", "txtcachetime", "Cache Purge Time (days)", OptionKind::Text, 3},
    {"bBalanceTeams=", "chkbalanceteams", "Balance Teams?", OptionKind::Check, 0},
    {"bLogIPInChat=", "chklogipinchat", "Log IP in Chat?", OptionKind::Check, 0},
    {"TimeLimit=", "txttimelimit", "Time Limit", OptionKind::Text, 3},
    {"GuardStartMoney=", "txtguardloot", "Guard Starting Loot", OptionKind::Text, 3},
    {"ThievesStartMoney=", "txtthiefloot", "Thief Starting Loot", OptionKind::Text, 3},
    {"PercentageLootDropped=", "txtlootdropped", "Percent of Loot Dropped", OptionKind::Percent, 3},
    {"PercentageToPassVote=", "txtpassvotes", "Percent to Pass Votes", OptionKind::Percent, 3},
}};

// The record a control's tag names.
Functions::TOptionSetting& recordOf(const OptionControls& controls, std::size_t row) {
    return OptionSettings[static_cast<std::size_t>(Functions::settingIndex(controls.tag(row)))];
}

// The encoding of the file a record's line stands in.
TextEncoding fileEncodingOf(const Functions::TOptionSetting& record) {
    return FileText::encodingOfArray(record.ArrayName);
}

// The bytes a row's control asks to be written, or the reason it cannot be written.
std::string storedValue(const OptionControls& controls, std::size_t row,
                        const Functions::TOptionSetting& record) {
    const OptionField& field = Table[row];
    const TextEncoding encoding = fileEncodingOf(record);
    if (field.kind == OptionKind::Check)
        return std::string(SwitchValue::text(controls.isChecked(row)));
    const std::u16string text = controls.text(row);
    if (const auto lineBreak = text.find_first_of(u"\r\n"); lineBreak != std::u16string::npos)
        throw OptionValueRefused(row, OptionValueRefused::Reason::LineBreak, text, lineBreak);
    if (field.kind == OptionKind::Percent) {
        if (auto fraction = percentStored(text))
            return *fraction;
        // A value that was never a number goes back as the file holds it, unless edited.
        if (text == FileText::decode(encoding, record.Value))
            return record.Value;
        throw OptionValueRefused(row, OptionValueRefused::Reason::NotANumber, text, 0);
    }
    // An untouched box gives back the file's own bytes, even those its encoding cannot show.
    if (!record.ArrayName.empty() && text == FileText::decode(encoding, record.Value))
        return record.Value;
    std::size_t badIndex = 0;
    if (auto bytes = FileText::encode(encoding, text, &badIndex))
        return *bytes;
    throw OptionValueRefused(row, OptionValueRefused::Reason::NotInCodePage, text, badIndex);
}

// Everything a save may change, so that a failure part way leaves nothing changed: the records,
// and the lines they name (StoreSetting changes no other line). Only those lines are kept, so
// that a save costs no copy of whole files.
struct SavedState {
    struct SavedLine {
        LineArray* lines;
        std::size_t index;
        std::string text;
    };
    decltype(Functions::OptionSettings) records = Functions::OptionSettings;
    std::vector<SavedLine> lines;
    SavedState() {
        for (const auto& record : records)
            for (const auto& file : Startup::settingsFiles())
                if (AsciiCase::equalIgnoringCase(record.ArrayName, file.selector) &&
                    record.LineIndex >= 0 &&
                    static_cast<std::size_t>(record.LineIndex) < file.lines->size())
                    lines.push_back(
                        {file.lines, static_cast<std::size_t>(record.LineIndex),
                         std::string((*file.lines)[static_cast<std::size_t>(record.LineIndex)])});
    }
    void restore() {
        Functions::OptionSettings = records;
        for (auto& line : lines)
            line.lines->set(line.index, line.text);
    }
};

} // namespace

OptionValueRefused::OptionValueRefused(std::size_t row, Reason reason, std::u16string text,
                                       std::size_t badIndex)
    : Error(std::string(Table[row].caption) +
                         (reason == Reason::NotANumber      ? ": not a number"
                          : reason == Reason::NotInCodePage ? ": a character outside the code page"
                                                            : ": a line break")),
      row_(row), reason_(reason), text_(std::move(text)), badIndex_(badIndex) {}

const std::array<OptionField, OptionFieldCount>& optionFieldTable() {
    return Table;
}

std::optional<double> parseNumber(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string formatNumber(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

std::string percentShown(std::string_view fileValue) {
    if (const auto fraction = parseNumber(fileValue); fraction && std::isfinite(*fraction * 100))
        return formatNumber(*fraction * 100);
    return std::string(fileValue);
}

std::optional<std::string> percentStored(std::u16string_view shownText) {
    std::string ascii;
    for (char16_t c : shownText) {
        if (c > 0x7F)
            return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    const auto percent = parseNumber(ascii);
    if (!percent)
        return std::nullopt;
    return formatNumber(*percent / 100);
}

void LoadOptionFields(OptionControls& controls) {
    for (auto& record : OptionSettings)
        record.InUse = false;
    const auto notify = [&controls](std::string_view message) { controls.showMessage(message); };
    for (std::size_t row = 0; row < Table.size(); ++row) {
        Functions::AllocateSetting();
        auto& record = OptionSettings.at(static_cast<std::size_t>(Functions::CurrentSetting));
        record.Key = Table[row].key;
        Functions::LookUpSetting(notify);
        switch (Table[row].kind) {
        case OptionKind::Text:
            controls.setText(row, FileText::decode(fileEncodingOf(record), record.Value));
            break;
        case OptionKind::Check:
            controls.setChecked(row, SwitchValue::isOn(record.Value));
            break;
        case OptionKind::Percent:
            controls.setText(row,
                             FileText::decode(fileEncodingOf(record), percentShown(record.Value)));
            break;
        }
        controls.setTag(row, std::to_string(Functions::CurrentSetting));
    }
}

void SaveOptionFields(OptionControls& controls) {
    // Convert every value first: a refusal must find nothing changed.
    std::array<std::optional<std::string>, OptionFieldCount> values;
    for (std::size_t row = 0; row < Table.size(); ++row) {
        const auto& record = recordOf(controls, row);
        try {
            values[row] = storedValue(controls, row, record);
        } catch (const OptionValueRefused&) {
            // A record whose key was not found is written nowhere, so its text cannot fail.
            if (!record.ArrayName.empty())
                throw;
        }
    }
    SavedState saved;
    try {
        for (std::size_t row = 0; row < Table.size(); ++row) {
            Functions::SettingIndexText = controls.tag(row);
            auto& record = recordOf(controls, row);
            if (values[row])
                record.Value = *values[row];
            Functions::StoreSetting();
        }
    } catch (...) {
        saved.restore();
        throw;
    }
}

void SaveOptionFieldsAndFiles(OptionControls& controls) {
    SavedState saved;
    SaveOptionFields(controls);
    try {
        Startup::SaveIniFiles();
    } catch (...) {
        saved.restore();
        throw;
    }
}

} // namespace OptionFields
