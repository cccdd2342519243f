#pragma once

#include "loadouts/LoadoutLines.h"

#include <array>
#include <string>

// The loadouts window as plain values: the eight names as shown, the check box and the save
// button's state. quillon-settings reads and writes the loadout lines through it with the same
// procedures as the window.
class LoadoutsModel : public Functions::LoadoutsForm {
public:
    std::u16string loadoutText(std::size_t box) const override { return boxes.at(box); }
    void setLoadoutText(std::size_t box, const std::u16string& text) override {
        boxes.at(box) = text;
    }
    int forceBuyValue() const override { return forceBuy; }
    void setForceBuyValue(int value) override { forceBuy = value; }
    void disableSave() override { saveEnabled = false; }

    std::array<std::u16string, Functions::LoadoutCount> boxes; // txtthief1 ... txtguard4
    int forceBuy = 0;                                          // 0 unchecked, 1 checked
    bool saveEnabled = true;
};
