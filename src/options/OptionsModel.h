#pragma once

#include "options/OptionFields.h"

#include <array>
#include <string>

// The other options window's fourteen controls as plain values, addressed by row. quillon-settings
// loads and saves the option fields through it with the same procedures as the window.
class OptionsModel : public OptionFields::OptionControls {
public:
    std::u16string text(std::size_t row) const override { return texts.at(row); }
    void setText(std::size_t row, const std::u16string& text) override { texts.at(row) = text; }
    bool isChecked(std::size_t row) const override { return checks.at(row); }
    void setChecked(std::size_t row, bool on) override { checks.at(row) = on; }
    std::string tag(std::size_t row) const override { return tags.at(row); }
    void setTag(std::size_t row, const std::string& tag) override { tags.at(row) = tag; }
    // The one message is that of a key missing from every file, which keyFound tells per row.
    void showMessage(std::string_view) override {}

    // Whether the row's key stands in one of the files, once LoadOptionFields has run.
    bool keyFound(std::size_t row) const;

    std::array<std::u16string, OptionFields::OptionFieldCount> texts;
    std::array<bool, OptionFields::OptionFieldCount> checks{};
    std::array<std::string, OptionFields::OptionFieldCount> tags;
};
