#include "LineArray.h"

#include <algorithm>
#include <cstring>

namespace {

// Walks the bytes line by line in one pass. The next CR and the next LF are each found once and
// remembered until the walk passes them, so a file with only one kind of terminator costs no
// more than one with both: every byte is searched at most twice in all.
class LineWalker {
public:
    explicit LineWalker(std::string_view bytes) : bytes_(bytes) {}

    // The next line without its terminator; false once every line has been given.
    bool next(std::string_view& line) {
        if (pos_ >= bytes_.size())
            return false;
        const std::size_t end = std::min(nextOf('\r', nextCr_), nextOf('\n', nextLf_));
        line = bytes_.substr(pos_, end - pos_);
        pos_ = end;
        if (pos_ < bytes_.size()) {
            const bool crLf =
                bytes_[pos_] == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n';
            pos_ += crLf ? 2 : 1;
        }
        return true;
    }

private:
    // Position of the first c at or after the current position (the size when there is none).
    std::size_t nextOf(char c, std::size_t& cached) {
        if (cached == NotSearched || (cached < pos_ && cached != bytes_.size())) {
            const void* found = std::memchr(bytes_.data() + pos_, c, bytes_.size() - pos_);
            cached = found
                         ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes_.data())
                         : bytes_.size();
        }
        return cached;
    }

    static constexpr std::size_t NotSearched = static_cast<std::size_t>(-1);
    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t nextCr_ = NotSearched;
    std::size_t nextLf_ = NotSearched;
};

} // namespace

std::size_t countLines(std::string_view bytes, std::size_t limit) {
    LineWalker walker(bytes);
    std::size_t count = 0;
    std::string_view line;
    while (count <= limit && walker.next(line))
        ++count;
    return count;
}

LineArray splitLines(std::string_view bytes) {
    LineArray lines;
    lines.reserve(countLines(bytes) + 1);
    LineWalker walker(bytes);
    std::string_view line;
    while (walker.next(line))
        lines.emplace_back(line);
    lines.emplace_back(); // the spare element
    return lines;
}

bool holdsLineBreak(std::string_view bytes) {
    return std::memchr(bytes.data(), '\r', bytes.size()) ||
           std::memchr(bytes.data(), '\n', bytes.size());
}

std::string joinLines(const LineArray& lines) {
    std::string out;
    if (lines.empty())
        return out;
    std::size_t total = 0;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        total += lines[i].size() + 2;
    out.reserve(total);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        out += lines[i];
        out += "\r\n";
    }
    return out;
}
