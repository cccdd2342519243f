#pragma once

#include <stdexcept>
#include <string_view>

// What a Windows program file (a PE image) says of how Windows starts it, read from its bytes on
// any system. Every offset and size the file gives is checked against the bytes there are, and
// the resource tree is followed only as deep as its three levels go, so a hostile or cut file is
// refused, never read beyond.
namespace PeImage {

// The bytes are not a whole PE image: too short, cut, or a header that points outside them.
class NotAnImage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Facts {
    bool bits32 = false;             // a 32-bit x86 program (machine i386, PE32)
    bool asksExecutionLevel = false; // its manifest (RT_MANIFEST 1) holds requestedExecutionLevel
};

// Throws NotAnImage.
Facts read(std::string_view bytes);

// Whether Windows virtualises a program of these facts when it runs without elevation: a 32-bit
// program whose manifest asks for no execution level (or that has no manifest).
inline bool virtualised(const Facts& facts) {
    return facts.bits32 && !facts.asksExecutionLevel;
}

} // namespace PeImage
