// Font selection of View::getFont(): a process-wide cache, one font per distinct key, kept until
// the process ends. A page uses a handful of fonts, so a list suits it.

#include "xhtml/views/Dpi.h"
#include "xhtml/views/View.h"
#include "xhtml/views/ViewPlatform.h"

#include <memory>
#include <vector>

namespace xhtml {

namespace {

std::vector<std::unique_ptr<Font>>& fontCache() {
    static std::vector<std::unique_ptr<Font>> fonts;
    return fonts;
}

} // namespace

const Font& View::getFont() const {
    FontKey key;
    StyleValue value;
    const int size = getProperty(PropertyId::FontSize, value) ? integerOf(value) : 13;
    key.height = saturated(-(size * dpiFactor()));
    if (getProperty(PropertyId::FontWeight, value))
        key.weight = integerOf(value);
    key.italic = getProperty(PropertyId::Italic, value) && value.boolValue();
    key.face =
        getProperty(PropertyId::FontFamily, value) ? value.stringValue() : ZString(u"Verdana");
    for (const auto& font : fontCache()) {
        if (font->key == key)
            return *font;
    }
    auto font = std::make_unique<Font>();
    font->handle = viewPlatform().createFont(key);
    font->key = std::move(key);
    fontCache().push_back(std::move(font));
    return *fontCache().back();
}

} // namespace xhtml
