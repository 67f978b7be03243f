#pragma once

#include "window/Bitmap.h"
#include "xhtml/frame/FrameView.h"

namespace xhtml {

// A box whose overflow scrolls, turned into a frame with a child window of its own over its
// content box. Its children live in that window's coordinates: the parent document only sizes
// and places the box, and under the child window it keeps a snapshot of the parent's pixels that
// the parent's window can show, which the child window paints as its background.
class IFrameView : public FrameView {
public:
    explicit IFrameView(ViewContext* context);

    // Only the box moves: the children stay in the child window's coordinates.
    void moveBy(int dx, int dy) override;
    // Laid out by the parent, the children are only measured; the frame places them itself.
    Rect layoutChildren(const Rect& content, Layouter::Mode mode) override;
    void handleEvent(ViewEvent& event) override;
    void handleMouse(MouseEvent& event) override;
    // Keeps what the parent painted under the content box, for the child window's background.
    void captureBackground(HDC dc, const Rect& clip);

protected:
    void paintContent(HDC dc, const Rect& document) override;

private:
    void createWindow();
    // The part of the content box the parent's window can show, in the parent's document; the
    // clip where there is no such window. A box may claim far more than any window.
    Rect shownContent(const Rect& clip);
    // Over the content box in the parent's window, hidden when that box is empty or hidden.
    void placeWindow();

    Bitmap snapshot_;
    // Where the snapshot lies in the content box.
    Point snapshotOffset_;
};

} // namespace xhtml
