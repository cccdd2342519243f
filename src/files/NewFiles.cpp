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
        const bool free = moveToFreeName(temporary, to);
        const auto reason = lastSystemError();
        if (!free)
            removeFile(temporary);
        if (!free && !exists(to))
            throw FileError(to, reason);
        flushFolder(folderOf(to));
        return free;
    } catch (const FileError&) {
        throw;
    } catch (const std::system_error& error) {
        if (!temporary.empty())
            removeFile(temporary);
        throw FileError(to, error.code());
    }
}

void refuseUnwritableFolder(const std::string& folder, const std::string& fileName) {
    std::string separated = folder;
    if (separated.empty() ||
        std::string(PathSeparators).find(separated.back()) == std::string::npos)
        separated += PathSeparators[0];
    try {
        NewFile probe(temporaryNamePrefix(separated + fileName), {});
        probe.close();
        removeFile(probe.name());
    } catch (const std::system_error& error) {
        throw FileError(folder, error.code());
    }
}
