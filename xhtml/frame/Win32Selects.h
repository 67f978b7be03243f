#pragma once

#include "xhtml/views/SelectView.h"

#include <windows.h>

#include <memory>

namespace xhtml {

// The native control of a select, chosen by its attributes: a multiple drop-down is a split
// button that opens a list of check boxes, any other multiple select or one of several rows a
// list box, the rest a combo box. Null when the window cannot be made.
std::unique_ptr<NativeControl> createSelectControl(SelectView& view, HWND parent);

} // namespace xhtml
