#include "app_log.h"

#include <iostream>

namespace dravin {
void logLine(const QString& line) {
  std::cout << line.toStdString() << std::endl;
}
}  // namespace dravin
