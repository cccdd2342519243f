#pragma once

#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <vector>

// The names in one folder as it was read once, each found by its spelling or ignoring the letter
// case of ASCII letters in constant time, however many names the folder holds: a search that
// looks up thousands of names in a folder of thousands costs the one read and a lookup a name.
class FolderNames {
public:
    FolderNames() = default;
    explicit FolderNames(std::vector<std::string> names);
    // A folder that could not be read, and the system's reason.
    static FolderNames unreadable(std::error_code reason);

    // The names in the order the folder gave them.
    const std::vector<std::string>& all() const { return names_; }
    // Whether a name is there spelt exactly so.
    bool holds(std::string_view name) const;
    // Every name there equal to it ignoring ASCII letter case, its exact spelling first.
    std::vector<std::string_view> matching(std::string_view name) const;
    // Why the folder could not be read; no error when it was read.
    const std::error_code& failure() const { return failure_; }

private:
    std::vector<std::string> names_;
    std::unordered_map<std::string, std::vector<std::size_t>> byFoldedName_;
    std::error_code failure_;
};
