#pragma once

#include <QString>

#include "display_session.h"
#include "library_file.h"

namespace dravin {

// What the user sees when the file could only be copied.
inline const QString kCopiedOnlyText = QStringLiteral("Copied: press Ctrl+V in the other program");

enum class PasteOutcome { pasted, copiedOnly };

// Puts the item's file URL on the clipboard (as a file list and as text) and, on X11, types Ctrl+V
// for the window that has the keyboard focus; logs "FakeKey: No event source" when no keystroke
// can be made. Wayland has no synthetic keystrokes: there the file is only copied.
PasteOutcome pasteIntoFrontApp(const LibraryFilePtr& file,
                               DisplaySession session = displaySession());

}  // namespace dravin
