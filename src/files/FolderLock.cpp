#include "files/FolderLock.h"

#include "files/FileIoSteps.h"

#include <algorithm>
#include <set>
#include <thread>
#include <vector>

using namespace FileIoSteps;

struct FolderLock::Folders {
    std::vector<std::string> names;                 // sorted, each once
    std::vector<std::unique_ptr<FolderLatch>> held; // one a folder, or none where it is not locked
};

FolderBusy::FolderBusy(const std::string& folder)
    : FileError(folder, std::make_error_code(std::errc::device_or_resource_busy),
                "another program is saving these files; try again once it has finished") {}

FolderLock::FolderLock(std::span<const std::string> paths, Mode mode,
                       std::chrono::milliseconds patience)
    : folders_(std::make_unique<Folders>()), mode_(mode), patience_(patience) {
    std::set<std::string> folders;
    for (const auto& path : paths) {
        folders.insert(folderOf(path));
        folders.insert(folderOf(targetOf(path)));
    }
    folders_->names.assign(folders.begin(), folders.end());
    for (const auto& folder : folders_->names)
        folders_->held.push_back(std::make_unique<FolderLatch>(folder));
    take(mode);
}

FolderLock::~FolderLock() = default;

void FolderLock::take(Mode mode) {
    const bool exclusive = mode == Mode::Exclusive;
    const auto giveUp = std::chrono::steady_clock::now() + patience_;
    for (std::size_t i = 0; i < folders_->held.size(); ++i) {
        auto& latch = folders_->held[i];
        while (latch) {
            const auto outcome = latch->tryLock(exclusive);
            if (outcome == FolderLatch::Outcome::Taken)
                break;
            // What the load or save then does with the folder fails, if it does, with its own
            // path and reason.
            if (outcome == FolderLatch::Outcome::Unlockable) {
                latch.reset();
                break;
            }
            if (std::chrono::steady_clock::now() >= giveUp)
                throw FolderBusy(folders_->names[i]);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    mode_ = mode;
}

void FolderLock::makeExclusive() {
    if (mode_ == Mode::Exclusive)
        return;
    for (auto& latch : folders_->held)
        if (latch)
            latch->unlock();
    take(Mode::Exclusive);
}

bool FolderLock::leftLockFile() const {
    return std::any_of(folders_->held.begin(), folders_->held.end(),
                       [](const auto& latch) { return latch && latch->leftLockFile(); });
}
