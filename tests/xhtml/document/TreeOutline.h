#pragma once

#include "xhtml/document/MarkupParser.h"

#include <string>

// A one-line picture of an element's content: `<b x="1">y</b>z` reads b(x=1)["y"] "z". Built
// with += only: chains of + on strings trip a false -Wrestrict warning of the MinGW compiler.
inline std::string outline(const xhtml::HtmlTagNode& parent) {
    std::string out;
    for (const auto& child : parent.children) {
        out += out.empty() ? "" : " ";
        if (child->kind == xhtml::HtmlNode::Text) {
            out += '"';
            out += toUtf8(static_cast<const xhtml::HtmlTextNode&>(*child).text);
            out += '"';
            continue;
        }
        const auto& element = static_cast<const xhtml::HtmlTagNode&>(*child);
        out += toUtf8(element.name);
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
            out += outline(element);
            out += ']';
        }
    }
    return out;
}
