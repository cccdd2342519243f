#pragma once

#include "LoadoutLines.h"
#include "OptionFields.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The loadouts window as the reader and writer see it; every box starts with a marker so that a
// test can tell whether anything was put into it.
struct FakeLoadoutsForm : Functions::LoadoutsForm {
    std::array<std::u16string, Functions::LoadoutCount> boxes;
    int forceBuy = 7;
    bool saveEnabled = true;

    FakeLoadoutsForm() { boxes.fill(u"untouched"); }
    std::u16string loadoutText(std::size_t box) const override { return boxes.at(box); }
    void setLoadoutText(std::size_t box, const std::u16string& text) override {
        boxes.at(box) = text;
    }
    int forceBuyValue() const override { return forceBuy; }
    void setForceBuyValue(int value) override { forceBuy = value; }
    void disableSave() override { saveEnabled = false; }
};

// The other options window's fourteen controls as plain values.
struct FakeOptionControls : OptionFields::OptionControls {
    std::array<std::u16string, OptionFields::OptionFieldCount> texts;
    std::array<bool, OptionFields::OptionFieldCount> checks{};
    std::array<std::string, OptionFields::OptionFieldCount> tags;
    std::vector<std::string> messages;

    std::u16string text(std::size_t row) const override { return texts.at(row); }
    void setText(std::size_t row, const std::u16string& t) override { texts.at(row) = t; }
    bool isChecked(std::size_t row) const override { return checks.at(row); }
    void setChecked(std::size_t row, bool c) override { checks.at(row) = c; }
    std::string tag(std::size_t row) const override { return tags.at(row); }
    void setTag(std::size_t row, const std::string& t) override { tags.at(row) = t; }
    void showMessage(std::string_view message) override { messages.emplace_back(message); }
};
