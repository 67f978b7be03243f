// Words of a text and their size caches, the font cache and the image cache; the dump cases show
// image sizes.
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

TEST_F(Words, AWordIsMeasuredOncePerStateUntilAFontPropertyChanges) {
    BlockView box(&context);
    auto* text = new TextView(&context, u"ab");
    box.appendChild(text);
    text->setProperty(P::FontWeight, StyleValue::integer(700), Hover);
    const View* word = text->childAt(0);
    const auto moveTo = [&box](Point point) { return [&box, point] { mouse(box, point, 0); }; };
    const struct {
        const char* what;
        std::function<void()> act;
        int measurements, width;
    } steps[] = {
        {"normal", [] {}, 1, 12},
        {"hovered", moveTo({3, 3}), 2, 14},
        {"left", moveTo({90, 40}), 2, 12},
        {"hovered again", moveTo({3, 3}), 2, 14},
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

TEST_F(Words, ANoBreakSpaceAtAnEndOfATextIsABlankThereAndPartOfItsWordInside) {
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"x&nbsp;", "WordView\"x\u00A0\" WordView\" \""},
        {u"&nbsp;&nbsp;&nbsp;", "WordView\" \" WordView\"\u00A0\u00A0\u00A0\" WordView\" \""},
        {u"a&nbsp;b", "WordView\"a\u00A0b\""},
    };
    for (const auto& [text, words] : cases)
        EXPECT_EQ(outline(TextView(&context, text)), words) << toUtf8(text);
}

TEST_F(Fonts, ViewsOfOneFontShareItAndItsHeightFollowsTheDpi) {
    const struct {
        int dpi;
        const char16_t* style;
        const char* font;
    } cases[] = {
        {96, u"", "-13 400 Verdana"},
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

using Images = ViewsTest;

TEST_F(Images, AnAddressIsReadOnceWhetherItLoadsOrNot) {
    // Logo.png, 40 × 20 pixels as its header says, beside the document.
    TemporaryFolder folder;
    const unsigned char png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0,  0, 0,
                                 13,   'I', 'H', 'D', 'R',  0,    0,    0,    40, 0, 0,
                                 0,    20,  8,   6,   0,    0,    0,    0,    0,  0, 0};
    std::ofstream(folder.path("Logo.png"), std::ios::binary)
        .write(reinterpret_cast<const char*>(png), sizeof png);
    auto counting = std::make_unique<CountingLoader>(nullptr, fileUrl(folder.path("p.xhtml")));
    const CountingLoader& loader = *counting;
    context.setLoader(std::move(counting));

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
    EXPECT_EQ(loader.loads, 2);
}

} // namespace
