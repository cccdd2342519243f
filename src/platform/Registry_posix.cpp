#include "platform/Registry.h"

#include "platform/AsciiCase.h"
#include "platform/Utf8.h"
#include "platform/WineRegistryFile.h"

#include <cerrno>
#include <fcntl.h>
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

std::error_code lastError() {
    return {errno, std::generic_category()};
}

// The registry file's bytes; empty when it is missing. Anything else that is not a registry file
// (a pipe is not waited on) throws Unreadable.
std::string readRegistryFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return {};
        throw Unreadable(path, lastError());
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw Unreadable(path, lastError());
    if (!S_ISREG(st.st_mode))
        throw Unreadable(path, std::make_error_code(std::errc::invalid_argument),
                         "not a plain file");
    if (st.st_size > MaxRegistryFileBytes)
        throw Unreadable(path, std::make_error_code(std::errc::file_too_large),
                         "bigger than 64 MiB");
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Unreadable(path, lastError());
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    bytes.resize(filled);
    if (!bytes.empty() && !WineRegistryFile::isRegistryFile(bytes))
        throw Unreadable(
            path, std::make_error_code(std::errc::invalid_argument),
            "not a Wine registry file (its first line is not WINE REGISTRY Version 2)");
    return bytes;
}

std::optional<WineRegistryFile::StoredValue> findIn(const std::string& text, const std::string& key,
                                                    const std::u16string& name) {
    const auto utf16 = utf16FromUtf8(key);
    return utf16 ? WineRegistryFile::findValue(text, *utf16, name) : std::nullopt;
}

} // namespace

Reader::Reader(std::string winePrefix) : prefix_(std::move(winePrefix)) {}

std::optional<Value> Reader::readValue(RootKey root, View view, const std::string& subKeyPath,
                                       const std::string& valueName) {
    const std::string file = registryFileFor(prefix_, root);
    if (file.empty())
        return std::nullopt;
    auto cached = files_.find(root);
    if (cached == files_.end()) {
        std::pair<std::string, std::exception_ptr> read;
        try {
            read.first = readRegistryFile(file);
        } catch (const Unreadable&) {
            read.second = std::current_exception();
        }
        cached = files_.emplace(root, std::move(read)).first;
    }
    if (cached->second.second)
        std::rethrow_exception(cached->second.second);
    const std::string& text = cached->second.first;
    const auto name = utf16FromUtf8(valueName);
    if (text.empty() || !name)
        return std::nullopt;
    std::optional<WineRegistryFile::StoredValue> stored;
    if (view == View::Bits32 && root == HKeyLocalMachine &&
        AsciiCase::toLower(subKeyPath.substr(0, 9)) == "software\\")
        stored = findIn(text, "Software\\Wow6432Node" + subKeyPath.substr(8), *name);
    if (!stored)
        stored = findIn(text, subKeyPath, *name);
    if (!stored)
        return std::nullopt;
    Value value{typeName(stored->type), std::nullopt};
    if (stored->text) {
        if (const auto nul = stored->text->find(u'\0'); nul != std::u16string::npos)
            stored->text->resize(nul);
        value.text = utf8FromUtf16(*stored->text);
    }
    return value;
}

} // namespace Registry
