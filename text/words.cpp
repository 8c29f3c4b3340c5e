#include "text/text.h"

namespace tf {
namespace {

constexpr bool IsBreak(char16_t c) {
  return c == u' ' || c == u'\r' || c == u'\n' || c == u'\t';
}

// Cuts `a` (already space-trimmed) into words. The first word is whatever
// precedes the first break, so it is empty when `a` starts with CR, LF or
// TAB; after it, runs of breaks separate words and give no empty ones.
// `mark(i)` is asked at every break and says whether a paragraph mark
// stands there.
template <typename Out, typename Mark>
void Split(std::u16string_view a, Out& out, Mark mark) {
  if (a.empty()) return;
  size_t i = 0;
  while (i < a.size() && !IsBreak(a[i])) ++i;
  out.push_back({a.substr(0, i)});
  while (i < a.size()) {
    if (IsBreak(a[i])) {
      mark(i);
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < a.size() && !IsBreak(a[i])) ++i;
    out.push_back({a.substr(start, i - start)});
  }
}

}  // namespace

std::vector<std::u16string_view> BreakWords(std::u16string_view a) {
  std::vector<std::u16string_view> out;
  Split(Trim(a), out, [](size_t) {});
  return out;
}

std::vector<Word2> BreakWords2(std::u16string_view a) {
  const std::u16string_view t = Trim(a);
  std::vector<Word2> out;
  // A CR or LF followed by a CR starts a blank line; a TAB never does.
  Split(t, out, [&](size_t i) {
    if ((t[i] == u'\r' || t[i] == u'\n') && i + 1 < t.size() && t[i + 1] == u'\r')
      out.push_back({{}, true});
  });
  return out;
}

}  // namespace tf
