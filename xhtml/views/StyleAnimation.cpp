#include "xhtml/views/StyleAnimation.h"

#include "xhtml/document/ApplyStyle.h"
#include "xhtml/views/View.h"

namespace xhtml {

StyleAnimation::StyleAnimation(std::vector<Step> steps, bool loop)
    : steps_(std::move(steps)), loop_(loop) {}

StyleAnimation::~StyleAnimation() {
    if (view_ && timer_)
        view_->killTimer(timer_);
}

void StyleAnimation::start(View* view) {
    view_ = view;
    advance();
}

void StyleAnimation::onTimer(unsigned id) {
    if (id != timer_ || !view_)
        return;
    // Platform timers repeat; each step arms its own.
    view_->killTimer(timer_);
    timer_ = 0;
    advance();
}

void StyleAnimation::advance() {
    // Steps without delay follow at once, but at most one round per call: a looping animation
    // whose delays are all zero must not spin forever.
    for (size_t round = 0; round < steps_.size() && next_ < steps_.size(); ++round) {
        const Step& step = steps_[next_];
        applyStyleText(*view_, Normal, step.style);
        if (++next_ == steps_.size() && loop_)
            next_ = 0;
        if (next_ < steps_.size() && step.delayMs >= 1) {
            timer_ = view_->setTimer(step.delayMs, 0);
            break;
        }
    }
    view_->requestUpdate();
}

} // namespace xhtml
