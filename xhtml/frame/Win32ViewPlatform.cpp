#include "xhtml/frame/Win32ViewPlatform.h"

#include "window/ScopedWin32.h"

#include "xhtml/frame/GdiplusImage.h"
#include "xhtml/views/View.h"

namespace xhtml {

namespace {

void CALLBACK onThreadTimer(HWND, UINT, UINT_PTR id, DWORD) {
    dispatchViewTimer(static_cast<unsigned>(id));
}

HFONT handleOf(const Font& font) {
    return static_cast<HFONT>(font.handle);
}

} // namespace

int Win32ViewPlatform::screenDpi() {
    const ScopedGetDC screen(nullptr);
    if (!screen.get())
        return 96;
    const int dpi =
        (GetDeviceCaps(screen.get(), LOGPIXELSX) + GetDeviceCaps(screen.get(), LOGPIXELSY)) / 2;
    return dpi > 0 ? dpi : 96;
}

void* Win32ViewPlatform::createFont(const FontKey& key) {
    HFONT font = CreateFontW(key.height, 0, 0, 0, key.weight, key.italic, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, key.face.w_str());
    if (!font)
        return GetStockObject(SYSTEM_FONT);
    fonts_.emplace_back(font);
    return font;
}

Size Win32ViewPlatform::textExtent(const Font& font, const ZString& text) {
    const ScopedSelectObject selected(screen_.get(), handleOf(font));
    SIZE size{};
    GetTextExtentPoint32W(screen_.get(), text.w_str(), text.length(), &size);
    return {size.cx, size.cy};
}

std::optional<FontMetrics> Win32ViewPlatform::fontMetrics(const Font& font) {
    const ScopedSelectObject selected(screen_.get(), handleOf(font));
    TEXTMETRICW metrics{};
    if (!GetTextMetricsW(screen_.get(), &metrics))
        return std::nullopt;
    return FontMetrics{metrics.tmDescent, metrics.tmAveCharWidth, metrics.tmHeight};
}

unsigned Win32ViewPlatform::setTimer(unsigned id, int milliseconds) {
    return static_cast<unsigned>(SetTimer(
        nullptr, id, static_cast<UINT>(milliseconds < 0 ? 0 : milliseconds), onThreadTimer));
}

void Win32ViewPlatform::killTimer(unsigned id) {
    KillTimer(nullptr, id);
}

void Win32ViewPlatform::setCursor(int cursor) {
    // System cursors are shared and never freed.
    static const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    static const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    SetCursor(cursor == 1 ? hand : arrow);
}

std::unique_ptr<Image> Win32ViewPlatform::decodeImage(const unsigned char* bytes, int count) {
    return GdiplusImage::decode(bytes, count);
}

std::optional<SystemColors> Win32ViewPlatform::highContrast() {
    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) ||
        !(contrast.dwFlags & HCF_HIGHCONTRASTON))
        return std::nullopt;
    return SystemColors{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
                        GetSysColor(COLOR_HOTLIGHT), GetSysColor(COLOR_BTNFACE),
                        GetSysColor(COLOR_BTNTEXT)};
}

} // namespace xhtml
