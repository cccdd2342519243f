#pragma once

#include <string>

// What --help and --version print.
std::string helpText();
std::string versionText();
