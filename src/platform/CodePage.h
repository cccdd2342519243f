#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The code page of the settings files: the system's ANSI code page on Windows, Windows-1252
// elsewhere (the code page the game writes). Lines stay bytes in memory; only text shown in a
// window, or typed into one, is converted.
namespace CodePage {

// Every byte sequence decodes, and encoding the result gives the same bytes back.
std::u16string decode(std::string_view bytes);

// The bytes for the text, or nothing when a character cannot be held in the code page; then
// badIndex (when given) receives the position of the first such character.
std::optional<std::string> encode(std::u16string_view text, std::size_t* badIndex = nullptr);

} // namespace CodePage
