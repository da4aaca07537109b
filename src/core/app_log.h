#pragma once

#include <QString>

namespace dravin {
// One line to standard output, flushed: the application's only diagnostics.
void logLine(const QString& line);
}  // namespace dravin
