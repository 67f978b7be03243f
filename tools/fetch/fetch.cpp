// fetch URL: downloads URL as the installer does, into its target in the temporary folder, and
// prints one line: error=E received=R total=T path="P" (P empty without a result file).

#include "download/DownloadWorker.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: fetch URL\n", stderr);
        return 2;
    }
    DownloadState state;
    // A fresh record takes the start; should no thread start, the record says so.
    startDownload(state, argv[1]);
    // Polled more often than the page does, so that a benchmark sees the end at once.
    while (state.snapshot().running)
        Sleep(10);
    const DownloadSnapshot done = state.snapshot();
    std::printf("error=%d received=%d total=%d path=\"%s\"\n", static_cast<int>(done.error),
                static_cast<int>(done.received), static_cast<int>(done.total),
                toUtf8(done.resultPath).c_str());
    return 0;
}
