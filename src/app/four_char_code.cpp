#include "four_char_code.h"

#include <QByteArray>

#include "app_log.h"

namespace dravin {

FourCharCode fourCharCode(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  // Four bytes in four characters means every character is ASCII; a lone surrogate or "é" and
  // three letters both fail one of the two counts.
  if (text.size() != 4 || bytes.size() != 4) {
    logLine("FourCharCode: Can't initialize with '" + text +
            "', only printable ASCII allowed. Setting to '?\?\?\?'.");
    return kInvalidFourCharCode;
  }
  FourCharCode code = 0;
  for (char byte : bytes) code = code << 8 | static_cast<std::uint8_t>(byte);
  return code;
}

QString fourCharText(FourCharCode code) {
  QByteArray bytes;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const auto byte = static_cast<char>((code >> shift) & 0xFF);
    if (byte == 0) break;
    bytes.append(byte);
  }
  return QString::fromLatin1(bytes);
}

}  // namespace dravin
