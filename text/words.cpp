#include "text/internal.h"
#include "text/text.h"

namespace tf {

std::vector<std::u16string_view> BreakWords(std::u16string_view a) {
  std::vector<std::u16string_view> out;
  detail::ForEachWord(a, false, [&](std::u16string_view w, bool) { out.push_back(w); });
  return out;
}

}  // namespace tf
