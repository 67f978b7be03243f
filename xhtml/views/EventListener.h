#pragma once

namespace xhtml {

class View;

// The application's side of a document's events. Every notification does nothing by default.
class EventListener {
public:
    virtual ~EventListener() = default;
    virtual void onLeftButtonDown(View*) {}
    virtual void onLeftButtonUp(View*) {}
    virtual void onRightButtonDown(View*) {}
    virtual void onRightButtonUp(View*) {}
    virtual void onLinkClicked(View*) {}
    virtual void onButtonClicked(View*) {}
    virtual void onClicked(View*) {}
    virtual void onCheckChanged(View*) {}
    virtual void onSelectionChanged(View*) {}
    virtual void onRadioChanged(View*) {}
};

} // namespace xhtml
