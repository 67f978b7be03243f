// Parses a base address (first line) and a reference (the rest), resolves one against the other
// and writes everything back. A parsed address must write back as text that reads the same.
#include "base/Url.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

std::optional<Url> parsed(const ZString& text) {
    try {
        return Url(text);
    } catch (const std::invalid_argument& e) {
        if (std::strcmp(e.what(), "Port in Url invalid") != 0)
            std::abort();
        return std::nullopt;
    }
}

bool hasBlanks(const ZString& text) {
    for (int i = 0; i < text.length(); ++i) {
        if (text.c_str()[i] <= u' ')
            return true;
    }
    return false;
}

// Parsing and joining trim blanks and line breaks, so an address with them in a part is not
// expected to write back exactly. Nor is one with a second "@" left in its host ("a://@@h"):
// its empty user information is not written, so that "@" would end one when read back.
bool writesBackExactly(const Url& url) {
    for (const ZString* part :
         {&url.scheme, &url.user, &url.password, &url.host, &url.path, &url.query, &url.fragment}) {
        if (hasBlanks(*part))
            return false;
    }
    return url.host.find(u'@') < 0;
}

void checkWritesBack(const Url& url) {
    const ZString text = url.toString();
    const std::optional<Url> again = parsed(text);
    if (writesBackExactly(url) && (!again || !again->toString().equals(text)))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string input = fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const size_t lineEnd = input.find(u'\n');
    const size_t split = std::min(lineEnd, input.size());
    const ZString baseText(input.c_str(), int(split));
    const ZString referenceText(input.c_str() + split, int(input.size() - split));

    const std::optional<Url> base = parsed(baseText);
    const std::optional<Url> reference = parsed(referenceText);
    if (base)
        checkWritesBack(*base);
    if (reference)
        checkWritesBack(*reference);
    if (base && reference) {
        // A resolved path may begin with ":" ("..//:x"), which no parsed address has, so the
        // result is only written.
        Url(*base, *reference).toString();
        Url::joinPaths(base->path, reference->path, true);
        base->pathWithoutLeadingSlashes();
    }
    return 0;
}
