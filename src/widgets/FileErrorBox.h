#pragma once

#include <QString>

#include <exception>

// What a failure says, as text for a message box: a FileError's path and reason, anything else's
// own text.
QString errorDetails(const std::exception& error);

// Tells the user that something could not be done, and why: for a file, the file and the reason.
// Returns the answer of the message box (always OK).
int showError(const QString& whatFailed, const std::exception& error);
