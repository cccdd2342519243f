#include "store/TextEncoding.h"

#include "files/FileError.h"

#include <bit>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstring>

namespace {

std::uint64_t word(const char* at) {
    std::uint64_t w = 0;
    std::memcpy(&w, at, sizeof w);
    return w;
}

// The first byte above 127 at or after from; the size when there is none. UTF-8 text is mostly
// ASCII, so its runs are passed over eight bytes at a time.
std::size_t firstHighByte(std::string_view bytes, std::size_t from = 0) {
    constexpr std::uint64_t HighBits = 0x8080808080808080ull;
    std::size_t i = from;
    while (i + 8 <= bytes.size() && (word(bytes.data() + i) & HighBits) == 0)
        i += 8;
    for (; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) > 127)
            return i;
    return bytes.size();
}

bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c < 0xDC00;
}
bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

char* appendUtf8(char32_t cp, char* out) {
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out++ = static_cast<char>(0xC0 | (cp >> 6));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (cp >> 12));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (cp >> 18));
        *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

// Copies the ASCII units at the start of UTF-16LE text as bytes, and returns how many; none when
// the first is not ASCII or too few are left for a step. Settings text is mostly ASCII, and the
// load benchmark's UTF-16 files (five of 32,766 lines) are held to twice the time of their
// code-page twins: eight units are taken a step. Up to eight bytes at out may be written beyond
// those copied.
std::size_t copyAsciiUnits(std::string_view units, char* out) {
    std::size_t done = 0;
#if defined(__SSE2__)
    const __m128i notAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    while (done + 16 <= units.size()) {
        const __m128i eight =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(units.data() + done));
        const auto ascii = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_cmpeq_epi16(_mm_and_si128(eight, notAscii), _mm_setzero_si128())));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + done / 2),
                         _mm_packus_epi16(eight, eight));
        if (ascii != 0xFFFF) // two bits a unit: the units before the first that is not ASCII
            return (done + static_cast<std::size_t>(std::countr_one(ascii))) / 2;
        done += 16;
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        for (; done + 8 <= units.size(); done += 8) {
            const std::uint64_t four = word(units.data() + done);
            if ((four & 0xFF80FF80FF80FF80ull) != 0)
                break;
            for (int k = 0; k < 4; ++k)
                out[done / 2 + static_cast<std::size_t>(k)] = static_cast<char>(four >> (16 * k));
        }
    }
    return done / 2;
}

char* appendUnit(char32_t unit, char* out) {
    *out++ = static_cast<char>(unit & 0xFF);
    *out++ = static_cast<char>(unit >> 8);
    return out;
}

// Where the code unit at index stands, for a message: its line (lines end as the store splits
// them) and its byte in the file, the byte order mark counted.
std::string placeOf(const unsigned char* units, std::size_t index) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < index; ++i) {
        const unsigned unit = units[2 * i] | (units[2 * i + 1] << 8);
        const bool crBeforeLf =
            unit == '\r' && i + 1 < index && units[2 * i + 2] == '\n' && units[2 * i + 3] == 0;
        if ((unit == '\r' && !crBeforeLf) || unit == '\n')
            ++line;
    }
    return "line " + std::to_string(line) + " (byte " +
           std::to_string(Utf16Mark.size() + 2 * index + 1) + " of the file)";
}

[[noreturn]] void notUtf16(const std::string& path, const std::string& what) {
    throw FileError(path, std::make_error_code(std::errc::illegal_byte_sequence),
                    "the file is UTF-16 text, but " + what);
}

} // namespace

std::optional<TextEncoding> encodingOf(std::string_view bytes) {
    if (bytes.starts_with(Utf16Mark))
        return TextEncoding::Utf16Le;
    std::size_t i = firstHighByte(bytes);
    if (i == bytes.size())
        return std::nullopt;
    for (; i < bytes.size(); i = firstHighByte(bytes, i)) {
        const auto [cp, length] = utf8CodePoint(bytes, i);
        if (cp == 0xFFFD && length == 1)
            return TextEncoding::CodePage;
        i += length;
    }
    return TextEncoding::Utf8;
}

std::pair<char32_t, std::size_t> utf8CodePoint(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    std::size_t more = 0;
    char32_t cp = lead;
    char32_t smallest = 0; // below this, the sequence is an overlong form
    if (lead < 0x80)
        return {cp, 1};
    if (lead >= 0xF0 && lead <= 0xF4)
        more = 3, cp = lead & 0x07, smallest = 0x10000;
    else if (lead >= 0xE0 && lead <= 0xEF)
        more = 2, cp = lead & 0x0F, smallest = 0x800;
    else if (lead >= 0xC2 && lead <= 0xDF)
        more = 1, cp = lead & 0x1F, smallest = 0x80;
    else
        return {0xFFFD, 1};
    if (bytes.size() - at <= more)
        return {0xFFFD, 1};
    for (std::size_t k = 1; k <= more; ++k) {
        const auto next = static_cast<unsigned char>(bytes[at + k]);
        if ((next & 0xC0) != 0x80)
            return {0xFFFD, 1};
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))
        return {0xFFFD, 1};
    return {cp, more + 1};
}

ByteBlock utf8OfUtf16File(const std::string& path, std::string_view bytes) {
    const std::string_view body = bytes.substr(Utf16Mark.size());
    if (body.size() % 2 != 0)
        notUtf16(path,
                 "its last byte (byte " + std::to_string(bytes.size()) + ") is half a character");
    const auto* units = reinterpret_cast<const unsigned char*>(body.data());
    const std::size_t count = body.size() / 2;
    // A unit takes at most three bytes in UTF-8, a pair of two units four (and copyAsciiUnits'
    // last step may write eight beyond the text). The block is not filled in advance: the pages
    // that the text does not reach are never touched.
    ByteBlock block(count * 3 + 8);
    char* out = block.data();
    for (std::size_t i = 0; i < count;) {
        if (const std::size_t ascii = copyAsciiUnits(body.substr(2 * i), out)) {
            out += ascii;
            i += ascii;
            continue;
        }
        char32_t unit = units[2 * i] | (units[2 * i + 1] << 8);
        if (isHighSurrogate(unit) && i + 1 < count) {
            const char32_t low = units[2 * i + 2] | (units[2 * i + 3] << 8);
            if (isLowSurrogate(low)) {
                out = appendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), out);
                i += 2;
                continue;
            }
        }
        if (isHighSurrogate(unit) || isLowSurrogate(unit))
            notUtf16(path, placeOf(units, i) + " holds half of a surrogate pair");
        out = appendUtf8(unit, out);
        ++i;
    }
    block.shrink(static_cast<std::size_t>(out - block.data()));
    return block;
}

std::size_t utf16Size(std::string_view utf8) {
    std::size_t size = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto [cp, length] = utf8CodePoint(utf8, i);
        size += cp >= 0x10000 ? 4 : 2;
        i += length;
    }
    return size;
}

char* writeUtf16(std::string_view utf8, char* out) {
    for (std::size_t i = 0; i < utf8.size();) {
        const auto [cp, length] = utf8CodePoint(utf8, i);
        if (cp >= 0x10000) {
            out = appendUnit(0xD800 + ((cp - 0x10000) >> 10), out);
            out = appendUnit(0xDC00 + ((cp - 0x10000) & 0x3FF), out);
        } else {
            out = appendUnit(cp, out);
        }
        i += length;
    }
    return out;
}
