#include "screen_cast_request.h"

#include <QSettings>

namespace dravin {

void askForScreenCast(ScreenCastPortal& portal, ScreenCastSource source,
                      std::function<void(ScreenCastAnswer)> done) {
  const QString token = QSettings().value(kScreenCastTokenKey).toString();
  portal.start(source, token, [done = std::move(done)](ScreenCastResult result) {
    using Code = ScreenRecorder::Error::Code;
    if (auto* failure = std::get_if<ScreenCastFailure>(&result)) {
      const bool declined = failure->kind == ScreenCastFailure::Kind::cancelled;
      done(ScreenRecorder::Error(declined ? Code::notAllowed : Code::couldNotAddScreen,
                                 failure->text.toStdString()));
      return;
    }
    auto& stream = std::get<ScreenCastStream>(result);
    QSettings settings;
    if (stream.restoreToken.isEmpty()) {
      settings.remove(kScreenCastTokenKey);
    } else {
      settings.setValue(kScreenCastTokenKey, stream.restoreToken);
    }
    settings.sync();
    done(std::move(stream));
  });
}

}  // namespace dravin
