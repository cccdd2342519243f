#include "store/FileText.h"

#include "files/FileError.h"
#include "platform/AsciiCase.h"
#include "platform/CodePage.h"
#include "platform/Utf8.h"
#include "store/InstalledPatch.h"
#include "store/Startup.h"

namespace FileText {

LineArray textLines(const std::string& path, std::shared_ptr<const ByteBlock> bytes,
                    std::size_t limit) {
    const std::string_view view = bytes->view();
    if (view.starts_with("\xFE\xFF"))
        throw FileError(path, std::make_error_code(std::errc::illegal_byte_sequence),
                        "the file is UTF-16 text with the big end first, which the game cannot "
                        "read");
    if (!view.starts_with(Utf16Mark))
        return splitLines(std::move(bytes), limit);
    LineArray lines =
        splitLines(std::make_shared<const ByteBlock>(utf8OfUtf16File(path, view)), limit);
    lines.setUtf16();
    return lines;
}

TextEncoding encodingOf(const LineArray& lines) {
    if (lines.isUtf16())
        return TextEncoding::Utf16Le;
    if (!lines.loadedBytes())
        return TextEncoding::CodePage;
    if (const auto found = ::encodingOf(lines.loadedBytes()->view()))
        return *found;
    return InstalledPatch::readsUtf8(Startup::GameSystemDir.empty() ? Startup::SystemDir
                                                                    : Startup::GameSystemDir)
               ? TextEncoding::Utf8
               : TextEncoding::CodePage;
}

std::u16string decode(TextEncoding encoding, std::string_view bytes) {
    if (encoding == TextEncoding::CodePage)
        return CodePage::decode(bytes);
    std::u16string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto [cp, length] = utf8CodePoint(bytes, i);
        if (cp >= 0x10000) {
            text.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(cp));
        }
        i += length;
    }
    return text;
}

std::optional<std::string> encode(TextEncoding encoding, std::u16string_view text,
                                  std::size_t* badIndex) {
    if (encoding == TextEncoding::CodePage)
        return CodePage::encode(text, badIndex);
    // Every character has a UTF-8 form; half of a surrogate pair is no character.
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool high = text[i] >= 0xD800 && text[i] < 0xDC00;
        const bool low = text[i] >= 0xDC00 && text[i] < 0xE000;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            ++i;
        } else if (high || low) {
            if (badIndex)
                *badIndex = i;
            return std::nullopt;
        }
    }
    return utf8FromUtf16(text);
}

std::optional<std::size_t> characterBytes(TextEncoding encoding, std::string_view line,
                                          std::size_t n) {
    if (encoding == TextEncoding::CodePage)
        return CodePage::characterBytes(line, n);
    std::size_t at = 0;
    for (std::size_t units = 0; units < n;) {
        if (at >= line.size())
            return std::nullopt;
        const auto [cp, length] = utf8CodePoint(line, at);
        units += cp >= 0x10000 ? 2 : 1;
        at += length;
    }
    return at;
}

TextEncoding encodingOfArray(std::string_view selector) {
    for (const auto& file : Startup::settingsFiles())
        if (AsciiCase::equalIgnoringCase(selector, file.selector))
            return encodingOf(*file.lines);
    return TextEncoding::CodePage;
}

} // namespace FileText
