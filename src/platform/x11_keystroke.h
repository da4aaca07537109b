#pragma once

namespace dravin {

// Presses and releases Ctrl+V through XTest, as if typed, for the window that has the keyboard
// focus. False when there is no X display or it lacks the XTest extension.
bool sendPasteKeystroke();

}  // namespace dravin
