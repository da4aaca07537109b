#include "app_identity.h"

namespace dravin {

QString applicationId() {
  return QStringLiteral(DRAVIN_APP_ID);
}

QString desktopEntryId() {
  return QStringLiteral(DRAVIN_DESKTOP_ID);
}

QString runningVersion() {
  return QStringLiteral(DRAVIN_VERSION);
}

bool productIsPelora() {
  static const bool pelora = applicationId() == QLatin1String(kPeloraAppId);
  return pelora;
}

}  // namespace dravin
