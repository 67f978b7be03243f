// Painting checked by its pixels: documents are laid out and painted into a memory bitmap,
// which is also written to the build folder as a picture.
#include "xhtml/frame/Painter.h"
#include "xhtml/frame/PngFile.h"
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
#include <cstdlib>
#include <fstream>
#include <string>

using namespace xhtml;

namespace {

struct Rgb {
    int r, g, b;
};

// A document laid out and painted into a 32-bit bitmap on white.
class Rendering {
public:
    Rendering(const char16_t* markup, int width, int height, const ZString& base = u"res:///")
        : width_(width), height_(height), root_(&context_) {
        root_.setContent(markup, &base);
        root_.setSize(width, height);
        root_.layoutChildren({0, 0, width, height}, Layouter::Place);
        ViewEvent finished{ViewEvent::LayoutFinished, &root_};
        root_.handleEvent(finished);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        PatBlt(dc_, 0, 0, width, height, WHITENESS);
        paint();
    }
    Rendering(const Rendering&) = delete;
    Rendering& operator=(const Rendering&) = delete;
    ~Rendering() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }

    void paint() {
        paintView(root_, dc_, {0, 0, width_, height_});
        GdiFlush();
    }
    Rgb at(int x, int y) const {
        const uint32_t pixel = static_cast<const uint32_t*>(bits_)[y * width_ + x];
        return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                static_cast<int>(pixel & 0xFF)};
    }
    void save(const char* name) const {
        EXPECT_TRUE(savePng(bitmap_, ZString(DOXLY_PICTURES u"/") + utf8(name) + u".png"));
    }
    View* view(const char16_t* id) { return root_.getViewById(id); }

private:
    static ZString utf8(const char* text) {
        const std::u16string converted = fromUtf8(text, -1);
        return ZString(converted.c_str(), static_cast<int>(converted.size()));
    }

    int width_, height_;
    ViewContext context_;
    HtmlView root_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

bool isWhite(Rgb c) {
    return c.r == 255 && c.g == 255 && c.b == 255;
}

bool isBlack(Rgb c) {
    return c.r == 0 && c.g == 0 && c.b == 0;
}

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
                   u"border-top-color:blue'></div></div>",
                   60, 60);
    page.save("border");
    // The left side's inner line starts one pixel lower and ends one pixel higher.
    const struct {
        int x, y;
        Rgb color;
    } probes[] = {
        {10, 11, {255, 0, 0}}, {10, 29, {255, 0, 0}},     {11, 12, {255, 0, 0}},
        {11, 28, {255, 0, 0}}, {11, 29, {255, 255, 255}}, {10, 10, {0, 0, 255}},
        {11, 10, {0, 0, 255}}, {11, 11, {0, 0, 255}},     {12, 11, {0, 0, 255}},
        {29, 10, {0, 0, 255}}, {29, 11, {255, 255, 255}}, {12, 12, {255, 255, 255}},
    };
    for (const auto& p : probes) {
        const Rgb c = page.at(p.x, p.y);
        EXPECT_EQ(std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b),
                  std::to_string(p.color.r) + "," + std::to_string(p.color.g) + "," +
                      std::to_string(p.color.b))
            << "at " << p.x << "," << p.y;
    }
    // A width of two without colour or style: two black solid lines on every side.
    Rendering black(u"<div style='padding:10px'><div style='width:20px; height:20px; "
                    u"border-width:2px'></div></div>",
                    60, 60);
    for (const POINT p : {POINT{10, 20}, POINT{11, 20}, POINT{20, 10}, POINT{20, 11}, POINT{29, 20},
                          POINT{28, 20}, POINT{20, 29}, POINT{20, 28}})
        EXPECT_TRUE(isBlack(black.at(p.x, p.y))) << p.x << "," << p.y;
    EXPECT_TRUE(isWhite(black.at(12, 20)));
}

TEST_F(Paint, OpacityBlendsWithConstantAlpha) {
    Rendering page(u"<div style='width:20px; height:20px; background-color:black; opacity:0.5'>"
                   u"</div><div style='width:20px; height:20px; background-color:black; "
                   u"opacity:1'></div>",
                   40, 40);
    page.save("opacity");
    // Alpha 127 of black over white.
    const Rgb half = page.at(10, 10);
    EXPECT_NEAR(half.r, 128, 1);
    EXPECT_EQ(half.r, half.g);
    EXPECT_TRUE(isBlack(page.at(10, 30)));
}

TEST_F(Paint, GradientRunsFromTheFirstColourToTheSecond) {
    Rendering page(u"<body style='-c-background-gradient: #FFF #EEE vertical'></body>", 100, 100);
    page.save("gradient");
    EXPECT_NEAR(page.at(50, 0).r, 0xFF, 1);
    EXPECT_NEAR(page.at(50, 99).r, 0xEE, 2);
    EXPECT_GT(page.at(50, 0).r, page.at(50, 99).r);
}

TEST_F(Paint, TransparentColoursPaintNothing) {
    Rendering page(u"<div style='width:20px; height:20px; background-color:#FF0000FF; "
                   u"border-width:3px; border-color:#0000FFFF'></div>",
                   40, 40);
    for (const POINT p : {POINT{1, 1}, POINT{10, 10}, POINT{25, 25}})
        EXPECT_TRUE(isWhite(page.at(p.x, p.y))) << p.x << "," << p.y;
}

