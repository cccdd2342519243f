#pragma once

#include "TempDir.h"

#include <cstdlib>
#include <optional>
#include <string>

// A fresh folder named by an environment variable (WINEPREFIX, XDG_RUNTIME_DIR) while it
// exists; the variable gets its old value back afterwards.
class EnvFolder : public TempDir {
public:
    explicit EnvFolder(std::string variable) : variable_(std::move(variable)) {
        if (const char* old = std::getenv(variable_.c_str()))
            saved_ = old;
        ::setenv(variable_.c_str(), path().c_str(), 1);
    }
    ~EnvFolder() {
        if (saved_)
            ::setenv(variable_.c_str(), saved_->c_str(), 1);
        else
            ::unsetenv(variable_.c_str());
    }

private:
    std::string variable_;
    std::optional<std::string> saved_;
};
