#include "platform/FolderNames.h"

#include "platform/AsciiCase.h"

FolderNames::FolderNames(std::vector<std::string> names) : names_(std::move(names)) {
    byFoldedName_.reserve(names_.size());
    for (std::size_t i = 0; i < names_.size(); ++i)
        byFoldedName_[AsciiCase::toLower(names_[i])].push_back(i);
}

FolderNames FolderNames::unreadable(std::error_code reason) {
    FolderNames names;
    names.failure_ = reason;
    return names;
}

bool FolderNames::holds(std::string_view name) const {
    const auto found = byFoldedName_.find(AsciiCase::toLower(name));
    if (found == byFoldedName_.end())
        return false;
    for (const std::size_t i : found->second)
        if (names_[i] == name)
            return true;
    return false;
}

std::vector<std::string_view> FolderNames::matching(std::string_view name) const {
    std::vector<std::string_view> names;
    const auto found = byFoldedName_.find(AsciiCase::toLower(name));
    if (found == byFoldedName_.end())
        return names;
    for (const std::size_t i : found->second)
        names.insert(names_[i] == name ? names.begin() : names.end(), names_[i]);
    return names;
}
