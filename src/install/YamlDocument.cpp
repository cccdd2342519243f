#include "install/YamlDocument.h"

#include <yaml.h>

namespace YamlDocument {

namespace {

// libyaml's parser, freed when it goes out of scope.
class Parser {
public:
    Parser() { yaml_parser_initialize(&parser); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
    ~Parser() { yaml_parser_delete(&parser); }
    yaml_parser_t parser{};
};

// The document libyaml loads from the text, freed when it goes out of scope; a text that is not
// YAML throws NotYaml (the parser, a member, is freed all the same).
class Loaded {
public:
    explicit Loaded(std::string_view yaml) {
        yaml_parser_set_input_string(
            &parser_.parser, reinterpret_cast<const unsigned char*>(yaml.data()), yaml.size());
        // On failure libyaml has freed what it loaded of the document itself.
        if (!yaml_parser_load(&parser_.parser, &document_))
            throw NotYaml(problem());
        loaded_ = true;
    }
    Loaded(const Loaded&) = delete;
    Loaded& operator=(const Loaded&) = delete;
    ~Loaded() {
        if (loaded_)
            yaml_document_delete(&document_);
    }

    yaml_node_t* root() { return yaml_document_get_root_node(&document_); }
    yaml_node_t* node(int index) { return yaml_document_get_node(&document_, index); }

private:
    std::string problem() const {
        const yaml_parser_t& parser = parser_.parser;
        const std::string text = std::string("not YAML: ") +
                                 (parser.problem ? parser.problem : "libyaml could not read it");
        return text + " (line " + std::to_string(parser.problem_mark.line + 1) + ", column " +
               std::to_string(parser.problem_mark.column + 1) + ")";
    }

    Parser parser_;
    yaml_document_t document_{};
    bool loaded_ = false;
};

std::string_view scalarOf(const yaml_node_t& node) {
    return {reinterpret_cast<const char*>(node.data.scalar.value), node.data.scalar.length};
}

// A plain scalar that YAML reads as null rather than as text.
bool isNull(const yaml_node_t& node) {
    const std::string_view text = scalarOf(node);
    return node.data.scalar.style == YAML_PLAIN_SCALAR_STYLE &&
           (text.empty() || text == "~" || text == "null" || text == "Null" || text == "NULL");
}

} // namespace

std::optional<std::string> textAt(std::string_view yaml,
                                  std::initializer_list<std::string_view> keys) {
    Loaded document(yaml);
    yaml_node_t* node = document.root();
    for (const std::string_view key : keys) {
        if (!node || node->type != YAML_MAPPING_NODE)
            return std::nullopt;
        yaml_node_t* value = nullptr;
        for (auto* pair = node->data.mapping.pairs.start; pair < node->data.mapping.pairs.top;
             ++pair) {
            const yaml_node_t* name = document.node(pair->key);
            if (name && name->type == YAML_SCALAR_NODE && scalarOf(*name) == key)
                value = document.node(pair->value);
        }
        node = value;
    }
    if (!node || node->type != YAML_SCALAR_NODE || isNull(*node))
        return std::nullopt;
    return std::string(scalarOf(*node));
}

} // namespace YamlDocument
