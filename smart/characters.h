// Small predicates on characters that the rules share; internal to smart/.
#pragma once

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <string_view>

namespace tf::smart::detail {

// The code point at s[i] and how many units it takes (a lone surrogate is
// a character of its own).
inline UChar32 CodePointAt(std::u16string_view s, size_t i, size_t* units) {
  size_t next = i;
  UChar32 c;
  U16_NEXT(s.data(), next, s.size(), c);
  *units = next - i;
  return c;
}

inline bool IsLetter(UChar32 c) { return u_isalpha(c); }
inline bool IsLetterOrDigit(UChar32 c) { return u_isalpha(c) || u_isdigit(c); }
constexpr bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// What may stand before a word: opening brackets and quotes.
constexpr bool IsOpening(char16_t c) {
  switch (c) {
    case u'(': case u'[': case u'{': case u'<': case u'"': case u'\'':
    case u'\u201C': case u'\u2018': case u'\u201E': case u'\u201A': case u'\u00AB': case u'\u2039':
      return true;
    default:
      return false;
  }
}

// Closing brackets and quotes.
constexpr bool IsClosingBracketOrQuote(char16_t c) {
  switch (c) {
    case u')': case u']': case u'}': case u'>': case u'"': case u'\'':
    case u'\u201D': case u'\u2019': case u'\u00BB': case u'\u203A':
      return true;
    default:
      return false;
  }
}

// What may stand after a word: . , ; : ? ! and closing brackets and quotes.
constexpr bool IsClosing(char16_t c) {
  switch (c) {
    case u'.': case u',': case u';': case u':': case u'?': case u'!':
      return true;
    default:
      return IsClosingBracketOrQuote(c);
  }
}

// The line break starting at s[i] (CR LF, LF or CR), its length, or 0.
inline size_t LineBreakAt(std::u16string_view s, size_t i) {
  if (i >= s.size()) return 0;
  if (s[i] == u'\r') return i + 1 < s.size() && s[i + 1] == u'\n' ? 2 : 1;
  return s[i] == u'\n' ? 1 : 0;
}

}  // namespace tf::smart::detail
