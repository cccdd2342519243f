#pragma once

#include "files/ByteBlock.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// One settings file in memory: element k holds line k + 1 as raw bytes, without its terminator,
// and the last element is always one spare empty element. The lines of a loaded file stay in the
// one block of bytes the file was read into, which is never changed (copies of the array share
// it); a line that is replaced gets bytes of its own. So a file of many lines costs little more
// memory than its size, and loads without a copy per line. The lines of a UTF-16 file are held as
// UTF-8 (the file's bytes then being those of the UTF-8 form) and written back as UTF-16.
class LineArray {
public:
    LineArray() = default;
    LineArray(std::initializer_list<std::string_view> lines);

    std::size_t size() const noexcept { return spans_.size(); }
    bool empty() const noexcept { return spans_.empty(); }
    // Lines are read through views; they are const so that assigning to one, which would change
    // nothing, does not compile: set() replaces a line.
    const std::string_view operator[](std::size_t i) const noexcept { return line(spans_[i]); }
    // Throws std::out_of_range for an element that is not there.
    const std::string_view at(std::size_t i) const;
    const std::string_view front() const noexcept { return line(spans_.front()); }
    const std::string_view back() const noexcept { return line(spans_.back()); }

    // Replaces element i (which must be there) with the text.
    void set(std::size_t i, std::string_view text);
    // Keeps the first n elements, or adds empty ones up to n.
    void resize(std::size_t n);
    // Whether joining the lines (as joinLines does) gives these very bytes; found without
    // joining them where the lines are the file's bytes.
    bool joinsTo(std::string_view bytes) const;

    // Whether the lines are those of a UTF-16LE file, held as UTF-8.
    bool isUtf16() const noexcept { return utf16_; }
    void setUtf16() noexcept { utf16_ = true; }
    // The bytes the lines were split from, which no edit changes; nothing when they were made in
    // memory.
    const ByteBlock* loadedBytes() const noexcept { return loaded_.get(); }

    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;
        const_iterator() = default;
        const_iterator(const LineArray* lines, std::size_t i) : lines_(lines), i_(i) {}
        std::string_view operator*() const { return (*lines_)[i_]; }
        const_iterator& operator++() { return ++i_, *this; }
        const_iterator operator++(int) { return {lines_, i_++}; }
        difference_type operator-(const const_iterator& o) const {
            return static_cast<difference_type>(i_) - static_cast<difference_type>(o.i_);
        }
        bool operator==(const const_iterator& o) const { return i_ == o.i_; }

    private:
        const LineArray* lines_ = nullptr;
        std::size_t i_ = 0;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    friend bool operator==(const LineArray& a, const LineArray& b);
    friend std::ostream& operator<<(std::ostream& out, const LineArray& lines);
    friend LineArray splitLines(std::shared_ptr<const ByteBlock> bytes, std::size_t limit);
    friend void joinLinesInto(const LineArray& lines, char* out);
    // The first line that holds a line break, or the size when none does.
    std::size_t firstLineHoldingABreak() const noexcept;

private:
    // Where a line's bytes are: in the loaded block, or among the replaced lines' bytes.
    struct Span {
        std::uint32_t offset = 0;
        std::uint32_t length : 31 = 0;
        std::uint32_t replaced : 1 = 0; // lines split from loaded bytes hold no line break
    };
    std::string_view line(const Span& span) const noexcept {
        if (span.length == 0)
            return {};
        const char* bytes = span.replaced ? replaced_.data() : loaded_->view().data();
        return {bytes + span.offset, span.length};
    }

    std::shared_ptr<const ByteBlock> loaded_; // the file's bytes, as read
    std::string replaced_;                    // the bytes of lines set since
    std::vector<Span> spans_;
    bool utf16_ = false;
};

// Line positions are 16-bit signed, so a file may hold at most this many lines (plus the spare).
inline constexpr std::size_t MaxLinesPerFile = 32766;

// Splits file bytes into lines ended by CR, CR LF or a lone LF, and appends the spare element.
// The bytes between terminators are kept exactly; nothing is decoded. The array keeps the bytes.
// Its encoding is ASCII when no byte is above 127, else the code page.
// No more than limit + 1 lines are split: an array of more than limit lines (and the spare)
// means the bytes hold more lines than that.
LineArray splitLines(std::shared_ptr<const ByteBlock> bytes, std::size_t limit);
LineArray splitLines(std::string_view bytes);

// Whether the bytes hold a CR or an LF, which would end a line in a file.
bool holdsLineBreak(std::string_view bytes);

// The bytes a save writes: every line before the spare one, each followed by CR LF; for a UTF-16
// file, in UTF-16LE after its byte order mark.
std::string joinLines(const LineArray& lines);
// Their number, and the same bytes written to out, which has room for that many.
std::size_t joinedSize(const LineArray& lines);
void joinLinesInto(const LineArray& lines, char* out);
