#pragma once

#include <QString>
#include <functional>

class QWindow;

namespace dravin {

// The storage-folder chooser: folders only, new ones can be made, "Choose" confirms. Shown
// without blocking; `chosen` runs once the user confirms, never on cancel.
void showFolderChooser(QWindow* above, std::function<void(const QString& folder)> chosen);

}  // namespace dravin
