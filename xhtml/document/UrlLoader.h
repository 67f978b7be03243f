#pragma once

#include "base/ZString.h"

namespace xhtml {

// Turns the addresses of a document into bytes: "res:///name" names a data resource of the
// loader's module, "res://library.dll/name" one of another library, "file:///path" a local file;
// relative references are resolved against the base address. Nothing else is fetched. Resources
// exist only in the Windows build; elsewhere a "res:" address names nothing.
class UrlLoader {
public:
    // The module is opaque here so the header stays platform-free: on Windows it is the HMODULE
    // whose resources "res:///" reads, null standing for the program's own file.
    explicit UrlLoader(const void* module, const ZString& baseUrl = u"res:///");
    virtual ~UrlLoader() = default;

    // Appends the bytes the address names and returns, for a resource, its size or -1 when it
    // is missing (or the address malformed); for a file the bytes read, 0 when it cannot be
    // opened; for any other scheme 0.
    virtual int load(const ZString& url, ByteBuffer& out);

    // The absolute address; an address with a malformed port, which names nothing, as written.
    ZString resolve(const ZString& url) const;
    const ZString& baseUrl() const { return baseUrl_; }
    void setBaseUrl(const ZString& baseUrl) { baseUrl_ = baseUrl; }

#ifdef _WIN32
    // Appends the UTF-8 resource named by the host and path of the address (the own resources of
    // module when there is no host; a null module is the program's file) and returns its size,
    // or -1 when it is missing or the address malformed.
    static int loadResourceText(const ZString& url, ZString& out, const void* module = nullptr);
#endif

private:
    const void* module_;
    ZString baseUrl_;
};

} // namespace xhtml
