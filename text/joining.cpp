#include "text/internal.h"
#include "text/text.h"

namespace tf {

std::u16string JustLineBreaks(std::u16string_view in) {
  const auto words = BreakWords(detail::StripBlankEnds(in));
  std::u16string r;
  r.reserve(in.size());
  for (size_t k = 0; k < words.size(); ++k) {
    if (k > 0) r += u' ';
    r += words[k];
  }
  return r;
}

std::u16string JustLineBreaks2(std::u16string_view in) {
  // The ends are stripped first, so the first word is a real word and the
  // text never starts or ends with a paragraph break.
  const auto words = BreakWords2(detail::StripBlankEnds(in));
  std::u16string r;
  if (words.empty()) return r;
  r.reserve(in.size());
  r += words[0].text;
  bool afterBreak = false;
  for (size_t k = 1; k < words.size(); ++k) {
    if (words[k].paragraph) {
      r += u"\r\r";
      afterBreak = true;
    } else {
      if (!afterBreak) r += u' ';
      r += words[k].text;
      afterBreak = false;
    }
  }
  return r;
}

}  // namespace tf
