#pragma once

#include "xhtml/views/Geometry.h"

#include <cstdint>

namespace xhtml {

class View;

// The class tag of every view; the most derived class's constructor sets it last.
enum ViewKind : int32_t {
    BreakKind = 1,
    WordKind = 2,
    ImageKind = 3,
    CompositeKind = 4,
    InlineKind = 5,
    TextKind = 6,
    ParagraphKind = 7,
    CenterKind = 8,
    BoxKind = 9,
    HRKind = 10,
    BlockKind = 12,
    LinkKind = 13,
    ControlKind = 14,
    ButtonKind = 15,
    TableKind = 16,
    CellKind = 17,
    RowKind = 18,
    CheckKind = 19,
    TextAreaKind = 20,
    EditKind = 21,
    RadioKind = 22,
    SelectKind = 23,
    ObjectKind = 24,
    FrameKind = 25,
    IFrameKind = 26,
    FileChooseKind = 27,
    HiddenInputKind = 28,
    BodyKind = 29,
};

// Travels down the tree until a view marks it handled.
struct ViewEvent {
    enum Type : int32_t {
        // Sent once after a document is built.
        ContentChanged = 0,
        // A layout pass has finished.
        LayoutFinished = 1,
        // The frame scrolled.
        Scrolled = 5,
    };

    int32_t type;
    View* origin;
    bool handled = false;
};

// A mouse record in document coordinates.
struct MouseEvent {
    enum Flags : uint32_t {
        LeftHeld = 0x01,
        RightHeld = 0x02,
        LeftDown = 0x04,
        RightDown = 0x08,
        LeftUp = 0x10,
        RightUp = 0x20,
        NotToChildren = 0x40,
        LeftWindow = 0x80,
    };

    Point point;
    uint32_t flags = 0;
};

// A key the document acts on as a dialog does, going down (again, while held: repeat) or up.
struct KeyEvent {
    enum Key : int32_t { Tab, Enter, Space, Escape, Left, Up, Right, Down };

    Key key;
    bool down = true;
    bool shift = false;
    bool repeat = false;
};

} // namespace xhtml
