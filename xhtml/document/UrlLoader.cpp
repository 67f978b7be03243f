#include "xhtml/document/UrlLoader.h"

#include "base/Url.h"
#include "xhtml/document/UrlLoaderPlatform.h"

#include <stdexcept>

namespace xhtml {

UrlLoader::UrlLoader(const void* module, const ZString& baseUrl)
    : module_(module), baseUrl_(baseUrl) {}

ZString UrlLoader::resolve(const ZString& url) const {
    try {
        const Url relative(url);
        if (!relative.scheme.isEmpty())
            return url;
        return Url(Url(baseUrl_), relative).toString();
    } catch (const std::invalid_argument&) {
        // A malformed port: the address names nothing, but is remembered as written.
        return url;
    }
}

int UrlLoader::load(const ZString& url, ByteBuffer& out) {
    try {
        const ZString address = resolve(url);
        const Url parsed(address);
        // Only the scheme is compared without case: a native file path keeps its letters, and
        // Windows finds resources and libraries in any case by itself.
        ZString scheme = parsed.scheme;
        scheme.toLower();
        if (scheme == u"res")
            return platform::loadResource(module_, parsed, out);
        if (scheme == u"file")
            return platform::loadFile(address.mid(address.find(0, u"://") + 3), out);
        return 0;
    } catch (const std::invalid_argument&) {
        // A malformed port names nothing.
        return -1;
    }
}

} // namespace xhtml
