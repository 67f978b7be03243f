#pragma once

#include "xhtml/views/Geometry.h"

#include <cstddef>
#include <vector>

namespace xhtml {

class View;

// A line layouter over one box's content rectangle: the box's children feed themselves in one by
// one, and the layouter breaks lines and aligns them. NormalLayouter places the views;
// CalcSizeLayouter only measures.
class Layouter {
public:
    enum Mode { Place = 1, Measure = 2 };
    enum Flag { NoWrap = 1 };

    explicit Layouter(const Rect& area, Mode mode);
    virtual ~Layouter() = default;

    Mode getMode() const { return mode_; }
    // Each setter returns the previous value.
    int setTextAlign(int value);
    int setContentAlign(int value);
    int setItemAlign(int value);
    // Never negative.
    int setLineSpacing(int value);
    int getLineSpacing() const { return lineSpacing_; }
    int getWidth() const { return area_.width(); }
    int getHeight() const { return area_.height(); }
    const Rect& getArea() const { return area_; }
    Point getPen() const { return {x_, y_}; }
    // Returns whether any bit of the mask was set before.
    bool setFlag(int mask, bool on);
    bool testFlag(int mask) const { return (flags_ & mask) != 0; }

    // Ends the current line unless it is empty.
    void endLine();
    // Ends the current line with at least that height, even when it is empty.
    void lineBreak(int minHeight);
    bool hasContent() const;
    void addView(View* view);

    virtual void finish() = 0;
    virtual Rect getBounds() const = 0;
    virtual void flushPending() = 0;
    virtual void newLine(int minHeight) = 0;

protected:
    struct Item {
        View* view;
        int width;
        int height;
        int align;
    };

    // A pending group fits on the current line when its right edge stays left of the area's
    // right edge, or when the line is empty.
    bool pendingFits() const;
    void addPending(View* view, Size size);
    // Where a view waits until finish() places it. A dropped view takes no room: the later moves
    // of its box carry it along, so no parked position would keep it out of sight.
    virtual void parkView(View*, bool /*dropped*/) {}

    Rect area_;
    int x_;
    int y_;
    int textAlign_ = 1;
    int contentAlign_ = 1;
    int itemAlign_ = 3;
    std::vector<Item> pending_;
    int pendingWidth_ = 0;
    int lineSpacing_ = 0;

private:
    Mode mode_;
    int flags_ = 0;
};

class NormalLayouter : public Layouter {
public:
    explicit NormalLayouter(const Rect& area) : Layouter(area, Place) {}

    void finish() override;
    Rect getBounds() const override;
    void flushPending() override;
    void newLine(int minHeight) override;
    int placedInLine() const { return static_cast<int>(placed_.size() - lineStart_); }

private:
    struct Placed {
        View* view;
        Rect rect;
        int align;
    };

    void parkView(View* view, bool dropped) override;

    std::size_t lineStart_ = 0;
    std::vector<Placed> placed_;
};

class CalcSizeLayouter : public Layouter {
public:
    explicit CalcSizeLayouter(const Rect& area) : Layouter(area, Measure) {}

    void finish() override { endLine(); }
    Rect getBounds() const override;
    void flushPending() override;
    void newLine(int minHeight) override;

private:
    int lineHeight_ = 0;
    int maxLineWidth_ = 0;
};

} // namespace xhtml
