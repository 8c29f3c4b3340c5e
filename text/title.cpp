#include <unicode/utf16.h>

#include <array>

#include "text/internal.h"
#include "text/lexicon.h"
#include "text/text.h"

namespace tf {
namespace {

// First character upper-cased, the rest lower-cased, and the character after
// the first hyphen upper-cased again (later hyphens are left alone). Only
// called for words that start with a letter, so w[0] is never a surrogate.
std::u16string Capitalise(std::u16string_view w) {
  std::u16string u = LCase(w);
  u[0] = UpperUnit(w[0]);
  const auto h = u.find(u'-');
  if (h != std::u16string::npos && h + 1 < u.size()) {
    const bool pair = h + 2 < u.size() && U16_IS_LEAD(u[h + 1]) && U16_IS_TRAIL(u[h + 2]);
    const size_t len = pair ? 2 : 1;
    u.replace(h + 1, len, UCase(std::u16string_view(u).substr(h + 1, len)));
  }
  return u;
}

}  // namespace

std::u16string FirstLetterUpper(std::u16string_view in) {
  const std::u16string_view w = Trim(in);
  if (!StartsWithTitleLetter(w)) return std::u16string(w);
  std::u16string upper = UCase(w);
  // The word in capitals, so that any case of it matches (a dotless i too).
  if (std::u16string lower = LCase(upper); lexicon::Has(lexicon::kSmallWords, lower)) return lower;
  if (lexicon::Has(lexicon::kAcronyms, upper)) return upper;
  return Capitalise(w);
}

std::u16string CapitaliseFirstWord(std::u16string_view in) {
  const std::u16string_view w = Trim(in);
  if (!StartsWithTitleLetter(w)) return std::u16string(w);
  return Capitalise(w);
}

std::u16string CleanTitle(std::u16string_view in) {
  const std::u16string_view t = detail::StripBlankEnds(in);
  std::u16string r;
  r.reserve(t.size());
  bool first = true;
  detail::ForEachWord(t, false, [&](std::u16string_view w, bool) {
    if (first) {
      r += CapitaliseFirstWord(w);
      first = false;
    } else {
      r += u' ';
      r += FirstLetterUpper(w);
    }
  });
  return r;
}

}  // namespace tf
