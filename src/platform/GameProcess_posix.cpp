#include "platform/GameProcess.h"

#include "platform/GameKinds_posix.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace GameProcess {

namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd;
    explicit Descriptor(int opened) : fd(opened) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// The bytes of a file below /proc, up to its end or, with untilNul, to its first NUL.
std::string readProcFile(int procFolder, const std::string& name, bool untilNul) {
    const Descriptor file(::openat(procFolder, name.c_str(), O_RDONLY | O_CLOEXEC));
    std::string bytes;
    if (file.fd < 0)
        return bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::read(file.fd, buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (untilNul && bytes.find('\0') != std::string::npos)
            break;
    }
    if (untilNul)
        bytes.resize(std::min(bytes.find('\0'), bytes.size()));
    return bytes;
}

bool isProcessId(const char* name) {
    for (const char* c = name; *c; ++c)
        if (!std::isdigit(static_cast<unsigned char>(*c)))
            return false;
    return *name != '\0';
}

bool ownedByThisUser(int procFolder, const char* id) {
    struct stat st {};
    return ::fstatat(procFolder, id, &st, 0) == 0 && st.st_uid == ::geteuid();
}

} // namespace

const std::string& ProcessView::name() {
    if (!name_) {
        name_ = readProcFile(procFolder_, id_ + "/comm", false);
        if (name_->ends_with('\n'))
            name_->pop_back();
    }
    return *name_;
}

const std::string& ProcessView::executable() {
    if (!executable_)
        executable_ = linkTarget("exe");
    return *executable_;
}

std::string ProcessView::workingFolder() const {
    return linkTarget("cwd");
}

std::string ProcessView::linkTarget(const char* link) const {
    char target[4096];
    const ssize_t n =
        ::readlinkat(procFolder_, (id_ + "/" + link).c_str(), target, sizeof target - 1);
    return {target, n > 0 ? static_cast<std::size_t>(n) : 0};
}

const std::string& ProcessView::firstArgument() {
    if (!firstArgument_)
        firstArgument_ = readProcFile(procFolder_, id_ + "/cmdline", true);
    return *firstArgument_;
}

std::vector<std::string> ProcessView::otherArguments() const {
    const std::string line = readProcFile(procFolder_, id_ + "/cmdline", false);
    std::vector<std::string> words;
    for (std::size_t start = line.find('\0'), end; start < line.size(); start = end) {
        end = std::min(line.find('\0', ++start), line.size());
        words.emplace_back(line, start, end - start);
    }
    return words;
}

std::optional<std::string> ProcessView::environmentValue(std::string_view name) const {
    const std::string environment = readProcFile(procFolder_, id_ + "/environ", false);
    for (std::size_t start = 0, end; start < environment.size(); start = end + 1) {
        end = std::min(environment.find('\0', start), environment.size());
        const std::string_view entry(environment.data() + start, end - start);
        if (entry.size() > name.size() && entry.starts_with(name) && entry[name.size()] == '=')
            return std::string(entry.substr(name.size() + 1));
    }
    return std::nullopt;
}

std::optional<FolderIdentity> holderIdOf(const std::string& filePath) {
    const std::size_t slash = filePath.rfind('/');
    if (slash == std::string::npos)
        return std::nullopt;
    return folderIdentity(slash == 0 ? "/" : filePath.substr(0, slash));
}

std::optional<Running> runningFrom(const std::string& systemFolder) {
    const std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), ::closedir);
    if (!proc)
        return std::nullopt;
    const int procFolder = ::dirfd(proc.get());
    const std::unique_ptr<GameKind> kinds[] = {linuxBuild(systemFolder), underWine(systemFolder)};
    while (const dirent* entry = ::readdir(proc.get())) {
        if (!isProcessId(entry->d_name))
            continue;
        // The name first: it is the cheapest part to read, and rules out nearly every process.
        ProcessView process(procFolder, entry->d_name);
        for (const auto& kind : kinds) {
            if (!kind->mayBeNamed(process.name()) || !ownedByThisUser(procFolder, entry->d_name))
                continue;
            if (auto program = kind->program(process))
                return Running{std::move(*program), std::stoll(entry->d_name)};
        }
    }
    return std::nullopt;
}

} // namespace GameProcess
