// An HTML5 parser (gumbo) as the judge of the pages we write: what we meant
// as one element's text or one attribute's value must come back as exactly
// that, whatever the text held.
#pragma once

#include <gumbo.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Text as a parser keeps it: a parser drops NUL, reads CR as LF, and other
// control characters and bytes that are not UTF-8 as U+FFFD, so those are
// taken out before the test.
inline std::string Parseable(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(c & 0x7F);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\f') || c == 0x7F) c = ' ';
    }
    return out;
}

class Document {
public:
    explicit Document(std::string html)
        : html_(std::move(html)), out_(gumbo_parse_with_options(&kGumboDefaultOptions, html_.data(), html_.size())) {}
    ~Document() { gumbo_destroy_output(&kGumboDefaultOptions, out_); }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // The elements of one kind, in document order (our pages are shallow).
    std::vector<const GumboElement*> Elements(GumboTag tag) const {
        std::vector<const GumboElement*> found;
        Collect(out_->root, tag, found);
        return found;
    }

private:
    static void Collect(const GumboNode* node, GumboTag tag, std::vector<const GumboElement*>& found) {
        if (node->type != GUMBO_NODE_ELEMENT) return;
        if (node->v.element.tag == tag) found.push_back(&node->v.element);
        const GumboVector& children = node->v.element.children;
        for (unsigned i = 0; i < children.length; ++i)
            Collect(static_cast<const GumboNode*>(children.data[i]), tag, found);
    }

    std::string html_;  // the parser's output points into it
    GumboOutput* out_;
};

// An element's text; nullopt when it holds anything else (an element, a comment).
inline std::optional<std::string> TextOf(const GumboElement& e) {
    std::string text;
    for (unsigned i = 0; i < e.children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(e.children.data[i]);
        if (child->type != GUMBO_NODE_TEXT && child->type != GUMBO_NODE_WHITESPACE) return std::nullopt;
        text += child->v.text.text;
    }
    return text;
}

inline std::optional<std::string> Attribute(const GumboElement& e, const char* name) {
    const GumboAttribute* a = gumbo_get_attribute(&e.attributes, name);
    return a ? std::optional<std::string>(a->value) : std::nullopt;
}

}  // namespace fuzz
