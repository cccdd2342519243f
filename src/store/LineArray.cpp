#include "store/LineArray.h"

#include "platform/Memory.h"
#include "store/TextEncoding.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <stdexcept>

namespace {

// How each line of a UTF-16 file ends.
constexpr std::string_view Utf16CrLf("\r\0\n\0", 4);

// Walks the bytes line by line, in one pass whatever the line ends. The bytes are looked at
// sixteen at a time where the processor can: the line ends among them are marked once, in a mask
// of one bit per byte, and the lines of those sixteen bytes are taken from the mask, so the walk
// costs little more than reading the file.
class LineWalker {
public:
    explicit LineWalker(std::string_view bytes) : bytes_(bytes) { mask_ = endsAt(0); }

    // The next line, without its terminator; false at the end.
    bool next(std::string_view& line) {
        if (pos_ >= bytes_.size())
            return false;
        const std::size_t end = nextEnd();
        line = bytes_.substr(pos_, end - pos_);
        pos_ = end;
        if (pos_ < bytes_.size()) {
            if (bytes_[pos_] == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n')
                ++pos_;
            ++pos_;
        }
        return true;
    }

private:
    static constexpr std::size_t Piece = 16;

    // The first line end at or after the current position; the size when there is none.
    std::size_t nextEnd() {
        for (;;) {
            while (mask_ != 0) {
                const std::size_t end = piece_ + static_cast<std::size_t>(std::countr_zero(mask_));
                if (end >= pos_)
                    return end;
                mask_ &= mask_ - 1; // an end already passed: the LF of a CR LF
            }
            if (piece_ + Piece >= bytes_.size())
                return bytes_.size();
            piece_ += Piece;
            mask_ = endsAt(piece_);
        }
    }

    // One bit for each CR or LF among the sixteen bytes at from (fewer at the end).
    std::uint32_t endsAt(std::size_t from) const noexcept {
#if defined(__SSE2__)
        if (from + Piece <= bytes_.size()) {
            const __m128i piece =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes_.data() + from));
            return static_cast<std::uint32_t>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(piece, _mm_set1_epi8('\r')),
                                               _mm_cmpeq_epi8(piece, _mm_set1_epi8('\n')))));
        }
#endif
        std::uint32_t mask = 0;
        for (std::size_t i = 0; i < Piece && from + i < bytes_.size(); ++i)
            if (bytes_[from + i] == '\r' || bytes_[from + i] == '\n')
                mask |= std::uint32_t{1} << i;
        return mask;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;   // where the next line starts
    std::size_t piece_ = 0; // the sixteen bytes that mask_ covers
    std::uint32_t mask_ = 0;
};

} // namespace

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

bool LineArray::joinsTo(std::string_view bytes) const {
    if (utf16_)
        return joinedSize(*this) == bytes.size() && joinLines(*this) == bytes;
    std::size_t pos = 0;
    for (std::size_t i = 0; i + 1 < spans_.size(); ++i) {
        const std::string_view line = (*this)[i];
        if (bytes.size() - pos < line.size() + 2 || bytes.compare(pos, line.size(), line) != 0 ||
            bytes[pos + line.size()] != '\r' || bytes[pos + line.size() + 1] != '\n')
            return false;
        pos += line.size() + 2;
    }
    return pos == bytes.size();
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
    Memory::prefault(lines.spans_.data(), lines.spans_.capacity() * sizeof(lines.spans_[0]));
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

std::size_t joinedSize(const LineArray& lines) {
    std::size_t total = 0;
    if (lines.isUtf16()) {
        for (std::size_t i = 0; i + 1 < lines.size(); ++i)
            total += utf16Size(lines[i]) + Utf16CrLf.size();
        return Utf16Mark.size() + total;
    }
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        total += lines[i].size() + 2;
    return total;
}

void joinLinesInto(const LineArray& lines, char* out) {
    if (lines.isUtf16()) {
        out = std::copy(Utf16Mark.begin(), Utf16Mark.end(), out);
        for (std::size_t i = 0; i + 1 < lines.size(); ++i)
            out = std::copy(Utf16CrLf.begin(), Utf16CrLf.end(), writeUtf16(lines[i], out));
        return;
    }
    // Lines that still lie one after another in the bytes they were split from, each followed
    // there by CR LF, are copied together: a file that was read with CR LF ends and changed in a
    // few lines is copied in a few pieces rather than one per line.
    const std::string_view loaded = lines.loaded_ ? lines.loaded_->view() : std::string_view();
    std::size_t runStart = 0; // the loaded bytes not yet copied
    std::size_t runEnd = 0;
    const auto copyRun = [&] {
        out = std::copy(loaded.begin() + static_cast<std::ptrdiff_t>(runStart),
                        loaded.begin() + static_cast<std::ptrdiff_t>(runEnd), out);
        runStart = runEnd;
    };
    for (std::size_t i = 0; i + 1 < lines.spans_.size(); ++i) {
        const LineArray::Span& span = lines.spans_[i];
        const std::size_t end = std::size_t{span.offset} + span.length;
        if (!span.replaced && end + 2 <= loaded.size() && loaded[end] == '\r' &&
            loaded[end + 1] == '\n') {
            if (span.offset != runEnd) {
                copyRun();
                runStart = span.offset;
            }
            runEnd = end + 2;
            continue;
        }
        copyRun();
        const std::string_view line = lines[i];
        out = std::copy(line.begin(), line.end(), out);
        *out++ = '\r';
        *out++ = '\n';
    }
    copyRun();
}

std::string joinLines(const LineArray& lines) {
    std::string out(joinedSize(lines), '\0');
    joinLinesInto(lines, out.data());
    return out;
}
