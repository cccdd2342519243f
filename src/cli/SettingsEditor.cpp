#include "cli/SettingsEditor.h"

#include "cli/Console.h"
#include "cli/Failure.h"
#include "files/FileError.h"
#include "files/FolderLock.h"
#include "platform/AsciiCase.h"
#include "platform/NativePath.h"
#include "platform/Utf8.h"
#include "store/Startup.h"
#include "store/SwitchValue.h"

using SettingNames::Setting;
using SettingNames::Where;

namespace {

// A file that could not be read or written, as the program stops on it; a folder another
// program keeps locked has an exit status of its own.
Failure fileProblem(const std::string& doing, const FileError& error) {
    const bool busy = dynamic_cast<const FolderBusy*>(&error) != nullptr;
    return Failure(busy ? ExitStatus::FolderBusy : ExitStatus::FileProblem,
                   doing + " " + quoted(error.path()) + ": " + error.reason());
}

[[noreturn]] void refuse(const Setting& setting, const std::string& why) {
    throw Failure(ExitStatus::Refused, setting.name + ": " + why + "; nothing was written");
}

// true/false in any letter case, 1 or 0: the values a switch is set with.
std::optional<bool> switchValue(std::string_view value) {
    if (value == "1" || AsciiCase::equalIgnoringCase(value, "true"))
        return true;
    if (value == "0" || AsciiCase::equalIgnoringCase(value, "false"))
        return false;
    return std::nullopt;
}

AcceptedValue accept(const Assignment& assignment, const std::vector<AcceptedValue>& earlier) {
    const Setting* setting = SettingNames::find(assignment.name);
    if (!setting)
        throw Failure(ExitStatus::Refused, "unknown setting \"" + assignment.name +
                                               "\" (see quillon-settings --help); nothing "
                                               "was written");
    for (const auto& other : earlier)
        if (other.setting == setting)
            refuse(*setting, "given twice");
    if (setting->isSwitch) {
        const auto on = switchValue(assignment.value);
        if (!on)
            refuse(*setting,
                   quoted(assignment.value) + " is not a switch value (true, false, 1 or 0)");
        return {setting, {}, *on};
    }
    auto text = utf16FromUtf8(assignment.value);
    if (!text)
        refuse(*setting, "the value is not UTF-8 text");
    if (text->size() > static_cast<std::size_t>(setting->typingLimit))
        refuse(*setting, "the value has " + std::to_string(text->size()) + " characters; at most " +
                             std::to_string(setting->typingLimit) + " are allowed");
    return {setting, std::move(*text)};
}

// The character at text[i] (both halves of a pair of surrogates), as UTF-8.
std::string characterAt(const std::u16string& text, std::size_t i) {
    const bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size();
    return utf8FromUtf16(std::u16string_view(text).substr(i, pair ? 2 : 1));
}

const Setting& settingOfRow(std::size_t row) {
    for (const auto& setting : SettingNames::all())
        if (setting.where == Where::OptionRow && setting.index == row)
            return setting;
    throw std::out_of_range("no option row " + std::to_string(row));
}

const Setting& settingOfBox(std::size_t box) {
    for (const auto& setting : SettingNames::all())
        if (setting.where == Where::LoadoutBox && setting.index == box)
            return setting;
    throw std::out_of_range("no loadout box " + std::to_string(box));
}

[[noreturn]] void refuseOption(const OptionFields::OptionValueRefused& refused) {
    const Setting& setting = settingOfRow(refused.row());
    const std::string text = utf8FromUtf16(refused.text());
    switch (refused.reason()) {
    case OptionFields::OptionValueRefused::Reason::NotANumber:
        refuse(setting, quoted(text) + " is not a number");
    case OptionFields::OptionValueRefused::Reason::NotInCodePage:
        refuse(setting, quoted(characterAt(refused.text(), refused.badIndex())) + " (character " +
                            std::to_string(refused.badIndex() + 1) +
                            "), which its settings file cannot hold in its encoding");
    case OptionFields::OptionValueRefused::Reason::LineBreak:
        refuse(setting, "the value holds a line break (character " +
                            std::to_string(refused.badIndex() + 1) +
                            "), which would split its line in two");
    }
    refuse(setting, refused.what());
}

// Another program wrote files since they were read; the command line asks no question.
[[noreturn]] void refuseChangedFiles(const Startup::FilesChangedOnDisk& changed) {
    std::string files;
    for (const auto& path : changed.paths())
        files += (files.empty() ? "" : ", ") + quoted(path);
    throw Failure(ExitStatus::FileProblem,
                  "nothing was written: another program changed " + files +
                      " while they were being edited; run the command again");
}

// A refusal of the loadout lines: a box's value, or a file without the lines they need.
[[noreturn]] void refuseLoadouts(const Functions::LoadoutsRefused& refused) {
    if (refused.box()) // the problem already says that nothing was written
        throw Failure(ExitStatus::Refused,
                      settingOfBox(*refused.box()).name + ": " + refused.problem());
    throw Failure(ExitStatus::FileProblem, quoted(refused.path()) + ": " + refused.problem());
}

} // namespace

