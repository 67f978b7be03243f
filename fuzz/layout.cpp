// Builds the input, read as UTF-8, into a view tree with the fixed metrics of the host build and
// lays it out as the frame does, at a few widths and DPIs. Checks what must hold for any
// document: the tree is no deeper than the parser lets markup nest and every child knows its
// parent; a second layout at the same size comes from the cache and moves nothing; and neither a
// relayout a view asks for nor a full relayout after measuring changes what the first layout
// placed. That layout ends at all is left to libFuzzer's timeout.
#include "xhtml/document/HtmlNode.h"
#include "xhtml/views/Dpi.h"
#include "xhtml/views/HtmlView.h"
#include "xhtml/views/ViewContext.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

using namespace xhtml;

namespace {

void check(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "layout: %s\n", what);
    std::abort();
}

// The parse root becomes the HtmlView and every other element or text node at most one view at
// its own depth, so no such view lies deeper than the parser's kMaxNestingDepth + 1. The builder
// adds a level only below a text, for its words, and below a file chooser, for its edit and
// button; none of those has children.
bool addsBuilderLevel(const View& view) {
    return view.getKind() == TextKind || view.getKind() == FileChooseKind;
}

// Checks depth and parent links, and returns the views in pre-order.
std::vector<View*> checkTree(HtmlView& root) {
    std::vector<View*> views;
    std::vector<std::pair<View*, int>> pending{{&root, 0}};
    while (!pending.empty()) {
        const auto [view, depth] = pending.back();
        pending.pop_back();
        views.push_back(view);
        const auto* composite = dynamic_cast<const CompositeView*>(view);
        if (!composite)
            continue;
        const int builderLevels = addsBuilderLevel(*view) ? 1 : 0;
        const auto& children = composite->getChildren();
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            check((*child)->getParent() == view, "a child does not know its parent");
            check(depth + 1 - builderLevels <= kMaxNestingDepth + 1,
                  "a view lies deeper than markup may nest");
            pending.emplace_back(*child, depth + 1);
        }
    }
    return views;
}

// The rectangles of the views and the content rectangles of boxes. Left out are views below one
// that is not displayed, which are never placed, and spaces, which the layouter drops at the
// ends of lines and leaves wherever the moves of their box carry them.
std::vector<Rect> geometry(const std::vector<View*>& views) {
    std::vector<Rect> rects;
    for (const View* view : views) {
        bool displayed = !view->isSpace();
        for (const View* v = view; v && displayed; v = v->getParent())
            displayed = v->isDisplayed();
        const auto* box = dynamic_cast<const BoxView*>(view);
        rects.push_back(displayed ? view->getRect() : Rect{});
        rects.push_back(displayed && box ? box->getContentRect() : Rect{});
    }
    return rects;
}

// Coordinates near the int range saturate, and then where a view ends up depends on the order
// of the moves that took it there: only a layout that stays well inside can be compared.
bool comparable(const std::vector<Rect>& rects) {
    constexpr int kFar = 1 << 24;
    const auto near = [](int c) { return c > -kFar && c < kFar; };
    return std::all_of(rects.begin(), rects.end(), [&](const Rect& r) {
        return near(r.left) && near(r.top) && near(r.right) && near(r.bottom);
    });
}

void layOut(HtmlView& root, Size size) {
    root.setSize(size);
    root.layoutChildren({0, 0, size.width, size.height}, Layouter::Place);
    ViewEvent finished{ViewEvent::LayoutFinished, &root};
    root.handleEvent(finished);
}

// Every address reads as the header of a 40 × 30 PNG: images get proportions, and no input
// reaches the disk.
class PixelLoader : public UrlLoader {
public:
    PixelLoader() : UrlLoader(nullptr) {}
    int load(const ZString&, ByteBuffer& out) override {
        static const unsigned char header[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                               0,    0,   0,   13,  'I',  'H',  'D',  'R',
                                               0,    0,   0,   40,  0,    0,    0,    30};
        out.append(header, static_cast<int>(sizeof header));
        return static_cast<int>(sizeof header);
    }
};

void layOutAt(const ZString& text, int dpi, Size size, size_t pick) {
    setDpi(dpi);
    ViewContext context;
    context.setLoader(std::make_unique<PixelLoader>());
    HtmlView root(&context);
    root.setContent(text, nullptr);
    const std::vector<View*> views = checkTree(root);

    layOut(root, size);
    const std::vector<Rect> placed = geometry(views);
    const bool compare = comparable(placed);
    layOut(root, size);
    check(!compare || geometry(views) == placed, "a second layout at the same size moved a view");

    views[pick % views.size()]->requestUpdate();
    layOut(root, size);
    check(!compare || geometry(views) == placed, "a relayout a view asked for moved a view");

    root.measureAt(size.width);
    layOut(root, size);
    check(!compare || geometry(views) == placed, "a layout after measuring moved a view");
    checkTree(root);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string units = fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const ZString text(units.data(), int(units.size()));
    layOutAt(text, 96, {800, 500}, size);
    layOutAt(text, 144, {37, 60}, size);
    layOutAt(text, 192, {0, 0}, size);
    setDpi(0);
    return 0;
}
