#pragma once

#include <string>
#include <string_view>

// UTF-8 text from UTF-16: for file names on Linux and for quoting text in messages. A lone
// surrogate becomes U+FFFD.
std::string utf8FromUtf16(std::u16string_view text);
