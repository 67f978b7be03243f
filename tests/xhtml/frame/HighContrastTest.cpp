// High contrast, switched through the platform without touching the system's setting: a page in a
// real window painted with and without it, probed by its pixels and saved as pictures.
#include "tests/xhtml/frame/HighContrast.h"
#include "tests/xhtml/frame/WindowedFrame.h"
#include "xhtml/frame/PngFile.h"
#include "xhtml/frame/Win32Controls.h"
#include "xhtml/views/WordView.h"

using namespace xhtml;

namespace {

// A 4 × 4 red picture for the background image, in the pictures' folder.
void saveRedTile() {
    const ScopedMemoryDC dc(nullptr);
    const ScopedBitmap bitmap(CreateBitmap(4, 4, 1, 32, nullptr));
    {
        const ScopedSelectObject selected(dc.get(), bitmap.get());
        const ScopedGdiObject<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
        const RECT all{0, 0, 4, 4};
        FillRect(dc.get(), &all, red.get());
    }
    EXPECT_TRUE(savePng(bitmap.get(), DOXLY_PICTURES u"/hc-tile.png"));
}

// A page with every kind of colour that high contrast replaces, in a window on the test display.
class ContrastPage : public WindowedFrame {
public:
    ContrastPage() : WindowedFrame(400, 300) {
        saveRedTile();
        // After the frame, which installs the process's own platform.
        contrastPlatform().colors.reset();
        setViewPlatform(&contrastPlatform());
        getWindow().show(true);
        const ZString base = u"file:///" DOXLY_PICTURES u"/";
        setContent(u"<body style='-c-background-gradient: #FFF #808080 vertical; color:#804000; "
                   u"padding:5px'>"
                   u"<div id='tile' style='height:20px; background-image:url(hc-tile.png)'></div>"
                   u"<div id='box' style='height:20px; margin-top:5px; background-color:#FF8000; "
                   u"border-width:2px; border-color:#0000FF'></div>"
                   u"<div id='text' style='font-size:24px; font-weight:bold'>MMMM</div>"
                   u"<div style='font-size:24px; font-weight:bold'><a id='link' href='x' "
                   u"style='color:#FF00FF'>MMMM</a></div>"
                   u"<input id='button' type='button' value='MMMM' "
                   u"style='width:100px; height:30px; color:#800000'/>"
                   u"<textarea id='area' style='width:100px; height:40px'>MMMM</textarea></body>",
                   &base);
        pump(250);
    }
    ~ContrastPage() override {
        contrastPlatform().colors.reset();
        setViewPlatform(nullptr);
    }

    // What the window shows once it has painted all it had to.
    Capture painted() {
        pump(100);
        return Capture(*this);
    }
    // Tells the window, as the system does, that the colours changed.
    void systemSays(UINT message, std::optional<SystemColors> colors) {
        contrastPlatform().colors = colors;
        getWindow().sendMessage(message);
    }
    Rect rect(const char16_t* id) { return getViewById(id)->getRect(); }
    // The rectangle of the view's first word.
    Rect word(const char16_t* id) {
        std::vector<View*> words;
        getViewById(id)->collectViewsByKind(words, WordKind);
        EXPECT_FALSE(words.empty());
        return words.empty() ? Rect{} : words.front()->getRect();
    }
};

} // namespace

TEST(HighContrast, ThePageTakesTheSystemsColoursAndLeavesOutGradientsAndImages) {
    ContrastPage page;
    const Rect body = page.getViewById(u"box")->getParent()->getRect();
    const Point top{body.right - 3, body.top + 1}, bottom{body.right - 3, body.bottom - 2},
        below{200, 297};
    const Point tile{page.rect(u"tile").left + 1, page.rect(u"tile").top + 1};
    const Rect box = page.rect(u"box");
    const Point boxInside{box.left + 10, box.top + 10}, border{box.left, box.top + 10};
    const Rect face = static_cast<BoxView*>(page.getViewById(u"button"))->getContentRect();
    const Point faceInside{face.left + 3, face.top + 3}, faceEdge{face.left, face.top + 10};
    const Rect edit =
        placedRect(controlWindow(*static_cast<ControlView*>(page.getViewById(u"area"))),
                   page.getWindow().getHandle());
    // Right of the text, above the scroll bar.
    const Point editInside{edit.left + 70, edit.top + 6};

    const Capture normal = page.painted();
    normal.save(u"high-contrast-off");
    EXPECT_NE(normal.at(top), normal.at(bottom)) << "the gradient";
    EXPECT_EQ(normal.at(tile), (Rgb{255, 0, 0}));
    EXPECT_EQ(normal.at(boxInside), (Rgb{255, 128, 0}));
    EXPECT_EQ(normal.at(border), (Rgb{0, 0, 255}));
    EXPECT_GT(normal.count(page.word(u"text"), {128, 64, 0}), 50);
    EXPECT_GT(normal.count(page.word(u"link"), {255, 0, 255}), 50);
    EXPECT_GT(normal.count(face, {128, 0, 0}), 20);
    EXPECT_EQ(normal.at(editInside), (Rgb{255, 255, 255}));

    page.systemSays(WM_SYSCOLORCHANGE, Contrast);
    const Capture contrast = page.painted();
    contrast.save(u"high-contrast-on");
    const Rgb window = rgb(Contrast.window);
    for (const Point p : {top, bottom, below, tile, boxInside})
        EXPECT_EQ(contrast.at(p), window) << p.x << "," << p.y;
    EXPECT_EQ(contrast.at(border), rgb(Contrast.windowText));
    // Text in the text colour, links in theirs, none in the page's colours.
    EXPECT_GT(contrast.count(page.word(u"text"), rgb(Contrast.windowText)), 50);
    EXPECT_EQ(contrast.count(page.word(u"text"), {128, 64, 0}), 0);
    EXPECT_GT(contrast.count(page.word(u"link"), rgb(Contrast.hotLight)), 50);
    EXPECT_EQ(contrast.count(page.word(u"link"), {255, 0, 255}), 0);
    EXPECT_EQ(contrast.at(faceInside), rgb(Contrast.buttonFace));
    EXPECT_EQ(contrast.at(faceEdge), rgb(Contrast.buttonText));
    EXPECT_GT(contrast.count(face, rgb(Contrast.buttonText)), 20);
    EXPECT_EQ(contrast.count(face, {128, 0, 0}), 0);
    // The licence's native edit box too.
    EXPECT_EQ(contrast.at(editInside), window);
    EXPECT_GT(contrast.count(edit, rgb(Contrast.windowText)), 20);

    // Switched off again, the page has its own colours back.
    page.systemSays(WM_SETTINGCHANGE, std::nullopt);
    const Capture again = page.painted();
    for (const Point p : {top, bottom, below, tile, boxInside, border, faceInside, editInside})
        EXPECT_EQ(again.at(p), normal.at(p)) << p.x << "," << p.y;
}
