#include "xhtml/views/ImageCache.h"

#include "xhtml/document/UrlLoader.h"

namespace xhtml {

ZString ImageCache::resolve(const ZString& address) const {
    return loader_ ? loader_->resolve(address) : address;
}

ImageCache::Entry* ImageCache::find(const ZString& address) {
    return findResolved(resolve(address));
}

ImageCache::Entry* ImageCache::findResolved(const ZString& url) {
    for (const auto& entry : entries_) {
        if (entry->url.equals(url))
            return entry.get();
    }
    return nullptr;
}

void ImageCache::load(const ZString& address) {
    get(address);
}

ImageCache::Entry* ImageCache::get(const ZString& address) {
    ZString url = resolve(address);
    if (Entry* known = findResolved(url))
        return known;
    auto entry = std::make_unique<Entry>();
    entry->url = std::move(url);
    if (loader_) {
        ByteBuffer bytes;
        loader_->load(entry->url, bytes);
        entry->image = viewPlatform().decodeImage(bytes.data(), bytes.length());
        entry->loaded = true;
    }
    entries_.push_back(std::move(entry));
    return entries_.back().get();
}

} // namespace xhtml
