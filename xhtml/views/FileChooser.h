#pragma once

#include "base/ZString.h"

#include <optional>
#include <string>

namespace xhtml {

class View;

// What a file input asks of the system's chooser.
struct FileChoice {
    // A folder browser instead of an open-file dialog.
    bool folder = false;
    // The open-file dialog's filter strings, each ended by a NUL, the list by one more.
    std::u16string filter;
    // The folder a browser starts in, or the file name an open-file dialog proposes.
    ZString start;
};

// The choice a file input with that filter text and that text in its text input asks for: the
// filter "directories" browses folders; otherwise each "/", ";" or "|" separates two filter
// strings (empty ones dropped; all files without any), and the dialog proposes the last part of
// the text, trailing separators ignored.
FileChoice fileChoiceFor(const ZString& filterText, const ZString& text);

// Shows the system's chooser, owned by the view's window; nothing when the user cancels or the
// chooser fails.
using FileChooser = std::optional<ZString> (*)(View& owner, const FileChoice& choice);
// Installed by the window system; without one a file input's button does nothing.
void setFileChooser(FileChooser chooser);
FileChooser fileChooser();

} // namespace xhtml
