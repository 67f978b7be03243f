#include "xhtml/document/UrlLoaderPlatform.h"

#include <cstdio>
#include <memory>

namespace xhtml::platform {

// Resources are compiled only into the Windows program.
int loadResource(const void*, const Url&, ByteBuffer&) {
    return -1;
}

// "file:///tmp/a.png" keeps its third slash: it is the root of the absolute path.
int loadFile(const ZString& path, ByteBuffer& out) {
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> file(
        std::fopen(toUtf8(path).c_str(), "rb"), std::fclose);
    if (!file)
        return 0;
    return appendBlocks(
        [&file](unsigned char* block, int size) {
            return static_cast<int>(
                std::fread(block, 1, static_cast<std::size_t>(size), file.get()));
        },
        out);
}

} // namespace xhtml::platform
