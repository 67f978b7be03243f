#pragma once

#include <windows.h>

#include <cstdint>

namespace xhtml {

// The flags of the view tree's mouse record for a mouse message: the button that went down or
// up, and the other buttons held.
uint32_t mouseRecordFlags(UINT message, WPARAM wParam);

// Whether the message is one of those that make mouse records.
bool isMouseRecordMessage(UINT message);

} // namespace xhtml
