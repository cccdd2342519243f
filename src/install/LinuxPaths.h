#pragma once

#include "install/PathSpace.h"

#include "platform/NativePath.h"

namespace InstallSearch {

// The POSIX paths of this Linux system, for the routes that look beyond Wine's drives. A file's
// name is matched ignoring letter case where its exact spelling is missing; so is a folder's,
// when the search looks at it.
class LinuxPaths : public PathSpace {
public:
    char separator() const override { return '/'; }
    std::string native(const std::string& path, NativePath::Listings& listings,
                       bool* onDisk = nullptr) const override {
        return NativePath::resolve(path, {}, &listings, onDisk); // no drive letters: no prefix
    }
    std::string forPrograms(const std::string& folder) const override { return folder; }
    std::string label(const std::string& route) const override { return route; }
};

} // namespace InstallSearch
