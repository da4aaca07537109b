#pragma once

#include <QString>

namespace dravin {

// The folder holding "peloralessons", "templates" and "dravinboard": beside the installed
// program (../share/pelora-dravin below its prefix) or, when run from the build tree, the source tree's.
QString resourceFolder();

}  // namespace dravin
