#pragma once

#include "platform/FolderIdentity.h"
#include "platform/FolderNames.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

// Game paths are written as the game's users write them: Windows form ("C:\Games\Unreal
// Tournament\System\QLLoadouts.ini"), or on Linux also POSIX form ("/home/me/ut/System/").
// This turns them into paths the operating system opens.
namespace NativePath {

// The names in folders, each folder read once, for a run of look-ups that expects no change on
// disk meanwhile: a search of many places reads its drives' top folders once, not once a place.
// A folder reached by two spellings or through a link is read once too (judged by its identity).
// Not used on Windows.
class Listings {
public:
    // The names in the folder; none when it cannot be read (their failure says why).
    const FolderNames& namesIn(const std::string& folder);
    // The names in the folder when it has been read by that path; nothing otherwise.
    const FolderNames* known(const std::string& folder) const;
    // The folder on the way to a path (the path itself or a folder it is in) that was there but
    // could not be read, and the system's reason; nothing when none was.
    std::optional<std::pair<std::string, std::error_code>>
    unreadableOnWayTo(const std::string& path) const;

private:
    std::unordered_map<std::string, std::shared_ptr<const FolderNames>> byPath_;
    std::map<FolderIdentity, std::shared_ptr<const FolderNames>> byIdentity_;
};

// The names in a folder, read now and not kept; none, with the system's reason, when it cannot be
// read. Not used on Windows.
FolderNames readFolderNames(const std::string& folder);

// On Windows the path itself. Elsewhere a Windows-form path is looked up through the Wine
// prefix's dosdevices folder, and each part of the path is matched ignoring letter case when
// its exact spelling does not exist. A part that matches nothing is kept as written, so the
// path still names what was missing.
std::string resolve(const std::string& gamePath);

// The same in the given Wine prefix rather than the one in use, with the listings of folders
// read so far (when given); onDisk (when given) tells whether every part was found. On Windows
// the path itself.
std::string resolve(const std::string& gamePath, const std::string& prefix,
                    Listings* listings = nullptr, bool* onDisk = nullptr);

// Whether a typed path uses '/' as its separator (POSIX form). Always false on Windows.
bool isPosixForm(const std::string& gamePath);

// The Wine prefix in use: $WINEPREFIX, else ~/.wine. Empty on Windows.
std::string winePrefix();

} // namespace NativePath
