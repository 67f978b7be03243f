#pragma once

#include "base/ZString.h"
#include "xhtml/views/Geometry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace xhtml {

// What font selection asks the platform for; also the key of the process-wide font cache.
struct FontKey {
    // Negative: the character height in pixels (DPI included).
    int height = 0;
    int weight = 400;
    bool italic = false;
    ZString face;

    bool operator==(const FontKey& other) const {
        return height == other.height && weight == other.weight && italic == other.italic &&
               face.equals(other.face);
    }
};

// A font of the cache: its key and the platform's handle for it. Lives until the process ends.
struct Font {
    FontKey key;
    void* handle = nullptr;
};

struct FontMetrics {
    int descent = 0;
    int averageCharWidth = 0;
    int charHeight = 0;
};

// One frame of an animated image.
struct ImageFrame {
    unsigned index = 0;
    unsigned delayMs = 0;
};

// A decoded image. Still images have no frames.
class Image {
public:
    virtual ~Image() = default;
    virtual Size pixelSize() const = 0;
    virtual const std::vector<ImageFrame>& frames() const = 0;
};

// The system's colours that replace a page's own while the system asks for high contrast, laid
// out like the page's colours.
struct SystemColors {
    uint32_t window = 0;
    uint32_t windowText = 0;
    // Links.
    uint32_t hotLight = 0;
    uint32_t buttonFace = 0;
    uint32_t buttonText = 0;
};

// Everything the views need from the platform, in one place, so the engine builds and is tested
// without a window system. The Win32 implementation measures on a screen device context and
// decodes with the imaging library; FixedMetricsPlatform gives exact, machine-independent
// figures for tests and tools.
class ViewPlatform {
public:
    virtual ~ViewPlatform() = default;

    virtual int screenDpi() = 0;
    // Never null: a font that cannot be made falls back to the system font.
    virtual void* createFont(const FontKey& key) = 0;
    virtual Size textExtent(const Font& font, const ZString& text) = 0;
    // None when the font cannot be measured.
    virtual std::optional<FontMetrics> fontMetrics(const Font& font) = 0;
    // A thread timer that calls dispatchViewTimer (View.h). A non-zero id re-arms that timer.
    // Returns the timer's id, 0 on failure.
    virtual unsigned setTimer(unsigned id, int milliseconds) = 0;
    virtual void killTimer(unsigned id) = 0;
    // 0 arrow, 1 hand.
    virtual void setCursor(int cursor) = 0;
    // Null when the bytes are no image the platform can decode.
    virtual std::unique_ptr<Image> decodeImage(const unsigned char* bytes, int count) = 0;
    // None unless the system asks for high contrast now.
    virtual std::optional<SystemColors> highContrast() = 0;
};

// The process's platform: the fixed-metrics one until the program installs its own.
ViewPlatform& viewPlatform();
// Not owned; null restores the fixed-metrics platform.
void setViewPlatform(ViewPlatform* platform);

} // namespace xhtml
