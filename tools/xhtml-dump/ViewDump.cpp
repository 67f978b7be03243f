// The modes "views" and "layout": the view tree a document builds, with its properties, or laid
// out for a client area.

#include "tools/xhtml-dump/DumpModes.h"
#include "tools/xhtml-dump/DumpText.h"
#include "xhtml/views/Dpi.h"
#include "xhtml/views/HtmlView.h"
#include "xhtml/views/InlineViews.h"
#include "xhtml/views/SelectView.h"
#include "xhtml/views/ViewContext.h"
#include "xhtml/views/WordView.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

using namespace xhtml;

namespace {

const char* className(const View& view) {
    return dynamic_cast<const HtmlView*>(&view) ? "HtmlView" : viewKindName(view.getKind());
}

// The class name, and the text of a text or word in quotes. Built with += only: chains of + on
// strings trip a false -Wrestrict warning of optimising compilers.
std::string heading(const View& view) {
    std::string line = className(view);
    if (view.getKind() == TextKind || view.getKind() == WordKind) {
        line += ' ';
        line += quoted(view.getKind() == TextKind ? static_cast<const TextView&>(view).getText()
                                                  : static_cast<const WordView&>(view).getText());
    }
    return line;
}

// Views that layout places itself: boxes and words.
bool isPlaced(const View& view) {
    return view.getKind() == WordKind || dynamic_cast<const BoxView*>(&view) != nullptr;
}

const std::vector<View*>* childrenOf(const View& view) {
    const auto* composite = dynamic_cast<const CompositeView*>(&view);
    return composite ? &composite->getChildren() : nullptr;
}

void printProperties(const View& view, const std::string& indent) {
    static const char* const stateNames[] = {"Normal", "Hover", "LeftDown", "RightDown"};
    for (int state = Normal; state <= RightDown; ++state) {
        for (const auto& [id, value] : *view.getStyleMap(static_cast<StyleState>(state)))
            std::printf("%s- %s %s %s\n", indent.c_str(), stateNames[state], propertyName(id),
                        describe(value).c_str());
    }
    if (view.getKind() != SelectKind)
        return;
    const auto& select = static_cast<const SelectView&>(view);
    for (int i = 0; i < select.optionCount(); ++i) {
        const SelectView::Option& option = select.optionAt(i);
        std::printf("%s- option %s %s%s%s\n", indent.c_str(), quoted(option.label).c_str(),
                    quoted(option.value).c_str(), option.selected ? " selected" : "",
                    option.hidden ? " hidden" : "");
    }
}

void printViews(const View& view, int depth) {
    const std::string indent(static_cast<size_t>(depth) * 2, ' ');
    std::printf("%s%s\n", indent.c_str(), heading(view).c_str());
    printProperties(view, indent + "  ");
    if (const auto* children = childrenOf(view)) {
        for (const View* child : *children)
            printViews(*child, depth + 1);
    }
}

void printLayout(const View& view, int depth) {
    std::string line(static_cast<size_t>(depth) * 2, ' ');
    line += heading(view);
    const bool displayed = view.isDisplayed();
    if (!displayed) {
        line += " none";
    } else if (isPlaced(view)) {
        const Rect& r = view.getRect();
        char rect[64];
        std::snprintf(rect, sizeof rect, " %d,%d,%d,%d", r.left, r.top, r.right, r.bottom);
        line += rect;
    }
    if (const StyleValue* id = view.findInStyleMap(PropertyId::Id, Normal))
        line += " id=" + quoted(id->stringValue());
    std::printf("%s\n", line.c_str());
    if (!displayed)
        return;
    if (const auto* children = childrenOf(view)) {
        for (const View* child : *children)
            printLayout(*child, depth + 1);
    }
}

// The "file:///" address of the folder that holds the file, ending in "/".
ZString folderUrlOf(const char* path) {
    char* absolute = realpath(path, nullptr);
    std::string folder = absolute ? absolute : path;
    std::free(absolute);
    folder.erase(folder.rfind('/') + 1);
    return ZString(u"file://") + argumentText(folder.c_str());
}

// The document built as a frame builds it, with the base address of its folder.
std::unique_ptr<HtmlView> build(ViewContext& context, const char* path) {
    ZString text;
    if (!readUtf8File(path, text))
        return nullptr;
    auto root = std::make_unique<HtmlView>(&context);
    const ZString base = folderUrlOf(path);
    root->setContent(text, &base);
    return root;
}

} // namespace

int dumpViews(int argc, char** argv) {
    if (argc != 1)
        return kBadArguments;
    ViewContext context;
    const auto root = build(context, argv[0]);
    if (!root)
        return 1;
    printViews(*root, 0);
    return 0;
}

int dumpLayout(int argc, char** argv) {
    const char* path = nullptr;
    int width = 800, height = 500, dpi = 96;
    for (int i = 0; i < argc; ++i) {
        int* option = std::strcmp(argv[i], "--width") == 0    ? &width
                      : std::strcmp(argv[i], "--height") == 0 ? &height
                      : std::strcmp(argv[i], "--dpi") == 0    ? &dpi
                                                              : nullptr;
        if (option) {
            if (i + 1 == argc || !readIntArgument(argv[++i], *option))
                return kBadArguments;
        } else if (!path) {
            path = argv[i];
        } else {
            return kBadArguments;
        }
    }
    if (!path || width < 0 || height < 0 || dpi <= 0)
        return kBadArguments;
    setDpi(dpi);
    ViewContext context;
    const auto root = build(context, path);
    if (!root)
        return 1;
    // As the frame does: the document's box covers the client area, its children are laid out
    // into it, and the finished layout is announced down the tree.
    root->setSize(width, height);
    root->layoutChildren({0, 0, width, height}, Layouter::Place);
    ViewEvent finished{ViewEvent::LayoutFinished, root.get()};
    root->handleEvent(finished);
    printLayout(*root, 0);
    return 0;
}
