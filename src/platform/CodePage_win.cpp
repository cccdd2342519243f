#include "platform/CodePage.h"

#include <algorithm>
#include <windows.h>

namespace CodePage {

std::u16string decode(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::u16string text(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(text.data()), n);
    return text;
}

std::optional<std::string> encode(std::u16string_view text, std::size_t* badIndex) {
    // With UTF-8 as the ANSI code page the conversion accepts neither flag nor default-character
    // report, and fails outright when given them; the round trip below catches every loss.
    const bool utf8 = GetACP() == CP_UTF8;
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // One character at a time, so the first one the code page lacks can be named.
        const std::size_t len =
            (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size()) ? 2 : 1;
        // U+FFFD is what a byte the code page could not decode shows as: writing it would put
        // other bytes in that byte's place, so it counts as a character the code page lacks.
        if (text[i] == u'\uFFFD') {
            if (badIndex)
                *badIndex = i;
            return std::nullopt;
        }
        char out[8];
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS,
                                          reinterpret_cast<const wchar_t*>(text.data() + i),
                                          static_cast<int>(len), out, sizeof out, nullptr,
                                          utf8 ? nullptr : &usedDefault);
        if (n <= 0 || usedDefault ||
            decode(std::string_view(out, static_cast<std::size_t>(n))) != text.substr(i, len)) {
            if (badIndex)
                *badIndex = i;
            return std::nullopt;
        }
        bytes.append(out, static_cast<std::size_t>(n));
        i += len - 1;
    }
    return bytes;
}

std::optional<std::size_t> characterBytes(std::string_view bytes, std::size_t n) {
    const UINT codePage = GetACP();
    std::size_t at = 0;
    for (std::size_t characters = 0; characters < n; ++characters) {
        if (at >= bytes.size())
            return std::nullopt;
        const auto lead = static_cast<unsigned char>(bytes[at]);
        std::size_t length = 1;
        if (codePage == CP_UTF8) {
            // The lead byte tells the length; a character beyond U+FFFF counts as two, as in a box.
            length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            characters += length == 4 ? 1 : 0;
        } else if (IsDBCSLeadByteEx(codePage, lead)) {
            length = 2;
        }
        at += std::min(length, bytes.size() - at);
    }
    return at;
}

} // namespace CodePage
