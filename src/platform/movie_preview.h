#pragma once

#include <QImage>
#include <string>

namespace dravin::gst {

// The first picture of a movie file, or a null image when it has none that decodes.
QImage moviePreview(const std::string& path);

}  // namespace dravin::gst
