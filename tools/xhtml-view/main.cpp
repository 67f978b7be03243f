// xhtml-view FILE [--width W] [--height H] [--png OUT] [--time-paints N]: shows the page in a
// frame window with that client size (800 × 500 by default). With --png it instead writes the
// client area after the first layout to OUT and exits; with --time-paints it paints the client
// area N times and prints the median.

#include "window/ScopedWin32.h"
#include "xhtml/frame/FrameView.h"
#include "xhtml/frame/PngFile.h"
#include "xhtml/views/ViewContext.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <vector>

using namespace xhtml;

namespace {

struct Options {
    const wchar_t* file = nullptr;
    const wchar_t* png = nullptr;
    int width = 800;
    int height = 500;
    int paints = 0;
};

bool readNumber(const wchar_t* text, int& out) {
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, 10);
    if (end == text || *end != L'\0' || value < 0 || value > 100000)
        return false;
    out = static_cast<int>(value);
    return true;
}

bool readOptions(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::wcscmp(argv[i], L"--width") == 0) {
            if (!hasValue || !readNumber(argv[++i], options.width))
                return false;
        } else if (std::wcscmp(argv[i], L"--height") == 0) {
            if (!hasValue || !readNumber(argv[++i], options.height))
                return false;
        } else if (std::wcscmp(argv[i], L"--time-paints") == 0) {
            if (!hasValue || !readNumber(argv[++i], options.paints))
                return false;
        } else if (std::wcscmp(argv[i], L"--png") == 0) {
            if (!hasValue)
                return false;
            options.png = argv[++i];
        } else if (!options.file) {
            options.file = argv[i];
        } else {
            return false;
        }
    }
    return options.file != nullptr;
}

// The file:/// address of a path as Windows gives it.
ZString fileUrl(const wchar_t* path) {
    wchar_t full[MAX_PATH];
    if (!GetFullPathNameW(path, MAX_PATH, full, nullptr))
        return ZString();
    ZString url = ZString(u"file:///") + ZString(full);
    url.replaceChars(u"\\", u'/');
    return url;
}

// Paints the client area into a bitmap as the window would.
ScopedBitmap paintClient(FrameView& page, int width, int height) {
    const ScopedMemoryDC memory(nullptr);
    ScopedBitmap bitmap(CreateCompatibleBitmap(ScopedGetDC(nullptr).get(), width, height));
    const ScopedSelectObject selected(memory.get(), bitmap.get());
    PatBlt(memory.get(), 0, 0, width, height, WHITENESS);
    page.renderClient(memory.get(), {0, 0, width, height});
    // Nested frames paint in windows of their own, over the page.
    std::vector<View*> nested;
    page.collectViewsByKind(nested, IFrameKind);
    for (View* view : nested) {
        BaseWindow& window = static_cast<FrameView*>(view)->getWindow();
        // The page's window need not be shown, so the child's own style decides.
        if (!(window.getLong(GWL_STYLE) & WS_VISIBLE))
            continue;
        const RECT placed = window.getWindowRectIn(page.getWindow().getHandle());
        POINT origin;
        SetViewportOrgEx(memory.get(), placed.left, placed.top, &origin);
        static_cast<FrameView*>(view)->renderClient(memory.get(), window.getClientRect());
        SetViewportOrgEx(memory.get(), origin.x, origin.y, nullptr);
    }
    return bitmap;
}

void timePaints(FrameView& page, const Options& options) {
    std::vector<double> times;
    for (int i = 0; i < options.paints; ++i) {
        const auto start = std::chrono::steady_clock::now();
        paintClient(page, options.width, options.height);
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    std::printf("paint median %.0f us over %d paints\n", times[times.size() / 2], options.paints);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!readOptions(argc, argv, options)) {
        std::fputs("usage: xhtml-view FILE [--width W] [--height H] [--png OUT] "
                   "[--time-paints N]\n",
                   stderr);
        return 2;
    }
    if (GetFileAttributesW(options.file) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "xhtml-view: cannot read %ls\n", options.file);
        return 1;
    }
    auto* context = new ViewContext(nullptr);
    FrameView page(context);
    context->setFrame(&page);
    if (!page.create(u"xhtml-view", CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, WS_OVERLAPPEDWINDOW, 0,
                     nullptr, nullptr, nullptr)) {
        std::fputs("xhtml-view: cannot create the window\n", stderr);
        return 1;
    }
    page.getWindow().setClientSize(options.width, options.height, false);
    page.load(fileUrl(options.file));
    page.scheduleUpdate(true);
    if (options.png || options.paints > 0) {
        // Nested frames lay themselves out on a timer; a picture wants them now.
        std::vector<View*> nested;
        page.collectViewsByKind(nested, IFrameKind);
        for (View* view : nested)
            static_cast<FrameView*>(view)->scheduleUpdate(true);
        if (options.paints > 0)
            timePaints(page, options);
        if (options.png) {
            if (!savePng(paintClient(page, options.width, options.height).get(), options.png)) {
                std::fprintf(stderr, "xhtml-view: cannot write %ls\n", options.png);
                return 1;
            }
        }
        return 0;
    }
    page.getWindow().show(true);
    MSG message;
    while (page.getWindow().isWindow() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
