#include "tests/xhtml/views/ViewTesting.h"

#include "xhtml/views/FormViews.h"
#include "xhtml/views/InlineViews.h"
#include "xhtml/views/WordView.h"

namespace xhtml {

std::unique_ptr<HtmlView> ViewsTest::build(const ZString& markup) {
    auto root = std::make_unique<HtmlView>(&context);
    root->setContent(markup, nullptr);
    return root;
}

void ViewsTest::layOut(HtmlView& root) {
    root.setSize(800, 500);
    root.layoutChildren({0, 0, 800, 500}, Layouter::Place);
    ViewEvent finished{ViewEvent::LayoutFinished, &root};
    root.handleEvent(finished);
}

std::unique_ptr<HtmlView> ViewsTest::layOut(const ZString& markup) {
    auto root = build(markup);
    layOut(*root);
    return root;
}

RecordingListener::RecordingListener(ViewContext& context, const View* only)
    : context_(context), only_(only) {
    context.setListener(this);
}

RecordingListener::~RecordingListener() {
    context_.setListener(nullptr);
}

// Built with += only: chains of + on strings trip a false -Wrestrict warning of the MinGW
// compiler.
void RecordingListener::hear(const View* view, const char* event) {
    if (only_ && view != only_)
        return;
    heard += heard.empty() ? "" : " ";
    heard += event;
}

void RecordingListener::change(const View* view, const char* kind) {
    const auto* form = dynamic_cast<const FormElement*>(view);
    changes += changes.empty() ? "" : " ";
    changes += kind;
    changes += ':';
    changes += form ? toUtf8(form->getValue()) : std::string();
}

StyleValue own(const View& view, PropertyId id, StyleState state) {
    const StyleValue* value = view.findInStyleMap(id, state);
    return value ? *value : StyleValue();
}

std::string outline(const View& view) {
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
        if (child->getKind() == TextKind || child->getKind() == WordKind) {
            out += '"';
            out += toUtf8(child->getKind() == TextKind
                              ? static_cast<const TextView*>(child)->getText()
                              : static_cast<const WordView*>(child)->getText());
            out += '"';
            continue;
        }
        const std::string inner = outline(*child);
        if (!inner.empty()) {
            out += '[';
            out += inner;
            out += ']';
        }
    }
    return out;
}

std::vector<std::string> wordsOf(const View& text) {
    std::vector<std::string> words;
    for (const View* word : static_cast<const CompositeView&>(text).getChildren())
        words.push_back(toUtf8(static_cast<const WordView*>(word)->getText()));
    return words;
}

void mouse(View& root, Point point, uint32_t flags) {
    MouseEvent event{point, flags};
    root.handleMouse(event);
}

void click(View& root, const View& target, bool press) {
    const Rect& r = target.getRect();
    const Point middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    mouse(root, middle, 0);
    if (press)
        mouse(root, middle, MouseEvent::LeftDown);
    mouse(root, middle, MouseEvent::LeftUp);
}

} // namespace xhtml
