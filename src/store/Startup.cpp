#include "Startup.h"

#include "FileError.h"
#include "FileIo.h"
#include "NativePath.h"

#include <optional>

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

// What each settings file held when it was last loaded or saved, in file set order; nothing for
// a file not read yet. Kept with the arrays it belongs to.
struct Snapshots {
    std::array<std::optional<FileSnapshot>, 5> files;
    std::array<std::string, 5> paths; // the path each snapshot was taken of
};

Snapshots& snapshots() {
    static Snapshots kept;
    return kept;
}

std::function<void()>& loadoutsReadHook() {
    static std::function<void()> hook;
    return hook;
}

ChangedFilesQuestion& changedFilesQuestion() {
    static ChangedFilesQuestion question;
    return question;
}

bool startsWithUtf16Mark(const std::string& bytes) {
    return bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                 (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

LineArray linesOf(const std::string& path, const std::string& bytes) {
    if (startsWithUtf16Mark(bytes))
        throw FileError(path, std::make_error_code(std::errc::illegal_byte_sequence),
                        "the file is UTF-16 text, but settings files must be 8-bit text");
    if (countLines(bytes, MaxLinesPerFile) > MaxLinesPerFile)
        throw FileError(path, std::make_error_code(std::errc::file_too_large),
                        "the file has more than " + std::to_string(MaxLinesPerFile) +
                            " lines, the most that can be edited");
    return splitLines(bytes);
}

// Refuses a line that would reach the file as two: every line must be one line.
void refuseLineBreaks(const SettingsFile& file, const std::string& path) {
    const LineArray& lines = *file.lines;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        if (holdsLineBreak(lines[i]))
            throw FileError(path, std::make_error_code(std::errc::invalid_argument),
                            "line " + std::to_string(i + 1) + " of " + file.fileName +
                                " holds a line break, which would split it in two");
}

} // namespace

FilesChangedOnDisk::FilesChangedOnDisk(std::vector<std::string> fileNames,
                                       std::vector<std::string> paths)
    : std::runtime_error([&fileNames] {
          std::string text = "changed by another program since it was loaded:";
          for (const auto& name : fileNames)
              text += " " + name;
          return text;
      }()),
      fileNames_(std::move(fileNames)), paths_(std::move(paths)) {}

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
    for (std::size_t i = 0; i < settingsFiles().size(); ++i) {
        const SettingsFile& file = settingsFiles()[i];
        const std::string path = settingsFilePath(file.fileName);
        FileContents contents = readFile(path);
        *file.lines = linesOf(path, contents.bytes);
        snapshots().files[i] = contents.snapshot;
        snapshots().paths[i] = path;
        removeSaveLeftovers(path);
        if (i == 0) {
            LoadoutsSaved = true;
            if (loadoutsReadHook())
                loadoutsReadHook()();
        }
    }
}

void SaveIniFiles() {
    std::vector<FileImage> images;
    images.reserve(settingsFiles().size());
    for (const auto& file : settingsFiles()) {
        const std::string path = settingsFilePath(file.fileName);
        refuseLineBreaks(file, path);
        images.push_back({path, joinLines(*file.lines)});
    }

    std::vector<std::string> changedNames;
    std::vector<std::string> changedPaths;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto& snapshot = snapshots().files[i];
        if (snapshot && snapshots().paths[i] == images[i].path &&
            changedSince(images[i].path, *snapshot)) {
            changedNames.emplace_back(settingsFiles()[i].fileName);
            changedPaths.push_back(images[i].path);
        }
    }
    if (!changedNames.empty() && !(changedFilesQuestion() && changedFilesQuestion()(changedNames)))
        throw FilesChangedOnDisk(std::move(changedNames), std::move(changedPaths));

    for (const auto& image : images)
        removeSaveLeftovers(image.path);
    replaceFiles(images);
    for (std::size_t i = 0; i < images.size(); ++i) {
        snapshots().files[i] = snapshotAfterWrite(images[i].path, images[i].bytes);
        snapshots().paths[i] = images[i].path;
    }
}

void setLoadoutsReadHook(std::function<void()> hook) {
    loadoutsReadHook() = std::move(hook);
}

void setChangedFilesQuestion(ChangedFilesQuestion question) {
    changedFilesQuestion() = std::move(question);
}

} // namespace Startup
