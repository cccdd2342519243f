#pragma once

#include "platform/NativePath.h"

#include <string>

namespace InstallSearch {

// Where the paths a route finds live: Windows paths of this Windows or of a Wine prefix, or the
// POSIX paths of this Linux system. Paths are UTF-8.
class PathSpace {
public:
    virtual ~PathSpace() = default;

    // The separator of its paths.
    virtual char separator() const = 0;
    // The path as this system opens it. The folders read to match its letter case are kept in
    // listings; onDisk (when given) tells whether all of it is there. Throws FileError, naming the
    // path, when it leads nowhere.
    virtual std::string native(const std::string& path, NativePath::Listings& listings,
                               bool* onDisk = nullptr) const = 0;
    // A folder (ending in a separator) as the programs name it in SystemDir.
    virtual std::string forPrograms(const std::string& folder) const = 0;
    // A route's name as the search reports it: the route and where it looked.
    virtual std::string label(const std::string& route) const = 0;

    // parts joined to path with the separator, a separator already ending path kept single.
    std::string join(std::string path, const std::string& parts) const {
        while (!path.empty() && (path.back() == '/' || path.back() == '\\'))
            path.pop_back();
        return path + separator() + parts;
    }
};

} // namespace InstallSearch
