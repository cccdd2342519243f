#pragma once

#include "files/ByteBlock.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// How a settings file's text is written, by the rules the game reads it with. The game of 1999
// reads its files in the ANSI code page; the community patch (469 and later) reads UTF-8, UTF-16LE
// after its byte order mark, and a file that is not UTF-8 in the code page. Each file keeps the
// encoding it was found in.
enum class TextEncoding : std::uint8_t {
    CodePage, // the ANSI code page (Windows-1252 elsewhere): lines are the file's bytes
    Utf8,     // lines are the file's bytes; a byte order mark stays bytes of the first line
    Utf16Le,  // after its byte order mark; lines are held as UTF-8, and written back as UTF-16LE
};

// How a UTF-16LE file starts.
inline constexpr std::string_view Utf16Mark = "\xFF\xFE";

// The encoding of a file's bytes by the game's rules: UTF-16LE after its byte order mark (FF FE);
// UTF-8 when they are well-formed UTF-8 holding a byte above 127; the code page when they hold a
// byte above 127 but are not UTF-8 (the UTF-8 breaks part way). Nothing for bytes that are all
// ASCII, which read the same in every encoding.
std::optional<TextEncoding> encodingOf(std::string_view bytes);

// The UTF-8 form of a UTF-16LE file's bytes (its byte order mark first, which is dropped). Throws
// FileError naming the path and the place when they are not UTF-16 text: an odd number of bytes,
// or a surrogate without its other half.
ByteBlock utf8OfUtf16File(const std::string& path, std::string_view bytes);

// The code point that starts at bytes[at], and how many bytes it takes. A byte that does not
// start a well-formed UTF-8 sequence stands for U+FFFD and takes one byte.
std::pair<char32_t, std::size_t> utf8CodePoint(std::string_view bytes, std::size_t at);

// The UTF-16LE form of UTF-8 text: how many bytes it takes, and the bytes written at out, which
// has room for them (returns the end). A byte that is not UTF-8 is written as U+FFFD; no line
// holds one, since the lines of a UTF-16 file are made by converting text.
std::size_t utf16Size(std::string_view utf8);
char* writeUtf16(std::string_view utf8, char* out);
