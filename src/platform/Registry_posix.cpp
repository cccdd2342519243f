#include "platform/Registry.h"

#include "platform/AsciiCase.h"
#include "platform/NativePath.h"
#include "platform/Utf8.h"
#include "platform/WineRegistryFile.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace Registry {

namespace {

// A registry file of a prefix that has seen years of programs runs to some megabytes; far beyond
// that it is no registry file.
constexpr off_t MaxRegistryFileBytes = 64 * 1024 * 1024;

// The prefix's file that holds the keys below root; empty for a root Wine keeps elsewhere.
std::string registryFileFor(const std::string& prefix, RootKey root) {
    if (root == HKeyLocalMachine)
        return prefix + "/system.reg";
    if (root == HKeyCurrentUser)
        return prefix + "/user.reg";
    return {};
}

// The registry file's bytes; empty when it is missing, not a plain file (a pipe is not waited
// on), too big or unreadable.
std::string readRegistryFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= MaxRegistryFileBytes) {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        std::size_t filled = 0;
        while (filled < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            filled += static_cast<std::size_t>(n);
        }
        bytes.resize(filled);
    }
    ::close(fd);
    return bytes;
}

std::optional<std::u16string> findIn(const std::string& text, const std::string& key,
                                     const std::u16string& name) {
    const auto utf16 = utf16FromUtf8(key);
    return utf16 ? WineRegistryFile::findString(text, *utf16, name) : std::nullopt;
}

} // namespace

Reader::Reader(std::string winePrefix) : prefix_(std::move(winePrefix)) {}

std::string Reader::readString(RootKey root, View view, const std::string& subKeyPath,
                               const std::string& valueName) {
    const std::string file = registryFileFor(prefix_, root);
    if (file.empty())
        return {};
    auto cached = files_.find(root);
    if (cached == files_.end())
        cached = files_.emplace(root, readRegistryFile(file)).first;
    const std::string& text = cached->second;
    const auto name = utf16FromUtf8(valueName);
    if (text.empty() || !name)
        return {};
    std::optional<std::u16string> value;
    if (view == View::Bits32 && root == HKeyLocalMachine &&
        AsciiCase::toLower(subKeyPath.substr(0, 9)) == "software\\")
        value = findIn(text, "Software\\Wow6432Node" + subKeyPath.substr(8), *name);
    if (!value)
        value = findIn(text, subKeyPath, *name);
    if (!value)
        return {};
    if (const auto nul = value->find(u'\0'); nul != std::u16string::npos)
        value->resize(nul);
    return utf8FromUtf16(*value);
}

std::string ReadRegistryString(RootKey root, const std::string& subKeyPath,
                               const std::string& valueName) {
    return Reader(NativePath::winePrefix()).readString(root, View::Bits32, subKeyPath, valueName);
}

} // namespace Registry
