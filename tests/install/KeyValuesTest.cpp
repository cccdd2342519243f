#include "install/KeyValues.h"

#include <gtest/gtest.h>

namespace {

// The keys in one line: key=value, or key{...} for a block.
std::string flat(const std::vector<KeyValues::Node>& keys) {
    std::string out;
    for (const auto& key : keys)
        out +=
            key.block ? key.key + "{" + flat(key.children) + "}" : key.key + "=" + key.value + ";";
    return out;
}

} // namespace

TEST(KeyValues, readsValvesTextAndRefusesWhatIsCutShortOrMalformed) {
    const std::pair<std::string, const char*> rows[] = {
        {"\"A\"\n{\n\t\"p\"\t\t\"C:\\\\Steam\"\n\t\"q\" \"say \\\"hi\\\"\\n\"\n}\n",
         "A{p=C:\\Steam;q=say \"hi\"\n;}"},
        {"\"A\" { \"w\" \"C:\\Games\" }", "A{w=C:\\Games;}"}, // a lone backslash stays
        {"// made by hand\nA { b c [$WIN32]\n \"d\" { } } \"E\" \"\xC3\xA9\"",
         "A{b=c;d{}}E=\xC3\xA9;"},
        {"", ""},
        {"\"A\" { \"b\" \"c", nullptr},   // cut short in a quote
        {"\"A\" { \"b\" \"c\"", nullptr}, // a block never closed
        {"\"A\" \"b\" }", nullptr},       // a stray closing brace
        {"\"A\" { \"b\" }", nullptr},     // a key without a value
        {"\"A\"", nullptr},
        {"{", nullptr},
        {[] { // nested deeper than any Steam file: not followed
             std::string deep;
             for (int i = 0; i < 100000; ++i)
                 deep += "k { ";
             return deep;
         }(),
         nullptr},
    };
    for (const auto& [text, expected] : rows) {
        const auto keys = KeyValues::parse(text);
        EXPECT_EQ(keys ? std::optional(flat(*keys)) : std::nullopt,
                  expected ? std::optional<std::string>(expected) : std::nullopt)
            << text.substr(0, 60);
    }
}
