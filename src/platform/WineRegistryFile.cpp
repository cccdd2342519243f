#include "platform/WineRegistryFile.h"

#include "platform/AsciiCase.h"

#include <cstdint>

namespace WineRegistryFile {

namespace {

constexpr std::string_view Header = "WINE REGISTRY Version 2";

// Letter case as the registry ignores it, for the letters of ASCII and Latin-1.
char16_t foldCase(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<char16_t>(c + 0x20);
    return c;
}

bool equalIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// Appends the UTF-16 form of one code point.
void appendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Decodes one UTF-8 sequence starting at text[pos] and moves pos past it; nothing when invalid.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    int extra = 0;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (pos + static_cast<std::size_t>(extra) >= text.size())
        return std::nullopt;
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (next & 0x3F);
    }
    constexpr char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < smallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    pos += static_cast<std::size_t>(extra) + 1;
    return cp;
}

// The character that a letter escape such as \n stands for; 0 for any other character.
char16_t namedEscape(char c) {
    constexpr std::string_view Letters = "abefnrtv";
    constexpr char16_t Meanings[] = u"\a\b\x1B\f\n\r\t\v";
    const std::size_t at = Letters.find(c);
    return at == std::string_view::npos ? 0 : Meanings[at];
}

// Reads a string written with Wine's escapes, from pos up to the unescaped closing character,
// and moves pos past that character. Nothing when the closing character is missing or the text
// is not valid UTF-8.
std::optional<std::u16string> readEscaped(std::string_view line, std::size_t& pos, char close) {
    std::u16string out;
    while (pos < line.size() && line[pos] != close) {
        char c = line[pos];
        if (c == '\\') {
            if (++pos == line.size())
                return std::nullopt;
            c = line[pos];
            if (const char16_t named = namedEscape(c)) {
                out.push_back(named);
                ++pos;
                continue;
            }
            switch (c) {
            case 'x': {
                // Up to four hex digits; "\x" followed by none is the letter x.
                ++pos;
                char16_t value = 0;
                int digits = 0;
                while (digits < 4 && pos < line.size() && hexDigit(line[pos]) >= 0) {
                    value = static_cast<char16_t>(value * 16 + hexDigit(line[pos++]));
                    ++digits;
                }
                out.push_back(digits ? value : u'x');
                continue;
            }
            default:
                if (isOctalDigit(c)) {
                    char16_t value = 0;
                    for (int digits = 0; digits < 3 && pos < line.size() && isOctalDigit(line[pos]);
                         ++digits)
                        value = static_cast<char16_t>(value * 8 + (line[pos++] - '0'));
                    out.push_back(value);
                    continue;
                }
                break; // any other escaped character stands for itself
            }
        }
        if (static_cast<unsigned char>(c) < 0x80) {
            out.push_back(static_cast<char16_t>(c));
            ++pos;
        } else {
            const auto cp = decodeUtf8(line, pos);
            if (!cp)
                return std::nullopt;
            appendCodePoint(out, *cp);
        }
    }
    if (pos == line.size())
        return std::nullopt;
    ++pos;
    return out;
}

// The bytes of a hex value ("12,ab,00"), or nothing when it is malformed.
std::optional<std::string> readHexBytes(std::string_view text) {
    std::string bytes;
    std::size_t pos = 0;
    auto skipSpace = [&] {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
            ++pos;
    };
    skipSpace();
    while (pos < text.size()) {
        if (pos + 1 >= text.size() || hexDigit(text[pos]) < 0 || hexDigit(text[pos + 1]) < 0)
            return std::nullopt;
        bytes.push_back(static_cast<char>(hexDigit(text[pos]) * 16 + hexDigit(text[pos + 1])));
        pos += 2;
        skipSpace();
        if (pos < text.size()) {
            if (text[pos] != ',')
                return std::nullopt;
            ++pos;
            skipSpace();
        }
    }
    return bytes;
}

// A REG_SZ value written in hex (as Wine writes one without a terminator): UTF-16LE bytes.
// An odd last byte is no whole character and is dropped.
std::optional<std::u16string> readHexString(std::string_view text) {
    const auto bytes = readHexBytes(text);
    if (!bytes)
        return std::nullopt;
    std::u16string out;
    for (std::size_t i = 0; i + 1 < bytes->size(); i += 2)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>((*bytes)[i]) |
                                            (static_cast<unsigned char>((*bytes)[i + 1]) << 8)));
    return out;
}

// The lines of a file one after another, without their line ends.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool next(std::string_view& line) {
        if (at_ >= text_.size())
            return false;
        std::size_t end = text_.find('\n', at_);
        if (end == std::string_view::npos)
            end = text_.size();
        line = text_.substr(at_, end - at_);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        at_ = end + 1;
        return true;
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    return s;
}

// The key a "[...]" line opens, or nothing when the line is malformed.
std::optional<std::u16string> keyOfLine(std::string_view line) {
    std::size_t pos = 1;
    return readEscaped(line, pos, ']');
}

