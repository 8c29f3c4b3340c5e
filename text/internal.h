// Helpers shared by the text operations; not part of the public API.
#pragma once

#include <string_view>

#include "text/text.h"

namespace tf::detail {

// The text without spaces, CR, LF and TAB at either end. The title caser and
// the joiners start from this, so that a text which begins or ends with a
// line break gives no leading space, no trailing paragraph break and a
// properly capitalised first word.
inline std::u16string_view StripBlankEnds(std::u16string_view s) {
  constexpr std::u16string_view kBlanks = u" \r\n\t";
  const auto first = s.find_first_not_of(kBlanks);
  if (first == std::u16string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

constexpr bool IsBreak(char16_t c) {
  return c == u' ' || c == u'\r' || c == u'\n' || c == u'\t';
}

// Calls visit(word, isParagraph) for the words of `a` in order, as the
// splitters define them, without storing them: the first word is whatever
// precedes the first break of the space-trimmed text (so it is empty when
// that starts with CR, LF or TAB); after it, runs of breaks separate words
// and give no empty ones. With `paragraphs`, a CR or LF followed by a CR
// (a blank line; a TAB never starts one) also yields a paragraph mark.
template <typename Visit>
void ForEachWord(std::u16string_view a, bool paragraphs, Visit&& visit) {
  a = Trim(a);
  if (a.empty()) return;
  size_t i = 0;
  while (i < a.size() && !IsBreak(a[i])) ++i;
  visit(a.substr(0, i), false);
  while (i < a.size()) {
    if (IsBreak(a[i])) {
      if (paragraphs && (a[i] == u'\r' || a[i] == u'\n') && i + 1 < a.size() && a[i + 1] == u'\r')
        visit(std::u16string_view(), true);
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < a.size() && !IsBreak(a[i])) ++i;
    visit(a.substr(start, i - start), false);
  }
}

}  // namespace tf::detail
