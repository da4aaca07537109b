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

// Before the QGuiApplication exists: on a Wayland session the application is a Wayland client
// (X through XWayland only when Qt's Wayland plugin cannot start), unless QT_QPA_PLATFORM says
// otherwise. Some Qt versions prefer X on some Wayland desktops; this makes every desktop alike.
void choosePlatformForSession();

}  // namespace dravin
