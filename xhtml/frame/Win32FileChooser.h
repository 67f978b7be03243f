#pragma once

#include "xhtml/views/FileChooser.h"

namespace xhtml {

// The open-file dialog or the shell's folder browser, owned by the frame window of the view;
// installed by the frames.
std::optional<ZString> chooseWithSystemDialog(View& owner, const FileChoice& choice);

} // namespace xhtml
