#include "cli/SettingNames.h"

#include "loadouts/LoadoutLines.h"
#include "options/OptionFields.h"
#include "platform/AsciiCase.h"

namespace SettingNames {

namespace {

std::vector<Setting> makeAll() {
    std::vector<Setting> settings;
    for (std::size_t box = 0; box < Functions::LoadoutCount; ++box)
        settings.push_back({(box < 4 ? "thief" : "guard") + std::to_string(box % 4 + 1),
                            Where::LoadoutBox, box, false, Functions::LoadoutTypingLimit});
    settings.push_back({"ForceBuying", Where::ForceBuy, 0, true, 0});
    const auto& table = OptionFields::optionFieldTable();
    for (std::size_t row = 0; row < table.size(); ++row) {
        const std::string_view key = table[row].key;
        settings.push_back({std::string(key.substr(0, key.size() - 1)), Where::OptionRow, row,
                            table[row].kind == OptionFields::OptionKind::Check,
                            table[row].typingLimit});
    }
    return settings;
}

} // namespace

const std::vector<Setting>& all() {
    static const std::vector<Setting> settings = makeAll();
    return settings;
}

const Setting* find(std::string_view name) {
    for (const auto& setting : all())
        if (AsciiCase::equalIgnoringCase(setting.name, name))
            return &setting;
    return nullptr;
}

} // namespace SettingNames
