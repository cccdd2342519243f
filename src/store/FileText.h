#pragma once

#include "store/LineArray.h"
#include "store/TextEncoding.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// A settings file's text in its own encoding: its lines as it loads, and its values as a window
// shows them and takes them back.
namespace FileText {

// The lines of a file's bytes. A UTF-16LE file's lines (after its byte order mark) are held as
// UTF-8; any other file's are its bytes, whose encoding encodingOf tells when it is asked. No more
// than limit + 1 lines are split, as splitLines does. Throws FileError naming the path: UTF-16
// text that is not whole (with the place), or UTF-16 text with the big end first, which the game
// cannot read.
LineArray textLines(const std::string& path, std::shared_ptr<const ByteBlock> bytes,
                    std::size_t limit);

// The encoding of a line array's file, by the rules encodingOf(bytes) applies to the bytes it was
// loaded from: text is read from it and goes into it in that encoding. A file that was all ASCII
// takes UTF-8 where the game of Startup::SystemDir (or GameSystemDir) reads UTF-8 (see InstalledPatch), else the
// code page. Lines made in memory are in the code page.
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
// counts them; nothing when the line holds fewer.
std::optional<std::size_t> characterBytes(TextEncoding encoding, std::string_view line,
                                          std::size_t n);

// The encoding (as encodingOf gives it) of the line array that a selector names, ignoring letter
// case; the code page for a selector that names none.
TextEncoding encodingOfArray(std::string_view selector);

} // namespace FileText
