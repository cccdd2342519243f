#include "FileIo.h"

#include "FileError.h"
#include "FileIoSteps.h"

using namespace FileIoSteps;

namespace {

void removeLeftovers(const std::vector<PendingFile>& files) {
    for (const auto& file : files) {
        if (!file.temporary.empty())
            removeFile(file.temporary);
        if (!file.backup.empty())
            removeFile(file.backup);
    }
}

// Puts files 0 to failed back as they were before the save; returns those that could not be.
std::string putBack(std::vector<PendingFile>& files, std::size_t failed) {
    std::string unrestored;
    auto note = [&unrestored](const std::string& what) {
        unrestored += (unrestored.empty() ? "" : ", ") + what;
    };
    for (std::size_t j = 0; j <= failed; ++j) {
        PendingFile& file = files[j];
        if (!file.backup.empty()) {
            // The backup name is removed with the leftovers: a rename between two names of one
            // file leaves both.
            if (!restoreOldFile(file))
                note(file.requested);
        } else if (j < failed && !file.existed) {
            if (!removeFile(file.target))
                note(file.requested);
        } else if (j == failed && file.existed && !exists(file.target)) {
            // The old file went and the new one did not come: keep the new contents.
            note(file.requested + " (its new contents are in " + file.temporary + ")");
            file.temporary.clear();
        } else if (j < failed) {
            note(file.requested); // replaced, and no old copy to put back
        }
        if (j < failed)
            file.temporary.clear(); // already moved into place
    }
    return unrestored;
}

} // namespace

void replaceFiles(std::span<const FileImage> images) {
    replaceFiles(images, moveIntoPlace);
}

void replaceFiles(std::span<const FileImage> images, const MoveIntoPlace& move) {
    std::vector<PendingFile> files;
    files.reserve(images.size());
    try {
        for (const auto& image : images) {
            PendingFile file{image.path, targetOf(image.path), false, {}, {}};
            file.existed = exists(file.target);
            files.push_back(std::move(file));
            writeTemporary(files.back(), image.bytes);
        }
    } catch (...) {
        removeLeftovers(files);
        throw;
    }

    // Each old file stays reachable until every new one is in place, so that a failure part way
    // through can put back the ones already replaced.
    for (auto& file : files)
        if (file.existed)
            file.backup = keepOldFile(file);

    for (std::size_t i = 0; i < files.size(); ++i) {
        if (move(files[i].temporary, files[i].target))
            continue;
        const auto reason = lastSystemError();
        const std::string unrestored = putBack(files, i);
        removeLeftovers(files);
        if (unrestored.empty())
            throw FileError(files[i].requested, reason);
        throw FileError(files[i].requested, reason,
                        reason.message() +
                            "; these files could not be put back as they were: " + unrestored);
    }
    for (auto& file : files)
        file.temporary.clear();
    removeLeftovers(files);
    flushFolders(files);
}
