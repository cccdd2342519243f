#pragma once

#include <string>
#include <vector>

// A program's name and arguments as posix_spawn and execv take them: NUL-terminated texts and a
// null pointer after the last.
class ArgumentVector {
public:
    ArgumentVector(const std::string& program, const std::vector<std::string>& args)
        : texts_{program} {
        texts_.insert(texts_.end(), args.begin(), args.end());
        for (auto& text : texts_)
            pointers_.push_back(text.data());
        pointers_.push_back(nullptr);
    }
    ArgumentVector(const ArgumentVector&) = delete;
    ArgumentVector& operator=(const ArgumentVector&) = delete;

    char* const* get() noexcept { return pointers_.data(); }

private:
    std::vector<std::string> texts_;
    std::vector<char*> pointers_;
};
