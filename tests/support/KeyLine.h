#pragma once

#include "store/LineArray.h"

#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

// The first line of a line array that starts with the key: it reads as the line's text, and
// assigning to it replaces the line.
class KeyLine {
public:
    KeyLine(LineArray& lines, std::string_view key) : lines_(lines) {
        while (index_ < lines.size() && !lines[index_].starts_with(key))
            ++index_;
        if (index_ == lines.size())
            throw std::logic_error("no line " + std::string(key));
    }
    KeyLine& operator=(std::string_view text) {
        lines_.set(index_, text);
        return *this;
    }
    std::string text() const { return std::string(lines_[index_]); }
    friend bool operator==(const KeyLine& line, std::string_view text) {
        return line.lines_[line.index_] == text;
    }
    friend std::ostream& operator<<(std::ostream& out, const KeyLine& line) {
        return out << line.lines_[line.index_];
    }

private:
    LineArray& lines_;
    std::size_t index_ = 0;
};

inline KeyLine lineOf(LineArray& lines, std::string_view key) {
    return KeyLine(lines, key);
}
