#pragma once

#include <QString>

namespace dravin {

// The glass-board edition's own application id; any other id is the other edition.
inline constexpr const char* kPeloraAppId = "com.pelora.dravin.desktop";

QString applicationId();   // of this build
QString desktopEntryId();  // the desktop entry's name without ".desktop", also the icon's
QString runningVersion();  // the project version
bool productIsPelora();

}  // namespace dravin
