#include "xhtml/document/UrlLoader.h"

#include "base/Url.h"
#include "xhtml/document/UrlLoaderPlatform.h"

namespace xhtml {

UrlLoader::UrlLoader(const void* module, const ZString& baseUrl)
    : module_(module), baseUrl_(baseUrl) {}

ZString UrlLoader::resolve(const ZString& url) const {
    // An address with a malformed port names nothing, but is remembered as written.
    const std::optional<Url> relative = Url::parse(url);
    if (!relative || !relative->scheme.isEmpty())
        return url;
    const std::optional<Url> base = Url::parse(baseUrl_);
    return base ? Url(*base, *relative).toString() : url;
}

int UrlLoader::load(const ZString& url, ByteBuffer& out) {
    const ZString address = resolve(url);
    const std::optional<Url> parsed = Url::parse(address);
    // A malformed port names nothing.
    if (!parsed)
        return -1;
    // Only the scheme is compared without case: a native file path keeps its letters, and
    // Windows finds resources and libraries in any case by itself.
    ZString scheme = parsed->scheme;
    scheme.toLower();
    if (scheme == u"res")
        return platform::loadResource(module_, *parsed, out);
    if (scheme == u"file")
        return platform::loadFile(address.mid(address.find(0, u"://") + 3), out);
    return 0;
}

} // namespace xhtml
