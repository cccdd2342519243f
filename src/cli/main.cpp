// quillon-settings: shows and sets the settings of the two editor windows from the command
// line, for server operators and scripts. It never opens a window and never reads its input.
#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/Failure.h"
#include "cli/JsonText.h"
#include "cli/RunningGame.h"
#include "cli/SettingNames.h"
#include "cli/SettingsEditor.h"
#include "cli/SystemFolder.h"
#include "cli/Usage.h"
#include "cli/WhereReport.h"
#include "files/FolderLock.h"
#include "install/GamePaths.h"
#include "install/InstallSearch.h"
#include "store/Startup.h"

#include <exception>
#include <optional>

namespace {

void tellMissing(const SettingNames::Setting& setting) {
    Console::writeError("quillon-settings: " + setting.name +
                        " is missing: no line of the five settings files starts with \"" +
                        setting.name + "=\"\n");
}

// Says on standard error when the game runs from the System folder in use.
void noteRunningGame() {
    if (const auto note = runningGameNote())
        Console::writeError("quillon-settings: note: " + *note + "\n");
}

void show(SettingsEditor& editor, bool json) {
    std::vector<std::pair<std::string, std::optional<std::string>>> members;
    for (const auto& setting : SettingNames::all())
        members.emplace_back(setting.name, editor.shownValue(setting));
    if (json) {
        Console::writeOut(JsonText::object(members) + "\n");
    } else {
        std::string out;
        for (const auto& [name, value] : members)
            if (value)
                out += name + "=" + *value + "\n";
        Console::writeOut(out);
    }
    for (std::size_t i = 0; i < members.size(); ++i)
        if (!members[i].second)
            tellMissing(SettingNames::all()[i]);
    noteRunningGame();
}

void get(SettingsEditor& editor, const SettingNames::Setting& setting, bool json) {
    const auto value = editor.shownValue(setting);
    if (json)
        Console::writeOut(JsonText::object({{setting.name, value}}) + "\n");
    else if (value)
        Console::writeOut(*value + "\n");
    if (!value)
        tellMissing(setting);
}

// Sets the values, or with check only tells what would change; --json reports either way.
void set(SettingsEditor& editor, const std::vector<AcceptedValue>& values, const Command& command) {
    const SetReport report = editor.set(values, command.check);
    if (command.json)
        Console::writeOut(report.json() + "\n");
    else if (command.check)
        Console::writeOut(report.text());
    if (command.check) // a save would have warned
        noteRunningGame();
}

// Every place the automatic search looks at, and the folder it finds.
ExitStatus where(bool json) {
    const auto result = InstallSearch::search(GamePaths::readInstallFolder());
    Console::writeOut(json ? WhereReport::json(result) + "\n" : WhereReport::text(result));
    if (!result.systemDir.empty()) {
        Startup::SystemDir = result.systemDir;
        noteRunningGame();
    }
    return result.systemDir.empty() ? ExitStatus::NoSystemFolder : ExitStatus::Success;
}

ExitStatus run(const Command& command) {
    switch (command.action) {
    case Command::Action::Help:
        Console::writeOut(helpText());
        return ExitStatus::Success;
    case Command::Action::Version:
        Console::writeOut(versionText());
        return ExitStatus::Success;
    case Command::Action::Where:
        return where(command.json);
    default:
        break;
    }

    // Everything the arguments alone can tell is checked before any folder is looked at.
    const SettingNames::Setting* wanted = nullptr;
    std::vector<AcceptedValue> values;
    if (command.action == Command::Action::Set)
        values = acceptAssignments(command.assignments);
    if (command.action == Command::Action::Get) {
        wanted = SettingNames::find(command.name);
        if (!wanted)
            throw Failure(ExitStatus::Refused,
                          "unknown setting \"" + command.name + "\" (see quillon-settings --help)");
    }
    findSystemFolder(command.systemDir);
    // A set reads, changes and writes the files in one go: another copy saving them meanwhile
    // would have the save refused, so it waits for this one instead.
    std::optional<Startup::FolderHold> hold;
    if (command.action == Command::Action::Set)
        hold.emplace();
    SettingsEditor editor;
    // A folder that cannot be written is told at once: nothing is changed there.
    if (const auto unwritable = unwritableSettingsFolder()) {
        if (command.action == Command::Action::Set)
            throw Failure(ExitStatus::FileProblem, "nothing was written: " + *unwritable);
        Console::writeError("quillon-settings: warning: " + *unwritable + "\n");
    }
    if (command.action == Command::Action::Show)
        show(editor, command.json);
    else if (command.action == Command::Action::Get)
        get(editor, *wanted, command.json);
    else
        set(editor, values, command);
    return ExitStatus::Success;
}

// What the recovery of a save cut short did, each on a line of standard error.
void tellRecoveryNotes(const std::vector<std::string>& notes) {
    for (const auto& note : notes)
        Console::writeError("quillon-settings: note: " + note + "\n");
}

} // namespace

int main(int argc, char** argv) {
    Startup::setGameRunningQuestion(&warnAndSaveWhileTheGameRuns);
    Startup::setRecoveryNotice(&tellRecoveryNotes);
    try {
        return static_cast<int>(run(parseCommandLine(Console::arguments(argc, argv))));
    } catch (const Failure& failure) {
        Console::writeError("quillon-settings: " + std::string(failure.what()) + "\n");
        return static_cast<int>(failure.status());
    } catch (const FolderBusy& busy) {
        Console::writeError("quillon-settings: " + std::string(busy.what()) + "\n");
        return static_cast<int>(ExitStatus::FolderBusy);
    } catch (const std::exception& error) {
        Console::writeError("quillon-settings: " + std::string(error.what()) + "\n");
        return static_cast<int>(ExitStatus::FileProblem);
    }
}
