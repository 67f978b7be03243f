#pragma once

#include "xhtml/document/StyleSheet.h"
#include "xhtml/document/UrlLoader.h"
#include "xhtml/views/EventListener.h"
#include "xhtml/views/ImageCache.h"

#include <memory>

namespace xhtml {

class View;

// What all views of one document share: the loader of its addresses, its images, its style
// rules, the application's listener and the frame at its root. It also turns the views' button
// notifications into link, button and view clicks.
class ViewContext {
public:
    // The module whose resources back "res:" addresses; null is the program's own.
    explicit ViewContext(const void* module = nullptr);
    ViewContext(const ViewContext&) = delete;
    ViewContext& operator=(const ViewContext&) = delete;
    virtual ~ViewContext();

    ImageCache& getImageCache() { return images_; }
    UrlLoader* getLoader() const { return loader_.get(); }
    // Takes ownership; the image cache loads through the new loader too.
    void setLoader(std::unique_ptr<UrlLoader> loader);
    StyleRuleList& getStyleRules() { return styleRules_; }
    void setCursor(int cursor);

    EventListener* getListener() const { return listener_; }
    void setListener(EventListener* listener) { listener_ = listener; }
    View* getFrame() const { return frame_; }
    void setFrame(View* frame) { frame_ = frame; }
    // The view with the document's keyboard focus; the document changes it (HtmlView).
    View* getFocus() const { return focus_; }
    void setFocus(View* view) { focus_ = view; }
    const void* getModule() const { return module_; }

    void onLeftButtonDown(View* view);
    // A release that completes a click on a link or button is reported as such, then as a click
    // on the view; every release is also passed on as it is.
    void onLeftButtonUp(View* view);
    void onRightButtonDown(View* view);
    void onRightButtonUp(View* view);
    void onButtonClicked(View* view);
    void onLinkClicked(View* view);
    void onClicked(View* view);
    void onSelectionChanged(View* view);
    void onCheckChanged(View* view);
    void onRadioChanged(View* view);

private:
    const void* module_;
    std::unique_ptr<UrlLoader> loader_;
    ImageCache images_;
    EventListener* listener_ = nullptr;
    View* frame_ = nullptr;
    View* focus_ = nullptr;
    StyleRuleList styleRules_;
};

} // namespace xhtml
