#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A 32-bit Windows program's bytes as far as Windows reads them to learn its manifest: the MZ and
// PE headers, one section of resources and, in it, the manifest (RT_MANIFEST 1) with the text
// given. Nothing runs; the tests and benchmarks of the PE reader build what they need with it.
inline std::string peImageWithManifest(std::string_view manifest) {
    std::string image(0x200, '\0');
    const auto put = [&](std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            image[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    constexpr std::uint32_t Pe = 0x40, Optional = Pe + 24, Sections = Optional + 224;
    constexpr std::uint32_t Raw = 0x200, Address = 0x1000, Manifest = 88;
    const auto size = static_cast<std::uint32_t>(Manifest + manifest.size());
    image.replace(0, 2, "MZ");
    put(0x3C, Pe, 4);
    image.replace(Pe, 4, std::string("PE\0\0", 4));
    put(Pe + 4, 0x14C, 2);                  // i386
    put(Pe + 6, 1, 2);                      // one section
    put(Pe + 20, 224, 2);                   // the optional header's size
    put(Optional, 0x10B, 2);                // PE32
    put(Optional + 92, 16, 4);              // data directories
    put(Optional + 96 + 8 * 2, Address, 4); // the resource table's
    put(Optional + 96 + 8 * 2 + 4, size, 4);
    image.replace(Sections, 5, ".rsrc");
    put(Sections + 8, size, 4);
    put(Sections + 12, Address, 4);
    put(Sections + 16, size, 4);
    put(Sections + 20, Raw, 4);
    // The resource tree: type 24, then id 1, then a language, each one entry, then the data.
    std::string tree(Manifest, '\0');
    image += tree;
    put(Raw + 14, 1, 2);
    put(Raw + 16, 24, 4);
    put(Raw + 20, 0x80000000u | 24, 4);
    put(Raw + 24 + 14, 1, 2);
    put(Raw + 24 + 16, 1, 4);
    put(Raw + 24 + 20, 0x80000000u | 48, 4);
    put(Raw + 48 + 14, 1, 2);
    put(Raw + 48 + 16, 0x409, 4);
    put(Raw + 48 + 20, 72, 4);
    put(Raw + 72, Address + Manifest, 4);
    put(Raw + 72 + 4, static_cast<std::uint32_t>(manifest.size()), 4);
    return image + std::string(manifest);
}
