#include "xhtml/document/MarkupParser.h"

#include <algorithm>

namespace xhtml {

namespace {

// Only ASCII letters open tags and attribute names, so both builds agree; the C runtimes' letter
// classes differ beyond ASCII.
bool isLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool startsWith(const char16_t* p, const char16_t* prefix) {
    for (; *prefix; ++p, ++prefix) {
        if (*p != *prefix)
            return false;
    }
    return true;
}

bool startsWithIgnoreCase(const char16_t* p, const ZString& prefix) {
    for (int i = 0; i < prefix.length(); ++i) {
        if (p[i] == 0 || toLowerAscii(p[i]) != toLowerAscii(prefix.c_str()[i]))
            return false;
    }
    return true;
}

bool isTagEnd(const char16_t* p) {
    return *p == u'>' || (p[0] == u'/' && p[1] == u'>');
}

const char16_t* pastNext(char16_t c, const char16_t* p) {
    while (*p && *p != c)
        ++p;
    return *p ? p + 1 : p;
}

// A comment without "-->" runs to the end of the input.
const char16_t* pastComment(const char16_t* p) {
    for (p += 2; *p; ++p) {
        if (startsWith(p, u"-->"))
            return p + 3;
    }
    return p;
}

bool isRawTextElement(const ZString& name) {
    return name.equals(u"textarea") || name.equals(u"style");
}

int depthOf(const HtmlTagNode* element) {
    int depth = 0;
    for (; element->parent; element = element->parent)
        ++depth;
    return depth;
}

template <typename Node> Node& append(HtmlTagNode& container, std::unique_ptr<Node> node) {
    Node& added = *node;
    container.children.push_back(std::move(node));
    return added;
}

// The content of a raw-text element up to its end tag, as one text node of `container`. `begin`
// is where the content starts.
const char16_t* parseRawText(const HtmlTagNode& element, HtmlTagNode& container,
                             const char16_t* begin) {
    const ZString closing = ZString(u"</") + element.name;
    const char16_t* p = begin;
    while (*p && !startsWithIgnoreCase(p, closing))
        ++p;
    append(container, std::make_unique<HtmlTextNode>(&container, ZString(begin, int(p - begin))));
    // Lands just after the ">" of the end tag, or stays in front of the end tag when the content
    // ends with ">": the enclosing element then drops that end tag as a stray one. Empty content
    // has nothing that could end with ">", so its end tag is passed.
    while (*p && (p == begin || p[-1] != u'>'))
        ++p;
    return p;
}

ZString readName(const char16_t*& p, bool (*ends)(const char16_t*)) {
    const char16_t* begin = p;
    while (*p && !ends(p))
        ++p;
    return ZString(begin, int(p - begin)).toLower();
}

bool endsStartTagName(const char16_t* p) {
    return isWideSpace(*p) || isTagEnd(p);
}
bool endsEndTagName(const char16_t* p) {
    return isWideSpace(*p) || *p == u'>';
}
bool endsAttributeName(const char16_t* p) {
    return *p == u'=' || endsStartTagName(p);
}

const char16_t* skipWideSpace(const char16_t* p) {
    while (isWideSpace(*p))
        ++p;
    return p;
}

ZString readAttributeValue(const char16_t*& p) {
    char16_t quote = 0;
    if (*p == u'"' || *p == u'\'')
        quote = *p++;
    const char16_t* begin = p;
    while (*p && !isTagEnd(p) && !(p[0] == u'<' && isLetter(p[1]))) {
        if (quote ? *p == quote : isWideSpace(*p))
            break;
        ++p;
    }
    return ZString(begin, int(p - begin));
}

} // namespace

const char16_t* parseAttributes(const char16_t* p, std::vector<HtmlAttribute>& attributes) {
    for (;;) {
        while (*p && !isLetter(*p) && !isTagEnd(p))
            ++p;
        if (*p == 0 || isTagEnd(p))
            return p;
        // Begins with a letter and ends before white space: nothing to trim.
        ZString name = readName(p, endsAttributeName);
        ZString value;
        p = skipWideSpace(p);
        if (*p == u'=') {
            p = skipWideSpace(p + 1);
            value = readAttributeValue(p);
        }
        if (!name.equals(u"value"))
            value.trim();
        attributes.emplace_back(std::move(name), std::move(value));
    }
}

// Iterative, with an explicit stack of open elements, so any nesting depth is safe; the structure
// built is that of the straightforward recursive descent, flattened beyond kMaxNestingDepth.
const char16_t* parseContent(HtmlTagNode* parent, const char16_t* p) {
    if (parent == nullptr || p == nullptr || *p == 0)
        return nullptr;
    if (isRawTextElement(parent->name))
        return parseRawText(*parent, *parent, p);

    // The open elements, innermost last; the one at index i lies i levels below `parent`. Those
    // beyond `limit` hold nothing: their content goes to the element at `limit`.
    std::vector<HtmlTagNode*> open{parent};
    const auto limit = static_cast<std::size_t>(std::max(0, kMaxNestingDepth - depthOf(parent)));
    while (*p) {
        HtmlTagNode& container = *open[std::min(open.size() - 1, limit)];
        if (startsWith(p, u"<!--")) {
            p = pastComment(p);
        } else if (startsWith(p, u"<!")) {
            // A declaration such as a document type or CDATA opener: skipped through its ">".
            p = pastNext(u'>', p);
        } else if (p[0] == u'<' && isLetter(p[1])) {
            ++p;
            ZString name = readName(p, endsStartTagName);
            auto& element =
                append(container, std::make_unique<HtmlTagNode>(&container, std::move(name)));
            p = parseAttributes(p, element.attributes);
            if (*p == 0)
                break;
            if (*p != u'>') {
                p = pastNext(u'>', p);
                continue;
            }
            ++p;
            const bool holdsContent = open.size() <= limit;
            if (isRawTextElement(element.name))
                p = parseRawText(element, holdsContent ? element : container, p);
            else
                open.push_back(&element);
        } else if (startsWith(p, u"</")) {
            p += 2;
            const ZString name = readName(p, endsEndTagName);
            p = pastNext(u'>', p);
            // A nameless end tag closes nothing, the document root included. Others close the
            // innermost open element when they name it and are dropped otherwise.
            if (!name.isEmpty() && name.equals(open.back()->name)) {
                open.pop_back();
                if (open.empty())
                    return p;
            }
        } else {
            const char16_t* begin = p;
            do {
                ++p;
            } while (*p && !(p[0] == u'<' && (p[1] == u'/' || p[1] == u'!' || isLetter(p[1]))));
            append(container,
                   std::make_unique<HtmlTextNode>(&container, ZString(begin, int(p - begin))));
        }
    }
    return p;
}

const ZString* getAttribute(const HtmlTagNode* element, const char16_t* name) {
    if (element == nullptr)
        return nullptr;
    for (const auto& [attributeName, value] : element->attributes) {
        if (attributeName.equalsIgnoreCase(name))
            return &value;
    }
    return nullptr;
}

std::unique_ptr<HtmlTagNode> parseDocument(const ZString& text) {
    auto root = std::make_unique<HtmlTagNode>(nullptr);
    parseContent(root.get(), text.c_str());
    return root;
}

} // namespace xhtml
