#pragma once

#include "tests/xhtml/document/StyleTargets.h"
#include "xhtml/views/Dpi.h"
#include "xhtml/views/EventListener.h"
#include "xhtml/views/FixedMetricsPlatform.h"
#include "xhtml/views/HtmlView.h"
#include "xhtml/views/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace xhtml {

inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
}

inline void PrintTo(const Size& s, std::ostream* os) {
    *os << s.width << 'x' << s.height;
}

// The fixed metrics, counting text measurements: the word size caches exist to avoid them.
class CountingPlatform : public FixedMetricsPlatform {
public:
    Size textExtent(const Font& font, const ZString& text) override {
        ++measurements;
        return FixedMetricsPlatform::textExtent(font, text);
    }

    int measurements = 0;
};

// Every case runs on the fixed metrics at 96 DPI and leaves the process's own platform and DPI
// behind it.
class ViewsTest : public ::testing::Test {
protected:
    ViewsTest() {
        setViewPlatform(&platform);
        setDpi(96);
    }
    ~ViewsTest() override {
        setDpi(0);
        setViewPlatform(nullptr);
    }

    // The markup built as a frame builds it, in this case's context.
    std::unique_ptr<HtmlView> build(const ZString& markup);
    // Laid out as a frame of 800 × 500 lays out its document: the document covers the client
    // area, its children are laid out into it, and the finished layout is announced.
    static void layOut(HtmlView& root);
    std::unique_ptr<HtmlView> layOut(const ZString& markup);

    CountingPlatform platform;
    ViewContext context;
};

// The parent an update request climbs to, counting the requests that arrive.
class UpdateProbe : public CompositeView {
public:
    using CompositeView::CompositeView;
    void requestUpdate() override { ++updates; }

    int updates = 0;
};

// Listens to the context while it lives: the events of one view, or of all when only is null,
// mouse buttons and clicks as "LeftDown Clicked LeftUp", changes as "Radio:b Check:c" with the
// form value of the view.
class RecordingListener : public EventListener {
public:
    explicit RecordingListener(ViewContext& context, const View* only = nullptr);
    ~RecordingListener() override;

    void onLeftButtonDown(View* view) override { hear(view, "LeftDown"); }
    void onLeftButtonUp(View* view) override { hear(view, "LeftUp"); }
    void onRightButtonDown(View* view) override { hear(view, "RightDown"); }
    void onRightButtonUp(View* view) override { hear(view, "RightUp"); }
    void onLinkClicked(View* view) override { hear(view, "LinkClicked"); }
    void onButtonClicked(View* view) override { hear(view, "ButtonClicked"); }
    void onClicked(View* view) override { hear(view, "Clicked"); }
    void onCheckChanged(View* view) override { change(view, "Check"); }
    void onSelectionChanged(View* view) override { change(view, "Selection"); }
    void onRadioChanged(View* view) override { change(view, "Radio"); }

    std::string heard;
    std::string changes;

private:
    void hear(const View* view, const char* event);
    void change(const View* view, const char* kind);

    ViewContext& context_;
    const View* only_;
};

// The view's own value of the key in the state's map; empty when it has none.
StyleValue own(const View& view, PropertyId id, StyleState state = Normal);

// The tree below the view on one line: each child as its class, "#id" when it has one, a text's
// or word's text in quotes and its children in brackets: BlockView#a[TextView"x" WordView" "].
std::string outline(const View& view);

// The texts of a text view's words.
std::vector<std::string> wordsOf(const View& text);

// A record of the mouse at the point, as the frame passes it to the root.
void mouse(View& root, Point point, uint32_t flags);
// A press and release in the middle of the target, entering it first; without the press, the
// release that ends a drag begun elsewhere.
void click(View& root, const View& target, bool press = true);

} // namespace xhtml
