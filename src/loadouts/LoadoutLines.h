#pragma once

#include "platform/Error.h"
#include "store/Startup.h"

#include <array>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>

// The player's eight loadout names (lines 2 to 9 of QLLoadouts.ini) and the force-buy switch
// (line 22 of QuillonMod.ini), addressed by fixed position, moved between the line arrays and
// the loadouts window.
namespace Functions {

inline constexpr std::size_t LoadoutCount = 8;
// Most characters a user may type into a loadout name.
inline constexpr int LoadoutTypingLimit = 30;

// The names as bytes, thief 1 to 4 then guard 1 to 4: the staging place between the window's
// boxes and the loadout lines, overwritten as a whole by ReadLoadouts and WriteLoadouts.
extern std::array<std::string, LoadoutCount> LoadoutNames;

// What reading and writing the loadout lines need of the loadouts window.
class LoadoutsForm {
public:
    virtual ~LoadoutsForm() = default;

    // Box 0 to 7: txtthief1 to txtthief4, then txtguard1 to txtguard4; the text as shown.
    virtual std::u16string loadoutText(std::size_t box) const = 0;
    virtual void setLoadoutText(std::size_t box, const std::u16string& text) = 0;
    // chkforcebuy: 0 unchecked, 1 checked.
    virtual int forceBuyValue() const = 0;
    virtual void setForceBuyValue(int value) = 0;
    virtual void disableSave() = 0;

protected:
    LoadoutsForm() = default;
    LoadoutsForm(const LoadoutsForm&) = default;
    LoadoutsForm& operator=(const LoadoutsForm&) = default;
};

// Reading or writing the loadouts was refused before anything changed. problem() says why in
// words for the user (UTF-8); path() is the native path of the file concerned, empty when the
// refusal is about a box's text; box() is that box (0 to 7), nothing when it is about a file.
class LoadoutsRefused : public Error {
public:
    LoadoutsRefused(std::string problem, std::string path = {},
                    std::optional<std::size_t> box = std::nullopt);

    const std::string& problem() const noexcept { return problem_; }
    const std::string& path() const noexcept { return path_; }
    std::optional<std::size_t> box() const noexcept { return box_; }

private:
    std::string problem_;
    std::string path_;
    std::optional<std::size_t> box_;
};

// The caption a user knows box 0 to 7 by: "Thief loadout 1" ... "Guard loadout 4".
std::string loadoutBoxCaption(std::size_t box);

// Why the two line arrays cannot hold the loadouts: QLLoadouts.ini needs at least 9 lines with
// lines 2 to 9 at least 16 characters long, QuillonMod.ini at least 22 lines with line 22 at
// least 13 characters long (characters in the file's own encoding, as a box counts them).
// Nothing when they can.
std::optional<LoadoutsRefused> loadoutShapeProblem(const char* doing);

// Fills the window's boxes and check box from the line arrays, then puts it into the saved state
// (save disabled, LoadoutsSaved true). The force-buy box is checked when the value is True in
// any letter case, or 1. Throws LoadoutsRefused, the window untouched, when the arrays lack the
// shape above.
void ReadLoadouts(LoadoutsForm& form);

// Stores the window's names and check box into the line arrays and writes no file. A name the
// user has not changed is stored as the bytes its line holds; an edited one in its file's
// encoding. Throws LoadoutsRefused, nothing changed, when the arrays lack the shape above or an
// edited box holds a line break or a character that encoding cannot hold.
void StoreLoadouts(const LoadoutsForm& form);

// StoreLoadouts, then writes all five files and puts the window into the saved state. Throws
// LoadoutsRefused as StoreLoadouts does, and FileError when the files cannot be written; then the
// arrays are put back as they were, no file has changed and the window stays unsaved.
void WriteLoadouts(LoadoutsForm& form);

} // namespace Functions
