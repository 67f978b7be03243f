#pragma once

#include <cstdint>

namespace xhtml {

// The interaction states a view keeps a style map for. Current is only a query value: it asks
// for the state the view is in at the moment.
enum StyleState : int32_t { Normal = 0, Hover = 1, LeftDown = 2, RightDown = 3, Current = 5 };

constexpr int kStyleStateCount = 4;

} // namespace xhtml
