#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

// A System folder of one test's own: a copy of a folder of settings files in a fresh temporary
// folder, removed again when the test ends.
class TempSystemDir {
public:
    explicit TempSystemDir(const std::filesystem::path& source) {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        do {
            path_ = base / ("quillon-test-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
        for (const auto& entry : std::filesystem::directory_iterator(source))
            std::filesystem::copy_file(entry.path(), path_ / entry.path().filename());
    }
    ~TempSystemDir() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempSystemDir(const TempSystemDir&) = delete;
    TempSystemDir& operator=(const TempSystemDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder as SystemDir holds it: ending in a separator.
    std::string systemDir() const { return (path_ / "").string(); }

    // Every byte of one file in the folder (or of any other file).
    static std::string bytesOf(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string bytes(const std::string& fileName) const { return bytesOf(path_ / fileName); }

    // Takes away every write permission bit of one file.
    void makeReadOnly(const std::string& fileName) const {
        std::filesystem::permissions(path_ / fileName,
                                     std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_write |
                                         std::filesystem::perms::others_write,
                                     std::filesystem::perm_options::remove);
    }

private:
    std::filesystem::path path_;
};
