#include "Startup.h"

#include "FileError.h"
#include "FileIo.h"
#include "NativePath.h"

#include <vector>

namespace Startup {

std::string InstallFolder;
std::string SystemDir;
LineArray QlLoadoutsArray;
LineArray QuillonModArray;
LineArray QuillonUserArray;
LineArray QuillonAIArray;
LineArray QLAuxArray;
bool LoadoutsSaved = false;

namespace {

std::function<void()>& loadoutsReadHook() {
    static std::function<void()> hook;
    return hook;
}

bool startsWithUtf16Mark(const std::string& bytes) {
    return bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                 (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

LineArray readSettingsFile(const std::string& path) {
    const std::string bytes = readFileBytes(path);
    if (startsWithUtf16Mark(bytes))
        throw FileError(path, std::make_error_code(std::errc::illegal_byte_sequence),
                        "the file is UTF-16 text, but settings files must be 8-bit text");
    if (const auto lines = countLines(bytes); lines > MaxLinesPerFile)
        throw FileError(path, std::make_error_code(std::errc::file_too_large),
                        "the file has " + std::to_string(lines) + " lines; at most " +
                            std::to_string(MaxLinesPerFile) + " can be edited");
    return splitLines(bytes);
}

} // namespace

const std::array<SettingsFile, 5>& settingsFiles() {
    static const std::array<SettingsFile, 5> files{{
        {"QLLoadouts.ini", "QlLoadoutsArray", &QlLoadoutsArray},
        {"QuillonMod.ini", "QuillonModArray", &QuillonModArray},
        {"QuillonUser.ini", "QuillonUserArray", &QuillonUserArray},
        {"QuillonAI.ini", "QuillonAIArray", &QuillonAIArray},
        {"QLAux.ini", "QLAuxArray", &QLAuxArray},
    }};
    return files;
}

std::string settingsFilePath(const char* fileName) {
    return NativePath::resolve(SystemDir + fileName);
}

void LoadIniFiles() {
    bool first = true;
    for (const auto& file : settingsFiles()) {
        *file.lines = readSettingsFile(settingsFilePath(file.fileName));
        if (first) {
            LoadoutsSaved = true;
            if (loadoutsReadHook())
                loadoutsReadHook()();
            first = false;
        }
    }
}

void SaveIniFiles() {
    std::vector<FileImage> images;
    images.reserve(settingsFiles().size());
    for (const auto& file : settingsFiles())
        images.push_back({settingsFilePath(file.fileName), joinLines(*file.lines)});
    replaceFiles(images);
}

void setLoadoutsReadHook(std::function<void()> hook) {
    loadoutsReadHook() = std::move(hook);
}

} // namespace Startup
