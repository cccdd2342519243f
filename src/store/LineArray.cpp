#include "LineArray.h"

#include <cstring>

namespace {

// Position just past the terminator that starts at pos (CR LF counts as one terminator).
std::size_t skipTerminator(std::string_view bytes, std::size_t pos) {
    if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n')
        return pos + 2;
    return pos + 1;
}

std::size_t findTerminator(std::string_view bytes, std::size_t from) {
    // memchr twice is far quicker than a byte loop over large files.
    const char* base = bytes.data() + from;
    const std::size_t len = bytes.size() - from;
    const void* cr = std::memchr(base, '\r', len);
    const std::size_t crLen =
        cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - base) : len;
    const void* lf = std::memchr(base, '\n', crLen);
    const std::size_t end =
        lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : crLen;
    return from + end;
}

} // namespace

std::size_t countLines(std::string_view bytes) {
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = findTerminator(bytes, pos);
        ++count;
        pos = end < bytes.size() ? skipTerminator(bytes, end) : end;
    }
    return count;
}

LineArray splitLines(std::string_view bytes) {
    LineArray lines;
    lines.reserve(countLines(bytes) + 1);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = findTerminator(bytes, pos);
        lines.emplace_back(bytes.substr(pos, end - pos));
        pos = end < bytes.size() ? skipTerminator(bytes, end) : end;
    }
    lines.emplace_back(); // the spare element
    return lines;
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