// The value's data text from the line after the "=", joined with the lines that continue it
// (a line ending in a backslash goes on in the next line).
std::string joinContinued(Lines& lines, std::string_view first) {
    std::string data(first);
    std::string_view more;
    while (data.ends_with('\\') && lines.next(more)) {
        data.pop_back();
        data += trimLeft(more);
    }
    return data;
}

// The key path as Wine writes it in a "[...]" line, when every character of it is written as
// itself there (printable ASCII, a backslash doubled); nothing otherwise.
std::optional<std::string> plainFileForm(std::u16string_view keyPath) {
    std::string out;
    for (const char16_t c : keyPath) {
        if (c < 0x20 || c >= 0x7F || c == u'[' || c == u']' || c == u'"')
            return std::nullopt;
        if (c == u'\\')
            out += '\\';
        out += static_cast<char>(c);
    }
    return out;
}

// Where the line "[key]" starts (a time stamp may follow), the key's letters compared ignoring
// ASCII case; npos when no line is. Only the key lines' closing brackets are stopped at, so a big
// file is passed through at the speed of a search for one character.
std::size_t findKeyLine(std::string_view text, std::string_view key) {
    for (std::size_t close = text.find(']', key.size() + 1); close != std::string_view::npos;
         close = text.find(']', close + 1)) {
        const std::size_t open = close - key.size() - 1;
        if (text[open] == '[' && (open == 0 || text[open - 1] == '\n') &&
            AsciiCase::equalIgnoringCase(text.substr(open + 1, key.size()), key))
            return open;
    }
    return std::string_view::npos;
}

// The lines after the "[...]" line that opens the key; nothing when no line opens it. A key with
// a plain form is looked for as bytes; any other key is compared line by line, decoded.
std::optional<Lines> keySection(std::string_view fileText, std::u16string_view keyPath) {
    if (const auto plainForm = plainFileForm(keyPath)) {
        const std::size_t at = findKeyLine(fileText, *plainForm);
        if (at == std::string_view::npos)
            return std::nullopt;
        Lines lines(fileText.substr(at));
        std::string_view keyLine;
        lines.next(keyLine);
        return lines;
    }
    Lines lines(fileText);
    std::string_view line;
    while (lines.next(line)) {
        const auto key = line.starts_with('[') ? keyOfLine(line) : std::nullopt;
        if (key && equalIgnoringCase(*key, keyPath))
            return lines;
    }
    return std::nullopt;
}

// The type and, for REG_SZ, the text of a value whose data (after "=") starts a line: "text"
// (REG_SZ), str(N):"text", dword:..., hex:... (REG_BINARY) or hex(N):... (type N; REG_SZ's
// characters as UTF-16LE bytes when Wine writes one without a terminator).
StoredValue valueOf(Lines& lines, std::string_view data) {
    if (data.starts_with('"')) {
        std::size_t at = 1;
        auto text = readEscaped(data, at, '"');
        if (text && !trimLeft(data.substr(at)).empty())
            text.reset();
        return {1, std::move(text)};
    }
    if (data.starts_with("dword:"))
        return {4, std::nullopt};
    if (data.starts_with("hex:"))
        return {3, std::nullopt};
    for (const std::string_view form : {std::string_view("hex("), std::string_view("str(")}) {
        const std::size_t close = data.find("):");
        if (!data.starts_with(form) || close == std::string_view::npos || close == form.size())
            continue;
        std::uint32_t type = 0;
        for (const char c : data.substr(form.size(), close - form.size())) {
            if (hexDigit(c) < 0 || type > 0xFFFFFFF)
                return {UnknownType, std::nullopt};
            type = type * 16 + static_cast<std::uint32_t>(hexDigit(c));
        }
        if (type == 1 && form == "hex(")
            return {1, readHexString(joinContinued(lines, data.substr(close + 2)))};
        return {type, std::nullopt};
    }
    return {UnknownType, std::nullopt};
}

} // namespace

bool isRegistryFile(std::string_view fileText) {
    if (fileText.starts_with("\xEF\xBB\xBF"))
        fileText.remove_prefix(3);
    return fileText.starts_with(Header);
}

std::optional<StoredValue> findValue(std::string_view fileText, std::u16string_view keyPath,
                                     std::u16string_view valueName) {
    if (!isRegistryFile(fileText))
        return std::nullopt;
    auto section = keySection(fileText, keyPath);
    if (!section)
        return std::nullopt;
    Lines& lines = *section;
    std::string_view line;
    while (lines.next(line)) {
        if (line.starts_with('['))
            return std::nullopt; // the next key
        if (!(line.starts_with('"') || line.starts_with('@')))
            continue;

        std::size_t pos = 1;
        std::u16string name;
        if (line.front() == '"') {
            auto quoted = readEscaped(line, pos, '"');
            if (!quoted)
                continue;
            name = std::move(*quoted);
        }
        if (pos >= line.size() || line[pos] != '=' || !equalIgnoringCase(name, valueName))
            continue;
        return valueOf(lines, line.substr(pos + 1));
    }
    return std::nullopt;
}

} // namespace WineRegistryFile
