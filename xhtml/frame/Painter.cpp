#include "xhtml/frame/Painter.h"

#include "window/ScopedWin32.h"

#include "xhtml/frame/FrameView.h"
#include "xhtml/frame/GdiplusImage.h"
#include "xhtml/frame/IFrameView.h"
#include "xhtml/views/Dpi.h"
#include "xhtml/views/FormViews.h"
#include "xhtml/views/ImageView.h"
#include "xhtml/views/ViewContext.h"
#include "xhtml/views/ViewPlatform.h"
#include "xhtml/views/WordView.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>

namespace xhtml {

namespace {

using namespace Gdiplus;

// The transparency byte on top of a colour: 0 opaque, 0xFF not painted.
constexpr uint32_t kInvisible = 0xFF000000;

COLORREF rgbOf(uint32_t color) {
    return color & 0x00FFFFFF;
}

ARGB argbOf(uint32_t color) {
    const uint32_t alpha = 255 - (color >> 24);
    return (alpha << 24) | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

RECT win32(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Owners of what one paint creates in GDI+.
struct Graphics {
    explicit Graphics(HDC dc) { DllExports::GdipCreateFromHDC(dc, &graphics); }
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;
    ~Graphics() {
        if (graphics)
            DllExports::GdipDeleteGraphics(graphics);
    }
    GpGraphics* graphics = nullptr;
};

struct Brush {
    Brush() = default;
    Brush(const Brush&) = delete;
    Brush& operator=(const Brush&) = delete;
    ~Brush() {
        if (brush)
            DllExports::GdipDeleteBrush(brush);
    }
    GpBrush* brush = nullptr;
};

const StyleValue* own(const View& view, PropertyId id) {
    return view.findOwnProperty(id);
}

// While the system asks for high contrast, its colours replace the page's: backgrounds the
// window's, text and borders the window text's, links hot-light, buttons the button colours; no
// gradient and no background image is painted. Asked at every paint, so a change of the setting
// shows with the next one.
std::optional<SystemColors> highContrast() {
    return viewPlatform().highContrast();
}

COLORREF contrastTextColor(const View& view, const SystemColors& colors) {
    for (const View* v = &view; v; v = v->getParent()) {
        if (v->getKind() == LinkKind)
            return colors.hotLight;
    }
    return colors.windowText;
}

void fill(HDC dc, const Rect& area, COLORREF color) {
    const ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(color));
    const RECT r = win32(area);
    FillRect(dc, &r, brush.get());
}

void paintChildren(const CompositeView& parent, HDC dc, const Rect& clip) {
    for (View* child : parent.getChildren()) {
        if (child->isVisible())
            paintView(*child, dc, clip);
    }
}

// GDI fills a horizontal or vertical gradient of opaque colours itself, where GDI+ works out
// every pixel in software: under Wine that was a third of the installer's start-up. Its
// interpolation overflows beyond 65,535 pixels, so larger areas, translucent colours and
// diagonals are left to GDI+. False when it is left.
bool fillStraightGradient(HDC dc, const Rect& area, const Rect& visible, uint32_t first,
                          uint32_t second, LinearGradientMode mode) {
    constexpr int kLargest = 0xFFFF;
    if ((mode != LinearGradientModeHorizontal && mode != LinearGradientModeVertical) ||
        ((first | second) & kInvisible) != 0 || area.width() > kLargest || area.height() > kLargest)
        return false;
    const auto vertex = [](int x, int y, uint32_t color) {
        return TRIVERTEX{x,
                         y,
                         static_cast<COLOR16>((color & 0xFF) << 8),
                         static_cast<COLOR16>(color & 0xFF00),
                         static_cast<COLOR16>((color >> 8) & 0xFF00),
                         0};
    };
    TRIVERTEX corners[] = {vertex(area.left, area.top, first),
                           vertex(area.right, area.bottom, second)};
    GRADIENT_RECT rect{0, 1};
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, visible.left, visible.top, visible.right, visible.bottom);
    GdiGradientFill(dc, corners, 2, &rect, 1,
                    mode == LinearGradientModeVertical ? GRADIENT_FILL_RECT_V
                                                       : GRADIENT_FILL_RECT_H);
    RestoreDC(dc, saved);
    return true;
}

// The gradient spans the whole area; only its part inside the clip is filled.
void fillGradient(const BoxView& box, HDC dc, const Rect& area, const Rect& clip) {
    const StyleValue* enabled = own(box, PropertyId::GradientEnabled);
    const StyleValue* first = own(box, PropertyId::GradientColor1);
    const StyleValue* second = own(box, PropertyId::GradientColor2);
    const StyleValue* direction = own(box, PropertyId::GradientMode);
    if (!enabled || !enabled->boolValue() || !first || !second || !direction)
        return;
    const int code = integerOf(*direction);
    const auto mode = code == 0   ? LinearGradientModeHorizontal
                      : code == 2 ? LinearGradientModeForwardDiagonal
                      : code == 3 ? LinearGradientModeBackwardDiagonal
                                  : LinearGradientModeVertical;
    const Rect visible = area.clippedTo(clip);
    if (visible.isEmpty())
        return;
    if (fillStraightGradient(dc, area, visible, first->colorValue(), second->colorValue(), mode))
        return;
    const GpRect rect(area.left, area.top, area.width(), area.height());
    Brush brush;
    DllExports::GdipCreateLineBrushFromRectI(&rect, argbOf(first->colorValue()),
                                             argbOf(second->colorValue()), mode, WrapModeTile,
                                             reinterpret_cast<GpLineGradient**>(&brush.brush));
    const Graphics graphics(dc);
    DllExports::GdipFillRectangleI(graphics.graphics, brush.brush, visible.left, visible.top,
                                   visible.width(), visible.height());
}

// An offset along one axis: a number (or percentage of the room left), or a keyword.
int positionOffset(const StyleValue* position, int room, int farKeyword) {
    if (!position)
        return 0;
    if (position->hasFlag(StyleValue::kNumericPosition)) {
        const double number = position->toDouble();
        return position->hasFlag(StyleValue::kPercent) ? saturated(number * room / 100)
                                                       : saturated(number);
    }
    const int keyword = integerOf(*position);
    if (keyword == 4)
        return room / 2;
    return keyword == farKeyword ? room : 0;
}

// The tiles are laid from the fill's origin; only those inside the clip are drawn.
void paintBackgroundImage(const BoxView& box, HDC dc, const Rect& area, const Rect& clip,
                          const GdiplusImage& image) {
    const Size pixels = image.pixelSize();
    if (pixels.width < 1 || pixels.height < 1)
        return;
    const int w = scale(pixels.width);
    const int h = scale(pixels.height);
    enum { NoRepeat = 0, Repeat = 1, RepeatX = 2, RepeatY = 3 };
    const int repeat = box.getOwnInteger(PropertyId::BackgroundRepeat, Repeat);
    Rect fill = area;
    if (repeat == RepeatX)
        fill.bottom = addSaturated(area.top, h);
    else if (repeat == RepeatY)
        fill.right = addSaturated(area.left, w);
    else if (repeat == NoRepeat)
        fill = Rect::at({area.left, area.top}, {w, h});
    int dx = 0, dy = 0;
    if (repeat == NoRepeat || repeat == RepeatY)
        dx = positionOffset(own(box, PropertyId::BackgroundPositionX),
                            subtractSaturated(area.width(), w), 2);
    if (repeat == NoRepeat || repeat == RepeatX)
        dy = positionOffset(own(box, PropertyId::BackgroundPositionY),
                            subtractSaturated(area.height(), h), 3);
    fill = fill.movedBy(dx, dy);
    const Rect visible = fill.clippedTo(clip);
    if (visible.isEmpty())
        return;
    Brush brush;
    DllExports::GdipCreateTexture(image.bitmap(), WrapModeTile,
                                  reinterpret_cast<GpTexture**>(&brush.brush));
    auto* texture = reinterpret_cast<GpTexture*>(brush.brush);
    DllExports::GdipTranslateTextureTransform(texture, static_cast<REAL>(fill.left),
                                              static_cast<REAL>(fill.top), MatrixOrderPrepend);
    const auto factor = static_cast<REAL>(dpiFactor());
    DllExports::GdipScaleTextureTransform(texture, factor, factor, MatrixOrderPrepend);
    const Graphics graphics(dc);
    DllExports::GdipFillRectangleI(graphics.graphics, brush.brush, visible.left, visible.top,
                                   visible.width(), visible.height());
}

void paintBackground(BoxView& box, HDC dc, const Rect& paddingBox, const Rect& clip) {
    const StyleValue* color = own(box, PropertyId::BackgroundColor);
    const bool colored = color && (color->colorValue() & kInvisible) != kInvisible;
    const StyleValue* address = own(box, PropertyId::BackgroundImage);
    if (const auto colors = highContrast()) {
        // The document's own background too: the window's may show below the page.
        if (colored || address || own(box, PropertyId::GradientEnabled) || !box.getParent())
            fill(dc, paddingBox.clippedTo(clip), colors->window);
        return;
    }
    if (colored)
        fill(dc, paddingBox.clippedTo(clip), rgbOf(color->colorValue()));
    fillGradient(box, dc, paddingBox, clip);
    if (!address || !box.getContext())
        return;
    const ImageCache::Entry* entry = box.getContext()->getImageCache().get(address->stringValue());
    if (entry && entry->image)
        paintBackgroundImage(box, dc, paddingBox, clip,
                             static_cast<const GdiplusImage&>(*entry->image));
}

struct Side {
    int width = 0;
    int style = 0;
    uint32_t color = 0;
};

// GDI's dotted and dashed one-pixel pens repeat every 24 pixels, counted from each line's start.
constexpr long long kPenPatternPeriod = 24;

// Shortens a line along its axis, drawn from `start` toward `end` (which is not drawn), to the
// part that can colour [low, high). It starts a whole number of pattern periods later, so dots
// and dashes stay where the whole line puts them. False when no pixel of it is inside.
bool clipLine(long long& start, long long& end, long long low, long long high) {
    if (start < end) {
        if (end <= low || start >= high)
            return false;
        if (start < low)
            start += (low - start) / kPenPatternPeriod * kPenPatternPeriod;
        end = std::min(end, high);
    } else {
        if (start == end || start < low || end >= high - 1)
            return false;
        if (start >= high)
            start -= (start - high + 1) / kPenPatternPeriod * kPenPatternPeriod;
        end = std::max(end, low - 1);
    }
    return true;
}

// Draws `width` one-pixel lines along one axis, each one pixel further in and one pixel shorter
// at both ends, so that neighbouring sides meet on a diagonal. Only the lines, and the parts of
// them, that can meet the clip are drawn: a side may claim millions of pixels.
void drawBorderSide(HDC dc, long long across, long long from, long long to, int inward,
                    bool horizontal, const Side& side, const Rect& clip) {
    if ((side.color & kInvisible) == kInvisible || side.width < 1)
        return;
    const long long acrossLow = horizontal ? clip.top : clip.left;
    const long long acrossHigh = horizontal ? clip.bottom : clip.right;
    // Line i lies at across + inward * i.
    const long long first =
        std::max(0LL, inward > 0 ? acrossLow - across : across - acrossHigh + 1);
    const long long last = std::min(static_cast<long long>(side.width),
                                    inward > 0 ? acrossHigh - across : across - acrossLow + 1);
    if (first >= last)
        return;
    const int penStyle = side.style == 2 ? PS_DOT : side.style == 3 ? PS_DASH : PS_SOLID;
    const ScopedGdiObject<HPEN> pen(CreatePen(penStyle, 1, rgbOf(side.color)));
    const ScopedSelectObject selected(dc, pen.get());
    // The ends move toward each other, in the direction the first line takes, even once they
    // have passed each other.
    const int along = to > from ? 1 : to < from ? -1 : 0;
    for (long long i = first; i < last; ++i) {
        long long start = from + along * i, end = to - along * i;
        if (!clipLine(start, end, horizontal ? clip.left : clip.top,
                      horizontal ? clip.right : clip.bottom))
            continue;
        const auto at = static_cast<int>(across + inward * i);
        if (horizontal) {
            MoveToEx(dc, static_cast<int>(start), at, nullptr);
            LineTo(dc, static_cast<int>(end), at);
        } else {
            MoveToEx(dc, at, static_cast<int>(start), nullptr);
            LineTo(dc, at, static_cast<int>(end));
        }
    }
}

void paintBorders(const BoxView& box, HDC dc, const Rect& r, const Rect& clip) {
    const Edges widths = box.getBorderWidths();
    Side sides[4];
    sides[0].width = widths.left;
    sides[1].width = widths.top;
    sides[2].width = widths.right;
    sides[3].width = widths.bottom;
    const auto apply = [&](PropertyId style, PropertyId color, Side& side) {
        if (const StyleValue* value = own(box, style))
            side.style = integerOf(*value);
        if (const StyleValue* value = own(box, color))
            side.color = value->colorValue();
    };
    for (Side& side : sides)
        apply(PropertyId::BorderStyle, PropertyId::BorderColor, side);
    for (int i = 0; i < 4; ++i)
        apply(static_cast<PropertyId>(static_cast<int>(PropertyId::BorderLeftStyle) + i),
              static_cast<PropertyId>(static_cast<int>(PropertyId::BorderLeftColor) + i), sides[i]);
    if (const auto colors = highContrast()) {
        for (Side& side : sides)
            side.color = (side.color & kInvisible) == kInvisible ? kInvisible : colors->windowText;
    }
    const long long left = r.left, top = r.top, right = r.right, bottom = r.bottom;
    drawBorderSide(dc, left, top, bottom, 1, false, sides[0], clip);
    drawBorderSide(dc, top, left, right, 1, true, sides[1], clip);
    drawBorderSide(dc, right - 1, top, bottom, -1, false, sides[2], clip);
    drawBorderSide(dc, bottom - 1, left, right, -1, true, sides[3], clip);
}

void paintImage(ImageView& view, HDC dc, const Rect& clip) {
    const Rect content = view.getContentRect();
    ImageCache::Entry* entry = view.getImage();
    if (!content.meets(clip) || !entry || !entry->image)
        return;
    const auto& image = static_cast<const GdiplusImage&>(*entry->image);
    if (!image.frames().empty())
        image.selectFrame(view.currentFrame() % image.frames().size());
    const Graphics graphics(dc);
    image.draw(graphics.graphics, content);
    view.frameShown();
}

// The themed look of engine-drawn buttons, check boxes and radio buttons, with the classic
// look where the frame window has no theme or the system asks for high contrast.
class ButtonTheme {
public:
    explicit ButtonTheme(View& view) : contrast_(highContrast()) {
        auto* frame = dynamic_cast<FrameView*>(view.getFrame(false));
        if (frame && frame->getWindow().getHandle() && !contrast_)
            theme_ = OpenThemeData(frame->getWindow().getHandle(), L"Button");
    }
    ButtonTheme(const ButtonTheme&) = delete;
    ButtonTheme& operator=(const ButtonTheme&) = delete;
    ~ButtonTheme() {
        if (theme_)
            CloseThemeData(theme_);
    }

