// An all-or-nothing save of several files: every new file is written and flushed beside its
// target before the first is renamed over it.
#include "FileIo.h"

#include "FileError.h"
#include "FileIoSteps.h"

#include <set>

using namespace FileIoSteps;

namespace {

// The steps of one save, each put to the hook first.
class Steps {
public:
    explicit Steps(const SaveStepHook& hook) : hook_(hook) {}

    // Throws the error a refused step fails with.
    void take(SaveStep step, const std::string& path) const {
        if (hook_ && !hook_(step, path))
            throw std::system_error(std::make_error_code(std::errc::io_error));
    }
    // A new file of these bytes under prefix, flushed; its name is handed to named as soon as it
    // exists, so that a failure after that still finds it. Throws std::system_error.
    void writeNew(const std::string& prefix, const std::string& model, std::string_view bytes,
                  std::string& named) const {
        take(SaveStep::Create, prefix);
        NewFile file(prefix, model);
        named = file.name();
        take(SaveStep::Write, named);
        file.write(bytes);
        take(SaveStep::Flush, named);
        file.flush();
        file.close();
    }
    // A rename or a second name; the reason when it failed, nothing when it was made.
    std::error_code rename(SaveStep step, const std::string& from, const std::string& to) const {
        if (hook_ && !hook_(step, from))
            return std::make_error_code(std::errc::io_error);
        const bool made = step == SaveStep::KeepOld ? keepOldFile(from, to) : renameFile(from, to);
        return made ? std::error_code() : lastSystemError();
    }
    bool remove(const std::string& path) const {
        return (!hook_ || hook_(SaveStep::Remove, path)) && removeFile(path);
    }
    void flushFolders(const std::vector<PendingFile>& files) const {
        std::set<std::string> folders;
        for (const auto& file : files)
            folders.insert(folderOf(file.target));
        for (const auto& folder : folders)
            if (!hook_ || hook_(SaveStep::FlushFolder, folder))
                flushFolder(folder);
    }

private:
    const SaveStepHook& hook_;
};

// Refuses a read-only target, then writes the new contents beside it.
void writeTemporary(const Steps& steps, PendingFile& file, std::string_view bytes) {
    refuseUnwritable(file.requested, file.target);
    try {
        steps.writeNew(temporaryNamePrefix(file.target), file.target, bytes, file.temporary);
    } catch (const std::system_error& e) {
        if (!file.temporary.empty())
            throw FileError(file.requested, e.code());
        throw FileError(file.requested, e.code(),
                        "cannot create a temporary file in " + folderOf(file.target) + ": " +
                            e.code().message());
    }
}

void removeTemporaries(const Steps& steps, const std::vector<PendingFile>& files) {
    for (const auto& file : files) {
        if (!file.temporary.empty())
            steps.remove(file.temporary);
        if (!file.backup.empty())
            steps.remove(file.backup);
    }
}

// Puts files 0 to failed back as they were before the save; returns those that could not be.
std::string putBack(const Steps& steps, std::vector<PendingFile>& files, std::size_t failed) {
    std::string unrestored;
    auto note = [&unrestored](const std::string& what) {
        unrestored += (unrestored.empty() ? "" : ", ") + what;
    };
    for (std::size_t j = 0; j <= failed; ++j) {
        PendingFile& file = files[j];
        if (!file.backup.empty()) {
            // The backup name is removed with the temporaries: a rename between two names of one
            // file leaves both.
            if (steps.rename(SaveStep::Rename, file.backup, file.target))
                note(file.requested);
        } else if (j < failed && !file.existed) {
            if (!steps.remove(file.target))
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

std::vector<std::uint64_t> replaceFiles(std::span<const std::string> paths,
                                        const std::function<ByteBlock(std::size_t)>& bytesOf,
                                        const SaveStepHook& hook) {
    const Steps steps(hook);
    std::vector<PendingFile> files;
    files.reserve(paths.size());
    std::vector<std::uint64_t> hashes;
    try {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            PendingFile file;
            file.requested = paths[i];
            file.target = targetOf(paths[i]);
            file.existed = exists(file.target);
            files.push_back(std::move(file));
            const ByteBlock bytes = bytesOf(i);
            hashes.push_back(hashOf(bytes.view()));
            writeTemporary(steps, files.back(), bytes.view());
        }
        if (files.empty())
            return hashes;
        // Each old file stays reachable until every new one is in place, so that a failure part
        // way through can put back the ones already replaced.
        for (auto& file : files) {
            const std::string backup = withMark(file.temporary, OldMark);
            if (file.existed && !steps.rename(SaveStep::KeepOld, file.target, backup))
                file.backup = backup;
        }
    } catch (...) {
        removeTemporaries(steps, files);
        throw;
    }

    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto reason = steps.rename(SaveStep::Rename, files[i].temporary, files[i].target);
        if (!reason)
            continue;
        const std::string unrestored = putBack(steps, files, i);
        removeTemporaries(steps, files);
        if (unrestored.empty())
            throw FileError(files[i].requested, reason);
        throw FileError(files[i].requested, reason,
                        reason.message() +
                            "; these files could not be put back as they were: " + unrestored);
    }
    steps.flushFolders(files);
    for (const auto& file : files)
        if (!file.backup.empty())
            steps.remove(file.backup);
    return hashes;
}
