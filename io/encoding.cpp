#include <array>

#include "io/encoding.h"

namespace tf {
namespace {

// Windows-1252 for 0x80..0x9F; the five bytes the code page leaves undefined
// map to the C1 control of the same value, so no byte is ever lost.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Decodes one UTF-8 sequence at `i`; returns the code point and advances `i`,
// or returns -1 when the bytes there are not well-formed UTF-8.
long NextCodePoint(std::string_view b, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(b[k]); };
  const unsigned c = byte(i);
  if (c < 0x80) {
    ++i;
    return c;
  }
  size_t len;
  unsigned cp;
  unsigned lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2, cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3, cp = c & 0x0F;
    if (c == 0xE0) lo = 0xA0;  // no overlongs
    if (c == 0xED) hi = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4, cp = c & 0x07;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return -1;
  }
  if (i + len > b.size()) return -1;
  for (size_t k = 1; k < len; ++k) {
    const unsigned cc = byte(i + k);
    if (k == 1 ? (cc < lo || cc > hi) : (cc < 0x80 || cc > 0xBF)) return -1;
    cp = (cp << 6) | (cc & 0x3F);
  }
  i += len;
  return static_cast<long>(cp);
}

void AppendCodePoint(std::u16string& out, unsigned long cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size())
    if (NextCodePoint(bytes, i) < 0) return false;
  return true;
}

std::u16string DecodeText(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  // UTF-16 says so with its byte-order mark (FF FE little-endian, FE FF
  // big-endian), which no UTF-8 or Windows-1252 text starts with.
  const bool little = bytes.starts_with("\xFF\xFE"), big = bytes.starts_with("\xFE\xFF");
  if (little || big) {
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
      out.push_back(static_cast<char16_t>(little ? a | (b << 8) : (a << 8) | b));
    }
    if (bytes.size() % 2) out.push_back(u'\uFFFD');  // half a unit at the end
    return out;
  }
  if (IsValidUtf8(bytes)) {
    if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
    size_t i = 0;
    while (i < bytes.size())
      AppendCodePoint(out, static_cast<unsigned long>(NextCodePoint(bytes, i)));
    return out;
  }
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    out.push_back(c >= 0x80 && c <= 0x9F ? kCp1252High[c - 0x80] : char16_t{c});
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned long cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00u);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    const auto put = [&](unsigned long v) { out.push_back(static_cast<char>(v)); };
    if (cp < 0x80) {
      put(cp);
    } else if (cp < 0x800) {
      put(0xC0 | (cp >> 6)), put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      put(0xE0 | (cp >> 12)), put(0x80 | ((cp >> 6) & 0x3F)), put(0x80 | (cp & 0x3F));
    } else {
      put(0xF0 | (cp >> 18)), put(0x80 | ((cp >> 12) & 0x3F));
      put(0x80 | ((cp >> 6) & 0x3F)), put(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace tf
