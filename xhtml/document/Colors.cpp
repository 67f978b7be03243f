#include "xhtml/document/Colors.h"

namespace xhtml {

namespace {

// The table is written as 0xRRGGBB, the way colour keywords are usually listed.
constexpr uint32_t rgb(uint32_t value) {
    return (value >> 16 & 0xFF) | (value & 0xFF00) | (value & 0xFF) << 16;
}

// Reads the group as far as its characters are hexadecimal digits: "1g" is 1, "g1" is 0.
uint32_t hexGroup(char16_t high, char16_t low) {
    const int h = digitValue(high);
    if (h >= 16)
        return 0;
    const int l = digitValue(low);
    return l >= 16 ? h : h * 16 + l;
}

} // namespace

const std::array<NamedColor, 141> namedColors = {
    NamedColor{u"AliceBlue", rgb(0xF0F8FF)},
    NamedColor{u"AntiqueWhite", rgb(0xFAEBD7)},
    NamedColor{u"Aqua", rgb(0x00FFFF)},
    NamedColor{u"Aquamarine", rgb(0x7FFFD4)},
    NamedColor{u"Azure", rgb(0xF0FFFF)},
    NamedColor{u"Beige", rgb(0xF5F5DC)},
    NamedColor{u"Bisque", rgb(0xFFE4C4)},
    NamedColor{u"Black", rgb(0x000000)},
    NamedColor{u"BlanchedAlmond", rgb(0xFFEBCD)},
    NamedColor{u"Blue", rgb(0x0000FF)},
    NamedColor{u"BlueViolet", rgb(0x8A2BE2)},
    NamedColor{u"Brown", rgb(0xA52A2A)},
    NamedColor{u"Burlywood", rgb(0xDEB887)},
    NamedColor{u"CadetBlue", rgb(0x5F9EA0)},
    NamedColor{u"Chartreuse", rgb(0x7FFF00)},
    NamedColor{u"Chocolate", rgb(0xD2691E)},
    NamedColor{u"Coral", rgb(0xFF7F50)},
    NamedColor{u"CornflowerBlue", rgb(0x6495ED)},
    NamedColor{u"Cornsilk", rgb(0xFFF8DC)},
    NamedColor{u"Crimson", rgb(0xDC143C)},
    NamedColor{u"Cyan", rgb(0x00FFFF)},
    NamedColor{u"DarkBlue", rgb(0x00008B)},
    NamedColor{u"DarkCyan", rgb(0x008B8B)},
    NamedColor{u"DarkGoldenRod", rgb(0xB8860B)},
    NamedColor{u"DarkGray", rgb(0xA9A9A9)},
    NamedColor{u"DarkGreen", rgb(0x006400)},
    NamedColor{u"DarkKhaki", rgb(0xBDB76B)},
    NamedColor{u"DarkMagenta", rgb(0x8B008B)},
    NamedColor{u"DarkOliveGreen", rgb(0x556B2F)},
    NamedColor{u"DarkOrange", rgb(0xFF8C00)},
    NamedColor{u"DarkOrchid", rgb(0x9932CC)},
    NamedColor{u"DarkRed", rgb(0x8B0000)},
    NamedColor{u"DarkSalmon", rgb(0xE9967A)},
    NamedColor{u"DarkSeaGreen", rgb(0x8FBC8F)},
    NamedColor{u"DarkSlateBlue", rgb(0x483D8B)},
    NamedColor{u"DarkSlateGray", rgb(0x2F4F4F)},
    NamedColor{u"DarkTurquoise", rgb(0x00CED1)},
    NamedColor{u"DarkViolet", rgb(0x9400D3)},
    NamedColor{u"DeepPink", rgb(0xFF1493)},
    NamedColor{u"DeepSkyBlue", rgb(0x00BFFF)},
    NamedColor{u"DimGray", rgb(0x696969)},
    NamedColor{u"DodgerBlue", rgb(0x1E90FF)},
    NamedColor{u"FireBrick", rgb(0xB22222)},
    NamedColor{u"FloralWhite", rgb(0xFFFAF0)},
    NamedColor{u"ForestGreen", rgb(0x228B22)},
    NamedColor{u"Fuchsia", rgb(0xFF00FF)},
    NamedColor{u"Gainsboro", rgb(0xDCDCDC)},
    NamedColor{u"GhostWhite", rgb(0xF8F8FF)},
    NamedColor{u"Gold", rgb(0xFFD700)},
    NamedColor{u"GoldenRod", rgb(0xDAA520)},
    NamedColor{u"Gray", rgb(0x808080)},
    NamedColor{u"Green", rgb(0x008000)},
    NamedColor{u"GreenYellow", rgb(0xADFF2F)},
    NamedColor{u"HoneyDew", rgb(0xF0FFF0)},
    NamedColor{u"HotPink", rgb(0xFF69B4)},
    NamedColor{u"IndianRed", rgb(0xCD5C5C)},
    NamedColor{u"Indigo", rgb(0x4B0082)},
    NamedColor{u"Ivory", rgb(0xFFFFF0)},
    NamedColor{u"Khaki", rgb(0xF0E68C)},
    NamedColor{u"Lavender", rgb(0xE6E6FA)},
    NamedColor{u"LavenderBlush", rgb(0xFFF0F5)},
    NamedColor{u"Lawngreen", rgb(0x7CFC00)},
    NamedColor{u"LemonChiffon", rgb(0xFFFACD)},
    NamedColor{u"LightBlue", rgb(0xADD8E6)},
    NamedColor{u"LightCoral", rgb(0xF08080)},
    NamedColor{u"LightCyan", rgb(0xE0FFFF)},
    NamedColor{u"LightGoldenRodYellow", rgb(0xFAFAD2)},
    NamedColor{u"LightGreen", rgb(0x90EE90)},
    NamedColor{u"LightGrey", rgb(0xD3D3D3)},
    NamedColor{u"LightPink", rgb(0xFFB6C1)},
    NamedColor{u"LightSalmon", rgb(0xFFA07A)},
    NamedColor{u"LightSeaGreen", rgb(0x20B2AA)},
    NamedColor{u"LightSkyBlue", rgb(0x87CEFA)},
    NamedColor{u"LightSlateGray", rgb(0x778899)},
    NamedColor{u"LightSteelBlue", rgb(0xB0C4DE)},
    NamedColor{u"LightYellow", rgb(0xFFFFE0)},
    NamedColor{u"Lime", rgb(0x00FF00)},
    NamedColor{u"LimeGreen", rgb(0x32CD32)},
    NamedColor{u"Linen", rgb(0xFAF0E6)},
    NamedColor{u"Magenta", rgb(0xFF00FF)},
    NamedColor{u"Maroon", rgb(0x800000)},
    NamedColor{u"MediumAquaMarine", rgb(0x66CDAA)},
    NamedColor{u"MediumBlue", rgb(0x0000CD)},
    NamedColor{u"MediumOrchid", rgb(0xBA55D3)},
    NamedColor{u"MediumPurple", rgb(0x9370DB)},
    NamedColor{u"MediumSeaGreen", rgb(0x3CB371)},
    NamedColor{u"MediumSlateBlue", rgb(0x7B68EE)},
    NamedColor{u"MediumSpringGreen", rgb(0x00FA9A)},
    NamedColor{u"MediumTurquoise", rgb(0x48D1CC)},
    NamedColor{u"MediumVioletRed", rgb(0xC71585)},
    NamedColor{u"MidnightBlue", rgb(0x191970)},
    NamedColor{u"MintCream", rgb(0xF5FFFA)},
    NamedColor{u"MistyRose", rgb(0xFFE4E1)},
    NamedColor{u"Moccasin", rgb(0xFFE4B5)},
    NamedColor{u"NavajoWhite", rgb(0xFFDEAD)},
    NamedColor{u"Navy", rgb(0x000080)},
    NamedColor{u"OldLace", rgb(0xFDF5E6)},
    NamedColor{u"Olive", rgb(0x808000)},
    NamedColor{u"OliveDrab", rgb(0x6B8E23)},
    NamedColor{u"Orange", rgb(0xFFA500)},
    NamedColor{u"OrangeRed", rgb(0xFF4500)},
    NamedColor{u"Orchid", rgb(0xDA70D6)},
    NamedColor{u"PaleGoldenRod", rgb(0xEEE8AA)},
    NamedColor{u"PaleGreen", rgb(0x98FB98)},
    NamedColor{u"PaleTurquoise", rgb(0xAFEEEE)},
    NamedColor{u"PaleVioletRed", rgb(0xDB7093)},
    NamedColor{u"PapayaWhip", rgb(0xFFEFD5)},
    NamedColor{u"PeachPuff", rgb(0xFFDAB9)},
    NamedColor{u"Peru", rgb(0xCD853F)},
    NamedColor{u"Pink", rgb(0xFFC0CB)},
    NamedColor{u"Plum", rgb(0xDDA0DD)},
    NamedColor{u"PowderBlue", rgb(0xB0E0E6)},
    NamedColor{u"Purple", rgb(0x800080)},
    NamedColor{u"Red", rgb(0xFF0000)},
    NamedColor{u"RosyBrown", rgb(0xBC8F8F)},
    NamedColor{u"RoyalBlue", rgb(0x4169E1)},
    NamedColor{u"SaddleBrown", rgb(0x8B4513)},
    NamedColor{u"Salmon", rgb(0xFA8072)},
    NamedColor{u"SandyBrown", rgb(0xF4A460)},
    NamedColor{u"SeaGreen", rgb(0x2E8B57)},
    NamedColor{u"SeaShell", rgb(0xFFF5EE)},
    NamedColor{u"Sienna", rgb(0xA0522D)},
    NamedColor{u"Silver", rgb(0xC0C0C0)},
    NamedColor{u"SkyBlue", rgb(0x87CEEB)},
    NamedColor{u"SlateBlue", rgb(0x6A5ACD)},
    NamedColor{u"SlateGray", rgb(0x708090)},
    NamedColor{u"Snow", rgb(0xFFFAFA)},
    NamedColor{u"SpringGreen", rgb(0x00FF7F)},
    NamedColor{u"SteelBlue", rgb(0x4682B4)},
    NamedColor{u"Tan", rgb(0xD2B48C)},
    NamedColor{u"Teal", rgb(0x008080)},
    NamedColor{u"Thistle", rgb(0xD8BFD8)},
    NamedColor{u"Tomato", rgb(0xFF6347)},
    NamedColor{u"Turquoise", rgb(0x40E0D0)},
    NamedColor{u"Violet", rgb(0xEE82EE)},
    NamedColor{u"Wheat", rgb(0xF5DEB3)},
    NamedColor{u"White", rgb(0xFFFFFF)},
    NamedColor{u"WhiteSmoke", rgb(0xF5F5F5)},
    NamedColor{u"Yellow", rgb(0xFFFF00)},
    NamedColor{u"YellowGreen", rgb(0x9ACD32)},
    NamedColor{u"Transparent", kTransparent},
};

const NamedColor* findNamedColor(const ZString& text) {
    for (const NamedColor& color : namedColors) {
        if (text.equalsIgnoreCase(color.name))
            return &color;
    }
    return nullptr;
}

uint32_t parseColor(const ZString& text) {
    if (const NamedColor* named = findNamedColor(text))
        return named->value;
    if (!text.startsWith(u'#'))
        return kTransparent;
    const char16_t* digits = text.c_str() + 1;
    uint32_t components[4] = {};
    int count = 0;
    switch (text.length()) {
    case 7:
    case 9:
        count = (text.length() - 1) / 2;
        for (int i = 0; i < count; ++i)
            components[i] = hexGroup(digits[2 * i], digits[2 * i + 1]);
        break;
    case 4:
    case 5:
        count = text.length() - 1;
        for (int i = 0; i < count; ++i)
            components[i] = hexGroup(digits[i], digits[i]);
        break;
    default:
        return kTransparent;
    }
    return components[0] | components[1] << 8 | components[2] << 16 | components[3] << 24;
}

} // namespace xhtml
