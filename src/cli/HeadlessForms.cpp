#include "HeadlessForms.h"

#include "SettingRecords.h"

bool HeadlessOptions::keyFound(std::size_t row) const {
    const auto index = static_cast<std::size_t>(Functions::settingIndex(tags.at(row)));
    return !Functions::OptionSettings[index].ArrayName.empty();
}
