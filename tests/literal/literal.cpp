#include "tests/literal/literal.h"

#include <unicode/uchar.h>

#include <array>

namespace tf::literal {
namespace {

using S = std::u16string;

// The primitives, written out here rather than borrowed from the code under
// test, so that a fault there cannot hide itself in the reference.

S Trim(const S& s) {
  size_t a = 0, b = s.size();
  while (a < b && s[a] == u' ') ++a;
  while (b > a && s[b - 1] == u' ') --b;
  return s.substr(a, b - a);
}

bool IsLead(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsTrail(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Case mapping one code point at a time (a surrogate pair is one code point,
// a lone surrogate is left as it is); a mapping that would change the
// number of 16-bit units is not made, so the length never changes.
S MapCase(const S& s, bool upper) {
  S out;
  for (size_t i = 0; i < s.size(); ++i) {
    UChar32 cp = s[i];
    const bool pair = IsLead(s[i]) && i + 1 < s.size() && IsTrail(s[i + 1]);
    if (pair) cp = 0x10000 + ((s[i] - 0xD800) << 10) + (s[i + 1] - 0xDC00);
    if (!pair && (IsLead(s[i]) || IsTrail(s[i]))) {
      out += s[i];
      continue;
    }
    const UChar32 m = upper ? u_toupper(cp) : u_tolower(cp);
    const bool fits = (m >= 0x10000) == pair;
    const UChar32 r = fits ? m : cp;
    if (r >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((r - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((r - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(r);
    }
    if (pair) ++i;
  }
  return out;
}
S UCase(const S& s) { return MapCase(s, true); }
S LCase(const S& s) { return MapCase(s, false); }

S Left(const S& s, long n) { return s.substr(0, static_cast<size_t>(n)); }
S Right(const S& s, long n) {
  if (n <= 0) return {};
  if (static_cast<size_t>(n) >= s.size()) return s;
  return s.substr(s.size() - static_cast<size_t>(n));
}
S Mid(const S& s, long p, long n) {
  if (static_cast<size_t>(p) > s.size()) return {};
  return s.substr(static_cast<size_t>(p - 1), static_cast<size_t>(n));
}
// The character at position p as one code point: two units for a pair.
S MidChar(const S& s, long p) {
  const S one = Mid(s, p, 1);
  if (!one.empty() && IsLead(one[0]) && static_cast<size_t>(p) < s.size() && IsTrail(s[static_cast<size_t>(p)]))
    return Mid(s, p, 2);
  return one;
}
long InStr(const S& s, const S& t) {
  const auto p = s.find(t);
  return p == S::npos ? 0 : static_cast<long>(p) + 1;
}
long Len(const S& s) { return static_cast<long>(s.size()); }

// The built-in vocabulary as 41 pieces joined end to end.
const std::array<const char16_t*, 41> kPieces = {
    u"reservoir drilling project fields fluids fault from with ",
    u"from are and but for the this that by to reinjection ",
    u"resistivity electrical field fluid scaling of is ",
    u"exploitation geothermal silica also wells significantly ",
    u"at calcite plants in plant significant horizontal vertical ",
    u"exploit study calcite well drilled tested chloride ",
    u"potential test installed utilization installed characterized ",
    u"source studies ratios resource distributed capacity ",
    u"including ratio technology technologies used use total ",
    u"possibilities future resource discovered discovery ",
    u"related correspond previous availability conventional ",
    u"data indicate attributed exist results injection ",
    u"analysis heat front fracture fractured structural ",
    u"structure temperature pressure water steam decline ",
    u"decline available permeability production productive ",
    u"insufficient contact respectively over stress strain ",
    u"class situation feature features vapor vapour generator ",
    u"generation power plant industry heated concentrated ",
    u"explored exploration geology respectively experiment ",
    u"expected high first built constructed experimental ",
    u"China Japan Mexico Philippines New Zealand conditions ",
    u"interstitial boiling alteration rocks rock liquid surface ",
    u"equipment corrosion supply tectonic will altered ",
    u"surfaces steamfield active operation adorption condensation ",
    u"energy resources flashing flash another heated heat ",
    u"stations station depth deep deeper depths explore ",
    u"geophysics engineering Wairakei Ohaaki Broadlans Geysers ",
    u"direct direction target breakthrough thermal chemical ",
    u"chemicals wellbore absolute intrinsic regional region ",
    u" cuttings project stratigraphic volcanic entries principally ",
    u" clastic model modeling modelling lithologies lithology ",
    u" largely large caldera faults inside outside resulting ",
    u" drill permeabilities application applications detailed ",
    u" detail details thickness formations formation layers layer ",
    u" lacustrine feet until latter lateral laterally meters meter ",
    u" gravity resistivity intrusive into directions direction ",
    u"intersecting intersection east west north south eastern western ",
    u" northern southern central recharge discharge magnitude ",
    u"occur basement granite tertiary two three four five six seven ",
    u"eight nine numbers number highly high hydrothermal ",
    u" vicinity fractures feasibility economic economics "};

bool Qualifies(const S& w) {
  if (w.empty()) return false;
  const S f = UCase(Left(w, 1));
  return f[0] >= u'A' && f[0] <= u'Z';
}

S Capitalised(const S& w) {
  S u = UCase(Left(w, 1)) + LCase(Right(w, Len(w) - 1));
  const long h = InStr(u, u"-");
  if (h >= 1 && h < Len(u)) {
    const S c = MidChar(u, h + 1);
    u = Left(u, h) + UCase(c) + Right(u, Len(u) - h - Len(c));
  }
  return u;
}

S FirstLetterUpper(S w) {
  w = Trim(w);
  if (!Qualifies(w)) return w;
  const S U = UCase(w);
  for (const char16_t* small : {u"THE", u"OF", u"AND", u"TO", u"BUT", u"OR", u"IN", u"AT", u"A",
                                u"FOR", u"FROM", u"ON", u"BY", u"WITH", u"AN", u"AS", u"INTO", u"IS"})
    if (U == small) return LCase(U);
  for (const char16_t* acronym : {u"EGS", u"HDR", u"GIS", u"CO2", u"CT", u"GPS", u"NZ", u"TOUGH2",
                                  u"USA", u"CA", u"UK", u"DOE"})
    if (U == acronym) return U;
  return Capitalised(w);
}

S CapitaliseFirstWord(S w) {
  w = Trim(w);
  if (w.empty()) return w;
  return Qualifies(w) ? Capitalised(w) : w;
}

}  // namespace

std::vector<S> BreakWords(S a, bool markParagraphs) {
  std::vector<S> parts;
  a = Trim(a);
  if (!a.empty()) {
    S rebuilt;
    for (long i = 1; i <= Len(a); ++i) {
      const S c = Mid(a, i, 1);
      const S w = i < Len(a) ? Mid(a, i, 2) : S();
      if (c == u"\r" || c == u"\n" || c == u"\t") {
        rebuilt += markParagraphs && (w == u"\r\r" || w == u"\n\r") ? u" !@#" : u" ";
      } else {
        rebuilt += c;
      }
    }
    a = rebuilt;
  }
  if (a.empty()) return parts;
  for (long p = InStr(a, u" "); p > 0; p = InStr(a, u" ")) {
    parts.push_back(markParagraphs ? Trim(Left(a, p - 1)) : Left(a, p - 1));
    a = Trim(Right(a, Len(a) - p));
  }
  if (!a.empty()) parts.push_back(a);
  return parts;
}

S CleanTitle(S in) {
  const S t = Trim(in);
  if (t.empty()) return t;
  const auto words = BreakWords(t, false);
  S r = Trim(CapitaliseFirstWord(words[0]));
  for (size_t k = 1; k < words.size(); ++k) r = r + u" " + Trim(FirstLetterUpper(words[k]));
  return r;
}

S JustLineBreaks(S in) {
  const S t = Trim(in);
  if (t.empty()) return {};
  const auto words = BreakWords(t, false);
  S r = Trim(words[0]);
  for (size_t k = 1; k < words.size(); ++k) r = r + u" " + Trim(words[k]);
  return r;
}

S JustLineBreaksKeepingParagraphs(S in) {
  const S t = Trim(in);
  if (t.empty()) return {};
  const auto words = BreakWords(t, true);
  S r = words[0];
  bool marker = false;
  for (size_t k = 1; k < words.size(); ++k) {
    const S w = Trim(words[k]);
    if (w == u"!@#") {
      r = r + u"\r\r";
      marker = true;
    } else if (marker) {
      r = r + w;
      marker = false;
    } else {
      r = r + u" " + w;
    }
  }
  return r;
}

void GetAuthorsTitle(const S& a, S& authors, S& title) {
  const long L = Len(a);
  const auto cut = [](const S& part) {
    S s = Trim(part);
    if (Len(s) > 1) {
      const S c = MidChar(s, 1);
      s = UCase(c) + Right(s, Len(s) - Len(c));
    }
    return s;
  };
  const long p = InStr(a, u";");
  if (p >= 1) {
    if (p == 1) {
      title = a;
      authors = S();
    } else if (p < L) {
      title = Left(a, p - 1);
      authors = cut(Right(a, L - p));
    } else {
      title = Left(a, p - 1);
    }
  } else {
    const long q = InStr(a, u":");
    if (a.empty() || q == 0 || q == 1) {
      title = S();
      authors = a;
    } else if (q < L) {
      title = cut(Right(a, L - q));
      authors = Left(a, q - 1);
    } else {
      authors = Left(a, q - 1);
    }
  }
  if (Len(authors) <= 1) return;
  S r = Left(authors, 1);
  for (long k = 2; k <= L; ++k) {
    S c = Mid(authors, k, 1);
    if (c.empty()) continue;
    if (Right(r, 1) == u".") {
      c = MidChar(authors, k);
      k += Len(c) - 1;
      c = UCase(c);
    }
    r = r + c;
  }
  authors = r;
}

Vocabulary StartWords(const S& fileText) {
  S text;
  for (const char16_t* piece : kPieces) text += piece;
  // Lines end at LF, CR LF or CR.
  S line;
  bool pending = false;
  for (size_t i = 0; i < fileText.size(); ++i) {
    const char16_t c = fileText[i];
    if (c == u'\r' || c == u'\n') {
      text += u" " + line;
      line.clear();
      pending = false;
      if (c == u'\r' && i + 1 < fileText.size() && fileText[i + 1] == u'\n') ++i;
    } else {
      line += c;
      pending = true;
    }
  }
  if (pending) text += u" " + line;
  Vocabulary v;
  v.wordList = BreakWords(text, false);
  std::vector<long> lens;
  for (const auto& w : v.wordList) lens.push_back(Len(w));
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (size_t j = 0; j + 1 < v.wordList.size(); ++j) {
      if (lens[j] < lens[j + 1]) {
        std::swap(v.wordList[j], v.wordList[j + 1]);
        std::swap(lens[j], lens[j + 1]);
        swapped = true;
      }
    }
  }
  for (const auto& w : v.wordList) {
    S spaced = u" ";
    for (long k = 1; k <= Len(w); ++k) spaced += Mid(w, k, 1) + u" ";
    v.spacedWords.push_back(spaced);
  }
  return v;
}

S SquishText(const S& text, const Vocabulary& v) {
  S t = Trim(text);
  for (bool changed = true; changed;) {
    changed = false;
    for (size_t i = 0; i < v.wordList.size(); ++i) {
      if (v.wordList[i].size() < 2) continue;
      const S& spaced = v.spacedWords[i];
      const long p1 = InStr(t, spaced);
      const long p2 = InStr(t, UCase(spaced));
      const long p = p1 >= 1 ? p1 : p2;
      if (p < 1) continue;
      const long n = Len(t) - p - Len(spaced) + 1;
      t = Left(t, p) + v.wordList[i] + u" " + (n > 0 ? Right(t, n) : S());
      changed = true;
    }
  }
  for (bool changed = true; changed;) {
    changed = false;
    const long p = InStr(t, u" . ");
    if (p > 1) {
      t = Trim(Left(t, p)) + u". " + (Len(t) - p - 2 > 0 ? Right(t, Len(t) - p - 2) : S());
      changed = true;
    }
    const long q = InStr(t, u" , ");
    if (q > 1) {
      t = Trim(Left(t, q)) + u", " + (Len(t) - q - 2 > 0 ? Right(t, Len(t) - q - 2) : S());
      changed = true;
    }
  }
  return Trim(t);
}

}  // namespace tf::literal
