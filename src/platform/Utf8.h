#pragma once

#include <optional>
#include <string>
#include <string_view>

// UTF-8 text from UTF-16: for file names on Linux and for quoting text in messages. A lone
// surrogate becomes U+FFFD.
std::string utf8FromUtf16(std::u16string_view text);

// UTF-16 text from UTF-8, as command-line arguments arrive on Linux. Nothing when the bytes are
// not well-formed UTF-8 (overlong forms, surrogates and cut sequences included).
std::optional<std::u16string> utf16FromUtf8(std::string_view text);
