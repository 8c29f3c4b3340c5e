#include <string>
#include <vector>

#include "squish/squish.h"

namespace tf {

// Removes the spaces in front of " . " and " , " the way repeated rounds do:
// each round fixes the first " . ", then the first " , " of the text as it
// then stands. Fixing a mark removes the run of spaces before it, which can
// only take occurrences away (the mark before it loses its closing space),
// never create one; so the first occurrence of each kind only moves forward
// and one cursor per kind plays all the rounds.
std::u16string TidyPunctuation(std::u16string_view t) {
  struct Mark {
    size_t pos;
    bool dot;
    bool spaceBefore;  // a run of spaces stands right before the mark
    bool chained;      // the run after it is the run before the next mark
  };
  std::vector<Mark> marks;
  for (size_t j = 0; j + 1 < t.size(); ++j) {
    if ((t[j] == u'.' || t[j] == u',') && t[j + 1] == u' ')
      marks.push_back({j, t[j] == u'.', j > 0 && t[j - 1] == u' ', false});
  }
  for (size_t k = 0; k + 1 < marks.size(); ++k) {
    size_t r = marks[k].pos + 1;
    while (r < t.size() && t[r] == u' ') ++r;
    marks[k].chained = r == marks[k + 1].pos;
  }
  const auto occurs = [&](size_t k) {
    return marks[k].spaceBefore && (!marks[k].chained || marks[k + 1].spaceBefore);
  };
  std::vector<bool> fixed(marks.size(), false);
  size_t dot = 0, comma = 0;
  for (;;) {
    bool changed = false;
    while (dot < marks.size() && !(marks[dot].dot && occurs(dot))) ++dot;
    if (dot < marks.size()) {
      marks[dot].spaceBefore = false;
      fixed[dot] = changed = true;
    }
    while (comma < marks.size() && !(!marks[comma].dot && occurs(comma))) ++comma;
    if (comma < marks.size()) {
      marks[comma].spaceBefore = false;
      fixed[comma] = changed = true;
    }
    if (!changed) break;
  }
  std::u16string out;
  out.reserve(t.size());
  size_t from = 0;
  for (size_t k = 0; k < marks.size(); ++k) {
    if (!fixed[k]) continue;
    size_t runStart = marks[k].pos;
    while (runStart > from && t[runStart - 1] == u' ') --runStart;
    out.append(t.substr(from, runStart - from));
    from = marks[k].pos;
  }
  out.append(t.substr(from));
  return out;
}

}  // namespace tf
