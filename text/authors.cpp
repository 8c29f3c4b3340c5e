#include <unicode/utf16.h>

#include "text/text.h"

namespace tf {
namespace {

// The part after the delimiter: trimmed, and its first character upper-cased
// when it has more than one character.
std::u16string TrimCapitalise(std::u16string_view part) {
  std::u16string s(Trim(part));
  if (s.size() > 1) {
    const size_t len = U16_IS_LEAD(s[0]) && U16_IS_TRAIL(s[1]) ? 2 : 1;
    s.replace(0, len, UCase(std::u16string_view(s).substr(0, len)));
  }
  return s;
}

// Upper-cases every character that directly follows a '.', except the first
// character of the text, which stays as it is.
std::u16string Initials(std::u16string_view authors) {
  std::u16string r(authors);
  for (size_t k = 1; k < r.size(); ++k) {
    if (r[k - 1] != u'.') continue;
    const bool pair = k + 1 < r.size() && U16_IS_LEAD(r[k]) && U16_IS_TRAIL(r[k + 1]);
    const size_t len = pair ? 2 : 1;
    r.replace(k, len, UCase(std::u16string_view(r).substr(k, len)));
  }
  return r;
}

}  // namespace

AuthorsTitle GetAuthorsTitle(std::u16string_view a) {
  AuthorsTitle out;
  const size_t n = a.size();
  if (const auto semi = a.find(u';'); semi != std::u16string_view::npos) {
    // Title first, authors after the semicolon.
    if (semi == 0) {
      out.Title = std::u16string(a);
    } else {
      out.Title = std::u16string(a.substr(0, semi));
      if (semi + 1 < n) out.Authors = TrimCapitalise(a.substr(semi + 1));
    }
  } else if (const auto colon = a.find(u':'); colon == std::u16string_view::npos || colon == 0) {
    out.Authors = std::u16string(a);
  } else {
    // Authors first, title after the colon.
    out.Authors = std::u16string(a.substr(0, colon));
    if (colon + 1 < n) out.Title = TrimCapitalise(a.substr(colon + 1));
  }
  if (out.Authors.size() > 1) out.Authors = Initials(out.Authors);
  return out;
}

}  // namespace tf
