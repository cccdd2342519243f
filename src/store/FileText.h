#pragma once

#include "store/LineArray.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// A settings file's text in its own encoding: its lines as it loads, and its values as a window
// shows them and takes them back.
namespace FileText {

// The lines of a file's bytes, in the encoding they are found in: UTF-16LE after its byte order
// mark (FF FE), its lines held as UTF-8; UTF-8 when the bytes are well-formed UTF-8 holding a byte
// above 127; the code page when they hold a byte above 127 but are not UTF-8 (the UTF-8 breaks
// part way); else ASCII. No more than limit + 1 lines are split, as splitLines does. Throws
// FileError naming the path: UTF-16 text that is not whole (with the place), or UTF-16 text with
// the big end first, which the game cannot read.
LineArray textLines(const std::string& path, std::shared_ptr<const ByteBlock> bytes,
                    std::size_t limit);

// The encoding text goes into a line array in, and is read from it in. A file that was all ASCII
// takes it in UTF-8 where the game in Startup::SystemDir reads UTF-8 (see InstalledPatch), else
// in the code page.
TextEncoding encodingOf(const LineArray& lines);

// The text a value's bytes show as. Every byte sequence decodes; one that is not text in the
// encoding shows as stand-in characters, so a value that is to go back unchanged must go back as
// its own bytes.
std::u16string decode(TextEncoding encoding, std::string_view bytes);

// The bytes for text typed into a window, or nothing when a character cannot be held in the
// encoding; then badIndex (when given) receives the position of the first such character.
std::optional<std::string> encode(TextEncoding encoding, std::u16string_view text,
                                  std::size_t* badIndex = nullptr);

// How many bytes the first n characters of a line take, characters counted as a window's box
// counts them; nothing when the line holds fewer. The encoding may be the array's own: the keys of
// a file that was all ASCII are ASCII in either encoding it may take.
std::optional<std::size_t> characterBytes(TextEncoding encoding, std::string_view line,
                                          std::size_t n);

// The encoding (as encodingOf gives it) of the line array that a selector names, ignoring letter
// case; the code page for a selector that names none.
TextEncoding encodingOfArray(std::string_view selector);

} // namespace FileText
