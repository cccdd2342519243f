#include "files/CommitRecord.h"

#include "files/FileIo.h"
#include "files/FileIoSteps.h"

#include <charconv>

using namespace FileIoSteps;

namespace {

constexpr std::string_view Header = "quillon-commit 2\n";
// What the previous version wrote: the same, without the old contents' size and hash.
constexpr std::string_view HeaderOfVersion1 = "quillon-commit 1\n";

std::string hex(std::uint64_t value) {
    std::string text(16, '0');
    char digits[16];
    const auto end = std::to_chars(digits, digits + 16, value, 16).ptr;
    const auto count = static_cast<std::size_t>(end - digits);
    text.replace(16 - count, count, digits, count);
    return text;
}

// The last line: "end", a space and the hash of every line before it.
std::string endLine(std::string_view before) {
    std::string line = "end ";
    line += hex(hashOf(before));
    return line += '\n';
}

[[noreturn]] void refuse(const std::string& why) {
    throw RecordRefused(why);
}

std::uint64_t number(std::string_view text, int base, const char* what) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
        (base == 16 && text != hex(value)))
        refuse(std::string("its ") + what + " is not a number");
    return value;
}

bool isBareName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(PathSeparators) == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// The record's lines, each a keyword, a space and a value, taken in turn.
class RecordLines {
public:
    explicit RecordLines(std::string_view text) : rest_(text) {}
    bool empty() const { return rest_.empty(); }
    std::string value(std::string_view keyword) {
        const auto end = rest_.find('\n');
        const std::string_view line = rest_.substr(0, end);
        if (end == std::string_view::npos || !line.starts_with(keyword) ||
            line.size() == keyword.size() || line[keyword.size()] != ' ')
            refuse(std::string("it has no \"").append(keyword).append("\" line where one belongs"));
        rest_.remove_prefix(end + 1);
        return std::string(line.substr(keyword.size() + 1));
    }

private:
    std::string_view rest_;
};

} // namespace

std::string commitRecordText(std::span<const CommitEntry> entries) {
    std::string text(Header);
    for (const auto& entry : entries) {
        text += "file " + entry.file + "\ntarget " + entry.target + "\nnew " + entry.temporary +
                "\nold " + entry.oldCopy + "\noldsize " + std::to_string(entry.oldSize) +
                "\noldhash " + hex(entry.oldHash) + "\nsize " + std::to_string(entry.size) +
                "\nhash " + hex(entry.hash) + "\n";
    }
    text += endLine(text);
    return text;
}

std::vector<CommitEntry> parseCommitRecord(std::string_view text, std::uint64_t owner,
                                           std::span<const std::string> fileNames) {
    const bool version1 = text.starts_with(HeaderOfVersion1);
    if (!text.starts_with(Header) && !version1)
        refuse("it does not begin as a commit record does");
    const auto endAt = text.rfind("\nend ");
    const std::string_view body = text.substr(0, endAt + 1);
    if (endAt == std::string_view::npos || text.substr(endAt + 1) != endLine(body))
        refuse("it is not whole");

    std::vector<CommitEntry> entries;
    std::vector<bool> named(fileNames.size());
    static_assert(Header.size() == HeaderOfVersion1.size());
    RecordLines lines(body.substr(Header.size()));
    while (!lines.empty()) {
        CommitEntry entry;
        entry.file = lines.value("file");
        entry.target = lines.value("target");
        entry.temporary = lines.value("new");
        entry.oldCopy = lines.value("old");
        entry.oldKnown = !version1;
        if (!version1) {
            entry.oldSize = number(lines.value("oldsize"), 10, "oldsize");
            entry.oldHash = number(lines.value("oldhash"), 16, "oldhash");
        }
        entry.size = number(lines.value("size"), 10, "size");
        entry.hash = number(lines.value("hash"), 16, "hash");
        std::size_t i = 0;
        while (i < fileNames.size() && !sameFileName(entry.file, fileNames[i]))
            ++i;
        if (i == fileNames.size())
            refuse("it names " + entry.file + ", which is not one of the settings files");
        if (named[i])
            refuse("it names " + entry.file + " twice");
        named[i] = true;
        if (!isBareName(entry.target))
            refuse("it names " + entry.target + " as the file replaced, which is no bare name");
        if (ownerOf(entry.temporary, entry.target, NewMark) != owner)
            refuse("it names " + entry.temporary + ", which is no temporary of its own save");
        if (!entry.oldCopy.empty() && entry.oldCopy != withMark(entry.temporary, OldMark))
            refuse("it names " + entry.oldCopy + ", which is no old copy of its own save");
        entries.push_back(std::move(entry));
    }
    if (entries.empty())
        refuse("it names no file");
    return entries;
}
