#pragma once

#include "xhtml/document/HtmlNode.h"

#include <memory>
#include <vector>

namespace xhtml {

// Parses the content of `parent` from `p`, a position in NUL-terminated text, appending the nodes
// it makes to `parent`. Returns the position just after `parent`'s end tag, or the terminating
// NUL. Never fails: malformed markup is absorbed. A null parent or position, or an empty text,
// makes no nodes and returns null.
const char16_t* parseContent(HtmlTagNode* parent, const char16_t* p);

// Reads the attribute list of a start tag from `p`, just after the element name. Returns the
// position of what ended it: ">", the "/" of "/>", or the terminating NUL.
const char16_t* parseAttributes(const char16_t* p, std::vector<HtmlAttribute>& attributes);

// The value of the first attribute named `name`, ignoring case; null when there is none. An
// attribute written without "=" has an empty value, so this is also the presence test.
const ZString* getAttribute(const HtmlTagNode* element, const char16_t* name);

// A whole document: a root element holding the parsed content of `text`.
std::unique_ptr<HtmlTagNode> parseDocument(const ZString& text);

} // namespace xhtml
