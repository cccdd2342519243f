#pragma once

#include "install/PathSpace.h"
#include "install/Search.h"
#include "platform/Registry.h"

#include <map>
#include <optional>
#include <string>

namespace InstallSearch {

// A Windows whose registry and drives the routes look into: on Windows the system itself; on
// Linux the Wine prefix in use, whose folders the programs keep in Windows form (the store opens
// them through that prefix), or another Wine prefix, whose folders they name as POSIX paths.
class WindowsView : public PathSpace {
public:
    // The system itself, or the Wine prefix in use.
    static WindowsView thisSystem();
    // Another Wine prefix.
    static WindowsView otherPrefix(const std::string& prefix);

    const std::string& prefix() const { return prefix_; }
    // Whether it is the system itself or the Wine prefix in use.
    bool inUse() const { return inUse_; }

    // The folder a registry value names, in Windows form; nothing when the value is missing or
    // empty, or is not a whole path (a drive or a \\server\share and a folder), which the
    // search is told as a place skipped.
    std::optional<std::string> registryFolder(Search& search, const std::string& route,
                                              Registry::RootKey root, Registry::View view,
                                              const std::string& key, const std::string& value);

    // A Windows path as a registry value or a Steam list writes it ("c:/program files/steam"),
    // with '\' as its only separator.
    static std::string windowsForm(std::string path);

    char separator() const override { return '\\'; }
    std::string native(const std::string& path, NativePath::Listings& listings,
                       bool* onDisk = nullptr) const override;
    std::string forPrograms(const std::string& folder) const override;
    std::string label(const std::string& route) const override;

private:
    WindowsView(std::string prefix, bool inUse);

    std::string prefix_; // empty on Windows
    bool inUse_;         // the system itself, or the prefix in use
    Registry::Reader registry_;
    // The folder a drive of the prefix stands for, its link in dosdevices followed so that a
    // folder reads as where it is (.../drive_c/...); nothing when the prefix lacks the drive or
    // its link leads nowhere. Each drive is looked at once.
    const std::optional<std::string>& driveFolder(char letter) const;
    // A path with a drive letter as a POSIX path through that folder; nothing as above.
    std::optional<std::string> onDrive(const std::string& path) const;

    mutable std::map<char, std::optional<std::string>> drives_;
};

} // namespace InstallSearch