std::vector<AcceptedValue> acceptAssignments(const std::vector<Assignment>& assignments) {
    std::vector<AcceptedValue> accepted;
    for (const auto& assignment : assignments)
        accepted.push_back(accept(assignment, accepted));
    return accepted;
}

SettingsEditor::SettingsEditor() {
    try {
        Startup::LoadIniFiles();
    } catch (const FileError& error) {
        throw fileProblem("cannot read", error);
    }
}

LoadoutsModel& SettingsEditor::loadouts() {
    if (!loadouts_) {
        LoadoutsModel form;
        try {
            Functions::ReadLoadouts(form);
        } catch (const Functions::LoadoutsRefused& refused) {
            refuseLoadouts(refused);
        }
        loadouts_ = std::move(form);
    }
    return *loadouts_;
}

OptionsModel& SettingsEditor::options() {
    if (!options_) {
        options_.emplace();
        OptionFields::LoadOptionFields(*options_);
    }
    return *options_;
}

std::optional<std::string> SettingsEditor::shownValue(const Setting& setting) {
    switch (setting.where) {
    case Where::LoadoutBox:
        return utf8FromUtf16(loadouts().boxes[setting.index]);
    case Where::ForceBuy:
        return std::string(SwitchValue::text(loadouts().forceBuy == 1));
    case Where::OptionRow:
        break;
    }
    OptionsModel& form = options();
    if (!form.keyFound(setting.index))
        return std::nullopt;
    if (setting.isSwitch)
        return std::string(SwitchValue::text(form.checks[setting.index]));
    return utf8FromUtf16(form.texts[setting.index]);
}

SetReport SettingsEditor::set(const std::vector<AcceptedValue>& values, bool checkOnly) {
    SetReport report;
    report.systemDir = NativePath::resolve(Startup::SystemDir);
    for (const auto& value : values) {
        auto before = shownValue(*value.setting);
        if (!before) // only an option's key can be missing
            refuse(*value.setting, "no line of the five settings files starts with \"" +
                                       value.setting->name + "=\"");
        report.settings.push_back({value.setting, std::move(*before), {}});
    }

    bool anyOption = false;
    bool anyLoadout = false;
    for (const auto& [setting, text, on] : values) {
        switch (setting->where) {
        case Where::LoadoutBox:
            loadouts().setLoadoutText(setting->index, text);
            anyLoadout = true;
            break;
        case Where::ForceBuy:
            loadouts().setForceBuyValue(on ? 1 : 0);
            anyLoadout = true;
            break;
        case Where::OptionRow:
            if (setting->isSwitch)
                options().setChecked(setting->index, on);
            else
                options().setText(setting->index, text);
            anyOption = true;
            break;
        }
    }

    try {
        // Into the line arrays, as the windows' saves do; refusals come first.
        if (anyOption)
            OptionFields::SaveOptionFields(options());
        if (anyLoadout)
            Functions::StoreLoadouts(loadouts());
        report.files = Startup::filesToRewrite();
        // Files whose bytes stay as they are on disk are left alone.
        if (!checkOnly)
            Startup::SaveIniFiles(Startup::Rewrite::ChangedFiles);
    } catch (const OptionFields::OptionValueRefused& refused) {
        refuseOption(refused);
    } catch (const Functions::LoadoutsRefused& refused) {
        refuseLoadouts(refused);
    } catch (const FileError& error) {
        throw fileProblem("nothing was written: cannot write", error);
    } catch (const Startup::FilesChangedOnDisk& changed) {
        refuseChangedFiles(changed);
    }

    // Read back from the lines the files now hold (or would hold), as the windows would show them.
    loadouts_.reset();
    options_.reset();
    for (auto& changed : report.settings)
        changed.after = shownValue(*changed.setting).value();
    return report;
}
