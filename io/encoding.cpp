#include <algorithm>
#include <array>
#include <cstdint>

#include <unicode/ustring.h>

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

// ICU checks and converts UTF-8 in one call. The texts go through in
// pieces, cut where no sequence (or surrogate pair) is split, so that a
// large text needs little more memory than its result, and no length
// outgrows ICU's 32-bit counts.
constexpr size_t kPiece = size_t{1} << 16;

// UTF-8 to UTF-16; false when the bytes are not well-formed UTF-8
// (overlong forms, surrogates, code points above U+10FFFF, a sequence cut
// short).
bool FromUtf8(std::string_view bytes, std::u16string& out) {
  std::u16string piece;
  for (size_t at = 0; at < bytes.size();) {
    size_t end = std::min(bytes.size(), at + kPiece);
    // Back to the start of a sequence (at most three continuation bytes).
    for (size_t back = 0; end < bytes.size() && back < 3 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80;
         ++back)
      --end;
    piece.resize(end - at);  // never more units than bytes
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strFromUTF8(reinterpret_cast<UChar*>(piece.data()), static_cast<int32_t>(piece.size()), &length,
                  bytes.data() + at, static_cast<int32_t>(end - at), &error);
    if (U_FAILURE(error)) return false;
    out.append(piece, 0, static_cast<size_t>(length));
    at = end;
  }
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  std::u16string ignored;
  return FromUtf8(bytes, ignored);
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
  if (FromUtf8(bytes.starts_with(kBom) ? bytes.substr(kBom.size()) : bytes, out)) return out;
  out.clear();
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    out.push_back(c >= 0x80 && c <= 0x9F ? kCp1252High[c - 0x80] : char16_t{c});
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  std::string piece;
  for (size_t at = 0; at < s.size();) {
    size_t end = std::min(s.size(), at + kPiece);
    if (end < s.size() && s[end - 1] >= 0xD800 && s[end - 1] <= 0xDBFF) --end;  // a pair stays whole
    piece.resize(3 * (end - at));  // a unit takes at most three bytes (a pair, four for two)
    int32_t length = 0, replaced = 0;
    UErrorCode error = U_ZERO_ERROR;
    // A lone surrogate has no UTF-8: it is written as U+FFFD.
    u_strToUTF8WithSub(piece.data(), static_cast<int32_t>(piece.size()), &length,
                       reinterpret_cast<const UChar*>(s.data() + at), static_cast<int32_t>(end - at), 0xFFFD,
                       &replaced, &error);
    out.append(piece, 0, static_cast<size_t>(length));
    at = end;
  }
  return out;
}

}  // namespace tf