    // With a theme: the part in the state; without: DrawFrameControl with the flags. A push
    // button in high contrast: its face framed in its text colour, twice as thick when pressed.
    void draw(HDC dc, const Rect& area, int part, int state, UINT classicFlags) const {
        RECT r = win32(area);
        if (contrast_ && part == BP_PUSHBUTTON) {
            fill(dc, area, contrast_->buttonFace);
            const ScopedGdiObject<HBRUSH> frame(CreateSolidBrush(contrast_->buttonText));
            FrameRect(dc, &r, frame.get());
            if (classicFlags & DFCS_PUSHED) {
                InflateRect(&r, -1, -1);
                FrameRect(dc, &r, frame.get());
            }
        } else if (theme_) {
            DrawThemeBackground(theme_, dc, part, state, &r, nullptr);
        } else {
            DrawFrameControl(dc, &r, DFC_BUTTON, classicFlags);
        }
    }
    COLORREF textColor(COLORREF page) const { return contrast_ ? contrast_->buttonText : page; }

private:
    std::optional<SystemColors> contrast_;
    HTHEME theme_ = nullptr;
};

void paintButtonFace(ButtonView& button, HDC dc, const Rect& content) {
    const uint32_t flags = button.getFlags();
    const bool pressed = (flags & View::LeftPressed) != 0;
    const bool hot = button.isHovered();
    const ButtonTheme theme(button);
    theme.draw(dc, content, BP_PUSHBUTTON,
               pressed ? 3
               : hot   ? 2
                       : 1,
               DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0) | (hot ? DFCS_HOT : 0));
    const ZString caption = button.getValue();
    StyleValue color;
    const COLORREF text = theme.textColor(
        button.getProperty(PropertyId::Color, color) ? rgbOf(color.colorValue()) : RGB(0, 0, 0));
    const ScopedSelectObject font(dc, static_cast<HFONT>(button.getFont().handle));
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousText = SetTextColor(dc, text);
    RECT r = win32(content);
    DrawTextW(dc, caption.w_str(), caption.length(), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(dc, previousText);
    SetBkMode(dc, previousMode);
}

void paintToggleFace(ToggleView& toggle, HDC dc, const Rect& content) {
    const bool radio = toggle.getKind() == RadioKind;
    const bool checked = toggle.isChecked();
    const bool pressed = (toggle.getFlags() & View::LeftPressed) != 0;
    const bool hot = toggle.isHovered();
    // Radio buttons have no disabled look.
    const bool disabled = !radio && toggle.isDisabled();
    const int state = 4 * (checked ? 1 : 0) + (disabled ? 4 : pressed ? 3 : hot ? 2 : 1);
    const UINT classic = (radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) |
                         (checked ? DFCS_CHECKED : 0) | (pressed ? DFCS_PUSHED : 0) |
                         (hot ? DFCS_HOT : 0) | (disabled ? DFCS_INACTIVE : 0);
    ButtonTheme(toggle).draw(dc, content, radio ? BP_RADIOBUTTON : BP_CHECKBOX, state, classic);
}

void paintBoxContent(BoxView& box, HDC dc, const Rect& clip) {
    const Rect borderBox = box.getBorderBox();
    if (borderBox.meets(clip)) {
        const Edges borders = box.getBorderWidths();
        const Rect paddingBox{borderBox.left + borders.left, borderBox.top + borders.top,
                              borderBox.right - borders.right, borderBox.bottom - borders.bottom};
        paintBackground(box, dc, paddingBox, clip);
        paintBorders(box, dc, borderBox, clip);
    }
    const Rect content = box.getContentRect();
    if (box.getKind() == ButtonKind && content.meets(clip))
        paintButtonFace(static_cast<ButtonView&>(box), dc, content);
    else if ((box.getKind() == CheckKind || box.getKind() == RadioKind) && content.meets(clip))
        paintToggleFace(static_cast<ToggleView&>(box), dc, content);
    else if (box.getKind() == ImageKind)
        paintImage(static_cast<ImageView&>(box), dc, clip);
    else if (box.getKind() == IFrameKind)
        // Its children are its own window's to paint, over what lies under it here.
        static_cast<IFrameView&>(box).captureBackground(dc, clip);
    else
        paintChildren(box, dc, clip);
}

// Below full opacity the box is painted into a copy of what lies under it, which is then blended
// back with a constant alpha.
void paintTranslucent(BoxView& box, HDC dc, const Rect& clip, double opacity) {
    const Rect area = box.getBorderBox().clippedTo(clip);
    if (area.isEmpty())
        return;
    const int w = area.width(), h = area.height();
    const ScopedMemoryDC memory(dc);
    const ScopedBitmap bitmap(CreateCompatibleBitmap(dc, w, h));
    const ScopedSelectObject selected(memory.get(), bitmap.get());
    if (!memory || !selected)
        return;
    BitBlt(memory.get(), 0, 0, w, h, dc, area.left, area.top, SRCCOPY);
    POINT origin;
    SetViewportOrgEx(memory.get(), -area.left, -area.top, &origin);
    paintBoxContent(box, memory.get(), area);
    SetViewportOrgEx(memory.get(), origin.x, origin.y, nullptr);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0,
                              static_cast<BYTE>(std::clamp(saturated(opacity * 255.0), 0, 255)), 0};
    AlphaBlend(dc, area.left, area.top, w, h, memory.get(), 0, 0, w, h, blend);
}

void paintBox(BoxView& box, HDC dc, const Rect& clip) {
    if (!box.isLaidOut() || !box.getBorderBox().meets(clip))
        return;
    const StyleValue* opacity = own(box, PropertyId::Opacity);
    if (opacity && opacity->toDouble() < 1.0)
        paintTranslucent(box, dc, clip, opacity->toDouble());
    else
        paintBoxContent(box, dc, clip);
}

void paintWord(WordView& word, HDC dc, const Rect& clip) {
    const Rect& r = word.getRect();
    if (!word.intersects(clip))
        return;
    StyleValue value;
    COLORREF color =
        word.getProperty(PropertyId::Color, value) ? rgbOf(value.colorValue()) : RGB(0, 0, 0);
    const auto flag = [&](PropertyId id) {
        StyleValue on;
        return word.getProperty(id, on) && on.boolValue();
    };
    const bool opaque = word.getProperty(PropertyId::TextBackgroundColor, value);
    const auto colors = highContrast();
    if (colors)
        color = contrastTextColor(word, *colors);
    const int previousMode = SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
    const COLORREF previousBackground =
        opaque ? SetBkColor(dc, colors ? colors->window : rgbOf(value.colorValue()))
               : GetBkColor(dc);
    const COLORREF previousText = SetTextColor(dc, color);
    {
        const ScopedSelectObject font(dc, static_cast<HFONT>(word.getFont().handle));
        TextOutW(dc, r.left, r.top, word.getText().w_str(), word.getText().length());
        const bool over = flag(PropertyId::Overline);
        const bool under = flag(PropertyId::Underline);
        const bool through = flag(PropertyId::LineThrough);
        if (over || under || through) {
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc, &metrics);
            const ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, color));
            const ScopedSelectObject selected(dc, pen.get());
            // A word of a huge font is wider than any clip.
            const int left = std::max(r.left, clip.left), right = std::min(r.right, clip.right);
            const auto line = [&](long long y) {
                if (y < clip.top || y >= clip.bottom || left >= right)
                    return;
                MoveToEx(dc, left, static_cast<int>(y), nullptr);
                LineTo(dc, right, static_cast<int>(y));
            };
            if (under)
                line(static_cast<long long>(r.bottom) - metrics.tmDescent + 1);
            if (over)
                line(r.top);
            if (through)
                line(r.top + (static_cast<long long>(r.bottom) - r.top) / 2);
        }
    }
    SetTextColor(dc, previousText);
    SetBkColor(dc, previousBackground);
    SetBkMode(dc, previousMode);
}

} // namespace

void paintView(View& view, HDC dc, const Rect& clip) {
    if (auto* box = dynamic_cast<BoxView*>(&view))
        paintBox(*box, dc, clip);
    else if (view.getKind() == WordKind)
        paintWord(static_cast<WordView&>(view), dc, clip);
    else if (auto* composite = dynamic_cast<CompositeView*>(&view))
        paintChildren(*composite, dc, clip);
}

void paintDocument(BoxView& root, HDC dc, const Rect& clip) {
    paintBoxContent(root, dc, clip);
}

void paintDocumentChildren(BoxView& root, HDC dc, const Rect& clip) {
    paintChildren(root, dc, clip);
}

void paintFocusRing(HDC dc, const Rect& ring) {
    // The dots lie where they lie in the document, whichever part of it is painted.
    POINT origin, previous;
    GetViewportOrgEx(dc, &origin);
    SetBrushOrgEx(dc, origin.x, origin.y, &previous);
    const RECT r = win32(ring);
    DrawFocusRect(dc, &r);
    SetBrushOrgEx(dc, previous.x, previous.y, nullptr);
}

} // namespace xhtml
