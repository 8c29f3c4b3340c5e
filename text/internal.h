// Helpers shared by the text operations; not part of the public API.
#pragma once

#include <string_view>

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

}  // namespace tf::detail
