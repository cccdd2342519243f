#include "LineArray.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

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

LineArray::LineArray(std::initializer_list<std::string_view> lines) {
    spans_.reserve(lines.size());
    for (const std::string_view line : lines) {
        spans_.push_back({static_cast<std::uint32_t>(replaced_.size()),
                          static_cast<std::uint32_t>(line.size()), 1});
        replaced_ += line;
    }
}

const std::string_view LineArray::at(std::size_t i) const {
    if (i >= spans_.size())
        throw std::out_of_range("no line " + std::to_string(i + 1));
    return (*this)[i];
}

void LineArray::set(std::size_t i, std::string_view text) {
    if (text == (*this)[i])
        return;
    // The old bytes stay where they are: lines are replaced a few at a time, by edits.
    spans_.at(i) = {static_cast<std::uint32_t>(replaced_.size()),
                    static_cast<std::uint32_t>(text.size()), 1};
    replaced_ += text;
}

void LineArray::resize(std::size_t n) {
    spans_.resize(n);
}

bool LineArray::joinsToTheBytesSplit() const noexcept {
    const std::string_view loaded = loaded_ ? loaded_->view() : std::string_view();
    std::size_t pos = 0;
    for (std::size_t i = 0; i + 1 < spans_.size(); ++i) {
        const Span& span = spans_[i];
        if (span.replaced || span.offset != pos)
            return false;
        pos += span.length;
        if (pos + 2 > loaded.size() || loaded[pos] != '\r' || loaded[pos + 1] != '\n')
            return false;
        pos += 2;
    }
    return pos == loaded.size();
}

bool operator==(const LineArray& a, const LineArray& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

std::ostream& operator<<(std::ostream& out, const LineArray& lines) {
    out << '{';
    for (std::size_t i = 0; i < lines.size(); ++i)
        out << (i ? ", \"" : "\"") << lines[i] << '"';
    return out << '}';
}

std::size_t LineArray::firstLineHoldingABreak() const noexcept {
    for (std::size_t i = 0; i < spans_.size(); ++i)
        if (spans_[i].replaced && holdsLineBreak((*this)[i]))
            return i;
    return spans_.size();
}

LineArray splitLines(std::shared_ptr<const ByteBlock> bytes, std::size_t limit) {
    LineArray lines;
    // Settings lines are some tens of bytes long; a guess saves most regrowing.
    lines.spans_.reserve(std::min(bytes->size() / 24, limit) + 2);
    LineWalker walker(bytes->view());
    std::string_view line;
    while (lines.spans_.size() <= limit && walker.next(line))
        lines.spans_.push_back({static_cast<std::uint32_t>(line.data() - bytes->view().data()),
                                static_cast<std::uint32_t>(line.size()), 0});
    lines.spans_.emplace_back(); // the spare element
    lines.loaded_ = std::move(bytes);
    return lines;
}

LineArray splitLines(std::string_view bytes) {
    return splitLines(std::make_shared<const ByteBlock>(bytes), static_cast<std::size_t>(-1));
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
