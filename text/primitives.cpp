#include "text/text.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

namespace tf {

std::u16string_view Trim(std::u16string_view s) {
  const auto first = s.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) return {};
  const auto last = s.find_last_not_of(u' ');
  return s.substr(first, last - first + 1);
}

namespace {

using CaseMap = UChar32 (*)(UChar32);

// Maps `s` code point by code point into a string of the same length.
std::u16string MapCase(std::u16string_view s, CaseMap map) {
  std::u16string out(s);
  const size_t n = out.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t c = out[i];
    if (U16_IS_LEAD(c) && i + 1 < n && U16_IS_TRAIL(out[i + 1])) {
      const UChar32 m = map(U16_GET_SUPPLEMENTARY(c, out[i + 1]));
      if (U_IS_SUPPLEMENTARY(m)) {
        out[i] = U16_LEAD(m);
        out[i + 1] = U16_TRAIL(m);
      }
      ++i;
    } else if (c < 0x80) {
      // ICU's simple mappings of ASCII, without the call.
      if (map == u_tolower ? (c >= u'A' && c <= u'Z') : (c >= u'a' && c <= u'z')) out[i] = static_cast<char16_t>(c ^ 0x20);
    } else if (!U16_IS_SURROGATE(c)) {
      const UChar32 m = map(c);
      if (!U_IS_SUPPLEMENTARY(m)) out[i] = static_cast<char16_t>(m);
    }
  }
  return out;
}

}  // namespace

std::u16string UCase(std::u16string_view s) { return MapCase(s, u_toupper); }
std::u16string LCase(std::u16string_view s) { return MapCase(s, u_tolower); }

char16_t UpperUnit(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;  // what ICU gives, faster
  if (U16_IS_SURROGATE(c)) return c;
  const UChar32 m = u_toupper(c);
  return U_IS_SUPPLEMENTARY(m) ? c : static_cast<char16_t>(m);
}

bool StartsWithTitleLetter(std::u16string_view w) {
  if (w.empty()) return false;
  const char16_t f = UpperUnit(w.front());
  return f >= u'A' && f <= u'Z';
}

}  // namespace tf
