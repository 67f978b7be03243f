#pragma once

#include "xhtml/views/Geometry.h"

#include <windows.h>

namespace xhtml {

class BoxView;
class View;

// Paints a view and what lies below it onto a device context whose logical coordinates are
// document coordinates. Only what meets the clip rectangle is drawn; parents paint before their
// children, later siblings over earlier ones. GDI objects are made and freed per paint.
void paintView(View& view, HDC dc, const Rect& clip);
// A document's root: its own background and borders where they meet the clip, then its
// children, whether or not a layout has announced it yet.
void paintDocument(BoxView& root, HDC dc, const Rect& clip);
// A document's visible children only.
void paintDocumentChildren(BoxView& root, HDC dc, const Rect& clip);
// The system's dotted focus rectangle along the inside of the ring's edges.
void paintFocusRing(HDC dc, const Rect& ring);

} // namespace xhtml
