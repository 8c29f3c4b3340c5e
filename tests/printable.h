// A text as a test's failure message can show it: printable ASCII as it is,
// everything else escaped, so that a failing table row says which it was.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tf::test {

inline std::string Printable(std::u16string_view s) {
  std::string out;
  for (const char16_t c : s) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out;
}

inline std::string Printable(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      out += c;
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02X", b);
      out += buffer;
    }
  }
  return out;
}

}  // namespace tf::test
