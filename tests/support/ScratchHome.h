#pragma once

#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

// A home folder of one test's own, while it exists: HOME names it, WINEPREFIX its ~/.wine,
// XDG_DATA_DIRS its ~/system (for the system's desktop entries), and XDG_DATA_HOME and
// XDG_CONFIG_HOME are unset, so that a search looks only at what the test made. Every variable
// gets its old value back afterwards.
class ScratchHome : public TempDir {
public:
    ScratchHome() {
        set("HOME", path().string());
        set("WINEPREFIX", (path() / ".wine").string());
        set("XDG_DATA_DIRS", (path() / "system").string());
        set("XDG_DATA_HOME", std::nullopt);
        set("XDG_CONFIG_HOME", std::nullopt);
    }
    ~ScratchHome() {
        for (const auto& [name, value] : saved_)
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }

    // Writes a file below the home, making its folders; appends to it when asked.
    void put(const std::filesystem::path& relative, const std::string& bytes,
             bool append = false) const {
        std::filesystem::create_directories((path() / relative).parent_path());
        std::ofstream(path() / relative,
                      std::ios::binary | (append ? std::ios::app : std::ios::trunc))
            << bytes;
    }

private:
    void set(const std::string& name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
        value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }

    std::map<std::string, std::optional<std::string>> saved_;
};
