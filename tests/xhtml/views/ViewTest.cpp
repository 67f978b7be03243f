// The view base: property lookup, change notifications, the mouse state machine and the clicks it
// reports, timers, the child list and a blank rule of the builder.
#include "tests/xhtml/views/ViewTesting.h"
#include "xhtml/views/StyleAnimation.h"

#include <functional>
#include <map>

using namespace xhtml;
using P = PropertyId;

namespace {

using Properties = ViewsTest;
using Notifications = ViewsTest;
using Mouse = ViewsTest;
using Timers = ViewsTest;
using ChildList = ViewsTest;
using Building = ViewsTest;

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
    EXPECT_EQ(found(view->findInStyleMap(P::Width, Hover)), 1);
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

TEST_F(Mouse, RecordsEnterFirstAReleaseIsAClickOnlyAfterAPressAndOnlyAStyledStateRepaints) {
    // Records over a view at (0, 0, 10, 10): "m" a move inside, "o" one outside, "w" the pointer
    // leaving the window, "d" and "u" the left button going down and up, "D" and "U" the right one.
    using E = MouseEvent;
    const std::map<char, std::pair<Point, uint32_t>> kinds = {
        {'m', {{5, 5}, 0}},           {'o', {{20, 5}, 0}},        {'w', {{5, 5}, E::LeftWindow}},
        {'d', {{5, 5}, E::LeftDown}}, {'u', {{5, 5}, E::LeftUp}}, {'D', {{5, 5}, E::RightDown}},
        {'U', {{5, 5}, E::RightUp}}};
    const uint32_t hovered = View::Hovered;
    // The records, the state the view has a style of its own for, then the view's flags, what
    // the listener heard and the updates its parent had after each record.
    const struct {
        const char* records;
        StyleState styled;
        uint32_t flags;
        const char* heard;
        const char* updates;
    } cases[] = {
        {"d", Normal, hovered, "", "0"},
        {"md", Normal, hovered | View::LeftPressed, "LeftDown", "00"},
        {"mdu", Normal, hovered, "LeftDown Clicked LeftUp", "000"},
        {"mu", Normal, hovered, "LeftUp", "00"},
        {"mdo", Normal, 0, "LeftDown", "000"},
        {"mdwmu", Normal, hovered, "LeftDown LeftUp", "00000"},
        {"mD", Normal, hovered | View::RightPressed, "RightDown", "00"},
        {"mDU", Normal, hovered, "RightDown RightUp", "000"},
        {"mo", Normal, 0, "", "00"},
        {"mduo", Normal, 0, "LeftDown Clicked LeftUp", "0000"},
        {"mduo", Hover, 0, "LeftDown Clicked LeftUp", "1112"},
        {"mduo", LeftDown, 0, "LeftDown Clicked LeftUp", "0122"},
    };
    for (const auto& c : cases) {
        RecordingListener listener(context);
        UpdateProbe parent(&context);
        auto* view = new View(&context);
        parent.appendChild(view);
        view->setSize(10, 10);
        view->setProperty(P::Cursor, StyleValue::integer(1));
        if (c.styled != Normal)
            view->setProperty(P::Color, StyleValue::color(0xFF), c.styled);
        std::string updates;
        for (const char* record = c.records; *record; ++record) {
            mouse(*view, kinds.at(*record).first, kinds.at(*record).second);
            updates += static_cast<char>('0' + parent.updates);
        }
        SCOPED_TRACE(testing::Message() << c.records << " styled in state " << c.styled);
        EXPECT_EQ(view->getFlags(), c.flags);
        EXPECT_EQ(listener.heard, c.heard);
        EXPECT_EQ(updates, c.updates);
    }
    EXPECT_EQ(platform.cursor(), 1);
}

TEST_F(Mouse, AClickIsReportedByTheKindOfViewThatSawThePress) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"<a href=\"h\">go</a>", "LeftDown LinkClicked Clicked LeftUp"},
        {u"<input type=\"button\"/>", "LeftDown ButtonClicked Clicked LeftUp"},
        {u"<div>go</div>", "LeftDown Clicked LeftUp"},
    };
    for (const auto& [markup, heard] : cases) {
        const auto root = layOut(markup);
        RecordingListener listener(context, root->childAt(0));
        // A link is where its words are.
        std::vector<View*> words;
        root->collectViewsByKind(words, WordKind);
        click(*root, words.empty() ? *root->childAt(0) : *words[0]);
        EXPECT_EQ(listener.heard, heard) << toUtf8(markup);
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

TEST_F(Timers, AnAnimationStepsOnItsTimersAndStopsOnItsLastStepUnlessItLoops) {
    using Armed = std::map<unsigned, int>;
    for (const bool loop : {false, true}) {
        SCOPED_TRACE(loop ? "looping" : "once");
        View view(&context);
        const auto width = [&] { return found(view.findOwnProperty(P::Width)); };
        view.setAnimation(new StyleAnimation({{u"width:1", 50}, {u"width:2", 60}}, loop));
        EXPECT_EQ(width(), 1);
        ASSERT_EQ(platform.timers().size(), 1u);
        EXPECT_EQ(platform.timers().begin()->second, 50);
        platform.fireTimer(platform.timers().begin()->first);
        EXPECT_EQ(width(), 2);
        if (!loop) {
            EXPECT_EQ(platform.timers(), Armed{});
            continue;
        }
        ASSERT_EQ(platform.timers().size(), 1u);
        EXPECT_EQ(platform.timers().begin()->second, 60);
        platform.fireTimer(platform.timers().begin()->first);
        EXPECT_EQ(width(), 1);
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

// The dump cases show the view and properties of each element and most blanks between them.
TEST_F(Building, ABlankAfterAControlSeparatesTheInlineGroupsThatFollowItAndOneBlankIsEnough) {
    EXPECT_EQ(outline(*build(u"<input/> <b>x</b> <i>y</i>")),
              "EditView WordView\" \" InlineView[TextView\"x\"] WordView\" \" "
              "InlineView[TextView\"y\"]");
    EXPECT_EQ(outline(*build(u"<div>a <b> b</b></div>")),
              "BlockView[TextView\"a \" InlineView[TextView\"b\"]]");
}

TEST_F(Building, EveryHeadingIsAParagraphInABoldFontOfItsLevel) {
    const int sizes[] = {25, 20, 16, 13, 10, 8};
    for (int level = 1; level <= 6; ++level) {
        const auto root = build(ZString::format(u"<h%d>x</h%d>", level, level));
        const View* heading = root->childAt(0);
        ASSERT_EQ(heading->getKind(), ParagraphKind) << level;
        EXPECT_EQ(found(heading->findOwnProperty(P::FontSize)), sizes[level - 1]) << level;
        EXPECT_EQ(found(heading->findOwnProperty(P::FontWeight)), 700) << level;
    }
}

} // namespace
