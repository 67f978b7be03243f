// The view base: property lookup, change notifications, the mouse state machine and the clicks it
// reports, timers, lookups and the child list.
#include "tests/xhtml/views/ViewTesting.h"

#include <functional>
#include <map>

using namespace xhtml;
using P = PropertyId;

namespace {

using Properties = ViewsTest;
using Notifications = ViewsTest;
using Mouse = ViewsTest;
using Timers = ViewsTest;
using Lookups = ViewsTest;
using ChildList = ViewsTest;

// The integer found, or -1 for none.
int found(const StyleValue* value) {
    return value ? value->intValue() : -1;
}

TEST_F(Properties, OwnLookupFallsBackToNormalOnlyInheritanceAsksEachAncestorForItsState) {
    CompositeView parent(&context);
    auto* child = new View(&context);
    parent.appendChild(child);
    parent.setSize(10, 10);
    child->setProperty(P::Width, StyleValue::integer(1));
    child->setProperty(P::Width, StyleValue::integer(2), Hover);
    child->setProperty(P::Top, StyleValue::integer(4), LeftDown);
    parent.setProperty(P::Height, StyleValue::integer(5));
    parent.setProperty(P::Height, StyleValue::integer(6), Hover);
    // The parent alone is hovered: the child has no rectangle.
    mouse(parent, {5, 5}, 0);
    ASSERT_EQ(parent.getState(), Hover);
    ASSERT_EQ(child->getState(), Normal);

    const struct {
        PropertyId id;
        StyleState state;
        int own, inherited;
    } cases[] = {
        {P::Width, Normal, 1, 1},   {P::Width, Hover, 2, 2},     {P::Width, RightDown, 1, 1},
        {P::Width, Current, 1, 1},  {P::Top, LeftDown, 4, 4},    {P::Top, Normal, -1, -1},
        {P::Height, Normal, -1, 5}, {P::Height, Current, -1, 6}, {P::Height, LeftDown, -1, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << propertyName(c.id) << " in state " << c.state);
        EXPECT_EQ(found(child->findOwnProperty(c.id, c.state)), c.own);
        EXPECT_EQ(found(child->findProperty(c.id, c.state)), c.inherited);
        EXPECT_EQ(child->hasProperty(c.id, c.state), c.inherited != -1);
    }
}

TEST_F(Notifications, AChangeNotifiesOnceAndNothingWhenNothingChanges) {
    UpdateProbe parent(&context);
    auto* view = new View(&context);
    parent.appendChild(view);
    const StyleValue one = StyleValue::integer(1);
    const struct {
        const char* what;
        std::function<void()> act;
        int updates;
    } steps[] = {
        {"new value", [&] { view->changeProperty(P::Width, one); }, 1},
        {"same value", [&] { view->changeProperty(P::Width, one); }, 0},
        {"same number as a percentage", [&] { view->changeProperty(P::Width, percent(1)); }, 1},
        {"erase what is not there", [&] { view->changeProperty(P::Height, StyleValue()); }, 0},
        {"erase", [&] { view->changeProperty(P::Width, StyleValue()); }, 1},
        {"store without notifying", [&] { view->setProperty(P::Width, one); }, 0},
        {"the same value in another state", [&] { view->changeProperty(P::Width, one, Hover); }, 1},
        {"disable with opacity", [&] { view->setDisabled(true, 0.5); }, 2},
        {"hide by visibility", [&] { view->setShown(false, true); }, 1},
    };
    for (const auto& step : steps) {
        parent.updates = 0;
        step.act();
        EXPECT_EQ(parent.updates, step.updates) << step.what;
    }
    EXPECT_EQ(own(*view, P::Width, Hover), one);
    EXPECT_FALSE(view->isVisible());
}

TEST_F(Notifications, ALaidOutBoxAbsorbsItsChangesButShowingOrHidingItAsksItsParent) {
    UpdateProbe parent(&context);
    auto* box = new BoxView(&context);
    parent.appendChild(box);
    box->changeProperty(P::Color, StyleValue::color(1));
    EXPECT_EQ(parent.updates, 1) << "a box never laid out cannot relayout itself";
    ViewEvent finished{ViewEvent::LayoutFinished, box};
    box->handleEvent(finished);
    box->changeProperty(P::Color, StyleValue::color(2));
    EXPECT_EQ(parent.updates, 1);
    EXPECT_TRUE(box->isLaidOut());
    box->setHidden(true);
    EXPECT_EQ(parent.updates, 2);
}

constexpr Point kIn{5, 5};
constexpr Point kOut{20, 5};

// Records over a view at (0, 0, 10, 10): "m" a move inside, "o" one outside, "w" the pointer
// leaving the window, "d" and "u" the left button going down and up, "D" and "U" the right one.
void play(View& view, const std::string& records) {
    using E = MouseEvent;
    static const std::map<char, std::pair<Point, uint32_t>> kinds = {
        {'m', {kIn, 0}},           {'o', {kOut, 0}},        {'w', {kIn, E::LeftWindow}},
        {'d', {kIn, E::LeftDown}}, {'u', {kIn, E::LeftUp}}, {'D', {kIn, E::RightDown}},
        {'U', {kIn, E::RightUp}}};
    for (char record : records) {
        if (record != ' ')
            mouse(view, kinds.at(record).first, kinds.at(record).second);
    }
}

TEST_F(Mouse, RecordsEnterFirstAndAReleaseIsAClickOnlyAfterAPressOnTheView) {
    const uint32_t hovered = View::Hovered;
    const struct {
        const char* records;
        uint32_t flags;
        const char* heard;
    } cases[] = {
        {"d", hovered, ""},
        {"m d", hovered | View::LeftPressed, "LeftDown"},
        {"m d u", hovered, "LeftDown Clicked LeftUp"},
        {"m u", hovered, "LeftUp"},
        {"m d o", 0, "LeftDown"},
        {"m d w m u", hovered, "LeftDown LeftUp"},
        {"m D", hovered | View::RightPressed, "RightDown"},
        {"m D U", hovered, "RightDown RightUp"},
        {"m o", 0, ""},
    };
    for (const auto& c : cases) {
        RecordingListener listener(context);
        View view(&context);
        view.setSize(10, 10);
        play(view, c.records);
        EXPECT_EQ(view.getFlags(), c.flags) << c.records;
        EXPECT_EQ(listener.heard, c.heard) << c.records;
    }
}

TEST_F(Mouse, OnlyAStateWithAStyleOfItsOwnRepaintsAndTheCursorFollowsTheView) {
    // Updates after entering, pressing, releasing and leaving.
    const std::pair<StyleState, std::vector<int>> cases[] = {
        {Normal, {0, 0, 0, 0}}, {Hover, {1, 1, 1, 2}}, {LeftDown, {0, 1, 2, 2}}};
    for (const auto& [styled, updates] : cases) {
        UpdateProbe parent(&context);
        auto* view = new View(&context);
        parent.appendChild(view);
        view->setSize(10, 10);
        view->setProperty(P::Cursor, StyleValue::integer(1));
        if (styled != Normal)
            view->setProperty(P::Color, StyleValue::color(0xFF), styled);
        for (size_t i = 0; i < 4; ++i) {
            play(*view, std::string(1, "mduo"[i]));
            EXPECT_EQ(parent.updates, updates[i]) << "state " << styled << ", record " << i;
        }
    }
    EXPECT_EQ(platform.cursor(), 1);
}

TEST_F(Mouse, AClickIsReportedByTheKindOfViewThatSawThePress) {
    const struct {
        const char16_t* markup;
        bool pressed;
        const char* heard;
    } cases[] = {
        {u"<a href=\"h\">go</a>", true, "LeftDown LinkClicked Clicked LeftUp"},
        {u"<input type=\"button\"/>", true, "LeftDown ButtonClicked Clicked LeftUp"},
        {u"<div>go</div>", true, "LeftDown Clicked LeftUp"},
        {u"<a href=\"h\">go</a>", false, "LeftUp"},
        {u"<input type=\"button\"/>", false, "LeftUp"},
    };
    for (const auto& c : cases) {
        const auto root = layOut(c.markup);
        RecordingListener listener(context, root->childAt(0));
        // A link is where its words are.
        std::vector<View*> words;
        root->collectViewsByKind(words, WordKind);
        click(*root, words.empty() ? *root->childAt(0) : *words[0], c.pressed);
        EXPECT_EQ(listener.heard, c.heard) << toUtf8(c.markup) << (c.pressed ? "" : " unpressed");
    }
}

// A view that records the timers it is handed.
class TimerProbe : public View {
public:
    using View::View;
    void onTimer(unsigned id) override { fired.push_back(id); }

