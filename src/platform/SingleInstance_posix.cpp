#include "platform/SingleInstance.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

struct SingleInstance::Claim {
    explicit Claim(int fd) : fd(fd) {}
    Claim(const Claim&) = delete;
    Claim& operator=(const Claim&) = delete;
    ~Claim() { ::close(fd); } // closing the file releases the lock
    int fd;
};

namespace {

// The user's runtime folder, else the temporary folder.
std::string lockFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return runtime;
    std::error_code error;
    const auto temp = std::filesystem::temp_directory_path(error);
    return error ? std::string("/tmp") : temp.string();
}

} // namespace

SingleInstance::SingleInstance(const std::string& name) {
    // The user id is in the name, so users sharing the temporary folder do not meet.
    const std::string path = lockFolder() + "/" + name + "-" + std::to_string(::getuid()) + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    auto held = std::make_unique<Claim>(fd);
    // A file someone else planted under our name must not keep us from starting.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_uid != ::getuid())
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        claim = std::move(held);
        return;
    }
    onlyInstance = errno != EWOULDBLOCK;
}

SingleInstance::~SingleInstance() = default;
