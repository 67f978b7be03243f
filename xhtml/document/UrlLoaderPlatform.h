#pragma once

// What UrlLoader asks of the platform: one source per build defines these.

#include "base/Url.h"
#include "base/ZString.h"

namespace xhtml::platform {

// Appends the data resource the address names (of module when it has no host) and returns its
// size, or -1 when it is missing.
int loadResource(const void* module, const Url& address, ByteBuffer& out);

// Appends the file and returns the bytes read, 0 when it cannot be opened. The path is what
// follows "file://" in the address.
int loadFile(const ZString& path, ByteBuffer& out);

// Appends what read(block, size) delivers until it gives nothing more and returns the total:
// files are read in blocks so a large one needs no buffer of its own size.
template <typename Read> int appendBlocks(Read read, ByteBuffer& out) {
    unsigned char block[2048];
    int total = 0;
    for (int count; (count = read(block, static_cast<int>(sizeof block))) > 0; total += count)
        out.append(block, count);
    return total;
}

} // namespace xhtml::platform
