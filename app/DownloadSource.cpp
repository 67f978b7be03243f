#include "app/DownloadSource.h"

namespace {

bool isSeparator(char16_t c) {
    return c == u'/' || c == u'\\';
}

ZString address(const ZString& host, const char16_t* path) {
    return ZString(u"https://") + host + path;
}

} // namespace

ZString downloadUrlFor(const MachineFacts& facts, const ZString& host) {
    const int architecture = facts.nativeArchitecture;
    if (facts.windows10OrLater) {
        // A 32-bit process on ARM64 may be told an Intel architecture; only this call knows.
        if (facts.nativeMachine == MachineArm64)
            return address(host, u"/doxly-creator-latest-arm64.exe");
        if (architecture == ArchitectureIntel)
            return address(host, u"/doxly-creator-latest-x86.exe");
        if (architecture == ArchitectureAmd64)
            return address(host, u"/doxly-creator-latest-x64.exe");
        return ZString();
    }
    if (architecture == ArchitectureIntel)
        return address(host, u"/doxly-creator-9-latest-x86.exe");
    if (architecture == ArchitectureAmd64)
        return address(host, u"/doxly-creator-9-latest-x64.exe");
    return ZString();
}

ZString targetFileName() {
    return u"doxly-creator.exe";
}

ZString withoutTrailingSeparators(ZString path) {
    int end = path.length();
    while (end > 0 && isSeparator(path.getAt(end - 1)))
        --end;
    path.truncate(end);
    return path;
}

ZString joinPath(const ZString& folder, const ZString& name, char16_t separator) {
    if (folder.isEmpty())
        return name;
    int start = 0;
    while (start < name.length() && isSeparator(name.getAt(start)))
        ++start;
    return withoutTrailingSeparators(folder).append(separator).append(name.mid(start));
}
