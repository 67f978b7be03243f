// Pixels are written and read as rows of colour letters, so a wrong pixel shows where it is.
#include "window/Bitmap.h"

#include "window/ScopedWin32.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::string>;

constexpr COLORREF Magenta = RGB(255, 0, 255);

COLORREF colorOf(char letter) {
    switch (letter) {
    case 'r':
        return RGB(255, 0, 0);
    case 'g':
        return RGB(0, 255, 0);
    case 'b':
        return RGB(0, 0, 255);
    case 'w':
        return RGB(255, 255, 255);
    case 'y':
        return RGB(255, 255, 0);
    case 'm':
        return Magenta;
    default:
        return RGB(0, 0, 0);
    }
}

char letterOf(COLORREF color) {
    for (const char letter : std::string("rgbwymk")) {
        if (colorOf(letter) == color)
            return letter;
    }
    return '?';
}

void paint(HDC dc, int x, int y, const Rows& rows) {
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        for (int column = 0; column < static_cast<int>(rows[row].size()); ++column)
            SetPixel(dc, x + column, y + row, colorOf(rows[row][column]));
    }
}

Rows read(HDC dc, int x, int y, int width, int height) {
    Rows rows(height, std::string(width, ' '));
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column)
            rows[row][column] = letterOf(GetPixel(dc, x + column, y + row));
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
    const Canvas source(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 'k');
    paint(source.dc.get(), 0, 0, rows);
    Bitmap bitmap;
    EXPECT_TRUE(
        bitmap.create(screen(), static_cast<int>(rows[0].size()), static_cast<int>(rows.size())));
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
    EXPECT_EQ(bitmap.getWidth(), 3);
    EXPECT_EQ(bitmap.getHeight(), 2);
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
    ASSERT_TRUE(copy.isValid());
    EXPECT_NE(copy.getHandle(), bitmap.getHandle());
    const Canvas yellow(2, 2, 'y');
    bitmap.capture(yellow.dc.get(), 0, 0);
    EXPECT_EQ(pixelsOf(bitmap), (Rows{"yy", "yy"}));
    EXPECT_EQ(pixelsOf(copy), (Rows{"rg", "bw"}));
    EXPECT_FALSE(Bitmap().copy().isValid());
}

TEST(Bitmap, OwnershipFollowsAttachDetachAndMoves) {
    const ScopedBitmap borrowed(CreateCompatibleBitmap(screen(), 2, 2));
    {
        Bitmap bitmap;
        bitmap.attach(borrowed.get(), false);
        EXPECT_EQ(bitmap.getWidth(), 2);
    }
    EXPECT_EQ(GetObjectType(borrowed.get()), static_cast<DWORD>(OBJ_BITMAP));

    HBITMAP handle = nullptr;
    {
        Bitmap bitmap;
        bitmap.attach(CreateCompatibleBitmap(screen(), 2, 2), true);
        handle = bitmap.getHandle();
        Bitmap moved = std::move(bitmap);
        EXPECT_FALSE(bitmap.isValid());
        EXPECT_EQ(moved.getHandle(), handle);
        EXPECT_EQ(moved.getWidth(), 2);
        const ScopedBitmap detached(moved.detach());
        EXPECT_FALSE(moved.isValid());
        EXPECT_EQ(moved.getWidth(), 0);
        EXPECT_EQ(GetObjectType(handle), static_cast<DWORD>(OBJ_BITMAP));
    }
    EXPECT_EQ(GetObjectType(handle), 0u) << "freed once, by the one that took it";
}

TEST(Bitmap, LoadsFromAModulesResources) {
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.load(MAKEINTRESOURCEW(7), BaseInstance()));
    EXPECT_EQ(pixelsOf(bitmap), (Rows{"rgb", "wkm"}));
    EXPECT_FALSE(bitmap.load(MAKEINTRESOURCEW(8), BaseInstance()));
    EXPECT_EQ(bitmap.getWidth(), 0);
}

TEST(Bitmap, WithoutABitmapNothingHappens) {
    Bitmap empty;
    const Canvas target(2, 1, 'g');
    empty.draw(target.dc.get(), 0, 0, 2, 1, 0, 0);
    empty.capture(target.dc.get(), 0, 0, 2, 1, 0, 0);
    EXPECT_FALSE(empty.stretch(2));
    EXPECT_EQ(read(target.dc.get(), 0, 0, 2, 1), Rows{"gg"});
    EXPECT_FALSE(empty.isValid());
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
    RecordProperty("gui_resources_gdi_objects",
                   static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)));
    EXPECT_EQ(after, before - 3);
}

TEST(ScopedWin32, SelectionIsUndoneOnceBeforeTheObjectIsFreed) {
    const ScopedMemoryDC dc(screen());
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
    HBITMAP handle = nullptr;
    {
        ScopedBitmap bitmap(CreateCompatibleBitmap(screen(), 2, 2));
        handle = bitmap.get();
        ScopedSelectObject selection(dc.get(), bitmap.get());
        EXPECT_TRUE(selection);
        {
            const ScopedSelectObject moved(std::move(selection));
            EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), handle);
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original)
            << "undone when the new owner ends";
        // A moved-from guard takes a new selection.
        selection = ScopedSelectObject(dc.get(), bitmap.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), handle);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);
    EXPECT_EQ(GetObjectType(handle), 0u) << "freed after its selection was undone";

    // A move assignment frees what the target held.
    ScopedBitmap first(CreateCompatibleBitmap(screen(), 1, 1));
    ScopedBitmap second(CreateCompatibleBitmap(screen(), 1, 1));
    const HBITMAP secondHandle = second.get();
    second = std::move(first);
    EXPECT_EQ(GetObjectType(secondHandle), 0u);
    EXPECT_FALSE(first);
    EXPECT_TRUE(second);
}
