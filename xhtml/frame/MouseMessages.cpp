#include "xhtml/frame/MouseMessages.h"

#include "xhtml/views/ViewEvent.h"

namespace xhtml {

uint32_t mouseRecordFlags(UINT message, WPARAM wParam) {
    const uint32_t left = (wParam & MK_LBUTTON) ? uint32_t{MouseEvent::LeftHeld} : 0;
    const uint32_t right = (wParam & MK_RBUTTON) ? uint32_t{MouseEvent::RightHeld} : 0;
    switch (message) {
    case WM_LBUTTONDOWN:
        return MouseEvent::LeftHeld | MouseEvent::LeftDown | right;
    case WM_RBUTTONDOWN:
        return MouseEvent::RightHeld | MouseEvent::RightDown | left;
    case WM_LBUTTONUP:
        return MouseEvent::LeftUp | right;
    case WM_RBUTTONUP:
        return MouseEvent::RightUp | left;
    default:
        return left | right;
    }
}

bool isMouseRecordMessage(UINT message) {
    return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
           message == WM_RBUTTONDOWN || message == WM_RBUTTONUP;
}

} // namespace xhtml
