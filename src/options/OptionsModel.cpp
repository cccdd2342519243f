#include "options/OptionsModel.h"

#include "store/SettingRecords.h"

bool OptionsModel::keyFound(std::size_t row) const {
    const auto index = static_cast<std::size_t>(Functions::settingIndex(tags.at(row)));
    return !Functions::OptionSettings[index].ArrayName.empty();
}
