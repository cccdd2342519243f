#include "files/NewFiles.h"

#include "files/FileError.h"
#include "files/FileIo.h"
#include "files/FileIoSteps.h"

using namespace FileIoSteps;

bool copyToFreeName(const std::string& from, const std::string& to) {
    if (exists(to))
        return false;
    const FileContents contents = readFile(from);
    std::string temporary;
    try {
        NewFile file(temporaryNamePrefix(to), {});
        temporary = file.name();
        file.write(contents.bytes->view());
        file.flush();
        file.close();
        if (!moveToFreeName(temporary, to)) {
            removeFile(temporary);
            return false;
        }
        flushFolder(folderOf(to));
        return true;
    } catch (const FileError& error) {
        if (!temporary.empty())
            removeFile(temporary);
        throw FileError(to, error.code(), error.reason());
    }
}

void refuseUnwritableFolder(const std::string& folder, const std::string& fileName) {
    std::string separated = folder;
    if (separated.empty() ||
        std::string(PathSeparators).find(separated.back()) == std::string::npos)
        separated += PathSeparators[0];
    if (const auto why = whyFolderUnwritable(separated, fileName))
        throw FileError(folder, why);
}
