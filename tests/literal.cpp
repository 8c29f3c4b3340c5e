#include "tests/literal.h"

#include "squish/vocabulary.h"
#include "text/text.h"

namespace tf::literal {
namespace {

using S = std::u16string;

S TrimS(const S& s) { return S(tf::Trim(s)); }
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
long InStr(const S& s, const S& t) {
  const auto p = s.find(t);
  return p == S::npos ? 0 : static_cast<long>(p) + 1;
}
long Len(const S& s) { return static_cast<long>(s.size()); }

bool Qualifies(const S& w) {
  if (w.empty()) return false;
  const S f = tf::UCase(Left(w, 1));
  return f[0] >= u'A' && f[0] <= u'Z';
}

S Capitalised(const S& w) {
  S u = tf::UCase(Left(w, 1)) + tf::LCase(Right(w, Len(w) - 1));
  const long h = InStr(u, u"-");
  if (h >= 1 && h < Len(u)) u = Left(u, h) + tf::UCase(Mid(u, h + 1, 1)) + Right(u, Len(u) - h - 1);
  return u;
}

S FirstLetterUpper(S w) {
  w = TrimS(w);
  if (!Qualifies(w)) return w;
  const S U = tf::UCase(w);
  for (const char16_t* small : {u"THE", u"OF", u"AND", u"TO", u"BUT", u"OR", u"IN", u"AT", u"A",
                                u"FOR", u"FROM", u"ON", u"BY", u"WITH", u"AN", u"AS", u"INTO", u"IS"})
    if (U == small) return tf::LCase(U);
  for (const char16_t* acronym : {u"EGS", u"HDR", u"GIS", u"CO2", u"CT", u"GPS", u"NZ", u"TOUGH2",
                                  u"USA", u"CA", u"UK", u"DOE"})
    if (U == acronym) return U;
  return Capitalised(w);
}

S StrictFirstLetterUpper(S w) {
  w = TrimS(w);
  if (w.empty()) return w;
  return Qualifies(w) ? Capitalised(w) : w;
}

}  // namespace

std::vector<S> BreakWords(S a, bool markParagraphs) {
  std::vector<S> parts;
  a = TrimS(a);
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
    parts.push_back(markParagraphs ? TrimS(Left(a, p - 1)) : Left(a, p - 1));
    a = TrimS(Right(a, Len(a) - p));
  }
  if (!a.empty()) parts.push_back(a);
  return parts;
}

S CleanTitle(S in) {
  const S t = TrimS(in);
  if (t.empty()) return t;
  const auto words = BreakWords(t, false);
  S r = TrimS(StrictFirstLetterUpper(words[0]));
  for (size_t k = 1; k < words.size(); ++k) r = r + u" " + TrimS(FirstLetterUpper(words[k]));
  return r;
}

S JustLineBreaks(S in) {
  const S t = TrimS(in);
  if (t.empty()) return {};
  const auto words = BreakWords(t, false);
  S r = TrimS(words[0]);
  for (size_t k = 1; k < words.size(); ++k) r = r + u" " + TrimS(words[k]);
  return r;
}

S JustLineBreaks2(S in) {
  const S t = TrimS(in);
  if (t.empty()) return {};
  const auto words = BreakWords(t, true);
  S r = words[0];
  bool marker = false;
  for (size_t k = 1; k < words.size(); ++k) {
    const S w = TrimS(words[k]);
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
    S s = TrimS(part);
    if (Len(s) > 1) s = tf::UCase(Left(s, 1)) + Right(s, Len(s) - 1);
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
    if (Right(r, 1) == u".") c = tf::UCase(c);
    r = r + c;
  }
  authors = r;
}

Vocabulary StartWords(const S& fileText) {
  S text;
  for (auto piece : kBuiltInPieces) text += piece;
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
  S t = TrimS(text);
  for (bool changed = true; changed;) {
    changed = false;
    for (size_t i = 0; i < v.wordList.size(); ++i) {
      if (v.wordList[i].size() < 2) continue;
      const S& spaced = v.spacedWords[i];
      const long p1 = InStr(t, spaced);
      const long p2 = InStr(t, tf::UCase(spaced));
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
      t = TrimS(Left(t, p)) + u". " + (Len(t) - p - 2 > 0 ? Right(t, Len(t) - p - 2) : S());
      changed = true;
    }
    const long q = InStr(t, u" , ");
    if (q > 1) {
      t = TrimS(Left(t, q)) + u", " + (Len(t) - q - 2 > 0 ? Right(t, Len(t) - q - 2) : S());
      changed = true;
    }
  }
  return TrimS(t);
}

}  // namespace tf::literal
