#include "Registry.h"

#include "AsciiCase.h"
#include "CodePage.h"
#include "NativePath.h"
#include "WineRegistryFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace Registry {

namespace {

// The prefix's file that holds the keys below root; empty for a root Wine keeps elsewhere.
std::string registryFileFor(RootKey root) {
    if (root == HKeyLocalMachine)
        return NativePath::winePrefix() + "/system.reg";
    if (root == HKeyCurrentUser)
        return NativePath::winePrefix() + "/user.reg";
    return {};
}

// The registry file's bytes; nothing when it is missing, not a plain file or unreadable.
std::optional<std::string> readRegistryFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return bytes;
}

// The text in the ANSI code page, as the narrow registry calls give it: a character the code
// page lacks becomes a question mark.
std::string toAnsi(std::u16string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
        const auto one = CodePage::encode(text.substr(i, pair ? 2 : 1));
        bytes += one ? *one : std::string("?");
        if (pair)
            ++i;
    }
    return bytes;
}

} // namespace

std::string ReadRegistryString(RootKey root, const std::string& subKeyPath,
                               const std::string& valueName) {
    const std::string file = registryFileFor(root);
    if (file.empty())
        return {};
    const auto text = readRegistryFile(file);
    if (!text)
        return {}; // no registry file is no value
    const std::u16string key = CodePage::decode(subKeyPath);
    const std::u16string name = CodePage::decode(valueName);
    // A 32-bit installer in a 64-bit prefix writes below Software\Wow6432Node: the game's view of
    // the registry, as on Windows, so it is asked first.
    std::optional<std::u16string> value;
    if (root == HKeyLocalMachine && AsciiCase::toLower(subKeyPath.substr(0, 9)) == "software\\")
        value = WineRegistryFile::findString(*text, u"Software\\Wow6432Node" + key.substr(8), name);
    if (!value)
        value = WineRegistryFile::findString(*text, key, name);
    if (!value)
        return {};
    if (const auto nul = value->find(u'\0'); nul != std::u16string::npos)
        value->resize(nul);
    return toAnsi(*value);
}

} // namespace Registry
