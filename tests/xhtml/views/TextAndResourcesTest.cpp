// Words of a text and their size caches, the font cache, the image cache and image sizes.
#include "tests/TemporaryFolder.h"
#include "tests/xhtml/views/ViewTesting.h"
#include "xhtml/views/InlineViews.h"

#include <fstream>
#include <functional>
#include <sstream>

using namespace xhtml;
using P = PropertyId;

namespace {

using Words = ViewsTest;
using Fonts = ViewsTest;

TEST_F(Words, WhiteSpaceRunsBecomeOneBlankAndNoBreakSpacesJoinWords) {
    const std::pair<const char16_t*, std::vector<std::string>> cases[] = {
        {u" Hello   world ", {" ", "Hello", " ", "world", " "}},
        {u"\tx\ny\r", {" ", "x", " ", "y", " "}},
        {u"Hello", {"Hello"}},
        {u"", {}},
        {u" \t\r\n ", {}},
        {u"a&nbsp;b",
         {"a\xC2\xA0"
          "b"}},
        {u"&nbsp;&nbsp;&nbsp;", {" ", "\xC2\xA0\xC2\xA0\xC2\xA0", " "}},
        {u"&amp; x", {"&", " ", "x"}},
    };
    for (const auto& [text, words] : cases)
        EXPECT_EQ(wordsOf(TextView(&context, text)), words) << toUtf8(text);
}

TEST_F(Words, AWordIsMeasuredOncePerStateUntilAFontPropertyChanges) {
    BlockView box(&context);
    auto* text = new TextView(&context, u"ab");
    box.appendChild(text);
    text->setProperty(P::FontWeight, StyleValue::integer(700), Hover);
    const View* word = text->childAt(0);
    const struct {
        const char* what;
        std::function<void()> act;
        int measurements, width;
    } steps[] = {
        {"normal", [] {}, 1, 12},
        {"hovered",
         [&] {
             mouse(box, {3, 3}, 0);
         },
         2, 14},
        {"left",
         [&] {
             mouse(box, {90, 40}, 0);
         },
         2, 12},
        {"hovered again",
         [&] {
             mouse(box, {3, 3}, 0);
         },
         2, 14},
        {"a font change above", [&] { box.changeProperty(P::FontSize, StyleValue::integer(20)); },
         3, 22},
        {"another property", [&] { box.changeProperty(P::Color, StyleValue::color(0)); }, 3, 22},
    };
    for (const auto& step : steps) {
        step.act();
        box.invalidateLayoutCache();
        box.layoutInRect({0, 0, 100, 50});
        EXPECT_EQ(platform.measurements, step.measurements) << step.what;
        EXPECT_EQ(word->getSize().width, step.width) << step.what;
    }
}

TEST_F(Fonts, ViewsOfOneFontShareItAndItsHeightFollowsTheDpi) {
    const struct {
        int dpi;
        const char16_t* style;
        const char* font;
    } cases[] = {
        {96, u"", "-13 400 Verdana"},
        {144, u"", "-19 400 Verdana"},
        {120, u"font-size:10px", "-12 400 Verdana"},
        {96, u"font-size:20px; font-weight:bold; font-style:italic; font-family:Tahoma",
         "-20 700 italic tahoma"},
    };
    for (const auto& c : cases) {
        setDpi(c.dpi);
        const auto root = build(ZString(u"<div style=\"") + c.style + u"\"><p>a</p><p>b</p></div>");
        std::vector<View*> texts;
        root->collectViewsByKind(texts, TextKind);
        const int before = platform.fontsCreated();
        const Font& font = texts[0]->getFont();
        const int created = platform.fontsCreated();
        EXPECT_EQ(&texts[1]->getFont(), &font);
        EXPECT_EQ(platform.fontsCreated(), created);
        EXPECT_LE(created - before, 1);
        std::ostringstream key;
        key << font.key.height << ' ' << font.key.weight << (font.key.italic ? " italic " : " ")
            << toUtf8(font.key.face);
        EXPECT_EQ(key.str(), c.font);
    }
}

// A loader that counts what it reads.
class CountingLoader : public UrlLoader {
public:
    using UrlLoader::UrlLoader;
    int load(const ZString& url, ByteBuffer& out) override {
        ++loads;
        return UrlLoader::load(url, out);
    }

    int loads = 0;
};

// A folder holding Logo.png, 40 × 20 pixels as its header says, as the document's base.
class Images : public ViewsTest {
protected:
    Images() {
        const unsigned char png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0,  0, 0,
                                     13,   'I', 'H', 'D', 'R',  0,    0,    0,    40, 0, 0,
                                     0,    20,  8,   6,   0,    0,    0,    0,    0,  0, 0};
        std::ofstream(folder.path("Logo.png"), std::ios::binary)
            .write(reinterpret_cast<const char*>(png), sizeof png);
        auto counting = std::make_unique<CountingLoader>(nullptr, fileUrl(folder.path("p.xhtml")));
        loader = counting.get();
        context.setLoader(std::move(counting));
    }

    TemporaryFolder folder;
    CountingLoader* loader;
};

TEST_F(Images, AnAddressIsReadOnceWhetherItLoadsOrNot) {
    ImageCache& cache = context.getImageCache();
    EXPECT_EQ(cache.find(u"Logo.png"), nullptr);
    ImageCache::Entry* logo = cache.get(fileUrl(folder.path("Logo.png")));
    ASSERT_TRUE(logo && logo->image);
    EXPECT_EQ(logo->image->pixelSize(), (Size{40, 20}));
    EXPECT_EQ(cache.get(u"Logo.png"), logo) << "the relative address resolves to the same";
    ImageCache::Entry* missing = cache.get(u"Missing.png");
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->image, nullptr);
    EXPECT_EQ(cache.get(u"Missing.png"), missing);
    EXPECT_EQ(loader->loads, 2);
}

TEST_F(Images, AnImageKeepsItsProportionsUnlessBothSidesAreGiven) {
    const struct {
        int dpi;
        const char16_t* markup;
        Size size;
    } cases[] = {
        {96, u"<img src=\"Logo.png\"/>", {40, 20}},
        {144, u"<img src=\"Logo.png\"/>", {60, 30}},
        {96, u"<img src=\"Logo.png\" width=\"80\"/>", {80, 40}},
        {96, u"<img src=\"Logo.png\" height=\"10\"/>", {20, 10}},
        {96, u"<img src=\"Logo.png\" width=\"10\" height=\"10\"/>", {10, 10}},
        {144, u"<img src=\"Logo.png\" style=\"width:30px\"/>", {45, 22}},
        {96, u"<img src=\"Missing.png\" width=\"30\"/>", {30, 0}},
        {96, u"<img/>", {0, 0}},
    };
    for (const auto& c : cases) {
        setDpi(c.dpi);
        EXPECT_EQ(layOut(c.markup)->childAt(0)->getSize(), c.size) << toUtf8(c.markup);
    }
    EXPECT_EQ(loader->loads, 2);
}

} // namespace
