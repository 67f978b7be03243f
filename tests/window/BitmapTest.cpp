// Pixels are written and read as rows of colour letters, so a wrong pixel shows where it is.
#include "window/Bitmap.h"

#include "window/ScopedWin32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::string>;

// Red, green, blue, white, yellow, magenta, black.
const std::string Letters = "rgbwymk";
const COLORREF Colors[] = {RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(0, 0, 255), RGB(255, 255, 255),
                           RGB(255, 255, 0), RGB(255, 0, 255), RGB(0, 0, 0)};
constexpr COLORREF Magenta = RGB(255, 0, 255);

void paint(HDC dc, int x, int y, const Rows& rows) {
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        for (int column = 0; column < static_cast<int>(rows[row].size()); ++column)
            SetPixel(dc, x + column, y + row, Colors[Letters.find(rows[row][column])]);
    }
}

Rows read(HDC dc, int x, int y, int width, int height) {
    Rows rows(height, std::string(width, ' '));
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const auto found =
                std::find(std::begin(Colors), std::end(Colors), GetPixel(dc, x + column, y + row));
            rows[row][column] = found == std::end(Colors) ? '?' : Letters[found - Colors];
        }
    }
    return rows;
}

HDC screen() {
    static const ScopedGetDC dc(nullptr);
    return dc.get();
}

// A surface in the display's colours; the members are undone in reverse order, the selection
// before the bitmap is freed.
struct Canvas {
    Canvas(int width, int height, char fill)
        : surface(CreateCompatibleBitmap(screen(), width, height)),
          selection(dc.get(), surface.get()) {
        paint(dc.get(), 0, 0, Rows(height, std::string(width, fill)));
    }

    ScopedMemoryDC dc{nullptr};
    ScopedBitmap surface;
    ScopedSelectObject selection;
};

Bitmap bitmapOf(const Rows& rows) {
    const int width = static_cast<int>(rows[0].size()), height = static_cast<int>(rows.size());
    const Canvas source(width, height, 'k');
    paint(source.dc.get(), 0, 0, rows);
    Bitmap bitmap;
    EXPECT_TRUE(bitmap.create(screen(), width, height));
    bitmap.capture(source.dc.get(), 0, 0);
    return bitmap;
}

Rows pixelsOf(const Bitmap& bitmap) {
    const Canvas target(bitmap.getWidth(), bitmap.getHeight(), 'k');
    bitmap.draw(target.dc.get(), 0, 0);
    return read(target.dc.get(), 0, 0, bitmap.getWidth(), bitmap.getHeight());
}

// GetGuiResources is a stub under Wine (it answers 0), but GDI gives each process a fixed number
// of objects on every system: how many can still be created counts the live ones.
int creatableGdiObjects() {
    std::vector<ScopedBitmap> filler;
    for (ScopedBitmap bitmap(CreateCompatibleBitmap(screen(), 1, 1)); bitmap;
         bitmap.reset(CreateCompatibleBitmap(screen(), 1, 1)))
        filler.push_back(std::move(bitmap));
    return static_cast<int>(filler.size());
}

} // namespace

TEST(Bitmap, CaptureAndDrawCarryThePixels) {
    const Canvas source(8, 8, 'k');
    paint(source.dc.get(), 2, 1, {"rgb", "wmy"});
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.create(screen(), 3, 2));
    bitmap.capture(source.dc.get(), 2, 1);

    const Canvas target(6, 5, 'w');
    bitmap.draw(target.dc.get(), 2, 1);
    EXPECT_EQ(read(target.dc.get(), 0, 0, 6, 5),
              (Rows{"wwwwww", "wwrgbw", "wwwmyw", "wwwwww", "wwwwww"}));
    // A part of the bitmap, and a part of a context into a place in the bitmap.
    bitmap.draw(target.dc.get(), 0, 3, 2, 2, 1, 0);
    EXPECT_EQ(read(target.dc.get(), 0, 3, 3, 2), (Rows{"gbw", "myw"}));
    bitmap.capture(source.dc.get(), 2, 1, 1, 2, 2, 0);
    EXPECT_EQ(pixelsOf(bitmap), (Rows{"rgr", "wmw"}));
}

TEST(Bitmap, TransparentColourLeavesTheTargetAsItWas) {
    Bitmap bitmap = bitmapOf({"mrm", "gmb"});
    bitmap.setTransparentColor(Magenta);
    const Canvas target(3, 2, 'y');
    bitmap.draw(target.dc.get(), 0, 0);
    EXPECT_EQ(read(target.dc.get(), 0, 0, 3, 2), (Rows{"yry", "gyb"}));
}

TEST(Bitmap, StretchScalesSizeAndPixels) {
    Bitmap bitmap = bitmapOf({"rg", "bw"});
    const HBITMAP original = bitmap.getHandle();
    ASSERT_TRUE(bitmap.stretch(2));
    EXPECT_EQ(pixelsOf(bitmap), (Rows{"rrgg", "rrgg", "bbww", "bbww"}));
    EXPECT_EQ(GetObjectType(original), 0u) << "the old bitmap is freed";

    ASSERT_TRUE(bitmap.stretch(0.8));
    EXPECT_EQ(bitmap.getWidth(), 3) << "4 x 0.8 is truncated";
    EXPECT_EQ(bitmap.getHeight(), 3);
}

TEST(Bitmap, CopyIsIndependent) {
    Bitmap bitmap = bitmapOf({"rg", "bw"});
    const Bitmap copy = bitmap.copy();
    const Canvas yellow(2, 2, 'y');
    bitmap.capture(yellow.dc.get(), 0, 0);
    EXPECT_EQ(pixelsOf(bitmap), (Rows{"yy", "yy"}));
    EXPECT_EQ(pixelsOf(copy), (Rows{"rg", "bw"}));
}

TEST(Bitmap, CyclesLeaveNoGdiObjectsBehind) {
    const Canvas canvas(16, 16, 'r');
    const auto cycle = [&] {
        Bitmap bitmap;
        bitmap.create(screen(), 8, 8);
        bitmap.capture(canvas.dc.get(), 0, 0);
        bitmap.draw(canvas.dc.get(), 4, 4);
        bitmap.setTransparentColor(Magenta);
        bitmap.draw(canvas.dc.get(), 8, 8);
        bitmap.stretch(2);
        const Bitmap copy = bitmap.copy();
        copy.draw(canvas.dc.get(), 0, 0);
        bitmap.release();
    };
    cycle(); // whatever GDI sets up once is there before counting
    const int before = creatableGdiObjects();
    for (int i = 0; i < 1000; ++i)
        cycle();
    // Three held on purpose show that the count sees live objects.
    std::vector<ScopedBitmap> held;
    for (int i = 0; i < 3; ++i)
        held.emplace_back(CreateCompatibleBitmap(screen(), 1, 1));
    const int after = creatableGdiObjects();
    RecordProperty("creatable_gdi_objects_before", before);
    RecordProperty("creatable_gdi_objects_after", after);
    EXPECT_EQ(after, before - 3);
}
