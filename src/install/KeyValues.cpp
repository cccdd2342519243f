#include "install/KeyValues.h"

#include "platform/AsciiCase.h"

namespace KeyValues {

namespace {

// Far deeper than Steam's files go; a file nested deeper is taken as malformed, not followed.
constexpr int MaxDepth = 32;

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    // The keys up to the end of the text (depth 0) or up to the brace that closes the block.
    bool readKeys(std::vector<Node>& keys, int depth) {
        if (depth > MaxDepth)
            return false;
        for (;;) {
            skipSpaceAndComments();
            if (at_ == text_.size())
                return depth == 0;
            if (text_[at_] == '}') {
                ++at_;
                return depth > 0;
            }
            Node node;
            if (!readText(node.key))
                return false;
            skipSpaceAndComments();
            if (at_ < text_.size() && text_[at_] == '{') {
                ++at_;
                node.block = true;
                if (!readKeys(node.children, depth + 1))
                    return false;
            } else if (!readText(node.value)) {
                return false;
            }
            skipConditional();
            keys.push_back(std::move(node));
        }
    }

private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    void skipSpaceAndComments() {
        while (at_ < text_.size()) {
            if (isSpace(text_[at_])) {
                ++at_;
            } else if (text_.substr(at_, 2) == "//") {
                const auto end = text_.find('\n', at_);
                at_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else {
                return;
            }
        }
    }

    // A condition such as [$WIN32] after a key's value; it is not needed to find anything.
    void skipConditional() {
        std::size_t at = at_;
        while (at < text_.size() && (text_[at] == ' ' || text_[at] == '\t'))
            ++at;
        if (at < text_.size() && text_[at] == '[') {
            const auto end = text_.find(']', at);
            if (end != std::string_view::npos)
                at_ = end + 1;
        }
    }

    // A quoted or bare word; false when there is none or its quote is never closed.
    bool readText(std::string& out) {
        if (at_ == text_.size() || text_[at_] == '{' || text_[at_] == '}')
            return false;
        if (text_[at_] != '"') {
            while (at_ < text_.size() && !isSpace(text_[at_]) && text_[at_] != '"' &&
                   text_[at_] != '{' && text_[at_] != '}')
                out += text_[at_++];
            return true;
        }
        for (++at_; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c == '\\' && at_ + 1 < text_.size()) {
                const char next = text_[at_ + 1];
                const char meant = next == 'n' ? '\n' : next == 't' ? '\t' : next;
                if (next == '\\' || next == '"' || next == 'n' || next == 't') {
                    out += meant;
                    ++at_;
                    continue;
                }
            }
            out += c;
        }
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

const Node* Node::child(std::string_view name) const {
    for (const Node& node : children)
        if (AsciiCase::equalIgnoringCase(node.key, name))
            return &node;
    return nullptr;
}

std::string Node::text(std::string_view name) const {
    const Node* node = child(name);
    return node && !node->block ? node->value : std::string();
}

std::optional<std::vector<Node>> parse(std::string_view text) {
    std::vector<Node> keys;
    if (!Reader(text).readKeys(keys, 0))
        return std::nullopt;
    return keys;
}

} // namespace KeyValues
