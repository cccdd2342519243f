#pragma once

#include "cli/CommandLine.h"
#include "cli/SetReport.h"
#include "cli/SettingNames.h"
#include "loadouts/LoadoutsModel.h"
#include "options/OptionsModel.h"

#include <optional>
#include <string>
#include <vector>

// The settings of the System folder in Startup::SystemDir, read and written through the same
// core procedures as the two windows: the loadout lines through ReadLoadouts/StoreLoadouts, the
// options through LoadOptionFields/SaveOptionFields, and one all-or-nothing SaveIniFiles.
// Every failure is thrown as a Failure with its exit status and a message naming what and why.
// A NAME=VALUE that passed the checks that need no settings file: the name is known and given
// once, a switch has a switch value, any other value is UTF-8 within its box's typing limit.
struct AcceptedValue {
    const SettingNames::Setting* setting;
    std::u16string text; // the value of a name or an option box
    bool on = false;     // the value of a switch
};

// Throws Failure (ExitStatus::Refused) naming the first assignment refused and why.
std::vector<AcceptedValue> acceptAssignments(const std::vector<Assignment>& assignments);

class SettingsEditor {
public:
    // Loads the five settings files.
    SettingsEditor();

    // A setting's value as the windows show it (UTF-8): names as they stand, switches as True or
    // False, percentages as percentages. Nothing when the option's key stands in none of the
    // files.
    std::optional<std::string> shownValue(const SettingNames::Setting& setting);

    // Puts the values through the windows' conversions and checks, and only when all are
    // accepted writes the files whose bytes change, in one save. Nothing is written when any is
    // refused, nor with checkOnly, which refuses what a save would refuse and tells what it
    // would write.
    SetReport set(const std::vector<AcceptedValue>& values, bool checkOnly);

private:
    // Filled from the line arrays on first use.
    LoadoutsModel& loadouts();
    OptionsModel& options();

    std::optional<LoadoutsModel> loadouts_;
    std::optional<OptionsModel> options_;
};
