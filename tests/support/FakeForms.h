#pragma once

#include "loadouts/LoadoutsModel.h"
#include "options/OptionsModel.h"

#include <string>
#include <string_view>
#include <vector>

// The loadouts model with a marker in every box and in the check box, so that a test can tell
// whether anything was put into them.
inline LoadoutsModel markedLoadouts() {
    LoadoutsModel form;
    form.boxes.fill(u"untouched");
    form.forceBuy = 7;
    return form;
}

// The options model, recording the messages it is asked to show.
struct RecordingOptions : OptionsModel {
    std::vector<std::string> messages;
    void showMessage(std::string_view message) override { messages.emplace_back(message); }
};
