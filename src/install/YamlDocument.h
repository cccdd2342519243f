#pragma once

#include "platform/Error.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

// Values out of another program's YAML settings (Lutris' system.yml, Bottles' data.yml), read
// with libyaml, the parser PyYAML itself wraps, so that a value reads as its writer meant it
// whatever form the writer chose: plain, quoted with escapes (\xE9, \u0418), folded onto further
// lines or broken with a backslash, a block scalar, an anchor's alias; UTF-8, or UTF-16 after its
// byte order mark; CR LF line ends. Only the file's first document is read.
namespace YamlDocument {

// The text is not YAML: libyaml's reason and where it found it.
class NotYaml : public Error {
public:
    using Error::Error;
};

// The text at a path of mapping keys from the document's root ("custom_bottles_path", or
// "system" then "game_path"); of a key given twice, the last, as PyYAML takes it. Nothing when a
// key is missing, or the value is null (~, null or nothing at all) or not a scalar. Throws
// NotYaml.
std::optional<std::string> textAt(std::string_view yaml,
                                  std::initializer_list<std::string_view> keys);

} // namespace YamlDocument
