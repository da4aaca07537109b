#pragma once

#include "library_file.h"

namespace dravin {

// Puts the item's file URL on the clipboard (as a file list and as text) and types Ctrl+V for the
// window that has the keyboard focus; logs "FakeKey: No event source" when no keystroke can be
// made, leaving the URL on the clipboard.
void pasteIntoFrontApp(const LibraryFilePtr& file);

}  // namespace dravin
