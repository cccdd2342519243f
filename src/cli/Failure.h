#pragma once

#include "platform/Error.h"

#include <string>
#include <string_view>

// The program's exit statuses.
enum class ExitStatus {
    Success = 0,
    FileProblem = 1,    // a file could not be read or written
    Refused = 2,        // a usage error, or a value the settings cannot take
    NoSystemFolder = 3, // no folder holding the settings files was found
    FolderBusy = 4,     // another program kept the settings files' folder locked: it is saving
};

// Why the program stops without doing what it was asked: a one-line message for the user
// (UTF-8) and the exit status that goes with it.
class Failure : public Error {
public:
    Failure(ExitStatus status, const std::string& message) : Error(message), status_(status) {}
    ExitStatus status() const noexcept { return status_; }

private:
    ExitStatus status_;
};

// Text in double quotes, as messages name files and values.
inline std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    return out.append(1, '"').append(text).append(1, '"');
}
