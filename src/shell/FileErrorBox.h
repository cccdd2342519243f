#pragma once

#include <QString>

class FileError;

// Tells the user that something could not be done to a file, naming the file and the reason.
// Returns the answer of the message box (always OK).
int showFileError(const QString& whatFailed, const FileError& error);

// The file's path and the reason, as text, for a message box's details.
QString fileErrorDetails(const FileError& error);
