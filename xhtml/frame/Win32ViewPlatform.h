#pragma once

#include "window/ScopedWin32.h"
#include "xhtml/views/ViewPlatform.h"

#include <windows.h>

#include <vector>

namespace xhtml {

// The views' platform on Windows: fonts and text measured on a screen device context, view
// timers as thread timers of the UI thread, the shared arrow and hand cursors, images decoded by
// GDI+ (which the program starts before any image is decoded).
class Win32ViewPlatform : public ViewPlatform {
public:
    int screenDpi() override;
    void* createFont(const FontKey& key) override;
    Size textExtent(const Font& font, const ZString& text) override;
    std::optional<FontMetrics> fontMetrics(const Font& font) override;
    unsigned setTimer(unsigned id, int milliseconds) override;
    void killTimer(unsigned id) override;
    void setCursor(int cursor) override;
    std::unique_ptr<Image> decodeImage(const unsigned char* bytes, int count) override;
    std::optional<SystemColors> highContrast() override;

private:
    // A memory context compatible with the screen: measuring needs no window.
    ScopedMemoryDC screen_{nullptr};
    // The fonts live as long as the platform.
    std::vector<ScopedGdiObject<HFONT>> fonts_;
};

} // namespace xhtml
