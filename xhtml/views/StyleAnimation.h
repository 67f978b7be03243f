#pragma once

#include "base/ZString.h"

#include <vector>

namespace xhtml {

class View;

// Timed style steps applied to a view's Normal map, optionally looping. Owned by its view.
class StyleAnimation {
public:
    struct Step {
        // Declarations in the style property syntax.
        ZString style;
        // Milliseconds until the next step; below 1 the next step follows at once.
        int delayMs = 0;
    };

    StyleAnimation(std::vector<Step> steps, bool loop);
    StyleAnimation(const StyleAnimation&) = delete;
    StyleAnimation& operator=(const StyleAnimation&) = delete;
    // Kills the pending timer.
    ~StyleAnimation();

    // Binds the animation to its view and performs the first step.
    void start(View* view);
    // The view's timer with this id has fired.
    void onTimer(unsigned id);
    unsigned pendingTimer() const { return timer_; }

private:
    void advance();

    View* view_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    unsigned timer_ = 0;
    bool loop_;
};

} // namespace xhtml
