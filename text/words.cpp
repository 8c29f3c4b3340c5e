#include "text/internal.h"
#include "text/text.h"

namespace tf {

std::vector<std::u16string_view> BreakWords(std::u16string_view a) {
  std::vector<std::u16string_view> out;
  detail::ForEachWord(a, false, [&](std::u16string_view w, bool) { out.push_back(w); });
  return out;
}

std::vector<Word2> BreakWords2(std::u16string_view a) {
  std::vector<Word2> out;
  detail::ForEachWord(a, true, [&](std::u16string_view w, bool paragraph) {
    out.push_back({w, paragraph});
  });
  return out;
}

}  // namespace tf
