#pragma once

// A page in a real frame window under the test display, for the tests of native controls.
#include "tests/xhtml/frame/WindowedFrame.h"
#include "xhtml/views/FormViews.h"

namespace xhtml {

// The markup shown in a 400 × 300 client area and laid out, its controls made.
class Page : public WindowedFrame {
public:
    explicit Page(const char16_t* markup) : WindowedFrame(400, 300) {
        getWindow().show(true);
        show(markup);
    }
    ControlView& control(const char16_t* id) {
        return dynamic_cast<ControlView&>(*getViewById(id));
    }
};

} // namespace xhtml
