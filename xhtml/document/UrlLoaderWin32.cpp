#include "base/BaseInstance.h"
#include "xhtml/document/UrlLoader.h"
#include "xhtml/document/UrlLoaderPlatform.h"

#include <memory>

namespace xhtml {

namespace {

// The module a "res:" address reads from: the library its host names, or the fallback.
// A library that cannot be mapped gives a null handle, which must not fall back to the
// program's own file.
BaseInstance moduleOf(const Url& url, const void* fallback) {
    if (url.host.isEmpty())
        return BaseInstance(static_cast<HMODULE>(const_cast<void*>(fallback)));
    return BaseInstance(url.host);
}

} // namespace

namespace platform {

int loadResource(const void* module, const Url& address, ByteBuffer& out) {
    const BaseInstance source = moduleOf(address, module);
    if (!source.getInstance())
        return -1;
    const auto bytes = source.findDataResource(address.pathWithoutLeadingSlashes());
    if (!bytes)
        return -1;
    out.append(bytes->data(), static_cast<int>(bytes->size()));
    return static_cast<int>(bytes->size());
}

// A Windows path starts with its drive: the third slash of "file:///c:/x" is not part of it.
int loadFile(const ZString& path, ByteBuffer& out) {
    const ZString local = path.startsWith(u'/') ? path.mid(1) : path;
    HANDLE file = CreateFileW(local.w_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    const std::unique_ptr<void, decltype(&CloseHandle)> closer(file, CloseHandle);
    return appendBlocks(
        [file](unsigned char* block, int size) {
            DWORD count = 0;
            return ReadFile(file, block, static_cast<DWORD>(size), &count, nullptr)
                       ? static_cast<int>(count)
                       : 0;
        },
        out);
}

} // namespace platform

int UrlLoader::loadResourceText(const ZString& url, ZString& out, const void* module) {
    const std::optional<Url> parsed = Url::parse(url);
    if (!parsed)
        return -1;
    const BaseInstance source = moduleOf(*parsed, module);
    if (!source.getInstance())
        return -1;
    return source.loadTextResource(parsed->pathWithoutLeadingSlashes(), out);
}

} // namespace xhtml
