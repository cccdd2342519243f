#pragma once

#include "install/Search.h"

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace InstallSearch::Routes {

// The entries directly in a folder, in the order of their names; nothing, the search told why,
// when it cannot be listed ("no folder" when it is not there).
std::optional<std::vector<std::filesystem::path>>
entriesIn(Search& search, const std::string& route, const std::filesystem::path& folder);

// The Wine prefixes of other programs (Proton's, Lutris', Heroic's, Bottles', PlayOnLinux's,
// Minigalaxy's), each searched as a Windows of its own, and each once: the prefix in use has been
// searched already, as this system.
class WinePrefixes {
public:
    explicit WinePrefixes(Search& search);

    // Whether the folder is a Wine prefix (it holds system.reg and drive_c), or holds one made
    // for Proton (by Steam, Heroic or Lutris) as its pfx.
    bool holdsPrefix(const std::filesystem::path& folder) const;
    // Searches one folder when it is a Wine prefix not looked in yet, or its pfx when that is
    // one; what is no prefix, or cannot be read, is reported with why.
    void lookIn(const std::string& route, const std::filesystem::path& folder);
    // Searches each folder directly in a folder, in the order of their names.
    void lookInEachIn(const std::string& route, const std::filesystem::path& parent);
    // The folder as one prefix when it is one, else each prefix in it.
    void lookInPrefixOrEachIn(const std::string& route, const std::filesystem::path& folder);
    // Searches each folder in the folder that a value of a program's YAML settings names (its
    // keys from the root), when the settings are there (the program was set up). Settings that
    // cannot be read or are not YAML are passed over with why.
    void lookInEachNamedBy(const std::string& route, const std::string& settings,
                           std::initializer_list<std::string_view> keys);

private:
    Search& search_;
};

} // namespace InstallSearch::Routes
