#include "loadouts/LoadoutLines.h"

#include "platform/Utf8.h"
#include "store/FileText.h"
#include "store/Startup.h"
#include "store/SwitchValue.h"

#include <string_view>

namespace Functions {

std::array<std::string, LoadoutCount> LoadoutNames;

namespace {

constexpr std::size_t FirstLoadoutLine = 1; // array index of line 2
constexpr std::size_t LoadoutPrefixLength = 16;
constexpr std::size_t ForceBuyLine = 21; // array index of line 22
constexpr std::size_t ForceBuyKeyLength = 13;
constexpr const char* ForceBuyKey = "bForceBuying=";

const char* const LoadoutsFileName = "QLLoadouts.ini";
const char* const ModFileName = "QuillonMod.ini";

// A loaded array holds its lines followed by one spare element.
std::size_t lineCount(const LineArray& lines) {
    return lines.empty() ? 0 : lines.size() - 1;
}

std::string whatCannotBeDone(const char* doing) {
    return std::string("The loadouts cannot be ") + doing + ": ";
}

std::optional<LoadoutsRefused> tooFewLines(const char* doing, const char* fileName,
                                           std::size_t have, std::size_t need) {
    return LoadoutsRefused(whatCannotBeDone(doing) + fileName + " has only " +
                               std::to_string(have) + " lines, and line " + std::to_string(need) +
                               " is needed.",
                           Startup::settingsFilePath(fileName));
}

std::optional<LoadoutsRefused> lineTooShort(const char* doing, const char* fileName,
                                            std::size_t index, std::size_t need) {
    return LoadoutsRefused(whatCannotBeDone(doing) + "line " + std::to_string(index + 1) + " of " +
                               fileName + " is shorter than " + std::to_string(need) +
                               " characters.",
                           Startup::settingsFilePath(fileName));
}

// Where the value of a line starts, after its key of a fixed number of characters in the file's
// encoding: the lines have the shape loadoutShapeProblem asks for.
std::size_t valueStart(const LineArray& lines, TextEncoding encoding, std::size_t index,
                       std::size_t keyLength) {
    return *FileText::characterBytes(encoding, lines[index], keyLength);
}

// The name a loadout line holds, as bytes.
std::string_view loadoutName(std::size_t box, TextEncoding encoding) {
    const LineArray& lines = Startup::QlLoadoutsArray;
    const std::size_t index = FirstLoadoutLine + box;
    return lines[index].substr(valueStart(lines, encoding, index, LoadoutPrefixLength));
}

// The UTF-8 form of the character at text[i] (both halves of a surrogate pair), for a message.
std::string utf8Character(std::u16string_view text, std::size_t i) {
    const bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size();
    return utf8FromUtf16(text.substr(i, pair ? 2 : 1));
}

// The boxes' names as bytes. A box that still shows what its line holds gives back the line's own
// bytes; an edited one is encoded in the file's encoding, and the first box holding a line break
// or a character the encoding lacks is refused.
std::array<std::string, LoadoutCount> namesFromBoxes(const LoadoutsForm& form,
                                                     TextEncoding encoding) {
    std::array<std::string, LoadoutCount> names;
    for (std::size_t box = 0; box < LoadoutCount; ++box) {
        const std::u16string text = form.loadoutText(box);
        const std::string current(loadoutName(box, encoding));
        if (text == FileText::decode(encoding, current)) {
            names[box] = current;
            continue;
        }
        if (const auto lineBreak = text.find_first_of(u"\r\n"); lineBreak != std::u16string::npos)
            throw LoadoutsRefused(whatCannotBeDone("saved") + "the name in " +
                                      loadoutBoxCaption(box) + " holds a line break (character " +
                                      std::to_string(lineBreak + 1) +
                                      "), which would split its line in two. Nothing was written.",
                                  {}, box);
        std::size_t bad = 0;
        auto bytes = FileText::encode(encoding, text, &bad);
        if (!bytes)
            throw LoadoutsRefused(
                whatCannotBeDone("saved") + "the name in " + loadoutBoxCaption(box) + " holds \"" +
                    utf8Character(text, bad) + "\" (character " + std::to_string(bad + 1) +
                    "), which the settings files cannot hold. Nothing was written.",
                {}, box);
        names[box] = std::move(*bytes);
    }
    return names;
}

void enterSavedState(LoadoutsForm& form) {
    form.disableSave();
    Startup::LoadoutsSaved = true;
}

} // namespace

LoadoutsRefused::LoadoutsRefused(std::string problem, std::string path,
                                 std::optional<std::size_t> box)
    : Error(problem), problem_(std::move(problem)), path_(std::move(path)), box_(box) {}

std::string loadoutBoxCaption(std::size_t box) {
    return std::string(box < 4 ? "Thief" : "Guard") + " loadout " + std::to_string(box % 4 + 1);
}

std::optional<LoadoutsRefused> loadoutShapeProblem(const char* doing) {
    const LineArray& loadouts = Startup::QlLoadoutsArray;
    const std::size_t lastLoadoutLine = FirstLoadoutLine + LoadoutCount - 1;
    if (lineCount(loadouts) <= lastLoadoutLine)
        return tooFewLines(doing, LoadoutsFileName, lineCount(loadouts), lastLoadoutLine + 1);
    for (std::size_t k = FirstLoadoutLine; k <= lastLoadoutLine; ++k)
        if (!FileText::characterBytes(FileText::encodingOf(loadouts), loadouts[k],
                                      LoadoutPrefixLength))
            return lineTooShort(doing, LoadoutsFileName, k, LoadoutPrefixLength);

    const LineArray& mod = Startup::QuillonModArray;
    if (lineCount(mod) <= ForceBuyLine)
        return tooFewLines(doing, ModFileName, lineCount(mod), ForceBuyLine + 1);
    if (!FileText::characterBytes(FileText::encodingOf(mod), mod[ForceBuyLine], ForceBuyKeyLength))
        return lineTooShort(doing, ModFileName, ForceBuyLine, ForceBuyKeyLength);
    return std::nullopt;
}

void ReadLoadouts(LoadoutsForm& form) {
    if (auto problem = loadoutShapeProblem("read"))
        throw *problem;
    const TextEncoding encoding = FileText::encodingOf(Startup::QlLoadoutsArray);
    for (std::size_t k = 0; k < LoadoutCount; ++k)
        LoadoutNames[k] = std::string(loadoutName(k, encoding));
    for (std::size_t k = 0; k < LoadoutCount; ++k)
        form.setLoadoutText(k, FileText::decode(encoding, LoadoutNames[k]));
    const LineArray& mod = Startup::QuillonModArray;
    const std::string_view forceBuy = mod[ForceBuyLine].substr(
        valueStart(mod, FileText::encodingOf(mod), ForceBuyLine, ForceBuyKeyLength));
    form.setForceBuyValue(SwitchValue::isOn(forceBuy) ? 1 : 0);
    enterSavedState(form);
}

void StoreLoadouts(const LoadoutsForm& form) {
    if (auto problem = loadoutShapeProblem("saved"))
        throw *problem;
    const TextEncoding encoding = FileText::encodingOf(Startup::QlLoadoutsArray);
    LoadoutNames = namesFromBoxes(form, encoding);
    for (std::size_t k = 0; k < LoadoutCount; ++k) {
        LineArray& lines = Startup::QlLoadoutsArray;
        const std::size_t index = FirstLoadoutLine + k;
        lines.set(index, std::string(lines[index].substr(
                             0, valueStart(lines, encoding, index, LoadoutPrefixLength))) +
                             LoadoutNames[k]);
    }
    Startup::QuillonModArray.set(ForceBuyLine,
                                 std::string(ForceBuyKey) +
                                     std::string(SwitchValue::text(form.forceBuyValue() == 1)));
}

void WriteLoadouts(LoadoutsForm& form) {
    if (auto problem = loadoutShapeProblem("saved"))
        throw *problem;
    // Kept so that a failed save leaves the arrays holding what the files hold.
    std::array<std::string, LoadoutCount> oldLoadoutLines;
    for (std::size_t k = 0; k < LoadoutCount; ++k)
        oldLoadoutLines[k] = Startup::QlLoadoutsArray[FirstLoadoutLine + k];
    const std::string oldForceBuyLine(Startup::QuillonModArray[ForceBuyLine]);

    StoreLoadouts(form);
    try {
        Startup::SaveIniFiles();
    } catch (...) {
        for (std::size_t k = 0; k < LoadoutCount; ++k)
            Startup::QlLoadoutsArray.set(FirstLoadoutLine + k, oldLoadoutLines[k]);
        Startup::QuillonModArray.set(ForceBuyLine, oldForceBuyLine);
        throw;
    }
    enterSavedState(form);
}

} // namespace Functions
