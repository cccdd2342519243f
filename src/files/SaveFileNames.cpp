// The names of a save's own files: temporaries, old copies and commit records.
#include "files/FileIoSteps.h"

#include <charconv>

namespace FileIoSteps {

const std::string NewMark = ".quillon-new-";
const std::string OldMark = ".quillon-old-";
const std::string CommitMark = ".quillon-commit-";
const std::string LockName = ".quillon-lock";

namespace {

constexpr std::size_t MaxUniqueEnding = 32;

bool isUniqueEnding(std::string_view text) {
    if (text.empty() || text.size() > MaxUniqueEnding)
        return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    return true;
}

} // namespace

std::string temporaryNamePrefix(const std::string& target) {
    return target + NewMark + std::to_string(currentProcessId()) + "-";
}

std::string withMark(const std::string& temporary, const std::string& mark) {
    const auto at = temporary.rfind(NewMark);
    return temporary.substr(0, at) + mark + temporary.substr(at + NewMark.size());
}

std::optional<std::uint64_t> ownerOf(std::string_view name, std::string_view base,
                                     std::string_view mark) {
    if (name.size() <= base.size() + mark.size() ||
        !sameFileName(name.substr(0, base.size()), base))
        return std::nullopt;
    const std::string_view rest = name.substr(base.size());
    if (!rest.starts_with(mark))
        return std::nullopt;
    const std::string_view tail = rest.substr(mark.size());
    std::uint64_t owner = 0;
    const char* const end = tail.data() + tail.size();
    const auto [dash, error] = std::from_chars(tail.data(), end, owner);
    if (error != std::errc{} || dash == tail.data() || dash == end || *dash != '-' ||
        !isUniqueEnding(std::string_view(dash + 1, static_cast<std::size_t>(end - dash - 1))))
        return std::nullopt;
    return owner;
}

} // namespace FileIoSteps
