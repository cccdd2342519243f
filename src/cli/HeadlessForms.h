#pragma once

#include "LoadoutLines.h"
#include "OptionFields.h"

#include <array>
#include <string>

// The two editor windows as plain values: what reading and writing the loadout lines and the
// option fields need of a window, with no window. The command line fills them from the line
// arrays, changes what it was told to, and writes them back through the same core procedures
// the windows use.

class HeadlessLoadouts : public Functions::LoadoutsForm {
public:
    std::u16string loadoutText(std::size_t box) const override { return names.at(box); }
    void setLoadoutText(std::size_t box, const std::u16string& text) override {
        names.at(box) = text;
    }
    int forceBuyValue() const override { return forceBuy; }
    void setForceBuyValue(int value) override { forceBuy = value; }
    void disableSave() override {}

    std::array<std::u16string, Functions::LoadoutCount> names;
    int forceBuy = 0; // 0 unchecked, 1 checked
};

class HeadlessOptions : public OptionFields::OptionControls {
public:
    std::u16string text(std::size_t row) const override { return texts.at(row); }
    void setText(std::size_t row, const std::u16string& text) override { texts.at(row) = text; }
    bool isChecked(std::size_t row) const override { return checked.at(row); }
    void setChecked(std::size_t row, bool on) override { checked.at(row) = on; }
    std::string tag(std::size_t row) const override { return tags.at(row); }
    void setTag(std::size_t row, const std::string& tag) override { tags.at(row) = tag; }
    // Only a key missing from every file is told here; keyFound() answers that for each row.
    void showMessage(std::string_view) override {}

    // Whether the row's key stands in one of the files, after LoadOptionFields.
    bool keyFound(std::size_t row) const;

    std::array<std::u16string, OptionFields::OptionFieldCount> texts;
    std::array<bool, OptionFields::OptionFieldCount> checked{};
    std::array<std::string, OptionFields::OptionFieldCount> tags;
};
