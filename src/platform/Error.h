#pragma once

#include <stdexcept>
#include <string>

// The one base of every failure the program reports to its user: its what() is a message for
// the user (UTF-8). Each layer derives the types it throws from it (a file that cannot be read or
// written, a value refused, a save declined), and the windows and the command line turn them into
// message boxes and exit statuses. Nothing inside the core fails in another way: no error codes
// read afterwards, no reasons passed back through out-parameters.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
