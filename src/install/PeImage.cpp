#include "install/PeImage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace PeImage {

namespace {

constexpr std::uint32_t ResourceDirectory = 2; // the index of the resource table's entry
constexpr std::uint32_t RtManifest = 24;
constexpr std::uint32_t ProcessManifest = 1; // the manifest Windows reads for a program

// Little-endian numbers at offsets that are checked against the bytes there are.
class Bytes {
public:
    explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
    std::uint32_t u16(std::uint64_t at) const { return number(at, 2); }
    std::uint32_t u32(std::uint64_t at) const { return number(at, 4); }
    std::string_view span(std::uint64_t at, std::uint64_t size) const {
        if (at > bytes_.size() || size > bytes_.size() - at)
            throw NotAnImage("cut short or pointing beyond its end");
        return bytes_.substr(at, size);
    }

private:
    std::uint32_t number(std::uint64_t at, int size) const {
        const std::string_view part = span(at, static_cast<std::uint64_t>(size));
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(part[static_cast<std::size_t>(i)]);
        return value;
    }
    std::string_view bytes_;
};

struct Section {
    std::uint32_t address, size, offset;
};

// The sections, each checked to lie within the file.
std::vector<Section> sectionsOf(const Bytes& bytes, std::uint64_t table, std::uint32_t count) {
    std::vector<Section> sections;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t at = table + 40ull * i;
        const Section section{bytes.u32(at + 12), bytes.u32(at + 16), bytes.u32(at + 20)};
        bytes.span(section.offset, section.size);
        sections.push_back(section);
    }
    return sections;
}

// The file offset of an address in the image, within a section's bytes in the file.
std::uint64_t offsetOf(const std::vector<Section>& sections, std::uint32_t address) {
    for (const Section& s : sections)
        if (address >= s.address && address - s.address < s.size)
            return std::uint64_t(s.offset) + (address - s.address);
    throw NotAnImage("an address outside its sections");
}

// The entry of a resource directory with that id (the first entry when id is 0), as the offset
// it gives from the resource table's start; nothing when there is none.
std::optional<std::uint32_t> entry(const Bytes& bytes, std::uint64_t directory, std::uint32_t id) {
    const std::uint32_t count = bytes.u16(directory + 12) + bytes.u16(directory + 14);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t at = directory + 16 + 8ull * i;
        if (id == 0 || bytes.u32(at) == id)
            return bytes.u32(at + 4);
    }
    return std::nullopt;
}

// Whether the manifest's text names the element requestedExecutionLevel, outside comments (a
// manifest made from Visual Studio's template holds a commented-out one). One pass: the next
// comment and the next name are each looked for from where the last look ended, so a manifest
// of many comments and names costs its length, not its square.
bool namesExecutionLevel(std::string_view text) {
    constexpr std::string_view Name = "requestedExecutionLevel";
    const auto isElement = [&](std::size_t at) {
        const char before = at > 0 ? text[at - 1] : ' ';
        const char after = at + Name.size() < text.size() ? text[at + Name.size()] : ' ';
        return (before == '<' || before == ':') &&
               (after == ' ' || after == '/' || after == '>' || after == '\t' || after == '\r' ||
                after == '\n');
    };
    std::size_t comment = text.find("<!--");
    std::size_t name = text.find(Name);
    while (name != std::string_view::npos) {
        if (comment < name) { // npos, no comment, is after every name
            const std::size_t end = text.find("-->", comment + 4);
            if (end == std::string_view::npos)
                return false; // the rest is one comment
            comment = text.find("<!--", end + 3);
            if (name < end + 3)
                name = text.find(Name, end + 3);
            continue;
        }
        if (isElement(name))
            return true;
        name = text.find(Name, name + 1);
    }
    return false;
}

// A manifest in UTF-16LE (after its byte order mark) as the ASCII its markup is made of.
std::string asText(std::string_view manifest) {
    if (!manifest.starts_with("\xFF\xFE"))
        return std::string(manifest);
    std::string text;
    for (std::size_t i = 2; i + 1 < manifest.size(); i += 2)
        text += manifest[i + 1] == 0 ? manifest[i] : '?';
    return text;
}

} // namespace

Facts read(std::string_view image) {
    const Bytes bytes(image);
    if (bytes.span(0, 2) != "MZ")
        throw NotAnImage("no MZ header");
    const std::uint64_t pe = bytes.u32(0x3C);
    if (bytes.span(pe, 4) != std::string_view("PE\0\0", 4))
        throw NotAnImage("no PE signature");
    const std::uint32_t machine = bytes.u16(pe + 4);
    const std::uint32_t sectionCount = bytes.u16(pe + 6);
    const std::uint64_t optional = pe + 24;
    const std::uint32_t magic = bytes.u16(optional);
    if (magic != 0x10B && magic != 0x20B)
        throw NotAnImage("an optional header of no known kind");
    const std::uint64_t directories = optional + (magic == 0x10B ? 96 : 112);
    const std::uint32_t directoryCount = bytes.u32(directories - 4);
    const auto sections = sectionsOf(bytes, optional + bytes.u16(pe + 20), sectionCount);

    Facts facts;
    facts.bits32 = machine == 0x14C && magic == 0x10B;
    if (directoryCount <= ResourceDirectory || bytes.u32(directories + 8 * ResourceDirectory) == 0)
        return facts; // no resources at all
    const std::uint64_t table = offsetOf(sections, bytes.u32(directories + 8 * ResourceDirectory));
    // Three levels: the type, the resource's id, its language. Each step goes to a directory
    // (high bit set) but the last, which leads to the data's address and size.
    std::optional<std::uint32_t> step = entry(bytes, table, RtManifest);
    for (const std::uint32_t id : {ProcessManifest, 0u}) {
        if (!step || !(*step & 0x80000000))
            return facts;
        step = entry(bytes, table + (*step & 0x7FFFFFFF), id);
    }
    if (!step || (*step & 0x80000000))
        return facts;
    const std::uint64_t data = table + *step;
    const std::string_view manifest =
        bytes.span(offsetOf(sections, bytes.u32(data)), bytes.u32(data + 4));
    facts.asksExecutionLevel = namesExecutionLevel(asText(manifest));
    return facts;
}

} // namespace PeImage
