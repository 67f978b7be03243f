// The box model, positioning, the line layouter, the layout caches and update requests, and
// geometry at the edge of the int range.
#include "tests/xhtml/views/ViewTesting.h"
#include "xhtml/document/ApplyStyle.h"
#include "xhtml/views/InlineViews.h"
#include "xhtml/views/WordView.h"

#include <climits>
#include <cstdlib>
#include <sstream>

using namespace xhtml;
using P = PropertyId;

namespace {

using BoxModel = ViewsTest;
using Positioning = ViewsTest;
using Lines = ViewsTest;
using LayoutCaches = ViewsTest;
using Overflow = ViewsTest;

std::string sides(const Edges& e) {
    std::ostringstream out;
    out << e.left << ' ' << e.top << ' ' << e.right << ' ' << e.bottom;
    return out.str();
}

TEST_F(BoxModel, EdgesTakeTheShorthandThenEachSideScaledAndPercentagesAsPixels) {
    const struct {
        int dpi;
        const char16_t* style;
        const char* margins;
        const char* borders;
        const char* paddings;
        Rect content;
    } cases[] = {
        {96,
         u"margin-left:1; margin:5; border-width:2; border-bottom-width:0; padding-top:3%",
         "1 5 5 5",
         "2 2 2 0",
         "0 3 0 0",
         {3, 10, 93, 45}},
        {144, u"margin:5; padding-right:1", "7 7 7 7", "0 0 0 0", "0 0 1 0", {7, 7, 92, 43}},
    };
    for (const auto& c : cases) {
        setDpi(c.dpi);
        BoxView box(&context);
        applyStyleText(box, Normal, c.style);
        box.setSize(100, 50);
        EXPECT_EQ(sides(box.getMargins()), c.margins);
        EXPECT_EQ(sides(box.getBorderWidths()), c.borders);
        EXPECT_EQ(sides(box.getPaddings()), c.paddings);
        EXPECT_EQ(box.getContentRect(), c.content);
        EXPECT_EQ(box.outerRectOf(c.content), box.getRect());
    }
    EXPECT_EQ(scale(5), 7);
    setDpi(96);
    EXPECT_EQ(scale(1), 1);
}

TEST_F(BoxModel, SizesResolveAgainstTheAreaTheDpiAndTheMinimums) {
    const struct {
        bool block;
        int dpi;
        const char16_t* style;
        Size expected;
    } cases[] = {
        {false, 96, u"width:50%", {150, 7}},
        {false, 120, u"width:10", {12, 7}},
        {false, 96, u"width:10.9", {10, 7}},
        {false, 96, u"", {4, 7}},
        {false, 96, u"display:block", {301, 7}},
        {true, 96, u"", {301, 7}},
        {true, 96, u"display:inline-block", {4, 7}},
        {false, 96, u"height:50%", {4, 20}},
        {false, 96, u"width:10; min-width:30", {30, 7}},
        {false, 96, u"height:2; min-height:10%", {4, 4}},
    };
    for (const auto& c : cases) {
        setDpi(c.dpi);
        std::unique_ptr<BoxView> box(c.block ? new BlockView(&context) : new BoxView(&context));
        applyStyleText(*box, Normal, c.style);
        EXPECT_EQ(box->resolveSize(301, 41, 4, 7), c.expected) << toUtf8(c.style);
    }
}

TEST_F(Positioning, AnAbsoluteBoxLandsInItsContainersContentBox) {
    // A root of 300 × 200 with a padding of 10 holds a box at (50, 50) of 100 × 100 that holds
    // the positioned box of 20 × 10.
    const struct {
        const char16_t* middle;
        const char16_t* style;
        Point expected;
    } cases[] = {
        {u"", u"", {10, 10}},
        {u"", u"left:3; right:5", {268, 10}},
        {u"", u"top:4", {10, 14}},
        {u"", u"bottom:7", {10, 173}},
        {u"position:relative", u"right:0; bottom:0", {130, 140}},
    };
    for (const auto& c : cases) {
        BlockView root(&context);
        root.setProperty(P::Padding, StyleValue::integer(10));
        root.setSize(300, 200);
        auto* middle = new BoxView(&context);
        root.appendChild(middle);
        middle->moveTo(50, 50);
        middle->setSize(100, 100);
        applyStyleText(*middle, Normal, c.middle);
        auto* box = new BoxView(&context);
        middle->appendChild(box);
        box->setSize(20, 10);
        applyStyleText(*box, Normal, ZString(u"position:absolute; ") + c.style);
        box->applyPosition();
        EXPECT_EQ(box->getRect(), Rect::at(c.expected, {20, 10})) << toUtf8(c.style);
    }
}

TEST_F(Positioning, ARelativeBoxIsOffsetOncePerPlacement) {
    BlockView root(&context);
    auto* box = new BlockView(&context);
    root.appendChild(box);
    applyStyleText(*box, Normal,
                   u"width:20; height:10; position:relative; left:4; top:6; right:50");
    for (int pass = 0; pass < 2; ++pass) {
        root.invalidateLayoutCache();
        root.layoutInRect({0, 0, 100, 100});
        for (int event = 0; event < 2; ++event) {
            ViewEvent finished{ViewEvent::LayoutFinished, &root};
            root.handleEvent(finished);
        }
        EXPECT_EQ(box->getRect(), (Rect{4, 6, 24, 16})) << pass;
    }
}

// Feeds both layouters over an area of 100 × 100 with the text and content alignments: "WxH" an
// item, "_W" a blank W wide, "|" a line break, "<" and ">" start and end no-wrap, "aN" the item
// alignment N, "sN" the line spacing N. Returns where the items went, "x,y", or "-" for one that
// takes no room; then the measured size.
std::string laidOut(ViewContext& context, int textAlign, int contentAlign, const char* feeds) {
    NormalLayouter placing({0, 0, 100, 100});
    CalcSizeLayouter measuring({0, 0, 100, 100});
    std::vector<std::unique_ptr<View>> items;
    for (Layouter* layouter : std::initializer_list<Layouter*>{&placing, &measuring}) {
        layouter->setTextAlign(textAlign);
        layouter->setContentAlign(contentAlign);
        std::istringstream in(feeds);
        for (std::string feed; in >> feed;) {
            const int number = std::atoi(feed.c_str() + 1);
            if (feed[0] == '|')
                layouter->lineBreak(15);
            else if (feed[0] == '<' || feed[0] == '>')
                layouter->setFlag(Layouter::NoWrap, feed[0] == '<');
            else if (feed[0] == 'a')
                layouter->setItemAlign(number);
            else if (feed[0] == 's')
                layouter->setLineSpacing(number);
            else {
                items.emplace_back(feed[0] == '_' ? new WordView(&context, u" ")
                                                  : new View(&context));
                const size_t x = feed.find('x');
                items.back()->setSize(feed[0] == '_' ? number : std::atoi(feed.c_str()),
                                      feed[0] == '_' ? 10 : std::atoi(feed.c_str() + x + 1));
                layouter->addView(items.back().get());
            }
        }
        layouter->finish();
    }
    std::ostringstream out;
    for (size_t i = 0; i < items.size() / 2; ++i) {
        const Rect& r = items[i]->getRect();
        if (r.width() > 0)
            out << r.left << ',' << r.top << ' ';
        else
            out << "- ";
    }
    const Size measured = measuring.getBounds().size();
    out << "| " << measured.width << 'x' << measured.height;
    return out.str();
}

TEST_F(Lines, ItemsWrapAlignAndDropSpacesAtTheEdgesOfALine) {
    const struct {
        int textAlign, contentAlign;
        const char* feeds;
        const char* expected;
    } cases[] = {
        {1, 1, "60x10 40x10", "0,0 0,10 | 60x20"},
        {1, 1, "60x10 39x10", "0,0 60,0 | 99x10"},
        {1, 1, "150x10 10x10", "0,0 0,10 | 150x20"},
        {1, 1, "_5 10x10", "- 0,0 | 10x10"},
        {1, 1, "95x10 _5 10x10", "0,0 - 0,10 | 95x20"},
        {1, 1, "10x10 _5 10x10", "0,0 10,0 15,0 | 25x10"},
        {2, 1, "70x10", "15,0 | 70x10"},
        {2, 1, "69x10", "15,0 | 69x10"},
        {3, 1, "70x10 40x10", "30,0 60,10 | 70x20"},
        {4, 1, "70x10", "30,0 | 70x10"},
        {0, 1, "70x10", "30,0 | 70x10"},
        {1, 1, "10x30 10x10", "0,0 10,20 | 20x30"},
        {1, 1, "10x30 a2 10x11", "0,0 10,9 | 20x30"},
        {1, 1, "10x30 10x10 a1", "0,0 10,0 | 20x30"},
        {1, 2, "10x40", "0,30 | 10x40"},
        {1, 3, "10x40", "0,60 | 10x40"},
        {1, 1, "| 10x10", "0,15 | 10x25"},
        {1, 1, "10x10 | 10x10", "0,0 0,15 | 10x25"},
        {1, 1, "50x10 < 30x10 30x10 > 5x10", "0,0 0,10 30,10 60,10 | 65x20"},
        {1, 1, "95x10 < _5 10x10", "0,0 0,10 5,10 | 95x20"},
        {1, 1, "s4 60x10 60x10 s-3 60x10", "0,0 0,14 0,24 | 60x34"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(laidOut(context, c.textAlign, c.contentAlign, c.feeds), c.expected)
            << c.feeds << " aligned " << c.textAlign << ", content " << c.contentAlign;
    }
}

// A child that takes a fixed size and counts the layouts that visit it.
class CountedItem : public View {
public:
    using View::View;
    void layout(Layouter& layouter) override {
        ++visits;
        setSize(30, 10);
        layouter.addView(this);
    }

    int visits = 0;
};

TEST_F(LayoutCaches, LayoutsAndMeasurementsAreRepeatedOnlyWhenTheirCacheCannotAnswer) {
    BlockView box(&context);
    auto* item = new CountedItem(&context);
    box.appendChild(item);
    EXPECT_EQ(box.measure(100), (Size{30, 10}));
    box.measure(100);
    EXPECT_EQ(item->visits, 1);
    box.measure(60);
    EXPECT_EQ(item->visits, 2);
    const Rect content{0, 0, 100, 50};
    box.layoutChildren(content, Layouter::Place);
    EXPECT_EQ(box.layoutChildren(content, Layouter::Place), (Rect{0, 0, 30, 10}));
    EXPECT_EQ(item->visits, 3);
    // Moving the box moves its cache along.
    box.moveBy(5, 7);
    EXPECT_EQ(box.layoutChildren(content.movedBy(5, 7), Layouter::Place), (Rect{5, 7, 35, 17}));
    box.measure(60);
    EXPECT_EQ(item->visits, 3);
    // Measuring resizes the children, so the next real layout visits them again.
    box.measure(61);
    box.layoutChildren(content.movedBy(5, 7), Layouter::Place);
    EXPECT_EQ(item->visits, 5);
    // A moved box keeps an invalid cache invalid.
    box.measure(62);
    box.moveBy(1, 1);
    box.layoutChildren({0, 0, 0, 0}, Layouter::Place);
    EXPECT_EQ(item->visits, 7);
    box.invalidateLayoutCache();
    box.measure(100);
    EXPECT_EQ(item->visits, 8);
}

TEST_F(LayoutCaches, AnUpdateRelaysOutTheBoxInPlaceUnlessItsSizeChanges) {
    UpdateProbe parent(&context);
    auto* box = new BlockView(&context);
    parent.appendChild(box);
    applyStyleText(*box, Normal, u"width:100; height:50");
    auto* text = new TextView(&context, u"ab cd");
    box->appendChild(text);
    box->layoutInRect({0, 0, 100, 50});
    ViewEvent finished{ViewEvent::LayoutFinished, box};
    box->handleEvent(finished);
    View* last = text->childAt(2);
    ASSERT_EQ(last->getRect(), (Rect{18, 0, 30, 13}));

    box->changeProperty(P::FontSize, StyleValue::integer(20));
    EXPECT_EQ(last->getRect(), (Rect{30, 0, 50, 20})) << "relaid out with the new font";
    EXPECT_TRUE(box->isLaidOut());
    last->changeProperty(P::FontSize, StyleValue::integer(10));
    EXPECT_EQ(last->getRect(), (Rect{30, 10, 40, 20})) << "a word of its own font";
    EXPECT_EQ(parent.updates, 0);

    text->changeProperty(P::FontSize, StyleValue::integer(60));
    EXPECT_EQ(parent.updates, 1) << "60 pixels of text need a taller box";
}

TEST_F(LayoutCaches, ABoxMovesBeforeItLaysOutItsChildrenAndTheyFollowItsMoves) {
    BlockView box(&context);
    box.setProperty(P::Padding, StyleValue::integer(2));
    box.moveTo(40, 40);
    auto* text = new TextView(&context, u"ab");
    box.appendChild(text);
    EXPECT_EQ(box.layoutInRect({10, 20, 110, 70}), (Rect{10, 20, 26, 37}));
    EXPECT_EQ(box.getRect(), (Rect{10, 20, 110, 70}));
    EXPECT_EQ(text->childAt(0)->getRect(), (Rect{12, 22, 24, 35}));
    box.moveBy(-10, 5);
    EXPECT_EQ(text->childAt(0)->getRect(), (Rect{2, 27, 14, 40}));
}

TEST_F(Overflow, HugeLengthsAndLinesSaturateAtTheIntRange) {
    ZString words;
    for (int i = 0; i < 5000; ++i)
        words.append(u"x ");
    const std::pair<ZString, Rect> cases[] = {
        {u"<body><div style=\"width:2000000000px; margin:2000000000px; "
         u"padding-left:2000000000px\">x</div></body>",
         {0, 0, INT_MAX, INT_MAX}},
        {u"<body style=\"font-size:1000000px\"><nobr>" + words + u"</nobr></body>",
         {0, 0, INT_MAX, 1000000}},
    };
    for (const auto& [markup, body] : cases)
        EXPECT_EQ(layOut(markup)->childAt(0)->getRect(), body);
}

} // namespace
