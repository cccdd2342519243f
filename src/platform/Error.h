#pragma once

#include <stdexcept>
#include <string>
#include <system_error>

// The one base of every failure the program reports to its user: its what() is a message for
// the user (UTF-8). Each layer derives the types it throws from it (a file that cannot be read or
// written, a value refused, a save declined), and the windows and the command line turn them into
// message boxes and exit statuses. Nothing inside the core fails in another way: no error codes
// read afterwards, no reasons passed back through out-parameters.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A failure at one place (a file, a folder, a registry key) with the operating system's reason,
// or the closest one. what() is the place and the reason, each once.
class PlaceError : public Error {
public:
    // detail, when given, is the reason as the user should read it, for failures that the
    // system's own wording would not explain (an over-long file, a pipe where a file should be).
    PlaceError(std::string place, std::error_code reason, std::string detail = {});

    const std::string& place() const noexcept { return place_; }
    const std::error_code& code() const noexcept { return code_; }
    // The reason alone, as the user should read it.
    std::string reason() const;

private:
    std::string place_;
    std::error_code code_;
    std::string detail_;
};
