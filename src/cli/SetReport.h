#pragma once

#include "cli/SettingNames.h"

#include <string>
#include <vector>

// What `quillon-settings set` changed, or with --check would change.
struct SetReport {
    struct Value {
        const SettingNames::Setting* setting;
        std::string before; // as `get` shows it (UTF-8)
        std::string after;  // as `get` shows it once the files hold the new lines
    };
    std::vector<Value> settings;    // in the order given
    std::vector<std::string> files; // the files written (or that would be), in file set order
    std::string systemDir;          // the folder they are in, as a native path

    // Whether a byte on disk changed (or would change): a value can read the same and still be
    // written in other bytes, as "true" becomes "True".
    bool changed() const { return !files.empty(); }

    // For --check: one line a setting, NAME: "BEFORE" -> "AFTER" or NAME: "VALUE" (as it is),
    // then the files that would be written, or that none would be.
    std::string text() const;

    // {"changed": true or false, "files": [NAME, ...],
    //  "settings": {NAME: {"before": VALUE, "after": VALUE}, ...}, "systemDir": FOLDER}
    std::string json() const;
};
