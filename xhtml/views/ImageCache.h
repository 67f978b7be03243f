#pragma once

#include "base/ZString.h"
#include "xhtml/views/ViewPlatform.h"

#include <memory>
#include <vector>

namespace xhtml {

class UrlLoader;

// The images of one document: one entry per resolved address, decoded once and shared by every
// view that shows it. An address that fails keeps its entry without image and is never retried.
class ImageCache {
public:
    struct Entry {
        bool loaded = false;
        ZString url;
        // Null when the bytes could not be read or decoded.
        std::unique_ptr<Image> image;
    };

    void setLoader(UrlLoader* loader) { loader_ = loader; }
    // The entry of the resolved address, or null when it was never loaded.
    Entry* find(const ZString& address);
    // Reads and decodes the address unless it has an entry already.
    void load(const ZString& address);
    // The entry, loading it first when needed.
    Entry* get(const ZString& address);
    int size() const { return static_cast<int>(entries_.size()); }

private:
    ZString resolve(const ZString& address) const;
    Entry* findResolved(const ZString& url);

    std::vector<std::unique_ptr<Entry>> entries_;
    UrlLoader* loader_ = nullptr;
};

} // namespace xhtml
