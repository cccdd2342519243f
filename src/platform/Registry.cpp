#include "platform/Registry.h"

#include "platform/NativePath.h"

namespace Registry {

std::string typeName(std::uint32_t type) {
    static const char* const Names[] = {"REG_NONE",   "REG_SZ",      "REG_EXPAND_SZ",
                                        "REG_BINARY", "REG_DWORD",   "REG_DWORD_BIG_ENDIAN",
                                        "REG_LINK",   "REG_MULTI_SZ"};
    if (type < std::size(Names))
        return Names[type];
    if (type == 11)
        return "REG_QWORD";
    return type == 0xFFFFFFFF ? "unknown type" : "type " + std::to_string(type);
}

std::string ReadRegistryString(RootKey root, const std::string& subKeyPath,
                               const std::string& valueName) {
    try {
        const auto value =
            Reader(NativePath::winePrefix()).readValue(root, View::Bits32, subKeyPath, valueName);
        return value && value->type == "REG_SZ" && value->text ? *value->text : std::string();
    } catch (const Unreadable&) {
        return {};
    }
}

} // namespace Registry
