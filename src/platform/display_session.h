#pragma once

namespace dravin {

// The kind of desktop session the application runs in. Everything that looks at the screen
// (recording, window tiles, the paste into another program) picks its way by this.
enum class DisplaySession { x11, wayland };

// Decided once, from the platform plugin Qt was started with: a Wayland client cannot use X
// even where XWayland is there, and an X client on a Wayland desktop sees only XWayland.
// Call after the QGuiApplication exists.
DisplaySession displaySession();

const char* displaySessionName(DisplaySession session);

}  // namespace dravin
