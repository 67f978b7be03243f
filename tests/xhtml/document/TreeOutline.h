#pragma once

#include "xhtml/document/MarkupParser.h"

#include <string>

// A one-line picture of a parsed tree: `<b x="1">y</b>z` reads b(x=1)["y"] "z". Built with +=
// only: chains of + on strings trip a false -Wrestrict warning of the MinGW compiler.
inline std::string outline(const xhtml::HtmlNode& node);

inline std::string outlineChildren(const xhtml::HtmlTagNode& element) {
    std::string out;
    for (const auto& child : element.children) {
        out += out.empty() ? "" : " ";
        out += outline(*child);
    }
    return out;
}

inline std::string outline(const xhtml::HtmlNode& node) {
    std::string out = "\"";
    if (node.kind == xhtml::HtmlNode::Text) {
        out += toUtf8(static_cast<const xhtml::HtmlTextNode&>(node).text);
        return out += '"';
    }
    const auto& element = static_cast<const xhtml::HtmlTagNode&>(node);
    out = toUtf8(element.name);
    char separator = '(';
    for (const auto& [name, value] : element.attributes) {
        out += separator;
        separator = ',';
        out += toUtf8(name);
        out += '=';
        out += toUtf8(value);
    }
    out += element.attributes.empty() ? "" : ")";
    if (!element.children.empty()) {
        out += '[';
        out += outlineChildren(element);
        out += ']';
    }
    return out;
}

inline std::string parsedOutline(const char16_t* markup) {
    return outlineChildren(*xhtml::parseDocument(markup));
}