TEST_F(Paint, BackgroundImageWithoutRepeatStandsWhereItsPositionSays) {
    // A 4 × 4 red PNG beside the document.
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string file = std::string(folder) + "doxly-red.png";
    {
        const Gdiplus::GdiplusStartupInput input;
        HDC screen = CreateCompatibleDC(nullptr);
        HBITMAP red = CreateBitmap(4, 4, 1, 32, nullptr);
        HGDIOBJ old = SelectObject(screen, red);
        const RECT all{0, 0, 4, 4};
        HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(screen, &all, brush);
        DeleteObject(brush);
        SelectObject(screen, old);
        ASSERT_TRUE(savePng(red, ZString(std::wstring(file.begin(), file.end()).c_str())));
        DeleteObject(red);
        DeleteDC(screen);
    }
    std::string base = "file:///" + std::string(folder);
    for (char& c : base)
        c = c == '\\' ? '/' : c;
    const ZString baseUrl(std::wstring(base.begin(), base.end()).c_str());
    Rendering page(u"<div style='width:40px; height:20px; background-image:url(doxly-red.png); "
                   u"background-repeat:no-repeat; background-position:center center'></div>"
                   u"<div style='width:40px; height:20px; background-image:url(doxly-red.png); "
                   u"background-repeat:no-repeat; background-position:right bottom'></div>"
                   u"<div style='width:40px; height:20px; background-image:url(doxly-red.png); "
                   u"background-repeat:no-repeat; background-position:50% 0'></div>",
                   60, 60, baseUrl);
    page.save("background-image");
    const auto red = [&](int x, int y) {
        const Rgb c = page.at(x, y);
        return c.r == 255 && c.g == 0 && c.b == 0;
    };
    // Centre: (40 − 4) / 2 = 18, (20 − 4) / 2 = 8.
    EXPECT_TRUE(red(18, 8));
    EXPECT_TRUE(red(21, 11));
    EXPECT_FALSE(red(17, 8));
    EXPECT_FALSE(red(22, 11));
    // Right bottom: 36, 16 in the second box.
    EXPECT_TRUE(red(36, 36));
    EXPECT_TRUE(red(39, 39));
    EXPECT_FALSE(red(35, 36));
    // 50 % of the room: 18, and 0 from the top.
    EXPECT_TRUE(red(18, 40));
    EXPECT_FALSE(red(18, 44));
    DeleteFileA(file.c_str());
}

TEST_F(Paint, UnderlineSitsOneRowBelowTheBaseline) {
    Rendering page(u"<div style='font-size:20px'><u id='u'>Hamburg</u></div>", 200, 60);
    page.save("underline");
    std::vector<View*> words;
    page.view(u"u")->collectViewsByKind(words, WordKind);
    ASSERT_EQ(words.size(), 1u);
    const Rect r = words[0]->getRect();
    const int descent = viewPlatform().fontMetrics(words[0]->getFont()).descent;
    const int row = r.bottom - descent + 1;
    // The line runs the whole width of the word, letters or not.
    for (int x = r.left; x < r.right; ++x)
        EXPECT_TRUE(isBlack(page.at(x, row))) << "x " << x << ", row " << row;
    EXPECT_TRUE(isWhite(page.at(r.right, row)));
}

TEST_F(Paint, TheLogoIsDrawnAtTheSizeTheBoxGivesIt) {
    Rendering page(u"<img src='logo.png' width='50' height='50' style='margin:5px'/>", 80, 80);
    page.save("logo");
    // The logo's blue page fills the middle of its box; the box ends at 55.
    const Rgb middle = page.at(15, 30);
    EXPECT_GT(middle.b, 150);
    EXPECT_LT(middle.r, 150);
    for (int y = 0; y < 80; ++y)
        EXPECT_TRUE(isWhite(page.at(56, y))) << y;
}

// The highest GDI handle slot that a burst of new objects occupies. Freed slots are used again,
// so this grows only when objects were left behind in between; it works where the process's GDI
// object count is not reported.
int highestFreshGdiSlot() {
    std::vector<HBRUSH> brushes;
    int highest = 0;
    for (int i = 0; i < 2000; ++i) {
        brushes.push_back(CreateSolidBrush(RGB(i & 0xFF, 0, 0)));
        highest = std::max(highest,
                           static_cast<int>(reinterpret_cast<uintptr_t>(brushes.back()) & 0xFFFF));
    }
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    return highest;
}

TEST_F(Paint, RepeatedPaintsFreeWhatTheyCreate) {
    const std::u16string page = u"<body style='-c-background-gradient: #FFF #EEE vertical; "
                                u"padding:5px'><div style='border-width:2px; border-style:dotted;"
                                u" opacity:0.5; background-color:#ccc'><u>text</u> more</div>"
                                u"<img src='logo.png' width='50' height='50'/></body>";
    Rendering rendering(page.c_str(), 200, 150);
    const DWORD countBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const int slotBefore = highestFreshGdiSlot();
    for (int i = 0; i < 1000; ++i)
        rendering.paint();
    const DWORD countAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const int slotAfter = highestFreshGdiSlot();
    std::printf("1000 paints: GDI objects %lu before, %lu after; highest fresh handle slot %d "
                "before, %d after\n",
                countBefore, countAfter, slotBefore, slotAfter);
    EXPECT_EQ(countAfter, countBefore);
    EXPECT_EQ(slotAfter, slotBefore);
}

} // namespace
