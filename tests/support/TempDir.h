#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <system_error>

// A fresh folder for one test, removed with everything in it when the test ends.
class TempDir {
public:
    TempDir() {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        do {
            path_ = base / ("quillon-test-" + std::to_string(random()) + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        // Files a test made read-only must not stop the clean-up.
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }
    // The folder as SystemDir holds it: its path followed by a separator.
    std::string dir() const { return (path_ / "").string(); }

    // Copies every file of another folder in, or into a folder below this one.
    void copyFilesFrom(const std::filesystem::path& source,
                       const std::filesystem::path& below = {}) const {
        const auto target = path_ / below;
        std::filesystem::create_directories(target);
        for (const auto& entry : std::filesystem::directory_iterator(source))
            if (entry.is_regular_file())
                std::filesystem::copy_file(entry.path(), target / entry.path().filename(),
                                           std::filesystem::copy_options::overwrite_existing);
    }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    // Every byte of one file in the folder, or of any file.
    std::string read(const std::string& name) const { return bytesOf(path_ / name); }
    static std::string bytesOf(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Every name in a folder (hidden ones too) with its bytes; a folder's bytes read "<folder>".
    static std::map<std::string, std::string> contentsOf(const std::filesystem::path& folder) {
        std::map<std::string, std::string> contents;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            contents[entry.path().filename().string()] =
                entry.is_directory() ? "<folder>" : bytesOf(entry.path());
        return contents;
    }

    // Takes away every write permission bit of one file.
    void makeReadOnly(const std::string& name) const {
        using std::filesystem::perms;
        std::filesystem::permissions(path_ / name,
                                     perms::owner_write | perms::group_write | perms::others_write,
                                     std::filesystem::perm_options::remove);
    }

private:
    std::filesystem::path path_;
};

// A System folder of one test's own, holding a copy of a folder of settings files.
class TempSystemDir : public TempDir {
public:
    explicit TempSystemDir(const std::filesystem::path& source) { copyFilesFrom(source); }
    std::string systemDir() const { return dir(); }
    std::string bytes(const std::string& fileName) const { return read(fileName); }
};
