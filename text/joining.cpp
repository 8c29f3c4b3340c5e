#include "text/internal.h"
#include "text/text.h"

namespace tf {

std::u16string JustLineBreaks(std::u16string_view in) {
  const std::u16string_view t = detail::StripBlankEnds(in);
  std::u16string r;
  r.reserve(t.size());
  detail::ForEachWord(t, false, [&](std::u16string_view w, bool) {
    if (!r.empty()) r += u' ';
    r += w;
  });
  return r;
}

std::u16string JustLineBreaksKeepingParagraphs(std::u16string_view in) {
  // The ends are stripped first, so the first word is a real word and the
  // text never starts or ends with a paragraph break.
  const std::u16string_view t = detail::StripBlankEnds(in);
  std::u16string r;
  r.reserve(t.size());
  bool first = true;
  bool afterBreak = false;
  detail::ForEachWord(t, true, [&](std::u16string_view w, bool paragraph) {
    if (paragraph) {
      r += u"\r\r";
      afterBreak = true;
      return;
    }
    if (!first && !afterBreak) r += u' ';
    r += w;
    first = afterBreak = false;
  });
  return r;
}

}  // namespace tf
