#include "platform/Utf8.h"

namespace {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isHigh(char16_t c) {
    return c >= 0xD800 && c < 0xDC00;
}
bool isLow(char16_t c) {
    return c >= 0xDC00 && c < 0xE000;
}
bool isSurrogate(char32_t c) {
    return c >= 0xD800 && c < 0xE000;
}

} // namespace

std::string utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHigh(c) && i + 1 < text.size() && isLow(text[i + 1])) {
            appendUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                                (text[i + 1] - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, isHigh(c) || isLow(c) ? char32_t{0xFFFD} : char32_t{c});
        }
    }
    return out;
}

std::optional<std::u16string> utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t more = 0;  // continuation bytes that follow the lead byte
        char32_t cp = lead;    // the code point being put together
        char32_t smallest = 0; // below this, the sequence is an overlong form
        if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3, cp = lead & 0x07, smallest = 0x10000;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2, cp = lead & 0x0F, smallest = 0x800;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1, cp = lead & 0x1F, smallest = 0x80;
        } else if (lead >= 0x80) {
            return std::nullopt;
        }
        if (text.size() - i <= more)
            return std::nullopt;
        for (std::size_t k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < smallest || cp > 0x10FFFF || isSurrogate(cp))
            return std::nullopt;
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += more + 1;
    }
    return out;
}
