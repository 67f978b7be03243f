#include "xhtml/document/ApplyStyle.h"

#include "xhtml/document/Colors.h"
#include "xhtml/document/Keywords.h"
#include "xhtml/document/Lengths.h"

#include <vector>

namespace xhtml {

namespace {

constexpr int kDefaultFontSize = 13;

struct PropertyRow;
using Apply = void (*)(IStyleTarget&, StyleState, const ZString& value, const PropertyRow&);

struct PropertyRow {
    const char16_t* name;
    Apply apply;
    // The key stored; rows that store several keys name them in their function.
    PropertyId key;
    const KeywordTable* keywords = nullptr;
};

struct BorderShorthand {
    const char16_t* name;
    PropertyId width;
    PropertyId style;
    PropertyId color;
};

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

void storeTrue(IStyleTarget& target, StyleState state, PropertyId id) {
    target.setProperty(id, StyleValue::boolean(true), state);
}

// Side colours stored earlier would hide a colour given for the whole border. They go from the
// Normal map whatever the state, because the other states fall back to it.
void removeSideColors(IStyleTarget& target) {
    for (PropertyId id : {PropertyId::BorderLeftColor, PropertyId::BorderTopColor,
                          PropertyId::BorderRightColor, PropertyId::BorderBottomColor})
        target.setProperty(id, StyleValue(), Normal);
}

void storeLength(IStyleTarget& target, StyleState state, const ZString& value,
                 const PropertyRow& row) {
    target.setProperty(row.key, parseLength(value), state);
}

void storeColor(IStyleTarget& target, StyleState state, const ZString& value,
                const PropertyRow& row) {
    target.setProperty(row.key, StyleValue::color(parseColor(value)), state);
}

void storeBorderColor(IStyleTarget& target, StyleState state, const ZString& value,
                      const PropertyRow& row) {
    storeColor(target, state, value, row);
    removeSideColors(target);
}

void storeKeyword(IStyleTarget& target, StyleState state, const ZString& value,
                  const PropertyRow& row) {
    target.setProperty(row.key, StyleValue::integer(lookupKeyword(*row.keywords, value)), state);
}

// "none", "hidden" and unknown words leave the style as it was.
void storeBorderStyle(IStyleTarget& target, StyleState state, const ZString& value,
                      const PropertyRow& row) {
    const int code = lookupKeyword(borderStyleKeywords, value);
    if (code != 0)
        target.setProperty(row.key, StyleValue::integer(code), state);
}

void storeOverflow(IStyleTarget& target, StyleState state, const ZString& value,
                   const PropertyRow&) {
    const StyleValue code = StyleValue::integer(lookupKeyword(overflowKeywords, value));
    target.setProperty(PropertyId::OverflowX, code, state);
    target.setProperty(PropertyId::OverflowY, code, state);
}

void storeTextDecoration(IStyleTarget& target, StyleState state, const ZString& value,
                         const PropertyRow&) {
    if (value == u"underline") {
        storeTrue(target, state, PropertyId::Underline);
    } else if (value == u"overline") {
        storeTrue(target, state, PropertyId::Overline);
    } else if (value == u"line-through") {
        storeTrue(target, state, PropertyId::LineThrough);
    } else if (value == u"none") {
        for (PropertyId id : {PropertyId::Underline, PropertyId::Overline, PropertyId::LineThrough})
            target.setProperty(id, StyleValue::boolean(false), state);
    }
}

void storeFontFamily(IStyleTarget& target, StyleState state, const ZString& value,
                     const PropertyRow& row) {
    if (value.isEmpty())
        return;
    const int comma = value.find(u',');
    target.setProperty(row.key, StyleValue::string(comma >= 0 ? value.mid(0, comma) : value),
                       state);
}

int currentFontSize(const IStyleTarget& target, StyleState state) {
    StyleValue size;
    if (!target.getProperty(PropertyId::FontSize, size, state) || size.isEmpty())
        return kDefaultFontSize;
    return clampToInt(size.toDouble());
}

void storeFontSize(IStyleTarget& target, StyleState state, const ZString& value,
                   const PropertyRow& row) {
    StyleValue size;
    if (!hasKeyword(fontSizeKeywords, value)) {
        size = parseLength(value);
    } else if (value == u"smaller" || value == u"larger") {
        const double step = value == u"larger" ? 2 : -2;
        size = StyleValue::integer(clampToInt(currentFontSize(target, state) + step));
    } else {
        size = StyleValue::integer(lookupKeyword(fontSizeKeywords, value));
    }
    target.setProperty(row.key, size, state);
}

void storeItalic(IStyleTarget& target, StyleState state, const ZString& value,
                 const PropertyRow& row) {
    if (value == u"italic")
        storeTrue(target, state, row.key);
}

void storeNoWrap(IStyleTarget& target, StyleState state, const ZString& value,
                 const PropertyRow& row) {
    if (value == u"nowrap" || value == u"nobreak")
        storeTrue(target, state, row.key);
}

// "url(address)"; without both parentheses the address is not delimited and nothing is stored.
void storeBackgroundImage(IStyleTarget& target, StyleState state, const ZString& value,
                          const PropertyRow& row) {
    if (!value.startsWith(u"url", 3))
        return;
    const int open = value.find(u'(', 3);
    const int close = open >= 0 ? value.find(u')', open + 1) : -1;
    if (close < 0)
        return;
    ZString address = value.mid(open + 1, close);
    address.trim();
    if (!address.isEmpty())
        target.setProperty(row.key, StyleValue::string(address), state);
}

StyleValue backgroundPosition(const ZString& token) {
    if (!isDigit(token.getAt(0)))
        return StyleValue::integer(lookupKeyword(backgroundPositionKeywords, token));
    StyleValue length = parseLength(token);
    length.addFlag(StyleValue::kNumericPosition);
    return length;
}

// Reads the white-space separated token at `position` and moves past it.
ZString nextToken(const ZString& text, int& position) {
    const int length = text.length();
    while (position < length && isWideSpace(text.getAt(position)))
        ++position;
    const int start = position;
    while (position < length && !isWideSpace(text.getAt(position)))
        ++position;
    return text.mid(start, position);
}

// A missing second token counts as the keyword code 0 ("left", "top"); an empty value is ignored.
void storeBackgroundPosition(IStyleTarget& target, StyleState state, const ZString& value,
                             const PropertyRow&) {
    int position = 0;
    const ZString x = nextToken(value, position);
    if (x.isEmpty())
        return;
    const ZString y = nextToken(value, position);
    target.setProperty(PropertyId::BackgroundPositionX, backgroundPosition(x), state);
    target.setProperty(PropertyId::BackgroundPositionY,
                       y.isEmpty() ? StyleValue::integer(0) : backgroundPosition(y), state);
}

int gradientMode(const ZString& direction) {
    if (direction == u"horizontal")
        return 0;
    if (direction == u"forward-diagonal" || direction == u"diagonal")
        return 2;
    if (direction == u"backward-diagonal")
        return 3;
    return 1;
}

// Exactly three blank-separated tokens: a doubled blank makes an empty token and the value unused.
void storeGradient(IStyleTarget& target, StyleState state, const ZString& value,
                   const PropertyRow&) {
    std::vector<ZString> tokens;
    split(tokens, value, u" ", true, false);
    if (tokens.size() != 3)
        return;
    storeTrue(target, state, PropertyId::GradientEnabled);
    target.setProperty(PropertyId::GradientColor1, StyleValue::color(parseColor(tokens[0])), state);
    target.setProperty(PropertyId::GradientColor2, StyleValue::color(parseColor(tokens[1])), state);
    target.setProperty(PropertyId::GradientMode, StyleValue::integer(gradientMode(tokens[2])),
                       state);
}

using P = PropertyId;

const PropertyRow kProperties[] = {
    {u"width", storeLength, P::Width},
    {u"height", storeLength, P::Height},
    {u"min-width", storeLength, P::MinWidth},
    {u"min-height", storeLength, P::MinHeight},
    {u"color", storeColor, P::Color},
    {u"text-align", storeKeyword, P::TextAlign, &textAlignKeywords},
    {u"text-decoration", storeTextDecoration, P::Underline},
    {u"vertical-align", storeKeyword, P::VerticalAlign, &verticalAlignKeywords},
    {u"vertical-align-content", storeKeyword, P::VerticalAlignContent, &verticalAlignKeywords},
    {u"vertical-align-line", storeKeyword, P::VerticalAlignLine, &verticalAlignKeywords},
    {u"font-family", storeFontFamily, P::FontFamily},
    {u"font-weight", storeKeyword, P::FontWeight, &fontWeightKeywords},
    {u"font-size", storeFontSize, P::FontSize},
    {u"font-style", storeItalic, P::Italic},
    {u"border-width", storeLength, P::BorderWidth},
    {u"border-left-width", storeLength, P::BorderLeftWidth},
    {u"border-top-width", storeLength, P::BorderTopWidth},
    {u"border-right-width", storeLength, P::BorderRightWidth},
    {u"border-bottom-width", storeLength, P::BorderBottomWidth},
    {u"border-color", storeBorderColor, P::BorderColor},
    {u"border-left-color", storeColor, P::BorderLeftColor},
    {u"border-top-color", storeColor, P::BorderTopColor},
    {u"border-right-color", storeColor, P::BorderRightColor},
    {u"border-bottom-color", storeColor, P::BorderBottomColor},
    {u"border-style", storeBorderStyle, P::BorderStyle},
    {u"border-left-style", storeBorderStyle, P::BorderLeftStyle},
    {u"border-top-style", storeBorderStyle, P::BorderTopStyle},
    {u"border-right-style", storeBorderStyle, P::BorderRightStyle},
    {u"border-bottom-style", storeBorderStyle, P::BorderBottomStyle},
    {u"padding", storeLength, P::Padding},
    {u"padding-left", storeLength, P::PaddingLeft},
    {u"padding-top", storeLength, P::PaddingTop},
    {u"padding-right", storeLength, P::PaddingRight},
    {u"padding-bottom", storeLength, P::PaddingBottom},
    {u"margin", storeLength, P::Margin},
    {u"margin-left", storeLength, P::MarginLeft},
    {u"margin-top", storeLength, P::MarginTop},
    {u"margin-right", storeLength, P::MarginRight},
    {u"margin-bottom", storeLength, P::MarginBottom},
    {u"cursor", storeKeyword, P::Cursor, &cursorKeywords},
    {u"position", storeKeyword, P::Position, &positionKeywords},
    {u"top", storeLength, P::Top},
    {u"left", storeLength, P::Left},
    {u"right", storeLength, P::Right},
    {u"bottom", storeLength, P::Bottom},
    {u"background-color", storeColor, P::BackgroundColor},
    {u"background-image", storeBackgroundImage, P::BackgroundImage},
    {u"background-repeat", storeKeyword, P::BackgroundRepeat, &backgroundRepeatKeywords},
    {u"background-position", storeBackgroundPosition, P::BackgroundPositionX},
    {u"background-gradient", storeGradient, P::GradientEnabled},
    {u"visibility", storeKeyword, P::Visibility, &visibilityKeywords},
    {u"display", storeKeyword, P::Display, &displayKeywords},
    {u"overflow", storeOverflow, P::OverflowX},
    {u"overflow-x", storeKeyword, P::OverflowX, &overflowKeywords},
    {u"overflow-y", storeKeyword, P::OverflowY, &overflowKeywords},
    {u"white-space", storeNoWrap, P::NoWrap},
    {u"opacity", storeLength, P::Opacity},
    {u"line-spacing", storeLength, P::LineSpacing},
    {u"cell-spacing", storeLength, P::CellSpacing},
    {u"cell-padding", storeLength, P::CellPadding},
};

const BorderShorthand kBorderShorthands[] = {
    {u"border", P::BorderWidth, P::BorderStyle, P::BorderColor},
    {u"border-left", P::BorderLeftWidth, P::BorderLeftStyle, P::BorderLeftColor},
    {u"border-top", P::BorderTopWidth, P::BorderTopStyle, P::BorderTopColor},
    {u"border-right", P::BorderRightWidth, P::BorderRightStyle, P::BorderRightColor},
    {u"border-bottom", P::BorderBottomWidth, P::BorderBottomStyle, P::BorderBottomColor},
};

void applyDeclaration(IStyleTarget& target, StyleState state, const ZString& name,
                      const ZString& value) {
    for (const PropertyRow& row : kProperties) {
        if (name == row.name) {
            row.apply(target, state, value, row);
            return;
        }
    }
    for (const BorderShorthand& border : kBorderShorthands) {
        if (name == border.name) {
            applyBorderShorthand(target, state, value, border.width, border.style, border.color);
            return;
        }
    }
}

} // namespace

void applyBorderShorthand(IStyleTarget& target, StyleState state, const ZString& value,
                          PropertyId widthKey, PropertyId styleKey, PropertyId colorKey) {
    std::vector<ZString> tokens;
    split(tokens, value, u" ", false, false);
    for (const ZString& token : tokens) {
        const char16_t first = token.getAt(0);
        if (isDigit(first)) {
            target.setProperty(widthKey, parseLength(token), state);
        } else if (first == u'#' || findNamedColor(token)) {
            target.setProperty(colorKey, StyleValue::color(parseColor(token)), state);
            if (colorKey == PropertyId::BorderColor)
                removeSideColors(target);
        } else if (hasKeyword(borderStyleKeywords, token)) {
            target.setProperty(
                styleKey, StyleValue::integer(lookupKeyword(borderStyleKeywords, token)), state);
        }
    }
}

void applyStyle(IStyleTarget& target, StyleState state, const StyleDef& definition) {
    for (const StyleDeclaration& declaration : definition.declarations()) {
        const ZString& name = declaration.name;
        if (name.startsWith(u"-c-", 3))
            applyDeclaration(target, state, name.mid(3), declaration.value);
        else
            applyDeclaration(target, state, name, declaration.value);
    }
}

void applyStyleText(IStyleTarget& target, StyleState state, const ZString& text) {
    applyStyle(target, state, StyleDef(text));
}

} // namespace xhtml
