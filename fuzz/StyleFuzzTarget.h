#pragma once

#include "xhtml/document/IStyleTarget.h"
#include "xhtml/document/StyleMaps.h"

#include <cmath>
#include <cstdlib>

namespace xhtml {

inline void check(bool condition) {
    if (!condition)
        std::abort();
}

// A style target for fuzzing: it keeps per-state maps like a view and aborts on anything the
// style code must never store: a key styles cannot set, a value of the wrong kind, a flag where
// none belongs, a number that is not finite, or a value for another state than the one applied.
class StyleFuzzTarget : public IStyleTarget {
public:
    // The state that style is applied for; only side colours are also removed from Normal.
    StyleState applying = Normal;
    int inheritedFontSize = 0; // 0: none

    void setProperty(PropertyId id, const StyleValue& value, StyleState state) override {
        if (value.isEmpty())
            check(state == Normal && isSideColor(id));
        else
            check(state == applying && isStylable(id, value));
        maps.set(id, value, state);
    }

    bool getProperty(PropertyId id, StyleValue& out, StyleState state) const override {
        check(id == PropertyId::FontSize && state == applying);
        if (const StyleValue* own = maps.findWithFallback(id, state)) {
            out = *own;
            return true;
        }
        out = StyleValue::integer(inheritedFontSize);
        return inheritedFontSize != 0;
    }

    const StyleValue* findInStyleMap(PropertyId id, StyleState state) const override {
        return maps.find(id, state);
    }

    StyleMaps maps;

private:
    using Kind = StyleValue::Kind;
    using P = PropertyId;

    static bool isSideColor(PropertyId id) {
        return id >= P::BorderLeftColor && id <= P::BorderBottomColor;
    }

    static bool isLength(const StyleValue& value, uint32_t allowedFlags) {
        if ((value.flags() & ~allowedFlags) != 0)
            return false;
        if (value.kind() == Kind::Int)
            return true;
        const double number = value.doubleValue();
        return value.kind() == Kind::Double && std::isfinite(number) &&
               number != std::trunc(number);
    }

    static bool isCode(const StyleValue& value, int low, int high) {
        return value.kind() == Kind::Int && value.flags() == 0 && value.intValue() >= low &&
               value.intValue() <= high;
    }

    static bool isStylable(PropertyId id, const StyleValue& value) {
        const Kind kind = value.kind();
        switch (id) {
        case P::Width:
        case P::Height:
        case P::MinWidth:
        case P::MinHeight:
        case P::Margin:
        case P::MarginLeft:
        case P::MarginTop:
        case P::MarginRight:
        case P::MarginBottom:
        case P::Padding:
        case P::PaddingLeft:
        case P::PaddingTop:
        case P::PaddingRight:
        case P::PaddingBottom:
        case P::BorderWidth:
        case P::BorderLeftWidth:
        case P::BorderTopWidth:
        case P::BorderRightWidth:
        case P::BorderBottomWidth:
        case P::Top:
        case P::Left:
        case P::Right:
        case P::Bottom:
        case P::Opacity:
        case P::LineSpacing:
        case P::CellSpacing:
        case P::CellPadding:
        case P::FontSize:
            return isLength(value, StyleValue::kPercent);
        case P::BackgroundPositionX:
        case P::BackgroundPositionY:
            return isCode(value, 0, 4) ||
                   (value.hasFlag(StyleValue::kNumericPosition) &&
                    isLength(value, StyleValue::kPercent | StyleValue::kNumericPosition));
        case P::Color:
        case P::BackgroundColor:
        case P::BorderColor:
        case P::BorderLeftColor:
        case P::BorderTopColor:
        case P::BorderRightColor:
        case P::BorderBottomColor:
        case P::GradientColor1:
        case P::GradientColor2:
            return kind == Kind::Color && value.flags() == 0;
        case P::Underline:
        case P::Overline:
        case P::LineThrough:
        case P::Italic:
        case P::NoWrap:
        case P::GradientEnabled:
            return kind == Kind::Bool && value.flags() == 0;
        case P::FontFamily:
        case P::BackgroundImage:
            return kind == Kind::String && value.flags() == 0;
        case P::TextAlign:
        case P::VerticalAlign:
        case P::VerticalAlignContent:
        case P::VerticalAlignLine:
        case P::Position:
        case P::BorderStyle:
        case P::BorderLeftStyle:
        case P::BorderTopStyle:
        case P::BorderRightStyle:
        case P::BorderBottomStyle:
        case P::BackgroundRepeat:
        case P::GradientMode:
        case P::Display:
        case P::OverflowX:
        case P::OverflowY:
            return isCode(value, 0, 4);
        case P::Cursor:
        case P::Visibility:
            return isCode(value, 0, 1);
        case P::FontWeight:
            return isCode(value, 100, 900);
        default:
            return false;
        }
    }
};

} // namespace xhtml
