#pragma once

#include "files/FileError.h"

#include <chrono>
#include <memory>
#include <span>
#include <string>

// The lock of the folders whose files a load or a save reads and writes: the folder of each path
// and of each path's link target. Loads share it; a save, and the recovery of a save cut short,
// hold it alone, from before their first temporary until after their last removal. It is a lock
// of the operating system (FileIoSteps::FolderLatch says on what), which the system drops when
// the process ends, however it ends: a save whose lock is not held is over. Once no program holds
// it, it leaves nothing in the folder.
//
// A folder that is not there, or that this user may neither lock nor make a lock file in, is not
// locked: no save of this user can be made there, and a load reads it as it stands.
class FolderLock {
public:
    enum class Mode { Shared, Exclusive };
    // How long a program waits for another's lock to go before it gives up.
    static constexpr std::chrono::milliseconds Patience{5000};

    // Takes the lock of every folder, in one order for every program. Throws FolderBusy when
    // another program still holds one after patience, FileError when the system fails otherwise.
    FolderLock(std::span<const std::string> paths, Mode mode,
               std::chrono::milliseconds patience = Patience);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Makes a shared lock exclusive. The shared lock is let go first, so that two loads that both
    // want to recover cannot wait on each other: what was seen under it must be looked at again.
    void makeExclusive();
    Mode mode() const { return mode_; }
    // Whether a lock file that a program which ended left stands in one of the folders: taking
    // the lock alone takes it away.
    bool leftLockFile() const;

private:
    void take(Mode mode);

    struct Folders;
    std::unique_ptr<Folders> folders_;
    Mode mode_;
    std::chrono::milliseconds patience_;
};

// Another program holds the lock of the files' folder: it is saving them (or reading them) and
// has not finished within FolderLock::Patience. Nothing was read or written.
class FolderBusy : public FileError {
public:
    explicit FolderBusy(const std::string& folder);
};
