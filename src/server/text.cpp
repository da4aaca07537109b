#include "text.h"

#include <algorithm>
#include <cctype>

namespace dravin::text {

bool isValidUtf8(std::string_view bytes) {
  auto at = reinterpret_cast<const unsigned char*>(bytes.data());
  auto end = at + bytes.size();
  while (at < end) {
    unsigned char lead = *at++;
    if (lead < 0x80) continue;
    int extra;
    unsigned int codePoint;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1, codePoint = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, codePoint = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3, codePoint = lead & 0x07u;
    } else {
      return false;
    }
    if (end - at < extra) return false;
    for (int i = 0; i < extra; ++i) {
      if ((at[i] & 0xC0) != 0x80) return false;
      codePoint = (codePoint << 6) | (at[i] & 0x3Fu);
    }
    at += extra;
    bool overlong = (extra == 2 && codePoint < 0x800) || (extra == 3 && codePoint < 0x10000);
    bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (overlong || surrogate || codePoint > 0x10FFFF) return false;
  }
  return true;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
  return split(text, separator, std::string_view::npos);
}

std::vector<std::string_view> split(std::string_view text, char separator, std::size_t maxSplits) {
  std::vector<std::string_view> pieces;
  std::size_t splits = 0;
  while (!text.empty()) {
    std::size_t at = splits < maxSplits ? text.find(separator) : std::string_view::npos;
    if (at == std::string_view::npos) {
      pieces.push_back(text);
      break;
    }
    if (at > 0) pieces.push_back(text.substr(0, at));
    text.remove_prefix(at + 1);
    ++splits;
  }
  return pieces;
}

std::string_view trimBlanks(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string lowercase(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return result;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && lowercase(a) == lowercase(b);
}

static int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> percentDecode(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      decoded += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    decoded += static_cast<char>(high * 16 + low);
    i += 2;
  }
  if (!isValidUtf8(decoded)) return std::nullopt;
  return decoded;
}

}  // namespace dravin::text
