// The reference parser and its export formats on any text: every field is
// a piece of the repaired text and no two overlap; the CSL-JSON is JSON,
// every BibTeX brace is balanced and every special character escaped, and
// the RIS is tag lines ending in ER.
#include <cctype>

#include "engine/engine.h"
#include "fuzz/fuzz_common.h"
#include "reference/export.h"
#include "reference/parser.h"

namespace {

using S = std::u16string;

// Pieces of references in many styles, and the characters the formats
// treat specially, made likely.
S ReferenceText(const uint8_t* data, size_t size) {
  static const S kPool[] = {
      u" ",       u" ",     u" ",       u"\n",     u"Smith, ", u"J. R.", u"J.",    u"JR ",     u"de la ", u"van ",
      u"et al. ", u"& ",    u"and ",    u"(2020). ", u"2019",  u"(Eds.), ", u"In: ", u"pp. ",   u"vol. ",  u"no. ",
      u"12(3), ", u"45\u201367. ", u"1-12", u";116(B4):1-12.", u"doi:", u"10.1016/j.x.2020.1", u"https://x.org/a_b%20c#d",
      u"Heat ",   u"flow ", u"of ",     u"the ",   u"TOUGH2 ", u"pH ",    u"\u201C",  u"\u201D",  u"\"",      u"'",
      u"{",       u"}",     u"\\",      u"%",      u"&",      u"$",       u"#",      u"_",       u"~",      u"^",
      u".",       u",",     u";",       u":",      u"?",      u"[12] ",   u"12. ",   u"Press, ", u"Berlin", u"\u00FC",
      u"\uFB01",  u"-\n",   u"\t",      u"\r\n",   u"\u2028", u"\x01",    u"\U00010428"};
  constexpr size_t kCount = sizeof kPool / sizeof kPool[0];
  S s;
  for (size_t i = 0; i < size; ++i) s += kPool[data[i] % kCount];
  return s;
}

// A JSON reader that only says whether the text is JSON.
class Json {
 public:
  explicit Json(std::u16string_view s) : m_s(s) {}
  bool Valid() {
    Space();
    if (!Value()) return false;
    Space();
    return m_i == m_s.size();
  }

 private:
  void Space() {
    while (m_i < m_s.size() && (m_s[m_i] == u' ' || m_s[m_i] == u'\n' || m_s[m_i] == u'\r' || m_s[m_i] == u'\t')) ++m_i;
  }
  bool Eat(char16_t c) {
    Space();
    if (m_i < m_s.size() && m_s[m_i] == c) return ++m_i, true;
    return false;
  }
  bool String() {
    if (!Eat(u'"')) return false;
    while (m_i < m_s.size()) {
      const char16_t c = m_s[m_i++];
      if (c == u'"') return true;
      if (c < 0x20) return false;
      if (c != u'\\') continue;
      if (m_i >= m_s.size()) return false;
      const char16_t e = m_s[m_i++];
      if (e == u'u') {
        for (int k = 0; k < 4; ++k, ++m_i)
          if (m_i >= m_s.size() || m_s[m_i] > 0x7F || !std::isxdigit(m_s[m_i])) return false;
      } else if (S(u"\"\\/bfnrt").find(e) == S::npos) {
        return false;
      }
    }
    return false;
  }
  bool Value() {
    Space();
    if (m_i >= m_s.size()) return false;
    const char16_t c = m_s[m_i];
    if (c == u'"') return String();
    if (c == u'{' || c == u'[') {
      const char16_t close = c == u'{' ? u'}' : u']';
      ++m_i;
      if (Eat(close)) return true;
      do {
        if (c == u'{' && !(String() && Eat(u':'))) return false;
        if (!Value()) return false;
      } while (Eat(u','));
      return Eat(close);
    }
    const size_t from = m_i;
    while (m_i < m_s.size() && ((m_s[m_i] >= u'0' && m_s[m_i] <= u'9') || m_s[m_i] == u'-')) ++m_i;
    return m_i > from;
  }
  std::u16string_view m_s;
  size_t m_i = 0;
};

// Braces balanced, never closed before they open; the characters BibTeX
// or LaTeX read as markup written as commands, except in links.
bool BibTeXSound(std::u16string_view s) {
  int depth = 0;
  bool link = false;
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (i == 0 || s[i - 1] == u'\n') link = s.substr(i).starts_with(u"  url = ") || s.substr(i).starts_with(u"  doi = ");
    if (c == u'{') ++depth;
    if (c == u'}' && --depth < 0) return false;
    if (c == u'\n' && depth == 0 && i + 1 < s.size() && s[i + 1] != u'\n' && s[i + 1] != u'@') return false;
    const bool special = c == u'%' || c == u'&' || c == u'$' || c == u'#' || c == u'_' || c == u'~' || c == u'^';
    if (special && !link && (i == 0 || s[i - 1] != u'\\')) return false;
    if (c == u'\\' && !link && !(i + 1 < s.size() && (S(u"%&$#_").find(s[i + 1]) != S::npos || s.substr(i + 1).starts_with(u"text"))))
      return false;
  }
  return depth == 0;
}

bool RisSound(std::u16string_view s) {
  if (!s.ends_with(u"ER  - \n")) return false;
  for (size_t from = 0; from < s.size();) {
    const size_t end = s.find(u'\n', from);
    const std::u16string_view line = s.substr(from, end - from);
    const bool tag = line.size() >= 6 && line[0] >= u'A' && line[0] <= u'Z' &&
                     ((line[1] >= u'A' && line[1] <= u'Z') || (line[1] >= u'0' && line[1] <= u'9')) &&
                     line.substr(2, 4) == u"  - ";
    if (!tag) return false;
    for (char16_t c : line)
      if (c < 0x20 || c == 0x2028 || c == 0x2029 || (c >= 0x7F && c <= 0x9F)) return false;
    from = end + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tf;
  if (size > 4000) return 0;
  static const engine::Words words;
  const engine::Engine e(engine::Mode::Smart, words);
  const S in = size && data[0] & 1 ? fuzz::Units(data + 1, size - 1) : ReferenceText(data, size);

  const reference::Reference r = e.ParseReference(in);
  const reference::Piece pieces[] = {r.citationNumber, r.authors, r.editors, r.date,    r.title, r.container, r.volume,
                                     r.pages,          r.publisher, r.place, r.edition, r.doi,   r.url,       r.note};
  if (std::getenv("SHOW_PIECES"))
    for (const auto& a : pieces) std::fprintf(stderr, "[%zu,%zu) %s\n", a.begin, a.end, EncodeUtf8(r.Text(a)).c_str());
  for (const auto& a : pieces) {
    TF_CHECK(a.begin <= a.end && a.end <= r.text.size(), in);
    for (const auto& b : pieces)
      if (&a != &b && !a.Empty() && !b.Empty()) TF_CHECK(a.end <= b.begin || b.end <= a.begin, in);
  }
  e.Split(in, true);
  e.Split(in, false);

  const smart::TitleLists lists;
  TF_CHECK(Json(reference::Writer::One(reference::Format::CslJson, r, lists)).Valid(), in);
  TF_CHECK(BibTeXSound(reference::Writer::One(reference::Format::BibTeX, r, lists)), in);
  TF_CHECK(RisSound(reference::Writer::One(reference::Format::Ris, r, lists)), in);
  return 0;
}
