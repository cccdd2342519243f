#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The code page of the settings files: the system's ANSI code page on Windows, Windows-1252
// elsewhere (the code page the game writes). Lines stay bytes in memory; only text shown in a
// window, or typed into one, is converted.
namespace CodePage {

// Every byte sequence decodes. With Windows-1252, and with the single-byte ANSI code pages,
// encoding the result gives the same bytes back; where the ANSI code page is UTF-8 or a
// double-byte one, a byte that does not decode shows as U+FFFD (or a stand-in of that code
// page), so text that is to be written back unchanged must be written as its own bytes.
std::u16string decode(std::string_view bytes);

// The bytes for the text, or nothing when a character cannot be held in the code page (U+FFFD
// counts as one: it stands for a byte that could not be decoded); then badIndex (when given)
// receives the position of the first such character.
std::optional<std::string> encode(std::u16string_view text, std::size_t* badIndex = nullptr);

// How many bytes the first n characters of the bytes take (a character of a double-byte code page
// takes two), or nothing when they hold fewer.
std::optional<std::size_t> characterBytes(std::string_view bytes, std::size_t n);

} // namespace CodePage
