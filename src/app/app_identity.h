#pragma once

#include <QString>

namespace dravin {

// The glass-board edition's own application id; any other id is the other edition.
inline constexpr const char* kPeloraAppId = "com.pelora.dravin.desktop";

QString applicationId();   // of this build
QString runningVersion();  // the project version
bool productIsPelora();

}  // namespace dravin
