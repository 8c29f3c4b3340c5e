// Shared by the fuzz targets: turning bytes into text, and a check that
// aborts with a message, so that libFuzzer keeps the input that broke it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "io/encoding.h"
#include "text/text.h"

namespace tf::fuzz {

// Every byte pair is one UTF-16 unit, so lone surrogates, NUL and every
// other unit reach the code; an odd last byte is one more unit.
inline std::u16string Units(const uint8_t* data, size_t size) {
  std::u16string s;
  s.reserve(size / 2 + 1);
  for (size_t i = 0; i + 1 < size; i += 2)
    s.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  if (size % 2) s.push_back(data[size - 1]);
  return s;
}

// The bytes as a user's file: mostly printable, with the characters that
// matter (space, CR, LF, TAB, dots, separators) made likely.
inline std::u16string Texty(const uint8_t* data, size_t size) {
  static const char16_t kPool[] = u" \r\n\t.,;:-!@#aAbBeEhHiItTrRlLxXéÉßı\u0130\u00A0\u212A\u017F";
  std::u16string s;
  for (size_t i = 0; i < size; ++i) {
    const uint8_t b = data[i];
    s.push_back(b < 0x80 ? kPool[b % (sizeof kPool / sizeof kPool[0] - 1)] : char16_t{b});
  }
  return s;
}

[[noreturn]] inline void Fail(const char* what, std::u16string_view input) {
  std::fprintf(stderr, "property violated: %s\ninput: %s\n", what, EncodeUtf8(input).c_str());
  std::abort();
}

#define TF_CHECK(cond, input) \
  do {                        \
    if (!(cond)) ::tf::fuzz::Fail(#cond, input); \
  } while (0)

}  // namespace tf::fuzz
