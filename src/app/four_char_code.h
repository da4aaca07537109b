#pragma once

#include <QString>
#include <cstdint>

namespace dravin {

// Four ASCII characters packed into 32 bits, the first in the most significant byte.
using FourCharCode = std::uint32_t;

inline constexpr FourCharCode kInvalidFourCharCode = 0x3F3F3F3F;  // "????"

// The code of exactly four characters of exactly four UTF-8 bytes; anything else is logged and
// gives "????".
FourCharCode fourCharCode(const QString& text);

// Back to text, most significant byte first, ending at the first zero byte.
QString fourCharText(FourCharCode code);

}  // namespace dravin
