#pragma once

#include "xhtml/views/ViewPlatform.h"

#include <map>

namespace xhtml {

// Exact, machine-independent metrics for the host build, tests and tools. A font of character
// height h and weight w measures n code units as n × (⌊h/2⌋ + (w ≥ 600 ? 1 : 0)) by h; its descent
// is ⌊h/4⌋. Images are PNGs whose size is read from the header. Timers never fire on their own:
// tests fire them.
class FixedMetricsPlatform : public ViewPlatform {
public:
    int screenDpi() override { return 96; }
    void* createFont(const FontKey& key) override;
    Size textExtent(const Font& font, const ZString& text) override;
    std::optional<FontMetrics> fontMetrics(const Font& font) override;
    unsigned setTimer(unsigned id, int milliseconds) override;
    void killTimer(unsigned id) override;
    void setCursor(int cursor) override { cursor_ = cursor; }
    std::unique_ptr<Image> decodeImage(const unsigned char* bytes, int count) override;
    std::optional<SystemColors> highContrast() override { return std::nullopt; }

    // Timer id to interval, for the timers armed and not killed.
    const std::map<unsigned, int>& timers() const { return timers_; }
    // Calls the view timer dispatcher as the platform's timer would.
    void fireTimer(unsigned id) const;
    int cursor() const { return cursor_; }
    int fontsCreated() const { return fontsCreated_; }

private:
    std::map<unsigned, int> timers_;
    unsigned nextTimer_ = 1;
    int cursor_ = -1;
    int fontsCreated_ = 0;
};

} // namespace xhtml
