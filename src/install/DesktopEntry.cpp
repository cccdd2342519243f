#include "install/DesktopEntry.h"

namespace DesktopEntry {

namespace {

std::string_view trimmed(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t\r") + 1 - start);
}

// A value of type string with its escapes undone: \s, \n, \t, \r and \\.
std::string unescaped(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (const char c = value[++i]) {
        case 's':
            text += ' ';
            break;
        case 'n':
            text += '\n';
            break;
        case 't':
            text += '\t';
            break;
        case 'r':
            text += '\r';
            break;
        default: // \\, and any other pair kept for the quoting rules to read
            text += c == '\\' ? "\\" : std::string{'\\', c};
        }
    }
    return text;
}

// Whether a word is a field code alone (%f, %U, ...), which the launcher replaces or drops.
bool isFieldCode(const std::string& word) {
    return word.size() == 2 && word[0] == '%' && word[1] != '%';
}

// The words of a command line: separated by spaces, quoted with double quotes (inside which a
// backslash escapes ", `, $ and \), or with single quotes, or a character escaped by a
// backslash outside quotes.
std::vector<std::string> wordsOf(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord && !isFieldCode(word))
                words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '"') {
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size() &&
                    std::string_view("\"`$\\").find(line[i + 1]) != std::string_view::npos)
                    ++i;
                word += line[i];
            }
        } else if (c == '\'') {
            for (++i; i < line.size() && line[i] != '\''; ++i)
                word += line[i];
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
        } else if (c == '%' && i + 1 < line.size() && line[i + 1] == '%') {
            word += line[++i];
        } else {
            word += c;
        }
    }
    if (inWord && !isFieldCode(word))
        words.push_back(word);
    return words;
}

} // namespace

std::optional<Launch> launchOf(std::string_view text) {
    std::optional<std::string> exec;
    Launch launch;
    bool inGroup = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.starts_with('[')) {
            inGroup = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inGroup || line.starts_with('#') || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string value = unescaped(trimmed(line.substr(equals + 1)));
        if (key == "Exec")
            exec = value;
        else if (key == "Path")
            launch.path = value;
    }
    if (!exec)
        return std::nullopt;
    launch.words = wordsOf(*exec);
    return launch;
}

} // namespace DesktopEntry
