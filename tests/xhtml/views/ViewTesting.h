#pragma once

#include "tests/xhtml/document/StyleTargets.h"
#include "tests/xhtml/views/GeometryPrinter.h"
#include "xhtml/views/Dpi.h"
#include "xhtml/views/EventListener.h"
#include "xhtml/views/FixedMetricsPlatform.h"
#include "xhtml/views/FormViews.h"
#include "xhtml/views/HtmlView.h"
#include "xhtml/views/InlineViews.h"
#include "xhtml/views/ViewContext.h"
#include "xhtml/views/WordView.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace xhtml {

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
    std::unique_ptr<HtmlView> build(const ZString& markup) {
        auto root = std::make_unique<HtmlView>(&context);
        root->setContent(markup, nullptr);
        return root;
    }
    // Laid out as a frame of 800 × 500 lays out its document, the finished layout announced.
    static void layOut(HtmlView& root) {
        root.setSize(800, 500);
        root.layoutChildren({0, 0, 800, 500}, Layouter::Place);
        ViewEvent finished{ViewEvent::LayoutFinished, &root};
        root.handleEvent(finished);
    }
    std::unique_ptr<HtmlView> layOut(const ZString& markup) {
        auto root = build(markup);
        layOut(*root);
        return root;
    }

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
// as "LeftDown Clicked LeftUp", changes as "Radio:b Check:c" with the form value of the view.
// Built with += only: chains of + on strings trip a false -Wrestrict warning of the MinGW
// compiler.
class RecordingListener : public EventListener {
public:
    explicit RecordingListener(ViewContext& context, const View* only = nullptr)
        : context_(context), only_(only) {
        context.setListener(this);
    }
    ~RecordingListener() override { context_.setListener(nullptr); }

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
    void hear(const View* view, const char* event) {
        if (only_ && view != only_)
            return;
        heard += heard.empty() ? "" : " ";
        heard += event;
    }
    void change(const View* view, const char* kind) {
        const auto* form = dynamic_cast<const FormElement*>(view);
        changes += changes.empty() ? "" : " ";
        changes += kind;
        changes += ':';
        changes += form ? toUtf8(form->getValue()) : std::string();
    }

    ViewContext& context_;
    const View* only_;
};

// The tree below the view on one line: each child as its class, "#id" when it has one, a text's
// or word's text in quotes and its children in brackets: BlockView#a[TextView"x" WordView" "].
inline std::string outline(const View& view) {
    std::string out;
    const auto* composite = dynamic_cast<const CompositeView*>(&view);
    if (!composite)
        return out;
    for (const View* child : composite->getChildren()) {
        out += out.empty() ? "" : " ";
        out += viewKindName(child->getKind());
        if (const ZString id = child->getId(); !id.isEmpty()) {
            out += '#';
            out += toUtf8(id);
        }
        const bool text = child->getKind() == TextKind;
        if (text || child->getKind() == WordKind) {
            out += '"';
            out += toUtf8(text ? static_cast<const TextView*>(child)->getText()
                               : static_cast<const WordView*>(child)->getText());
            out += '"';
        } else if (const std::string inner = outline(*child); !inner.empty()) {
            out += '[';
            out += inner;
            out += ']';
        }
    }
    return out;
}

// A record of the mouse at the point, as the frame passes it to the root.
inline void mouse(View& root, Point point, uint32_t flags) {
    MouseEvent event{point, flags};
    root.handleMouse(event);
}

// A press and release in the middle of the target, entering it first; without the press, the
// release that ends a drag begun elsewhere.
inline void click(View& root, const View& target, bool press = true) {
    const Rect& r = target.getRect();
    const Point middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    mouse(root, middle, 0);
    if (press)
        mouse(root, middle, MouseEvent::LeftDown);
    mouse(root, middle, MouseEvent::LeftUp);
}

} // namespace xhtml
