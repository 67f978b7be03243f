// Painting checked by its pixels: documents are laid out and painted into a memory bitmap,
// which is also written to the build folder as a picture.
#include "tests/xhtml/frame/Pixels.h"
#include "tests/xhtml/views/GeometryPrinter.h"
#include "xhtml/frame/Painter.h"
#include "xhtml/frame/Win32ViewPlatform.h"
#include "xhtml/views/Dpi.h"
#include "xhtml/views/HtmlView.h"
#include "xhtml/views/ViewContext.h"
#include "xhtml/views/WordView.h"

#include <gtest/gtest.h>

#include <objidl.h>
// After the COM declarations it relies on.
#include <gdiplus.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

using namespace xhtml;

namespace {

constexpr Rgb White{255, 255, 255}, Black{0, 0, 0}, Red{255, 0, 0}, Blue{0, 0, 255};

// A document laid out and painted into a 32-bit bitmap on white.
class Rendering : public Pixels {
public:
    Rendering(const char16_t* markup, int width, int height, const ZString& base = u"res:///")
        : Pixels(width, height), root_(&context_) {
        root_.setContent(markup, &base);
        root_.setSize(width, height);
        root_.layoutChildren({0, 0, width, height}, Layouter::Place);
        ViewEvent finished{ViewEvent::LayoutFinished, &root_};
        root_.handleEvent(finished);
        PatBlt(dc_.get(), 0, 0, width, height, WHITENESS);
        paint();
    }

    void paint() {
        paintView(root_, dc_.get(), {0, 0, width(), height()});
        GdiFlush();
    }

