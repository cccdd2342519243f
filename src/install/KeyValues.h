#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Valve's KeyValues text, in which Steam keeps its library list (libraryfolders.vdf) and what it
// knows of an installed game (appmanifest_<id>.acf): keys and values in double quotes, with
// \\, \", \n and \t escapes (any other backslash stays as it is), a block of keys in braces in
// place of a value, and // comments. A key or value may also stand without quotes, up to the
// next space, quote or brace.
namespace KeyValues {

struct Node {
    std::string key;
    std::string value;          // a text value (UTF-8, as the file holds it)
    std::vector<Node> children; // a block's keys, in the file's order
    bool block = false;

    // The first key of the block with that name, compared ignoring ASCII letter case.
    const Node* child(std::string_view name) const;
    // Its text value; empty when there is none or it is a block.
    std::string text(std::string_view name) const;
};

// The keys of a whole file (usually one block). Nothing when the text is malformed or cut short:
// an unclosed quote or block, a stray closing brace, a key without a value, or blocks nested
// more deeply than any Steam file nests them.
std::optional<std::vector<Node>> parse(std::string_view text);

} // namespace KeyValues
