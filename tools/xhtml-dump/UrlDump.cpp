// The mode "url": the parts of an address, or of a reference resolved against a base, and the
// address written back.

#include "base/Url.h"
#include "tools/xhtml-dump/DumpModes.h"
#include "tools/xhtml-dump/DumpText.h"

#include <cstdio>
#include <stdexcept>
#include <string>

int dumpUrl(int argc, char** argv) {
    if (argc != 1 && argc != 2)
        return kBadArguments;
    try {
        const Url text(argumentText(argv[0]));
        const Url url = argc == 2 ? Url(Url(argumentText(argv[1])), text) : text;
        std::printf("scheme=%s user=%s password=%s host=%s port=%d path=%s query=%s fragment=%s\n",
                    quoted(url.scheme).c_str(), quoted(url.user).c_str(),
                    quoted(url.password).c_str(), quoted(url.host).c_str(), url.port,
                    quoted(url.path).c_str(), quoted(url.query).c_str(),
                    quoted(url.fragment).c_str());
        std::printf("string=%s\n", quoted(url.toString()).c_str());
        return 0;
    } catch (const std::invalid_argument& e) {
        std::printf("error %s\n", quoted(argumentText(e.what())).c_str());
        return 1;
    }
}
