// The reference finder on any text: the references are disjoint runs of
// whole lines, in order; every character is in one reference or one
// left-out run; a single line is one reference or none; and finding again
// in the references found, joined by blank lines, gives the same
// references.
#include <algorithm>
#include <vector>

#include "fuzz/fuzz_common.h"
#include "reference/finder.h"

namespace {

using S = std::u16string;
using tf::reference::FindReferences;
using tf::reference::FoundReferences;
using tf::reference::Piece;

// Pieces of reference lists made likely: numbers, names, years, headings,
// page matter and every kind of line end.
S ListText(const uint8_t* data, size_t size) {
  static const S kPool[] = {
      u" ",        u" ",          u"\n",        u"\n",         u"\r\n",     u"\r",        u"\f",        u"\n\n",
      u"[1] ",     u"[2] ",       u"[3] ",      u"1. ",        u"2. ",      u"3. ",       u"(1) ",      u"(2) ",
      u"1) ",      u"2) ",        u"1 ",        u"2 ",         u"12\n",     u"2011\n",    u"- 7 -\n",   u"Page 3\n",
      u"References\n", u"(continued)\n", u"Bibliography:\n", u"Smith, J., ", u"SMITH, J. ", u"Jones KL, ",
      u"J. R. Smith, ", u"de la Macorra JC, ", u"\u2014\u2014\u2014, ", u"Lowell, James Russell. ", u"Eric de Bellaigue, ",
      u"2011. ",   u"(2009). ",   u"n.d. ",     u"Heat flow ", u"in the ",  u"Salton ",   u"Trough.",   u"frac-\n",
      u"Geothermics 38, 1-12.", u"doi:10.1/x", u"and ",  u"& ",         u",",        u".",         u"-",         u";",
      u"Journal of Geothermal Research 72 (2011)\n", u"\u00A0", u"\t", u"\u2028", u"\u0085", u"\u00E9", u"\U00010428"};
  constexpr size_t kCount = sizeof kPool / sizeof kPool[0];
  S s;
  for (size_t i = 0; i < size; ++i) s += kPool[data[i] % kCount];
  return s;
}

std::vector<S> Texts(const FoundReferences& found, std::u16string_view text) {
  std::vector<S> out;
  for (const auto& r : found.references) out.push_back(r.Text(text));
  return out;
}

void Check(const S& text) {
  const FoundReferences found = FindReferences(text);
  // In order and disjoint, and with the runs left out, the whole text once.
  std::vector<Piece> all = found.leftOut;
  size_t after = 0;
  for (const auto& r : found.references) {
    if (r.lines.empty()) tf::fuzz::Fail("a reference without lines", text);
    for (const Piece& p : r.lines) {
      if (p.begin < after || p.end <= p.begin) tf::fuzz::Fail("references out of order or overlapping", text);
      after = p.end;
      all.push_back(p);
    }
  }
  std::sort(all.begin(), all.end(), [](const Piece& a, const Piece& b) { return a.begin < b.begin; });
  size_t at = 0;
  for (const Piece& p : all) {
    if (p.begin != at) tf::fuzz::Fail("a character in no piece, or in two", text);
    at = p.end;
  }
  if (at != text.size()) tf::fuzz::Fail("the pieces do not reach the end", text);
  // A single line.
  if (text.find_first_of(u"\r\n\f\u0085\u2028\u2029") == S::npos && found.references.size() > 1)
    tf::fuzz::Fail("one line made several references", text);
  // Found again in what was found.
  const std::vector<S> first = Texts(found, text);
  S joined;
  for (const S& t : first) joined += (joined.empty() ? u"" : u"\n\n") + t;
  if (Texts(FindReferences(joined), joined) != first) tf::fuzz::Fail("finding again gives other references", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte chooses: list pieces, or any UTF-16 units.
  const S text = data[0] % 4 == 0 ? tf::fuzz::Units(data + 1, size - 1) : ListText(data + 1, size - 1);
  Check(text);
  return 0;
}
