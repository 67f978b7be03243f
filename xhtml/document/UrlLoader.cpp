#include "xhtml/document/UrlLoader.h"

#include "base/Url.h"

#include <memory>
#include <stdexcept>

namespace xhtml {

namespace {

// The module a "res:" address reads from: the library its host names, or the fallback.
// A library that cannot be mapped gives a null handle, which must not fall back to the
// program's own file.
BaseInstance moduleOf(const Url& url, HMODULE fallback) {
    if (url.host.isEmpty())
        return BaseInstance(fallback);
    return BaseInstance(url.host);
}

int loadFile(const ZString& path, ByteBuffer& out) {
    HANDLE file = CreateFileW(path.w_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    const std::unique_ptr<void, decltype(&CloseHandle)> closer(file, CloseHandle);
    int total = 0;
    unsigned char block[2048];
    DWORD count = 0;
    while (ReadFile(file, block, sizeof block, &count, nullptr) && count > 0) {
        out.append(block, static_cast<int>(count));
        total += static_cast<int>(count);
    }
    return total;
}

} // namespace

UrlLoader::UrlLoader(HMODULE module, const ZString& baseUrl)
    : instance_(module), baseUrl_(baseUrl) {}

const BaseInstance& UrlLoader::getBaseInstance() const {
    return instance_;
}

ZString UrlLoader::resolve(const ZString& url) const {
    const Url relative(url);
    if (!relative.scheme.isEmpty())
        return url;
    return Url(Url(baseUrl_), relative).toString();
}

int UrlLoader::load(const ZString& url, ByteBuffer& out) {
    try {
        ZString address = resolve(url);
        address.toLower();
        if (address.startsWith(u"res://")) {
            const Url parsed(address);
            const BaseInstance module = moduleOf(parsed, instance_.getInstance());
            if (!module.getInstance())
                return -1;
            const auto bytes = module.findDataResource(parsed.pathWithoutLeadingSlashes());
            if (!bytes)
                return -1;
            out.append(bytes->data(), static_cast<int>(bytes->size()));
            return static_cast<int>(bytes->size());
        }
        if (address.startsWith(u"file:///"))
            return loadFile(address.mid(8), out);
        if (address.startsWith(u"file://"))
            return loadFile(address.mid(7), out);
        return 0;
    } catch (const std::invalid_argument&) {
        // A malformed port names nothing.
        return -1;
    }
}

int UrlLoader::loadResourceText(const ZString& url, ZString& out, HMODULE module) {
    try {
        const Url parsed(url);
        const BaseInstance source = moduleOf(parsed, module);
        if (!source.getInstance())
            return -1;
        return source.loadTextResource(parsed.pathWithoutLeadingSlashes(), out);
    } catch (const std::invalid_argument&) {
        return -1;
    }
}

} // namespace xhtml
