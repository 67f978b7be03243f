// Times building and laying out the installer page as the frame does, at 800 × 500 with the fixed
// metrics, and pages whose body holds the page's content 10 and 100 times, to show how the cost
// grows with the document. Run by bench/layout-benchmark; its last line is the summary.
#include "app/Localisation.h"
#include "xhtml/views/HtmlView.h"
#include "xhtml/views/ViewContext.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

using namespace xhtml;

namespace {

constexpr Size kClientArea{800, 500};
constexpr int kSamples = 31;
// Each sample repeats the work until it takes this long, so the clock's grain does not show.
constexpr double kSampleSeconds = 0.02;

ZString readText(const char* name) {
    std::ifstream file(std::string(DOXLY_RES_DIR "/") + name, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", name);
        std::exit(1);
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    const std::u16string text = fromUtf8(bytes.data(), static_cast<int>(bytes.size()));
    return ZString(text.c_str(), static_cast<int>(text.size()));
}

// The page with the content of its body written that many times inside the one body.
ZString repeatBody(const ZString& page, int copies) {
    const int start = page.find(u'>', page.find(0, u"<body")) + 1;
    const int end = page.find(start, u"</body>");
    const ZString content = page.mid(start, end);
    ZString result = page.mid(0, start);
    for (int i = 0; i < copies; ++i)
        result.append(content);
    return result.append(page.mid(end));
}

void layOut(HtmlView& root) {
    root.setSize(kClientArea);
    root.layoutChildren({0, 0, kClientArea.width, kClientArea.height}, Layouter::Place);
    ViewEvent finished{ViewEvent::LayoutFinished, &root};
    root.handleEvent(finished);
}

// The median of the samples, in microseconds of processor time per run of the work: the
// machine may be busy with other work, which wall time would count.
double medianMicroseconds(const std::function<void()>& work) {
    const auto seconds = [] { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; };
    int runs = 1;
    for (;;) {
        const double start = seconds();
        for (int i = 0; i < runs; ++i)
            work();
        if (seconds() - start >= kSampleSeconds)
            break;
        runs *= 2;
    }
    std::vector<double> samples;
    for (int s = 0; s < kSamples; ++s) {
        const double start = seconds();
        for (int i = 0; i < runs; ++i)
            work();
        samples.push_back((seconds() - start) * 1e6 / runs);
    }
    std::nth_element(samples.begin(), samples.begin() + kSamples / 2, samples.end());
    return samples[kSamples / 2];
}

struct Figures {
    double buildAndLayout;
    double layoutAlone;
    size_t views;
};

Figures measure(const ZString& page) {
    // Without a base address "logo.png" names a resource, which the native build has none of:
    // no file is read while timing, and the image keeps the size its attributes give it.
    const double buildAndLayout = medianMicroseconds([&] {
        ViewContext context;
        HtmlView root(&context);
        root.setContent(page, nullptr);
        layOut(root);
    });
    ViewContext context;
    HtmlView root(&context);
    root.setContent(page, nullptr);
    std::vector<View*> boxes;
    root.collectViews(boxes, [](View& view) { return dynamic_cast<BoxView*>(&view) != nullptr; });
    // Every box forgets its layout, so each run lays out the whole tree; words keep their
    // measured sizes, as they do when the frame lays out again.
    const double layoutAlone = medianMicroseconds([&] {
        for (View* box : boxes)
            static_cast<BoxView*>(box)->invalidateLayoutCache();
        layOut(root);
    });
    std::vector<View*> views;
    root.collectViews(views, [](View&) { return true; });
    return {buildAndLayout, layoutAlone, views.size()};
}

// A bordered table of that many rows of ten cells, each holding two words.
ZString tablePage(int rows) {
    ZString page = u"<body><table border=\"1\" cellpadding=\"2\" cellspacing=\"1\">";
    for (int r = 0; r < rows; ++r) {
        page.append(u"<tr>");
        for (int c = 0; c < 10; ++c)
            page.append(ZString::format(u"<td>cell %d</td>", r * 10 + c));
        page.append(u"</tr>");
    }
    return page.append(u"</table></body>");
}

} // namespace

int main() {
    TextTable table;
    parseTranslations(table, readText("i18n.txt"), u"en");
    const ZString page = substitutePagePlaceholders(readText("installer.xhtml"), table);
    std::printf("installer page in English at %d x %d, fixed metrics; median of %d samples\n",
                kClientArea.width, kClientArea.height, kSamples);
    double perCopies[3] = {};
    const int copies[3] = {1, 10, 100};
    for (int i = 0; i < 3; ++i) {
        const Figures figures = measure(repeatBody(page, copies[i]));
        perCopies[i] = figures.buildAndLayout;
        std::printf("%dx: %zu views, build+layout %.1f us, layout alone %.1f us\n", copies[i],
                    figures.views, figures.buildAndLayout, figures.layoutAlone);
    }
    // Tables measure every cell three times; the cost must still grow with the rows alone.
    double perRows[2] = {};
    const int rows[2] = {100, 1000};
    for (int i = 0; i < 2; ++i) {
        const Figures figures = measure(tablePage(rows[i]));
        perRows[i] = figures.buildAndLayout;
        std::printf("table %d x 10: %zu views, build+layout %.1f us, layout alone %.1f us\n",
                    rows[i], figures.views, figures.buildAndLayout, figures.layoutAlone);
    }
    std::printf("table growth from 100 to 1000 rows %.2f\n", perRows[1] / (10 * perRows[0]));
    std::printf("page %.1f us, 10x %.1f us, 100x %.1f us, growth %.2f\n", perCopies[0],
                perCopies[1], perCopies[2], perCopies[2] / (100 * perCopies[0]));
    return 0;
}
