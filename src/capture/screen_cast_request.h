#pragma once

#include <QString>
#include <functional>
#include <variant>

#include "screen_recorder.h"
#include "screencast_portal.h"

namespace dravin {

// Where the portal's restore token is kept between runs, so the user is asked only once.
inline const QString kScreenCastTokenKey = QStringLiteral("screencast/restoreToken");

using ScreenCastAnswer = std::variant<ScreenCastStream, ScreenRecorder::Error>;

// Asks `portal` for a source of that kind, offering the token kept from the last grant and keeping
// the one this grant returns (none returned: none kept). A closed dialog answers notAllowed, any
// other failure couldNotAddScreen. `done` runs once, from within the portal's own callback.
void askForScreenCast(ScreenCastPortal& portal, ScreenCastSource source,
                      std::function<void(ScreenCastAnswer)> done);

}  // namespace dravin
