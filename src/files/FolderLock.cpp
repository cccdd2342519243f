#include "files/FolderLock.h"

#include "files/FileIoSteps.h"

#include <algorithm>
#include <set>
#include <thread>
#include <vector>

using namespace FileIoSteps;

struct FolderLock::Files {
    std::vector<std::string> folders;            // sorted, each once
    std::vector<std::unique_ptr<LockFile>> held; // one a folder, or none where it is not locked
};

FolderBusy::FolderBusy(const std::string& folder)
    : FileError(folder, std::make_error_code(std::errc::device_or_resource_busy),
                "another program is saving these files; try again once it has finished") {}

FolderLock::FolderLock(std::span<const std::string> paths, Mode mode,
                       std::chrono::milliseconds patience)
    : files_(std::make_unique<Files>()), mode_(mode), patience_(patience) {
    std::set<std::string> folders;
    for (const auto& path : paths) {
        folders.insert(folderOf(path));
        folders.insert(folderOf(targetOf(path)));
    }
    files_->folders.assign(folders.begin(), folders.end());
    for (const auto& folder : files_->folders) {
        const std::string path = folder + LockName;
        try {
            files_->held.push_back(std::make_unique<LockFile>(path));
        } catch (const FileError& error) {
            const auto& code = error.code();
            // A folder that is not there has nothing to lock: what the load or save then does
            // with it fails with its own path.
            if (code != std::errc::permission_denied &&
                code != std::errc::operation_not_permitted &&
                code != std::errc::read_only_file_system &&
                code != std::errc::no_such_file_or_directory && code != std::errc::not_a_directory)
                throw;
            files_->held.push_back(nullptr);
        }
    }
    take(mode);
}

FolderLock::~FolderLock() = default;

void FolderLock::take(Mode mode) {
    const bool exclusive = mode == Mode::Exclusive;
    const auto giveUp = std::chrono::steady_clock::now() + patience_;
    for (std::size_t i = 0; i < files_->held.size(); ++i) {
        LockFile* file = files_->held[i].get();
        if (!file)
            continue;
        while (!file->tryLock(exclusive)) {
            if (std::chrono::steady_clock::now() >= giveUp)
                throw FolderBusy(files_->folders[i]);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    mode_ = mode;
}

void FolderLock::makeExclusive() {
    if (mode_ == Mode::Exclusive)
        return;
    for (auto& file : files_->held)
        if (file)
            file->unlock();
    take(Mode::Exclusive);
}
