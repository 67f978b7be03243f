#include "xhtml/views/FixedMetricsPlatform.h"

#include "xhtml/views/View.h"

#include <cstdlib>
#include <cstring>

namespace xhtml {

namespace {

int characterHeight(const Font& font) {
    return saturated(std::llabs(static_cast<long long>(font.key.height)));
}

class PngImage : public Image {
public:
    explicit PngImage(Size size) : size_(size) {}
    Size pixelSize() const override { return size_; }
    const std::vector<ImageFrame>& frames() const override { return frames_; }

private:
    Size size_;
    std::vector<ImageFrame> frames_;
};

int bigEndian(const unsigned char* p) {
    const unsigned value =
        (unsigned{p[0]} << 24) | (unsigned{p[1]} << 16) | (unsigned{p[2]} << 8) | unsigned{p[3]};
    return saturated(static_cast<long long>(value));
}

} // namespace

void* FixedMetricsPlatform::createFont(const FontKey&) {
    // The font is fully described by its key; the handle only has to be non-null and distinct.
    ++fontsCreated_;
    return reinterpret_cast<void*>(static_cast<uintptr_t>(fontsCreated_));
}

Size FixedMetricsPlatform::textExtent(const Font& font, const ZString& text) {
    const int h = characterHeight(font);
    const int advance = h / 2 + (font.key.weight >= 600 ? 1 : 0);
    return {saturated(static_cast<long long>(text.length()) * advance), h};
}

std::optional<FontMetrics> FixedMetricsPlatform::fontMetrics(const Font& font) {
    const int h = characterHeight(font);
    return FontMetrics{h / 4, h / 2, h};
}

unsigned FixedMetricsPlatform::setTimer(unsigned id, int milliseconds) {
    if (id == 0)
        id = nextTimer_++;
    timers_[id] = milliseconds;
    return id;
}

void FixedMetricsPlatform::killTimer(unsigned id) {
    timers_.erase(id);
}

void FixedMetricsPlatform::fireTimer(unsigned id) const {
    if (timers_.count(id))
        dispatchViewTimer(id);
}

std::unique_ptr<Image> FixedMetricsPlatform::decodeImage(const unsigned char* bytes, int count) {
    // Signature, then the IHDR chunk: length, type, width, height.
    static const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!bytes || count < 24 || std::memcmp(bytes, signature, 8) != 0 ||
        std::memcmp(bytes + 12, "IHDR", 4) != 0)
        return nullptr;
    return std::make_unique<PngImage>(Size{bigEndian(bytes + 16), bigEndian(bytes + 20)});
}

} // namespace xhtml