    std::vector<unsigned> fired;
};

TEST_F(Timers, AViewRearmsAndKillsOnlyItsOwnTimersAndItsDestructionKillsThem) {
    using Armed = std::map<unsigned, int>;
    auto first = std::make_unique<TimerProbe>(&context);
    auto second = std::make_unique<TimerProbe>(&context);
    const unsigned a = first->setTimer(100, 0);
    ASSERT_NE(a, 0u);
    EXPECT_EQ(first->setTimer(250, a), a);
    const unsigned b = second->setTimer(10, a);
    EXPECT_NE(b, a) << "a timer of another view is not re-armed";
    const unsigned c = first->setTimer(5, 0);
    EXPECT_EQ(platform.timers(), (Armed{{a, 250}, {b, 10}, {c, 5}}));

    platform.fireTimer(b);
    platform.fireTimer(a);
    EXPECT_EQ(first->fired, std::vector<unsigned>{a});
    EXPECT_EQ(second->fired, std::vector<unsigned>{b});

    second->killTimer(a);
    first->killTimer(a);
    EXPECT_EQ(platform.timers(), (Armed{{b, 10}, {c, 5}}));
    first.reset();
    EXPECT_EQ(platform.timers(), (Armed{{b, 10}}));
    second.reset();
    EXPECT_TRUE(platform.timers().empty());
}

// The ids of the views, blank-separated.
std::string ids(const std::vector<View*>& views) {
    std::string out;
    for (const View* view : views) {
        out += out.empty() ? "" : " ";
        out += toUtf8(view->getId());
    }
    return out;
}

TEST_F(Lookups, FindInDocumentOrderByEachKey) {
    const auto root = build(u"<div id=\"a\" class=\"x y\" hideid=\"h\">"
                            u"<input id=\"b\" name=\"n\" class=\"y\"/>"
                            u"<span id=\"c\" class=\"xy\" hideid=\"k h\"></span></div>"
                            u"<p id=\"d\" class=\"y\"><input id=\"e\" name=\"n\"/></p>");
    const StyleValue y = StyleValue::string(u"y");
    using Found = std::vector<View*>;
    const std::pair<std::function<void(Found&)>, const char*> cases[] = {
        {[&](Found& f) { root->collectViewsByClass(f, u"y"); }, "a b d"},
        {[&](Found& f) { root->collectViewsByClass(f, u"x"); }, "a"},
        {[&](Found& f) { root->collectViewsByName(f, u"n"); }, "b e"},
        {[&](Found& f) { root->collectViewsByHideId(f, u"h"); }, "a c"},
        {[&](Found& f) { root->collectViewsByKind(f, EditKind); }, "b e"},
        {[&](Found& f) { root->collectViewsWithProperty(f, P::Class, &y); }, "b d"},
        {[&](Found& f) {
             f = {root->getViewById(u"c"), root->getViewByName(u"n"), root->getViewByClass(u"y"),
                  root->getViewByHideId(u"k")};
         },
         "c b a c"},
    };
    for (const auto& [collect, expected] : cases) {
        Found views;
        collect(views);
        EXPECT_EQ(ids(views), expected);
    }
    EXPECT_EQ(root->getViewById(u"z"), nullptr);
}

TEST_F(ChildList, AnInsertionIndexIsClampedToTheList) {
    const std::pair<int, const char*> cases[] = {
        {-1, "n a b"}, {0, "n a b"}, {1, "a n b"}, {2, "a b n"}, {99, "a b n"}};
    for (const auto& [index, order] : cases) {
        CompositeView parent(&context);
        for (const char16_t* id : {u"a", u"b", u"n"}) {
            auto* child = new View(&context);
            child->setProperty(P::Id, StyleValue::string(id));
            if (id[0] == u'n')
                parent.insertChild(child, index);
            else
                parent.appendChild(child);
        }
        parent.insertChild(nullptr, 0);
        EXPECT_EQ(ids(parent.getChildren()), order) << index;
        EXPECT_EQ(parent.getViewById(u"n")->getParent(), &parent);
    }
}

TEST_F(ChildList, SetTextKeepsAnEqualTextAndSetMarkupRebuilds) {
    UpdateProbe parent(&context);
    auto* box = new CompositeView(&context);
    parent.appendChild(box);
    box->setText(u"a  b");
    EXPECT_EQ(outline(*box), "TextView\"a  b\"");
    box->setText(u"a  b");
    EXPECT_EQ(parent.updates, 1) << "the same text changes nothing";
    box->setText(u"");
    EXPECT_EQ(box->childCount(), 0);
    box->setMarkup(u"<b>x</b><br/>y");
    EXPECT_EQ(outline(*box), "InlineView[TextView\"x\"] BreakView TextView\"y\"");
    EXPECT_EQ(box->childAt(0)->getParent(), box);
    EXPECT_EQ(parent.updates, 3);
}

TEST_F(ChildList, AConversionTakesThePlaceTheStylesAndTheChildrenOfTheView) {
    for (ViewKind kind : {InlineKind, BoxKind, BlockKind, CompositeKind, ParagraphKind}) {
        const auto root =
            build(u"<i>a</i><strong id=\"s\" mostyle=\"width:4\">b<b>c</b></strong>d");
        View* converted = root->getViewById(u"s")->convertTo(kind);
        if (kind == CompositeKind || kind == ParagraphKind) {
            EXPECT_EQ(converted, nullptr) << viewKindName(kind);
            continue;
        }
        ASSERT_NE(converted, nullptr) << viewKindName(kind);
        EXPECT_EQ(converted->getKind(), kind);
        std::string expected = "InlineView[TextView\"a\"] ";
        expected += viewKindName(kind);
        expected += "#s[TextView\"b\" InlineView[TextView\"c\"]] TextView\"d\"";
        EXPECT_EQ(outline(*root), expected);
        EXPECT_EQ(converted->getParent(), root.get());
        EXPECT_EQ(static_cast<CompositeView*>(converted)->childAt(1)->getParent(), converted);
        EXPECT_EQ(own(*converted, P::Width, Hover), StyleValue::integer(4));
    }
}

} // namespace