    // Only what meets the clip, onto white.
    void paintOnWhite(const Rect& clip) {
        PatBlt(dc_.get(), 0, 0, width(), height(), WHITENESS);
        paintView(root_, dc_.get(), clip);
        GdiFlush();
    }
    View* view(const char16_t* id) { return root_.getViewById(id); }

private:
    ViewContext context_;
    HtmlView root_;
    ScopedMemoryDC dc_{nullptr};
    ScopedSelectObject selection_{dc_.get(), handle()};
};

class Paint : public ::testing::Test {
protected:
    void SetUp() override {
        const Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
        setViewPlatform(&platform_);
        setDpi(96);
    }
    void TearDown() override {
        setDpi(0);
        setViewPlatform(nullptr);
        Gdiplus::GdiplusShutdown(token_);
    }

private:
    ULONG_PTR token_ = 0;
    Win32ViewPlatform platform_;
};

TEST_F(Paint, BorderLinesAreShortenedInwardSoSidesMeetOnADiagonal) {
    // Widths and heights are those of the whole box, margins included.
    Rendering page(u"<div style='padding:10px'><div style='width:20px; height:20px; "
                   u"border-left-width:2px; border-top-width:2px; border-left-color:red; "
                   u"border-top-color:blue'></div></div><div style='padding:10px'><div "
                   u"style='width:20px; height:20px; border-width:2px'></div></div>",
                   60, 80);
    page.save(u"border");
    // The left side's inner line starts one pixel lower and ends one pixel higher.
    const struct {
        int x, y;
        Rgb color;
    } probes[] = {
        {10, 11, Red},   {10, 29, Red},  {11, 12, Red},   {11, 28, Red},
        {11, 29, White}, {10, 10, Blue}, {11, 10, Blue},  {11, 11, Blue},
        {12, 11, Blue},  {29, 10, Blue}, {29, 11, White}, {12, 12, White},
    };
    for (const auto& p : probes)
        EXPECT_EQ(page.at(p.x, p.y), p.color) << "at " << p.x << "," << p.y;
    // Below, a width of two without colour or style: two black solid lines on every side.
    const POINT black[] = {{10, 60}, {11, 60}, {20, 50}, {20, 51},
                           {29, 60}, {28, 60}, {20, 69}, {20, 68}};
    for (const POINT p : black)
        EXPECT_EQ(page.at(p.x, p.y), Black) << p.x << "," << p.y;
    EXPECT_EQ(page.at(12, 60), White);
}

// How many pixels of the rendering inside the clip differ from the expected ones.
template <typename Expected>
int differingInside(const Rendering& page, const Rect& clip, Expected expected) {
    int differing = 0;
    for (int y = clip.top; y < clip.bottom; ++y)
        for (int x = clip.left; x < clip.right; ++x)
            differing += page.at(x, y) != expected(x, y);
    return differing;
}

// The whole lines of one border side, drawn the plain way: each one pixel further in and one
// pixel shorter at both ends than the one before, in the direction the first line takes.
void drawWholeSide(HDC dc, int penStyle, COLORREF color, POINT from, POINT to, POINT inward,
                   int width) {
    const ScopedGdiObject<HPEN> pen(CreatePen(penStyle, 1, color));
    const ScopedSelectObject selected(dc, pen.get());
    const POINT along{(to.x > from.x) - (to.x < from.x), (to.y > from.y) - (to.y < from.y)};
    for (int i = 0; i < width; ++i) {
        MoveToEx(dc, from.x + (inward.x + along.x) * i, from.y + (inward.y + along.y) * i, nullptr);
        LineTo(dc, to.x + (inward.x - along.x) * i, to.y + (inward.y - along.y) * i);
    }
}

struct PlainSide {
    int width;
    int penStyle;
    COLORREF color;
};

// Left, top, right and bottom, in that order, as whole lines.
void drawWholeBorder(HDC dc, const Rect& r, const PlainSide (&s)[4]) {
    drawWholeSide(dc, s[0].penStyle, s[0].color, {r.left, r.top}, {r.left, r.bottom}, {1, 0},
                  s[0].width);
    drawWholeSide(dc, s[1].penStyle, s[1].color, {r.left, r.top}, {r.right, r.top}, {0, 1},
                  s[1].width);
    drawWholeSide(dc, s[2].penStyle, s[2].color, {r.right - 1, r.top}, {r.right - 1, r.bottom},
                  {-1, 0}, s[2].width);
    drawWholeSide(dc, s[3].penStyle, s[3].color, {r.left, r.bottom - 1}, {r.right, r.bottom - 1},
                  {0, -1}, s[3].width);
}

TEST_F(Paint, BorderPixelsInsideAnyClipAreThoseOfWholeLines) {
    // Sides thousands of pixels wide reach the page from far outside it, so dots and dashes must
    // keep the phase of each line's start wherever a clip cuts the line. In the first box the
    // lines run forward; in the two others a side outgrows the box's length, so its inner lines
    // have passed each other and run backward, from far beyond the box toward the page.
    constexpr int width = 240, height = 200;
    Rendering page(
        u"<div id='forward' style='width:37px; height:23px; margin-left:-2950px; "
        u"margin-top:-2960px; border-width:3000px; border-left-style:dotted; "
        u"border-top-style:dashed; border-right-style:dashed; border-bottom-style:dotted; "
        u"border-left-color:red; border-top-color:blue; border-right-color:green; "
        u"border-bottom-color:#804000'></div>"
        u"<div id='top' style='position:absolute; left:-50px; top:-1500px; width:60px; "
        u"height:1611px; border-width:10px; border-top-width:1600px; border-bottom-width:1px; "
        u"border-top-style:dotted; border-top-color:blue'></div>"
        u"<div id='left' style='position:absolute; left:-1500px; top:-50px; width:1631px; "
        u"height:60px; border-width:1px; border-left-width:1620px; border-left-style:dashed; "
        u"border-left-color:green'></div>",
        width, height);
    page.save(u"border-clipped");
    constexpr COLORREF red = RGB(255, 0, 0), green = RGB(0, 128, 0), blue = RGB(0, 0, 255);
    const struct {
        const char16_t* id;
        PlainSide sides[4];
    } boxes[] = {
        {u"forward",
         {{3000, PS_DOT, red},
          {3000, PS_DASH, blue},
          {3000, PS_DASH, green},
          {3000, PS_DOT, RGB(0x80, 0x40, 0)}}},
        {u"top", {{10, PS_SOLID, 0}, {1600, PS_DOT, blue}, {10, PS_SOLID, 0}, {1, PS_SOLID, 0}}},
        {u"left", {{1620, PS_DASH, green}, {1, PS_SOLID, 0}, {1, PS_SOLID, 0}, {1, PS_SOLID, 0}}},
    };
    const Pixels expected(width, height);
    const ScopedMemoryDC dc(nullptr);
    const ScopedSelectObject selection(dc.get(), expected.handle());
    const Rect clips[] = {{0, 0, width, height}, {3, 7, 61, 45},     {0, 0, 1, 1},
                          {7, 0, 8, height},     {0, 5, width, 6},   {9, 2, 233, 190},
                          {10, 10, 103, height}, {87, 63, 171, 131}, {101, 113, 103, height}};
    for (const Rect& clip : clips) {
        // A box that misses the clip is not painted, even where its lines would reach into it.
        PatBlt(dc.get(), 0, 0, width, height, WHITENESS);
        for (const auto& box : boxes) {
            const Rect r = static_cast<BoxView*>(page.view(box.id))->getBorderBox();
            if (r.meets(clip))
                drawWholeBorder(dc.get(), r, box.sides);
        }
        GdiFlush();
        page.paintOnWhite(clip);
        EXPECT_EQ(differingInside(page, clip, [&](int x, int y) { return expected.at(x, y); }), 0)
            << ::testing::PrintToString(clip);
    }
}

TEST_F(Paint, WhatMeetsAClipIsPaintedAsByAWholePaint) {
    // A colour, gradients, tiles, opacity over a dashed border, and an underline.
    constexpr int width = 200, height = 180;
    Rendering page(
        u"<div style='width:50px; height:30px; background-color:#C08040; margin:3px; "
        u"-c-background-gradient: #FF0000 #0000FF vertical'></div>"
        u"<div style='width:70px; height:40px; -c-background-gradient: #FFFFFF #2040A0 diagonal; "
        u"border-width:3px; border-style:dashed; opacity:0.6'></div>"
        u"<div style='width:190px; height:70px; background-image:url(logo.png); "
        u"font-size:20px'><u>tiles</u></div>",
        width, height);
    page.save(u"clip-whole");
    std::vector<Rgb> whole;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            whole.push_back(page.at(x, y));
    const Rect clips[] = {{13, 7, 61, 45},      {0, 0, 1, 1},       {37, 0, 38, height},
                          {0, 101, width, 102}, {51, 29, 131, 177}, {5, 120, 97, 171}};
    for (const Rect& clip : clips) {
        page.paintOnWhite(clip);
        EXPECT_EQ(differingInside(page, clip, [&](int x, int y) { return whole[y * width + x]; }),
                  0)
            << ::testing::PrintToString(clip);
    }
}

TEST_F(Paint, OpacityBlendsWithConstantAlpha) {
    Rendering page(u"<div style='width:20px; height:20px; background-color:black; opacity:0.5'>"
                   u"</div><div style='width:20px; height:20px; background-color:black; "
                   u"opacity:1'></div>",
                   40, 40);
    page.save(u"opacity");
    // Alpha 127 of black over white.
    const Rgb half = page.at(10, 10);
    EXPECT_NEAR(half.r, 128, 1);
    EXPECT_EQ(half.r, half.g);
    EXPECT_EQ(page.at(10, 30), Black);
}

TEST_F(Paint, GradientRunsFromTheFirstColourToTheSecond) {
    Rendering page(u"<body style='-c-background-gradient: #FFF #EEE vertical'></body>", 100, 100);
    page.save(u"gradient");
    EXPECT_NEAR(page.at(50, 0).r, 0xFF, 1);
    EXPECT_NEAR(page.at(50, 99).r, 0xEE, 2);
    EXPECT_GT(page.at(50, 0).r, page.at(50, 99).r);
}

TEST_F(Paint, TransparentColoursPaintNothing) {
    Rendering page(u"<div style='width:20px; height:20px; background-color:#FF0000FF; "
                   u"border-width:3px; border-color:#0000FFFF'></div>",
                   40, 40);
    for (const POINT p : {POINT{1, 1}, POINT{10, 10}, POINT{25, 25}})
        EXPECT_EQ(page.at(p.x, p.y), White) << p.x << "," << p.y;
}

TEST_F(Paint, BackgroundImageWithoutRepeatStandsWhereItsPositionSays) {
    // A 4 × 4 red picture beside the others.
    Rendering(u"<div style='height:4px; background-color:red'></div>", 4, 4).save(u"red-tile");
    Rendering page(u"<div style='width:40px; height:20px; background-image:url(red-tile.png); "
                   u"background-repeat:no-repeat; background-position:center center'></div>"
                   u"<div style='width:40px; height:20px; background-image:url(red-tile.png); "
                   u"background-repeat:no-repeat; background-position:right bottom'></div>"
                   u"<div style='width:40px; height:20px; background-image:url(red-tile.png); "
                   u"background-repeat:no-repeat; background-position:50% 0'></div>",
                   60, 60, u"file:///" DOXLY_PICTURES u"/");
    page.save(u"background-image");
    // Centre: (40 − 4) / 2 = 18, (20 − 4) / 2 = 8; right bottom: 36, 16 in the second box; 50 %
    // of the room: 18, and 0 from the top in the third.
    const struct {
        int x, y;
        bool red;
    } probes[] = {{18, 8, true},  {21, 11, true},  {17, 8, false}, {22, 11, false}, {36, 36, true},
                  {39, 39, true}, {35, 36, false}, {18, 40, true}, {18, 44, false}};
    for (const auto& p : probes)
        EXPECT_EQ(page.at(p.x, p.y) == Red, p.red) << p.x << "," << p.y;
}

TEST_F(Paint, UnderlineSitsOneRowBelowTheBaseline) {
    Rendering page(u"<div style='font-size:14px'><u id='u'>Hamburg</u></div>", 200, 60);
    page.save(u"underline");
    std::vector<View*> words;
    page.view(u"u")->collectViewsByKind(words, WordKind);
    ASSERT_EQ(words.size(), 1u);
    // The font of this size has a descent of 3 and makes a word 16 high: the line is drawn at
    // the word's top + 14.
    const ScopedGetDC screen(nullptr);
    const ScopedSelectObject font(screen.get(), static_cast<HFONT>(words[0]->getFont().handle));
    TEXTMETRICW metrics{};
    ASSERT_TRUE(GetTextMetricsW(screen.get(), &metrics));
    ASSERT_EQ(metrics.tmDescent, 3);
    const Rect r = words[0]->getRect();
    ASSERT_EQ(r.height(), 16);
    // The line runs the whole width of the word, letters or not.
    for (int x = r.left; x < r.right; ++x)
        EXPECT_EQ(page.at(x, r.top + 14), Black) << "x " << x;
    EXPECT_EQ(page.at(r.right, r.top + 14), White);
}

TEST_F(Paint, TheLogoIsDrawnAtTheSizeTheBoxGivesIt) {
    Rendering page(u"<img src='logo.png' width='50' height='50' style='margin:5px'/>", 80, 80);
    page.save(u"logo");
    // The logo's blue page fills the middle of its box; the box ends at 55.
    const Rgb middle = page.at(15, 30);
    EXPECT_GT(middle.b, 150);
    EXPECT_LT(middle.r, 150);
    for (int y = 0; y < 80; ++y)
        EXPECT_EQ(page.at(56, y), White) << y;
}

TEST_F(Paint, AScaledImageKeepsSolidEdges) {
    Rendering(u"<div style='height:10px; background-color:#00C000'></div>", 10, 10)
        .save(u"green-tile");
    Rendering page(u"<img src='green-tile.png' width='30' height='20'/>", 40, 30,
                   u"file:///" DOXLY_PICTURES u"/");
    page.save(u"scaled-image");
    constexpr Rgb Green{0, 192, 0};
    for (const POINT p : {POINT{0, 0}, POINT{29, 0}, POINT{0, 19}, POINT{29, 19}})
        EXPECT_EQ(page.at(p.x, p.y), Green) << p.x << "," << p.y;
    EXPECT_EQ(page.at(30, 19), White);
    EXPECT_EQ(page.at(29, 20), White);
}

// The highest GDI handle slot that a burst of new objects occupies. Freed slots are used again,
// so this grows only when objects were left behind in between; GetGuiResources, which would
// count them, is a stub under Wine.
int highestFreshGdiSlot() {
    std::vector<ScopedGdiObject<HBRUSH>> brushes;
    int highest = 0;
    for (int i = 0; i < 2000; ++i) {
        brushes.emplace_back(CreateSolidBrush(RGB(i & 0xFF, 0, 0)));
        highest = std::max(
            highest, static_cast<int>(reinterpret_cast<uintptr_t>(brushes.back().get()) & 0xFFFF));
    }
    return highest;
}

TEST_F(Paint, RepeatedPaintsFreeWhatTheyCreate) {
    Rendering rendering(u"<body style='-c-background-gradient: #FFF #EEE vertical; padding:5px'>"
                        u"<div style='border-width:2px; border-style:dotted; opacity:0.5; "
                        u"background-color:#ccc'><u>text</u> more</div>"
                        u"<img src='logo.png' width='50' height='50'/></body>",
                        200, 150);
    const int before = highestFreshGdiSlot();
    for (int i = 0; i < 1000; ++i)
        rendering.paint();
    const int after = highestFreshGdiSlot();
    std::printf("1000 paints: highest fresh GDI handle slot %d before, %d after\n", before, after);
    EXPECT_EQ(after, before);
}

} // namespace
