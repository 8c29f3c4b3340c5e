#include "reference/finder.h"
#include "text/lexicon.h"
#include "reference/tokens.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cassert>
#include <iterator>
#include <array>
#include <unordered_map>

#include "text/text.h"

namespace tf::reference {
namespace {

using std::u16string;
using std::u16string_view;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsBlankUnit(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u00A0' || c == u'\v'; }
bool IsLineEnd(char16_t c) { return c == u'\n' || c == u'\r' || c == u'\f' || c == u'\u0085' || c == u'\u2028' || c == u'\u2029'; }

UChar32 CodePointAt(u16string_view s, size_t i) {
  UChar32 c;
  U16_GET(s.data(), 0, i, s.size(), c);
  return c;
}

struct Line {
  size_t begin = 0, contentEnd = 0, end = 0;  // [begin, end) with its line end
  u16string_view content;                      // without the blanks around it
  bool pageBreak = false;                      // an empty line ended by a form feed
};

std::vector<Line> Lines(u16string_view text) {
  std::vector<Line> out;
  for (size_t i = 0; i < text.size();) {
    Line line;
    line.begin = i;
    while (i < text.size() && !IsLineEnd(text[i])) ++i;
    line.contentEnd = i;
    if (i < text.size()) {
      line.pageBreak = text[i] == u'\f' && i == line.begin;
      i += text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
    }
    line.end = i;
    size_t a = line.begin, b = line.contentEnd;
    while (a < b && IsBlankUnit(text[a])) ++a;
    while (b > a && IsBlankUnit(text[b - 1])) --b;
    line.content = text.substr(a, b - a);
    out.push_back(line);
  }
  return out;
}

// ---- lines that are no reference ------------------------------------------------------

u16string Lower(u16string_view s) { return LCase(s); }

bool IsHeading(u16string_view content) {
  static constexpr std::array<u16string_view, 34> kHeadings = {
      u"references", u"reference", u"bibliography", u"literature cited", u"works cited", u"notes and references",
      u"references and notes", u"literatur", u"literaturverzeichnis", u"références", u"références bibliographiques",
      u"bibliografía", u"bibliografia", u"referencias", u"referencias bibliográficas", u"riferimenti bibliografici",
      u"referências", u"referências bibliográficas", u"bibliographie", u"reference list", u"cited literature",
      u"literature", u"works consulted", u"selected bibliography", u"further reading", u"sources", u"citations",
      u"references cited", u"literature references", u"bibliography and references", u"list of references",
      u"source references", u"notes", u"endnotes"};
  if (content.size() > 40) return false;
  u16string s = Lower(content);
  // A section number in front ("7.", "VII", "7 ") and a colon or full stop after.
  size_t a = 0;
  while (a < s.size() && (IsDigit(s[a]) || s[a] == u'.' || s[a] == u' ')) ++a;
  if (a == 0) {
    size_t r = 0;
    while (r < s.size() && (s[r] == u'i' || s[r] == u'v' || s[r] == u'x')) ++r;
    if (r > 0 && r + 1 < s.size() && (s[r] == u'.' || s[r] == u' ')) {
      a = r;
      while (a < s.size() && (s[a] == u'.' || s[a] == u' ')) ++a;
    }
  }
  s.erase(0, a);
  while (!s.empty() && (s.back() == u':' || s.back() == u'.' || s.back() == u' ')) s.pop_back();
  return std::find(kHeadings.begin(), kHeadings.end(), s) != kHeadings.end();
}

// Page numbers in words, "(continued)" and the notices some publishers
// print on every page.
bool IsPageMatter(u16string_view content) {
  const u16string s = Lower(content);
  const auto onlyDigitsAnd = [&](u16string_view allowed) {
    bool digit = false;
    for (char16_t c : s) {
      if (IsDigit(c)) digit = true;
      else if (allowed.find(c) == u16string_view::npos) return false;
    }
    return digit;
  };
  for (u16string_view prefix : {u"page ", u"p. ", u"pg. "}) {
    if (!s.starts_with(prefix) || s.size() > 20) continue;
    u16string_view rest = u16string_view(s).substr(prefix.size());
    const size_t digits = std::min(rest.find_first_not_of(u"0123456789"), rest.size());
    if (digits == 0) return false;
    rest.remove_prefix(digits);
    return rest.empty() || ((rest.starts_with(u" of ") || rest.starts_with(u"/")) &&
                            rest.find_first_not_of(u"0123456789 of/") == u16string_view::npos);
  }
  // "- 12 -", "12 of 30", "12/30": a page of no more than the pages
  // there are, which are no year ("3/2005" is an issue, "5/9781412995658"
  // the end of a DOI).
  const bool dashed = !s.empty() && u16string_view(u"-\u2013\u2014").find(s.front()) != u16string_view::npos &&
                      u16string_view(u"-\u2013\u2014").find(s.back()) != u16string_view::npos;
  const auto pageOfPages = [&] {
    const size_t mark = s.find(u'/') != u16string::npos ? s.find(u'/') : s.find(u" of ");
    if (mark == u16string::npos) return false;
    const auto number = [](u16string_view d) {
      while (!d.empty() && d.front() == u' ') d.remove_prefix(1);
      while (!d.empty() && d.back() == u' ') d.remove_suffix(1);
      if (d.empty() || d.size() > 4 || d.find_first_not_of(u"0123456789") != u16string_view::npos) return -1;
      int v = 0;
      for (char16_t c : d) v = v * 10 + (c - u'0');
      return v;
    };
    const int page = number(u16string_view(s).substr(0, mark));
    const int pages = number(u16string_view(s).substr(mark + (s[mark] == u'/' ? 1 : 4)));
    return page >= 1 && pages >= page && !(IsYear(pages) && pages >= 1000);
  };
  if (s.size() <= 16 && (dashed ? onlyDigitsAnd(u" -\u2013\u2014") : onlyDigitsAnd(u" /of") && pageOfPages()))
    return true;
  static constexpr std::array<u16string_view, 5> kContinued = {u"(continued)", u"continued", u"(cont.)", u"(cont'd)",
                                                               u"(continued on next page)"};
  for (auto c : kContinued)
    if (s == c || (s.ends_with(c) && s.size() < 40 && s.starts_with(u"ref"))) return true;
  static constexpr std::array<u16string_view, 6> kNotices = {u"\u00A9", u"copyright", u"downloaded from",
                                                             u"this content downloaded", u"all use subject to",
                                                             u"(c) "};
  for (auto n : kNotices)
    if (s.starts_with(n)) return true;
  return false;
}

// ---- numbers in front ------------------------------------------------------------------

enum class Style : uint8_t { Bracket, Parenthesis, Dot, Closing, Bare, Alone };

struct Leading {
  bool found = false;
  Style style = Style::Bare;
  uint32_t value = 0;
};

Leading NumberInFront(u16string_view c) {
  Leading out;
  size_t i = 0;
  const bool open = !c.empty() && (c[0] == u'[' || c[0] == u'(');
  if (open) ++i;
  const size_t from = i;
  while (i < c.size() && IsDigit(c[i]) && i - from < 5) out.value = out.value * 10 + static_cast<uint32_t>(c[i++] - u'0');
  if (i == from || i - from > 4 || out.value == 0) return {};
  const bool end = i == c.size();
  if (open) {
    if (end || c[i] != (c[0] == u'[' ? u']' : u')')) return {};
    out.style = c[0] == u'[' ? Style::Bracket : Style::Parenthesis;
    ++i;
  } else if (end) {
    out.style = Style::Alone;
  } else if (c[i] == u'.' || c[i] == u')') {
    out.style = c[i] == u'.' ? Style::Dot : Style::Closing;
    ++i;
  } else if (IsBlankUnit(c[i])) {
    out.style = Style::Bare;
  } else {
    return {};
  }
  // What follows the mark is a space or nothing ("1.5 m" is no number).
  if (i < c.size() && !IsBlankUnit(c[i])) return {};
  out.found = true;
  return out;
}

// More lines than references take.
constexpr size_t kMostLinesInAReference = 12;

// The longest run of lines numbered n, n+1, n+2 ... in one style, by line
// index (empty when there is none of two or more).
std::vector<size_t> Numbering(const std::vector<Leading>& numbers, const std::vector<bool>& counts) {
  struct Best {
    uint32_t length;
    size_t line;
  };
  const auto key = [](Style s, uint32_t v) { return (uint64_t{v} << 3) | static_cast<uint64_t>(s); };
  std::unordered_map<uint64_t, Best> bestEnding;  // the longest run ending in (style, value)
  std::vector<size_t> previous(numbers.size(), SIZE_MAX);
  Best top{0, 0};
  for (size_t i = 0; i < numbers.size(); ++i) {
    const Leading& n = numbers[i];
    if (!n.found || n.style == Style::Alone) continue;
    Best here{1, i};
    if (const auto it = bestEnding.find(key(n.style, n.value - 1)); it != bestEnding.end()) {
      here.length = it->second.length + 1;
      previous[i] = it->second.line;
    }
    auto& slot = bestEnding[key(n.style, n.value)];
    if (here.length > slot.length) slot = here;
    if (here.length > top.length) top = here;
  }
  std::vector<size_t> run;
  if (top.length < 2) return run;
  for (size_t i = top.line; i != SIZE_MAX; i = previous[i]) run.push_back(i);
  std::reverse(run.begin(), run.end());
  // Numbers as far apart as page numbers are no numbering of references.
  // Lines count that may be a reference's: not lines left out already, nor
  // numbers alone (page numbers, or years).
  size_t between = 0;
  for (size_t i = run.front(); i < run.back(); ++i) between += counts[i];
  if (between / (run.size() - 1) > kMostLinesInAReference) run.clear();
  if (run.empty()) return run;
  // Nor are a few numbers in a long text that they leave mostly outside
  // ("1998." and "1999." wrapped to the front of two lines of an
  // author–year list): before the first, the end of one reference at
  // most; after the last, that reference.
  size_t outside = 0;
  for (size_t i = 0; i < run.front(); ++i) outside += counts[i];
  size_t after = 0;
  for (size_t i = run.back() + 1; i < counts.size(); ++i) after += counts[i];
  outside += after > kMostLinesInAReference ? after - kMostLinesInAReference : 0;
  if (outside > kMostLinesInAReference * (run.size() - 1)) run.clear();
  return run;
}

// ---- how a reference opens and ends --------------------------------------------------

bool IsParticle(u16string_view w) { return lexicon::Has(lexicon::kNameParticles, w); }

bool IsNameUnit(u16string_view s, size_t i) {
  const UChar32 c = CodePointAt(s, i);
  return u_isalpha(c) || c == u'\'' || c == u'\u2019' || c == u'-' || u_getCombiningClass(c) != 0;
}

size_t NameWordEnd(u16string_view s, size_t i) {
  while (i < s.size() && IsNameUnit(s, i)) U16_FWD_1(s.data(), i, s.size());
  return i;
}

bool IsUpperAt(u16string_view s, size_t i) { return i < s.size() && u_isupper(CodePointAt(s, i)); }
bool IsLowerAt(u16string_view s, size_t i) { return i < s.size() && u_islower(CodePointAt(s, i)); }

enum class Opening { None, Weak, Strong };

bool IsRomanNumeral(u16string_view w) {
  return std::all_of(w.begin(), w.end(), [](char16_t u) { return u16string_view(u"IVXLCDM").find(u) != u16string_view::npos; });
}

// "Eric de Bellaigue, ...", "Ralph H. Abraham and ...": a given name, then
// at most three initials, particles or names, then a comma or "and". Could
// as well be a title's first words, so only weak.
Opening GivenNamesFirst(u16string_view c) {
  size_t i = 0;
  for (int words = 0; words < 4; ++words) {
    const size_t end = NameWordEnd(c, i);
    const u16string_view w = c.substr(i, end - i);
    const bool initial = w.size() == 1 && IsUpperAt(c, i) && end < c.size() && c[end] == u'.';
    const bool name = w.size() >= 2 && IsUpperAt(c, i) && std::any_of(w.begin(), w.end(), [](char16_t u) { return u_islower(u); });
    if (!initial && !name && !(words > 0 && IsParticle(w))) return Opening::None;
    size_t next = end + (initial ? 1 : 0);
    if (words > 0 && name && next < c.size()) {
      const u16string_view after = c.substr(next);
      if (after.starts_with(u", ") || after.starts_with(u" and ") || after.starts_with(u" & ")) return Opening::Weak;
    }
    if (next >= c.size() || c[next] != u' ') return Opening::None;
    i = next + 1;
  }
  return Opening::None;
}

// How much the line opens like a reference of an author–year list.
Opening OpensLikeReference(u16string_view c) {
  if (c.empty()) return Opening::None;
  // The dash that repeats the authors of the reference before.
  size_t dashes = 0;
  while (dashes < c.size() && (c[dashes] == u'\u2014' || c[dashes] == u'\u2013' || c[dashes] == u'-' || c[dashes] == u'_'))
    ++dashes;
  if (dashes >= 2 || (dashes == 1 && c[0] == u'\u2014')) return Opening::Strong;
  size_t i = 0;
  // Initials first: "J. R. Smith, ...", "A. Einstein and ...".
  if (IsUpperAt(c, 0) && c.size() > 1 && c[1] == u'.') {
    while (i + 1 < c.size() && IsUpperAt(c, i) && (c[i + 1] == u'.')) {
      i += 2;
      if (i < c.size() && (c[i] == u'-' || c[i] == u' ')) ++i;
    }
    if (!IsUpperAt(c, i)) return Opening::None;
    const size_t end = NameWordEnd(c, i);
    const u16string_view after = c.substr(end);
    return after.starts_with(u",") || after.starts_with(u" and ") || after.starts_with(u" &") ? Opening::Strong
                                                                                           : Opening::None;
  }
  // Particles, then the family name (after a particle, perhaps of two
  // words: "de Barbentane Nagoda").
  bool particles = false;
  for (int k = 0; k < 3; ++k) {
    const size_t end = NameWordEnd(c, i);
    if (end == i || end >= c.size() || c[end] != u' ' || !IsParticle(c.substr(i, end - i))) break;
    i = end + 1;
    particles = true;
  }
  if (!IsUpperAt(c, i)) return Opening::None;
  size_t familyEnd = NameWordEnd(c, i);
  if (particles && familyEnd + 1 < c.size() && c[familyEnd] == u' ' && IsUpperAt(c, familyEnd + 1)) {
    const size_t second = NameWordEnd(c, familyEnd + 1);
    if (second < c.size() && c[second] == u',') familyEnd = second;
  }
  const u16string_view family = c.substr(i, familyEnd - i);
  if (family.size() < 2 || IsRomanNumeral(family)) return Opening::None;
  const bool capitals = std::none_of(family.begin(), family.end(), [](char16_t u) { return u_islower(u); });
  size_t j = familyEnd;
  if (j < c.size() && c[j] == u',') {
    ++j;
    while (j < c.size() && IsBlankUnit(c[j])) ++j;
    if (j == familyEnd + 1) return Opening::None;  // "Smith,J" is no name list
    if (capitals) return Opening::Strong;          // "DUPONT, Jean-Luc"
    if (IsUpperAt(c, j) && j + 1 < c.size() && (c[j + 1] == u'.' || c[j + 1] == u'-')) return Opening::Strong;
    if (!IsUpperAt(c, j) || !IsLowerAt(c, j + 1)) return Opening::None;
    // A given name: "Lowell, James Russell." could as well be a publisher
    // and its place; "Stein, Daniel, and", "Disch, Thomas M." are names.
    const size_t given = NameWordEnd(c, j);
    const u16string_view after = c.substr(given);
    if (after.starts_with(u", and ") || after.starts_with(u" and ") || after.starts_with(u" &") ||
        (after.size() >= 3 && after[0] == u' ' && IsUpperAt(after, 1) && after[2] == u'.'))
      return Opening::Strong;
    return Opening::Weak;
  }
  // "SIERVO (M.)", "Dupont (J.-L.)".
  if (c.substr(j).starts_with(u" (") && IsUpperAt(c, j + 2) && j + 3 < c.size() && c[j + 3] == u'.') return Opening::Strong;
  if (j >= c.size() || c[j] != u' ') return Opening::None;
  if (const Opening given = GivenNamesFirst(c); given != Opening::None) return given;
  // Initials after the family name: "Smith JR,", "Smith J.", "de la
  // Macorra JC,", "Чижевский А.А.", "ASSAYAG J." (in capitals only with
  // full stops, or a title in capitals would do).
  size_t k = j + 1, letters = 0, dots = 0;
  while (k < c.size() && IsUpperAt(c, k) && letters < 4) {
    ++k, ++letters;
    if (k < c.size() && c[k] == u'.') ++k, ++dots;
    if (dots > 0 && k < c.size() && c[k] == u'-') ++k;
  }
  if (letters == 0 || letters > 3 || (capitals && dots == 0)) return Opening::None;
  if (dots > 0 && dots != letters) return Opening::None;
  return k == c.size() || c[k] == u',' || c[k] == u' ' || (dots == 0 && c[k] == u'.') ? Opening::Strong : Opening::None;
}

// The line ends in a DOI or a link.
bool EndsInLink(u16string_view c) {
  const size_t space = c.find_last_of(u' ');
  const u16string lastWord = Lower(c.substr(space == u16string_view::npos ? 0 : space + 1));
  return lastWord.find(u"://") != u16string::npos || lastWord.starts_with(u"doi:") || lastWord.starts_with(u"10.") ||
         lastWord.starts_with(u"www.");
}

bool EndsLikeReference(u16string_view c) {
  if (c.empty()) return false;
  const char16_t last = c.back();
  return last == u'.' || last == u')' || last == u']' || IsDigit(last) || EndsInLink(c);
}

// A line no reference of a list without numbers opens with: the middle
// of one, whatever the line before.
bool OpensNoReference(u16string_view line) {
  // Vancouver's numbers after the journal ("2009;35(3):212-224.",
  // "35(3):212-224."): the middle of a reference.
  size_t digits = 0;
  while (digits < line.size() && IsDigit(line[digits])) ++digits;
  if (digits > 0 && digits < line.size() && (line[digits] == u';' || (line[digits] == u'(' && line.find(u"):") != u16string_view::npos &&
                                                                         line.find(u"):") < 16)))
    return true;
  // The last pages of a range, or the number a bracket closes ("44–88.
  // Princeton", "719). Washington"): no reference of a list without
  // numbers opens so (one that opens with its year has no range).
  if (digits > 0 && digits <= 5) {
    size_t k = digits;
    const bool range = k + 1 < line.size() && (line[k] == u'-' || line[k] == u'\u2013') && IsDigit(line[k + 1]);
    if (range)
      for (++k; k < line.size() && IsDigit(line[k]);) ++k;
    if (k < line.size() && (line[k] == u')' || (range && (line[k] == u'.' || line[k] == u',' || line[k] == u';'))) &&
        (k + 1 == line.size() || line[k + 1] == u' ' || line[k + 1] == u'.'))
      return true;
  }
  // A number that is no year, then a word in small letters ("97 über
  // die Verfassungsbeschwerde"): the middle of a sentence.
  if (digits > 0 && digits != 4 && digits + 1 < line.size() && line[digits] == u' ' && IsLowerAt(line, digits + 1))
    return true;
  // What only follows a reference's first part: where it was found, its
  // link or DOI ("Retrieved 3 August 2017, from", "Available at:").
  static constexpr u16string_view kAfterwards[] = {u"Retrieved",  u"Available", u"Accessed", u"Consulted", u"Consult\u00E9",
                                                   u"Disponible", u"URL",       u"doi:",     u"DOI",       u"http://",
                                                   u"https://",   u"www.",      u"In:",      u"In"};
  // A word must end where it ends ("Available", not "Availability").
  for (u16string_view w : kAfterwards)
    if (line.starts_with(w) && (!u_isalpha(w.back()) || line.size() == w.size() || !u_isalpha(line[w.size()]))) return true;
  // Who edited or translated the work, after its title ("Edited by
  // Michael Weiler. Dordrecht: Kluwer, 2001.").
  static constexpr u16string_view kRoles[] = {u"Edited by ", u"Ed. by ", u"Translated by ", u"Trans. by ",
                                              u"Herausgegeben von ", u"Hrsg. von ", u"Traduit par "};
  for (u16string_view w : kRoles)
    if (line.starts_with(w)) return true;
  // A date's month and its day or year ("October 2006.", after "accessed
  // 26"): no reference opens with one.
  static constexpr u16string_view kMonths[] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                               u"July",    u"August",   u"September", u"October", u"November", u"December"};
  for (u16string_view m : kMonths)
    if (line.starts_with(m) && line.size() > m.size() + 1 && line[m.size()] == u' ' && IsDigit(line[m.size() + 1])) return true;
  return false;
}

// A line's number and its marks ("[12]", "3.", "(4)"), and a line of
// nothing else.
constexpr u16string_view kNumberMarks = u"0123456789.()[] ";
bool NumberOnly(u16string_view c) { return c.find_first_not_of(kNumberMarks) == u16string_view::npos; }

// A word broken at the line's end goes on at this line's start ("Geologi-",
// "cal Association").
bool BrokenWord(u16string_view before, u16string_view line) {
  if (before.size() < 2 || !IsLowerAt(line, 0)) return false;
  const char16_t last = before.back();
  return (last == u'-' || last == u'\u2010' || last == u'\u00AD') && u_isalpha(before[before.size() - 2]);
}

// A family name's particle, as written in small letters, ends the line
// before, and the name goes on in this one ("MIT Press. van", then
// "Benthem, J. F. A. K."): a name never ends a reference so.
bool ParticleGoesOn(u16string_view before, u16string_view line) {
  const size_t space = before.find_last_of(u' ');
  const u16string_view word = before.substr(space == u16string_view::npos ? 0 : space + 1);
  return IsUpperAt(line, 0) && IsParticle(word);
}

// The line before plainly goes on in this one.
bool GoesOn(u16string_view before, u16string_view line) {
  if (before.empty()) return false;
  const char16_t last = before.back();
  if (last == u',' || last == u';' || last == u':' || last == u'-' || last == u'&' || last == u'\u2010') return true;
  if (IsLowerAt(line, 0) && OpensLikeReference(line) == Opening::None) return true;
  if (OpensNoReference(line)) return true;
  const size_t space = before.find_last_of(u' ');
  const u16string_view word = before.substr(space == u16string_view::npos ? 0 : space + 1);
  // Initials at the end, a full stop after each: the names go on ("a cura
  // di M. / TANGHERONI"); "CA." or "USA." ends a reference, and so do a
  // publisher's letters, more than a name's three ("Stanford: C.S.L.I.").
  const size_t capitals = static_cast<size_t>(std::count_if(word.begin(), word.end(), [](char16_t u) { return u_isupper(u); }));
  const size_t stops = static_cast<size_t>(std::count(word.begin(), word.end(), u'.'));
  if (word.size() >= 2 && word.back() == u'.' && capitals == stops && capitals <= 3 &&
      std::all_of(word.begin(), word.end(), [](char16_t u) { return u == u'.' || u == u'-' || u_isupper(u); }))
    return true;
  const u16string lastWord = Lower(word);
  // Words no reference ends with: the sentence goes on.
  if (lexicon::Has(lexicon::kGoingOn, lastWord)) return true;
  // A given name after an editor's or translator's role ("Ed. Richard",
  // "Trans. Marina"): the rest of the name follows.
  if (space == u16string_view::npos || space == 0 || !IsUpperAt(word, 0)) return false;
  const size_t roleSpace = before.find_last_of(u' ', space - 1);
  const size_t roleBegin = roleSpace == u16string_view::npos ? 0 : roleSpace + 1;
  return IsRoleWord(Lower(before.substr(roleBegin, space - roleBegin)));
}

// The line ends where the last page of a range, or a page, has to follow:
// a dash after a number or a space ("S. 101 -", "8890-"; not "frac-", a
// word broken at a page's end), "p.", "pp.", "S.".
bool WaitsForPage(u16string_view c) {
  const auto dash = [](char16_t u) { return u == u'-' || u == u'\u2013' || u == u'\u2014'; };
  const char16_t last = c.back();
  if (dash(last)) {
    // A dash after a number or a space, or doubled ("186\u2013-", "231--").
    size_t k = c.size() - 1;
    while (k > 0 && dash(c[k - 1])) --k;
    return k > 0 && (IsDigit(c[k - 1]) || IsBlankUnit(c[k - 1]));
  }
  const size_t space = c.find_last_of(u' ');
  const u16string word = Lower(c.substr(space == u16string_view::npos ? 0 : space + 1));
  if (word == u"p" || word == u"pp" || word == u"seite" || word == u"page") return true;
  if (word != u"p." && word != u"pp." && word != u"s.") return false;
  // After a count of pages, no page follows ("275 p.", "272 pp."); after
  // a year one does ("2002 p.").
  const u16string_view before = space == u16string_view::npos ? u16string_view() : c.substr(0, space);
  const size_t from = before.find_last_of(u' ') == u16string_view::npos ? 0 : before.find_last_of(u' ') + 1;
  const u16string_view count = before.substr(from);
  if (count.empty() || count.find_first_not_of(u"0123456789") != u16string_view::npos) return true;
  return count.size() == 4 && IsYear((count[0] - u'0') * 1000 + (count[1] - u'0') * 100 + (count[2] - u'0') * 10 + (count[3] - u'0'));
}

// A link or a DOI: "http", "www." or "doi" in it (any case), or "10.",
// then a slash.
bool IsLink(u16string_view word) {
  const auto has = [&](u16string_view lower) {
    if (word.size() < lower.size()) return false;
    for (size_t i = 0; i + lower.size() <= word.size(); ++i) {
      size_t k = 0;
      while (k < lower.size() && (word[i + k] | 0x20) == lower[k]) ++k;
      if (k == lower.size()) return true;
    }
    return false;
  };
  return has(u"http") || has(u"www.") || has(u"doi") ||
         (word.starts_with(u"10.") && word.find(u'/') != u16string_view::npos);
}

// A year, or what stands for one ("n.d.", "in press").
// Not in a link or a DOI ("10.1198/tast.2010.09132").
bool HoldsYear(u16string_view c) {
  size_t linkEnd = 0;  // the end of the link or DOI the scan is in
  for (size_t i = 0; i + 4 <= c.size(); ++i) {
    if (i < linkEnd) continue;
    if (i == 0 || c[i - 1] == u' ') {
      const u16string_view rest = c.substr(i);
      const u16string_view word = rest.substr(0, std::min(rest.find(u' '), rest.size()));
      if (IsLink(word)) {
        linkEnd = i + word.size();
        continue;
      }
    }
    if (!IsDigit(c[i]) || (i > 0 && IsDigit(c[i - 1]))) continue;
    if (!IsDigit(c[i + 1]) || !IsDigit(c[i + 2]) || !IsDigit(c[i + 3]) || (i + 4 < c.size() && IsDigit(c[i + 4]))) continue;
    const int v = (c[i] - u'0') * 1000 + (c[i + 1] - u'0') * 100 + (c[i + 2] - u'0') * 10 + (c[i + 3] - u'0');
    if (IsYear(v)) return true;
  }
  const u16string s = Lower(c);
  return s.find(u"n.d.") != u16string::npos || s.find(u"in press") != u16string::npos ||
         s.find(u"forthcoming") != u16string::npos;
}

// Full stops that end a sentence: after a word of three letters or more,
// before a space or the line's end.
size_t SentenceStops(u16string_view c) {
  size_t n = 0;
  for (size_t i = 3; i < c.size(); ++i)
    n += c[i] == u'.' && (i + 1 == c.size() || c[i + 1] == u' ') && IsLowerAt(c, i - 1) && IsLowerAt(c, i - 2) &&
         u_isalpha(CodePointAt(c, i - 3));
  return n;
}

// Whether a line may be a running head: it names a journal, a volume, a
// year or the authors (digits in it, or no small letters), not like the
// line of a reference, which the same reference cited twice in a list
// repeats (one that opens like a reference, ends in a full stop or goes
// on, begins in lower case, or with pages: "125-130. [...]").
bool MayBeRunningHead(u16string_view c) {
  if (OpensLikeReference(c) != Opening::None || IsLowerAt(c, 0)) return false;
  // A page number in front stands apart from the head ("12 Journal ...").
  const size_t front = std::min(c.find_first_not_of(u"0123456789"), c.size());
  if (front > 0 && front < c.size() && !IsBlankUnit(c[front]) && c[front] != u'|') return false;
  if (u16string_view(u".,;:-\u2010\u2013").find(c.back()) != u16string_view::npos) return false;
  const bool digits = std::any_of(c.begin(), c.end(), IsDigit);
  const bool small = std::any_of(c.begin(), c.end(), [](char16_t u) { return u_islower(u); });
  return digits || !small;
}

// Whether a line carries a page number at one end, apart from its words
// ("12 Journal of ...", "... (2013) 12", "... | 12"): one to four digits
// after or before a space, not after a comma.
bool PageNumberAtAnEnd(u16string_view c) {
  const auto digitsAt = [&](size_t from, size_t to) {
    return to > from && to - from <= 4 && std::all_of(c.begin() + from, c.begin() + to, IsDigit);
  };
  const size_t first = c.find(u' '), last = c.rfind(u' ');
  if (first == u16string_view::npos) return false;
  if (digitsAt(0, first)) return true;
  if (!digitsAt(last + 1, c.size())) return false;
  size_t k = last;
  while (k > 0 && (IsBlankUnit(c[k - 1]) || c[k - 1] == u'|')) --k;
  return k > 0 && c[k - 1] != u',';
}

// A running head or foot as a layout keeps it: its page number at the
// margin, six spaces or more from the words ("Journal of Geothermal
// Research 13 (2017)          2"). A reference's line has no such gap.
bool IsLaidOutHead(u16string_view c) {
  const auto gapAt = [&](size_t from, size_t to) {
    return to >= from + 6 && std::all_of(c.begin() + from, c.begin() + to, IsBlankUnit);
  };
  size_t digitsEnd = 0;
  while (digitsEnd < c.size() && IsDigit(c[digitsEnd])) ++digitsEnd;
  size_t digitsBegin = c.size();
  while (digitsBegin > 0 && IsDigit(c[digitsBegin - 1])) --digitsBegin;
  u16string_view words;
  if (digitsEnd >= 1 && digitsEnd <= 4) {
    size_t k = digitsEnd;
    while (k < c.size() && IsBlankUnit(c[k])) ++k;
    if (gapAt(digitsEnd, k)) words = c.substr(k);
  }
  if (words.empty() && c.size() - digitsBegin >= 1 && c.size() - digitsBegin <= 4) {
    size_t k = digitsBegin;
    while (k > 0 && IsBlankUnit(c[k - 1])) --k;
    if (gapAt(k, digitsBegin)) words = c.substr(0, k);
  }
  // Or the journal's address at the margin, where a page number would be
  // ("Geosci. Model Dev., 12, 1-20, 2019          www.geosci-model-dev.net/
  // 12/1/2019/"): a link alone after the gap.
  if (words.empty()) {
    const size_t last = c.find_last_of(u' ');
    if (last != u16string_view::npos && last + 1 < c.size()) {
      const u16string_view link = c.substr(last + 1);
      size_t k = last + 1;
      while (k > 0 && IsBlankUnit(c[k - 1])) --k;
      if ((link.starts_with(u"www.") || link.starts_with(u"http") || link.starts_with(u"doi.org/")) && gapAt(k, last + 1))
        words = c.substr(0, k);
    }
  }
  return !words.empty() && words.size() <= 90 && MayBeRunningHead(words);
}

// A journal's foot of the page, as publishers print it: its name, the
// volume, the year in brackets and the article or pages, nothing after
// ("Journal of Volcanology and Geothermal Research 412 (2021) 107185").
bool IsJournalFooter(u16string_view c) {
  if (c.empty() || !IsUpperAt(c, 0) || c.find(u',') != u16string_view::npos) return false;
  const size_t open = c.find(u" (");
  if (open == u16string_view::npos || open + 8 > c.size() || c.substr(open + 6, 2) != u") ") return false;
  for (size_t i = open + 2; i < open + 6; ++i)
    if (!IsDigit(c[i])) return false;
  // The volume before the year, the pages or article after it.
  const size_t volume = c.find_last_of(u' ', open - 1);
  if (volume == u16string_view::npos || volume + 1 >= open) return false;
  for (size_t i = volume + 1; i < open; ++i)
    if (!IsDigit(c[i])) return false;
  const u16string_view after = c.substr(open + 8);
  return !after.empty() && IsDigit(after[0]) && std::all_of(after.begin(), after.end(), [](char16_t u) {
    return IsDigit(u) || u == u'-' || u == u'\u2013' || u == u'e' || u == u'E';
  });
}

// Running heads: the same short line again elsewhere, apart from its
// page number.
u16string RunningHeadKey(u16string_view c) {
  size_t a = 0, b = c.size();
  while (a < b && (IsDigit(c[a]) || IsBlankUnit(c[a]) || c[a] == u'|')) ++a;
  while (b > a && (IsDigit(c[b - 1]) || IsBlankUnit(c[b - 1]) || c[b - 1] == u'|')) --b;
  u16string key;
  for (size_t i = a; i < b; ++i) {
    const char16_t u = IsDigit(c[i]) ? u'#' : c[i];
    if (IsBlankUnit(u) && !key.empty() && key.back() == u' ') continue;
    key += IsBlankUnit(u) ? u' ' : u;
  }
  return Lower(key);
}


// ---- where a reference of an author–year list starts ---------------------------------

// How far a line opens brackets and double quotation marks (closing ones
// count against): "(" "[" and curly double quotes by their sides,
// straight ones each other one.
struct Openings {
  int round = 0, square = 0, curly = 0;
  bool straight = false;
  void Add(u16string_view c) {
    for (char16_t u : c) {
      if (u == u'(') ++round;
      else if (u == u')') --round;
      else if (u == u'[') ++square;
      else if (u == u']') --square;
      else if (u == u'\u201C') ++curly;
      else if (u == u'\u201D') --curly;
      else if (u == u'"') straight = !straight;
    }
  }
  bool Open() const { return round > 0 || square > 0 || curly > 0 || straight; }
};

// The line ends with a year, its letter and closing marks aside ("1992.",
// "(2004b).", "1997").
bool EndsWithYear(u16string_view c) {
  size_t end = c.size();
  while (end > 0 && u16string_view(u".,;:)]").find(c[end - 1]) != u16string_view::npos) --end;
  if (end > 0 && c[end - 1] >= u'a' && c[end - 1] <= u'e' && end >= 2 && IsDigit(c[end - 2])) --end;
  if (end < 4 || (end > 4 && IsDigit(c[end - 5]))) return false;
  for (size_t i = end - 4; i < end; ++i)
    if (!IsDigit(c[i])) return false;
  return IsYear((c[end - 4] - u'0') * 1000 + (c[end - 3] - u'0') * 100 + (c[end - 2] - u'0') * 10 + (c[end - 1] - u'0'));
}

// What the decision sees: the line, the line before, the next line of the
// references and the reference so far. The next line skips blank and
// left-out lines, so that finding again in the references found (joined
// by blank lines, without the lines left out) decides the same.
struct StartContext {
  u16string_view last, line;
  bool wrapped = false;  // the text is wrapped at `width`
  size_t width = 0;
  bool yearSoFar = false;
  size_t sizeSoFar = 0, linesSoFar = 0, stopsSoFar = 0;
  u16string_view next;  // the next line of the text's references (none: empty)
  // A bracket or a double quotation mark opened in the reference so far
  // and not closed: what follows is still inside it.
  bool openSoFar = false;
  // The reference's first year came in the line before (as after the
  // names, "Botha, R. P. (editors). 1992.", the title to come).
  bool firstYearLast = false;
};

// How long the line's last stretch on the page was. Some extractors join
// the two lines of a word broken at a line's end into one (pdftotext's
// reading order): a line much longer than the width is then a full line
// and the start of the next, and only that start tells whether the line
// ended early.
size_t PrintedLength(u16string_view line, size_t width) {
  return line.size() * 10 > width * 12 ? line.size() - width : line.size();
}

// The rule of thumb, which the learnt weights weigh against the rest: the
// line before ends like a reference and the reference so far holds a year
// (or is long), and this line opens like a name, or the line before ended
// early.
bool RuleSaysStart(const StartContext& x) {
  if (GoesOn(x.last, x.line) || !(x.yearSoFar || x.sizeSoFar >= 100)) return false;
  const size_t firstWord = std::min(x.line.find(u' '), x.line.size());
  const bool endedEarly = x.wrapped && PrintedLength(x.last, x.width) + 1 + firstWord <= x.width;
  const Opening opening = OpensLikeReference(x.line);
  // One reference a line: the line before was a whole reference, and this
  // one looks like another.
  const bool wholeLine = !x.wrapped && x.linesSoFar == 1 && x.last.size() >= 40 && HoldsYear(x.last) &&
                         (HoldsYear(x.line) || opening != Opening::None);
  if (EndsLikeReference(x.last))
    return opening == Opening::Strong || ((endedEarly || wholeLine) && x.yearSoFar && !IsLowerAt(x.line, 0)) ||
           (opening == Opening::Weak && x.yearSoFar && HoldsYear(x.line));
  // A reference without a full stop at its end ("... New Republic").
  return opening == Opening::Strong && endedEarly && x.yearSoFar;
}

// How the line before ends.
uint16_t EndClass(u16string_view c) {
  if (EndsInLink(c)) return 12;
  const char16_t last = c.back();
  if (last == u'.') {
    const size_t space = c.find_last_of(u' ');
    const u16string_view word = c.substr(space == u16string_view::npos ? 0 : space + 1);
    if (word.size() >= 2 && IsDigit(word[word.size() - 2])) return 2;
    const bool initials = word.size() >= 2 && std::all_of(word.begin(), word.end(), [](char16_t u) {
      return u == u'.' || u == u'-' || u_isupper(u);
    });
    if (!initials) return 0;
    // One capital after a word ("Clarendon P.") may end a publisher; after
    // a comma or another initial it is a name going on.
    const u16string_view before = space == u16string_view::npos ? u16string_view() : c.substr(0, space);
    const bool lone = word.size() == 2 && !before.empty() && before.back() != u',' && before.back() != u'.';
    return lone ? 14 : 1;
  }
  if (last == u',') return 3;
  if (last == u';' || last == u':') return 4;
  if (last == u')') return 5;
  if (last == u']') return 6;
  if (IsDigit(last)) return 7;
  if (IsLowerAt(c, c.size() - 1)) return 8;
  if (u_isupper(last)) return 9;
  if (last == u'-' || last == u'\u2010' || last == u'\u2013' || last == u'\u2014') return 10;
  if (u16string_view(u"\"\u201D\u2019'\u00BB").find(last) != u16string_view::npos) return 11;
  return 13;
}
constexpr uint16_t kEndClasses = 15;

// The shape of the line's first word.
uint16_t OpenClass(u16string_view c) {
  const size_t end = NameWordEnd(c, 0);
  const u16string_view w = c.substr(0, end);
  const char16_t after = end < c.size() ? c[end] : u'\n';
  if (w.empty()) {
    if (IsDigit(c[0])) return 6;
    if (u16string_view(u"\"\u201C\u2018'\u00AB([").find(c[0]) != u16string_view::npos) return 7;
    return 8;
  }
  if (IsLowerAt(c, 0)) return 5;
  if (w.size() == 1 && after == u'.') return 4;
  if (w.size() >= 2 && std::none_of(w.begin(), w.end(), [](char16_t u) { return u_islower(u); })) return 3;
  if (after == u',') return 0;
  return after == u' ' ? 1 : 2;
}
constexpr uint16_t kOpenClasses = 9;

uint16_t Bucket(size_t n, std::initializer_list<size_t> bounds) {
  uint16_t b = 0;
  for (size_t bound : bounds) {
    if (n < bound) return b;
    ++b;
  }
  return b;
}

// The feature templates: each is a conjunction of a few of the facts
// above, and sets one weight of its own range.
std::array<uint16_t, kStartTemplates> StartFeatures(const StartContext& x) {
  const uint16_t opening = static_cast<uint16_t>(OpensLikeReference(x.line));
  const uint16_t end = EndClass(x.last);
  const uint16_t open = OpenClass(x.line);
  const uint16_t goesOn = GoesOn(x.last, x.line);
  const uint16_t year = x.yearSoFar;
  // A year in the line, early in it (as after the authors) or later.
  const uint16_t lineYear = HoldsYear(x.line.substr(0, 40)) ? 2 : HoldsYear(x.line);
  // Whether the line before ended early: the room left on it against the
  // line's first word (only wrapped text says anything by it).
  const size_t firstWord = std::min(x.line.find(u' '), x.line.size());
  const size_t used = PrintedLength(x.last, x.width) + 1 + firstWord;
  const uint16_t room = !x.wrapped ? 0 : used > x.width ? 1 : 2 + Bucket(x.width - used, {4, 12, 30});
  constexpr uint16_t kRooms = 6;
  const uint16_t size = Bucket(x.sizeSoFar, {40, 80, 150, 250, 400});
  const uint16_t lines = Bucket(x.linesSoFar, {2, 3, 4, 6});
  const uint16_t length = x.width == 0 ? 0 : Bucket(x.line.size() * 10 / x.width, {3, 6, 9});
  // Full stops so far: a reference has a few by its end.
  const uint16_t stops = Bucket(x.stopsSoFar, {1, 2, 3, 5});
  std::array<uint16_t, kStartTemplates> f{};
  uint32_t base = 0;
  size_t t = 0;
  const auto add = [&](uint32_t value, uint32_t range) {
    f[t++] = static_cast<uint16_t>(base + value);
    base += range;
  };
  add(0, 1);
  add(opening, 3);
  add(end, kEndClasses);
  add(goesOn, 2);
  add(open * 3u + lineYear, kOpenClasses * 3u);
  add(opening * kEndClasses + end, 3u * kEndClasses);
  add((opening * kRooms + room) * 2u + year, 3u * kRooms * 2);
  add((end * kRooms + room) * 2u + year, kEndClasses * kRooms * 2u);
  add((opening * 3u + lineYear) * 2u + year, 18);
  add(open * kEndClasses + end, kOpenClasses * kEndClasses);
  add((opening * 6u + size) * 2u + year, 3u * 6 * 2);
  add((end * 5u + lines) * 2u + goesOn, kEndClasses * 5u * 2);
  add((open * 4u + length) * 3u + opening, kOpenClasses * 4u * 3);
  add((open * kRooms + room) * 2u + goesOn, kOpenClasses * kRooms * 2u);
  add((opening * 5u + stops) * 2u + year, 3u * 5 * 2);
  const uint16_t rule = RuleSaysStart(x);
  add((rule * kRooms + room) * 3u + opening, 2u * kRooms * 3);
  add(rule * kEndClasses + end, 2u * kEndClasses);
  add((end * 5u + stops) * 3u + lineYear, kEndClasses * 5u * 3);
  add(((opening * kEndClasses + end) * kRooms + room) * 2u + year, 3u * kEndClasses * kRooms * 2);
  // The line after: whether this line ended early (it is a reference's
  // last), and how the next one opens.
  const size_t nextWord = std::min(x.next.find(u' '), x.next.size());
  const uint16_t last = x.next.empty() ? 3 : !x.wrapped ? 0 : PrintedLength(x.line, x.width) + 1 + nextWord <= x.width ? 2 : 1;
  const uint16_t nextOpening = x.next.empty() ? 0 : static_cast<uint16_t>(OpensLikeReference(x.next));
  add(((opening * 4u + last) * 3u + nextOpening) * 3u + lineYear, 3u * 4 * 3 * 3);
  add((end * 4u + last) * kRooms + room, kEndClasses * 4u * kRooms);
  add((open * 4u + last) * 3u + nextOpening, kOpenClasses * 4u * 3);
  add((open * kEndClasses + end) * 2u + year, kOpenClasses * kEndClasses * 2u);
  // What the reference so far still waits for: a bracket or quotation to
  // close, or the title after a year that came last.
  add((x.openSoFar * kEndClasses + end) * 3u + opening, 2u * kEndClasses * 3);
  const uint16_t yearLast = !EndsWithYear(x.last) ? 0 : x.firstYearLast ? 2 : 1;
  add((yearLast * 5u + stops) * 3u + opening, 3u * 5 * 3);
  add((yearLast * 3u + opening) * kRooms + room, 3u * 3 * kRooms);
  assert(t == kStartTemplates && base == kStartFeatures);
  return f;
}

// The weights the trainer made for these templates.
#include "reference/model/finder_weights.inc"
static_assert(std::size(kStartWeights) == kStartFeatures);

bool ByWeights(size_t, std::span<const uint16_t> features) {
  int32_t score = 0;
  for (uint16_t f : features) score += kStartWeights[f];
  return score > 0;
}

}  // namespace

u16string FoundReference::Text(u16string_view text) const {
  u16string out;
  for (const Piece& p : lines) out += text.substr(p.begin, p.end - p.begin);
  // Without the last line's end.
  if (!out.empty() && IsLineEnd(out.back())) {
    const bool crlf = out.back() == u'\n' && out.size() >= 2 && out[out.size() - 2] == u'\r';
    out.resize(out.size() - (crlf ? 2 : 1));
  }
  return out;
}

FoundReferences FindReferences(u16string_view text) { return FindReferences(text, ByWeights); }

FoundReferences FindReferences(u16string_view text, const StartDecider& decide) {
  const std::vector<Line> lines = Lines(text);
  enum class Kind : uint8_t { Blank, LeftOut, Content };
  std::vector<Kind> kind(lines.size(), Kind::Content);
  std::vector<Leading> numbers(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const u16string_view c = lines[i].content;
    if (c.empty()) kind[i] = Kind::Blank;
    else if (IsHeading(c) || IsPageMatter(c) || IsLaidOutHead(c)) kind[i] = Kind::LeftOut;
    else numbers[i] = NumberInFront(c);
  }
  const auto alone = [&](size_t i) { return numbers[i].found && numbers[i].style == Style::Alone; };

  // Running heads: the same short line again elsewhere, its page number
  // aside. Nothing but the line itself decides, so the decision is the
  // same wherever the line stands.
  // Lengths count a run of spaces as one: a layout keeps the page number
  // of "Journal of ... (2016)          2" at the margin.
  const auto spread = [](u16string_view c) {
    size_t n = 0;
    for (size_t k = 0; k < c.size(); ++k) n += !(IsBlankUnit(c[k]) && k > 0 && IsBlankUnit(c[k - 1]));
    return n;
  };
  std::unordered_map<u16string, uint32_t> seen;
  std::vector<u16string> keys(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    if (kind[i] != Kind::Content || numbers[i].found || spread(lines[i].content) > 120) continue;
    keys[i] = RunningHeadKey(lines[i].content);
    // A head names something: a line of numbers and marks alone ("(2006),
    // pp. 1675-1688") is a reference's end, which many share in shape.
    if (std::count_if(keys[i].begin(), keys[i].end(), [](char16_t u) { return u_isalpha(u); }) < 3) keys[i].clear();
    if (keys[i].size() >= 6) ++seen[keys[i]];
  }
  // A line as long as the text's longest ones is a line of a reference
  // (one cited twice), not a running head.
  size_t longest = 0;
  for (size_t i = 0; i < lines.size(); ++i)
    if (kind[i] == Kind::Content) longest = std::max(longest, spread(lines[i].content));
  // A reference cited twice repeats its neighbouring lines with it; a
  // running head stands between other lines on every page. So a line
  // seen again with the same line before it, or the same line after it
  // (the first line of a reference cited twice), is no head. The line
  // before or after is the nearest content line that nothing below may
  // leave out (no number alone, no line of numbers only, nothing that may
  // be a head or a foot): so it is the same in the references found,
  // where those lines are not.
  std::unordered_map<u16string, u16string_view> lineBeforeOf, lineAfterOf;  // by key: the first one's
  std::unordered_map<u16string, bool> beforeDiffers, afterDiffers;
  const auto stays = [&](size_t i) {
    const u16string_view c = lines[i].content;
    const bool numbersOnly = numbers[i].found && (numbers[i].style == Style::Alone ||
                                                  NumberOnly(c));
    return kind[i] == Kind::Content && !numbersOnly && !MayBeRunningHead(c);
  };
  // Without its number: the same reference cited twice in a numbered
  // list carries two numbers.
  const auto words = [&](size_t i) {
    const u16string_view c = lines[i].content;
    return numbers[i].found ? c.substr(std::min(c.find_first_not_of(kNumberMarks), c.size())) : c;
  };
  const auto lineBefore = [&](size_t i) {
    while (i > 0)
      if (stays(--i)) return words(i);
    return u16string_view();
  };
  const auto lineAfter = [&](size_t i) {
    while (++i < lines.size())
      if (stays(i)) return words(i);
    return u16string_view();
  };
  const auto compare = [](auto& firstOf, auto& differs, const u16string& key, u16string_view neighbour) {
    const auto [at, first] = firstOf.try_emplace(key, neighbour);
    if (neighbour.empty() || (!first && at->second != neighbour)) differs[key] = true;
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    if (keys[i].size() < 6 || seen[keys[i]] < 2) continue;
    compare(lineBeforeOf, beforeDiffers, keys[i], lineBefore(i));
    compare(lineAfterOf, afterDiffers, keys[i], lineAfter(i));
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (keys[i].size() >= 6 && seen[keys[i]] >= 2 && beforeDiffers[keys[i]] && afterDiffers[keys[i]] &&
        spread(lines[i].content) * 4 < longest * 3 && MayBeRunningHead(lines[i].content))
      kind[i] = Kind::LeftOut;
  }

  // Some extractors read the numbers of a list as a column of their own,
  // apart from the references ("1.", "2.", "3.", each alone on its line,
  // then the references' text), often on some pages only. Three or more
  // such numbers in a row (n, n+1, n+2 ..., in one style, with no line of
  // text between them) number nothing: they are left out, and the
  // references outside the numbering are found as in an author–year list.
  // This comes before the page numbers and heads are told from the rest,
  // which look at the line before them: that is then the line it is in
  // the references found, found again.
  {
    const auto markOnly = [&](size_t i) {
      const u16string_view c = lines[i].content;
      return kind[i] == Kind::Content && numbers[i].found && numbers[i].style != Style::Alone &&
             NumberOnly(c);
    };
    // Runs left out may join the numbers on either side of them into a
    // run (as they are in the references found, found again): the rules
    // are read again until they leave nothing more out.
    for (int pass = 0; pass < 16; ++pass) {
      bool changed = false;
      std::vector<size_t> block;  // the numbers of the run being read
      const auto leaveOut = [&] {
        if (block.size() >= 3) {
          for (size_t k : block) kind[k] = Kind::LeftOut, numbers[k] = {};
          changed = true;
        }
        block.clear();
      };
      size_t i = 0;
      for (; i < lines.size(); ++i) {
        if (kind[i] != Kind::Content) continue;
        if (!markOnly(i)) {
          if (numbers[i].found && numbers[i].style != Style::Alone) break;  // the first number that opens text
          // Only a line that stays ends the run: not a number alone (a
          // page's), nor what may be a head or a foot of the page.
          if (!alone(i) && !MayBeRunningHead(lines[i].content)) leaveOut();
          continue;
        }
        const Leading& last = block.empty() ? numbers[i] : numbers[block.back()];
        if (!block.empty() && (numbers[i].style != last.style || numbers[i].value != last.value + 1)) leaveOut();
        block.push_back(i);
      }
      leaveOut();
      // Further on, the numbers alone between two lines of text are left
      // out together, where they are three or more in a row (n, n+1 ...) and
      // a line of text without a number that surely stays comes next (the
      // references they number), not a number that opens text; any other
      // line ends them, and they stay, as numbers alone each before its
      // reference's text do ("(15)", then "BONSOR G.-E. ... 1989, 133", then
      // "(16)" and its reference). So the same numbers, found again among
      // the references, are the same run or none.
      bool consecutive = true;
      for (; i < lines.size(); ++i) {
        if (kind[i] != Kind::Content || alone(i)) continue;
        if (markOnly(i)) {
          if (!block.empty())
            consecutive = consecutive && numbers[i].style == numbers[block.back()].style &&
                          numbers[i].value == numbers[block.back()].value + 1;
          block.push_back(i);
          continue;
        }
        // What the rules below may still leave out as a head or a foot
        // (never more than 90 characters) stands among them.
        const u16string_view c = lines[i].content;
        if (c.size() <= 90 && MayBeRunningHead(c)) continue;
        const bool plain = !numbers[i].found;
        if (!(plain && consecutive)) block.clear();
        leaveOut();
        consecutive = true;
      }
      if (!changed) break;
    }
  }

  // Before the numbering, which counts the lines between its numbers:
  // numbers alone are page numbers, but a year alone after a line that
  // goes on (or has no year) ends that reference, and so does the last
  // page after a line that waits for it ("S. 101 -", "pp."). A short line
  // that may be a running head, right after a page number, is the head
  // of the new page; right before one, after a line that ends like a
  // reference, the foot of the page ("Journal of ... 412 (2021) 107185",
  // then "14").
  size_t before = SIZE_MAX, beforeThat = SIZE_MAX;
  bool afterPageNumber = false, afterFormFeed = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    // A form feed is where an extractor ends a page, and a running head
    // may be the first line after it, also inside a reference; there it
    // must carry the page number at one end, or have it on the next line,
    // or be in capitals ("Journal of Geothermal Research 89 (2013) 2"; a
    // reference's line "Oxford University Press, 2001" is no head). Lines
    // left out between the form feed and the line count as not there, and
    // the page number after it must surely be left out: the decision is
    // then the same in the references found, where those lines are not.
    if (i > 0 && lines[i - 1].contentEnd < text.size() && text[lines[i - 1].contentEnd] == u'\f') afterFormFeed = true;
    if (kind[i] == Kind::Blank) continue;
    if (afterFormFeed && kind[i] == Kind::Content && !numbers[i].found) {
      const u16string_view c = lines[i].content;
      const bool capitals = std::none_of(c.begin(), c.end(), [](char16_t u) { return u_islower(u); });
      size_t next = i + 1;
      // The page number next, with blank lines between only: a number
      // alone that is no year and that this line does not wait for
      // ("S. 101 -"), so surely left out.
      while (next < lines.size() && kind[next] == Kind::Blank) ++next;
      const bool pageNumberNext = next < lines.size() && alone(next) && kind[next] == Kind::Content &&
                                  !(IsYear(static_cast<int>(numbers[next].value)) && lines[next].content.size() == 4) &&
                                  !WaitsForPage(c);
      if (c.size() <= 70 && MayBeRunningHead(c) && (capitals || PageNumberAtAnEnd(c) || pageNumberNext)) {
        kind[i] = Kind::LeftOut;  // the line after it is as first as it was
        continue;
      }
    }
    if (kind[i] != Kind::Content) {
      afterPageNumber = false;
      continue;
    }
    const u16string_view c = lines[i].content;
    const u16string_view last = before != SIZE_MAX ? lines[before].content : u16string_view();
    if (alone(i)) {
      const bool year = IsYear(static_cast<int>(numbers[i].value)) && c.size() == 4;
      const bool pageAfter = !last.empty() && WaitsForPage(last);
      if (!pageAfter && (!year || last.empty() || (EndsLikeReference(last) && HoldsYear(last)))) {
        kind[i] = Kind::LeftOut;
        afterPageNumber = true;
        if (!last.empty() && !numbers[before].found && last.size() <= 90 && IsJournalFooter(last) &&
            beforeThat != SIZE_MAX && EndsLikeReference(lines[beforeThat].content) &&
            !GoesOn(lines[beforeThat].content, last)) {
          kind[before] = Kind::LeftOut;
          before = beforeThat, beforeThat = SIZE_MAX;
        }
        continue;
      }
    }
    if (afterPageNumber && !numbers[i].found && c.size() <= 70 && MayBeRunningHead(c)) {
      kind[i] = Kind::LeftOut;
      afterPageNumber = false;
      continue;
    }
    afterPageNumber = false;
    afterFormFeed = false;  // only a line kept ends the page's first lines
    beforeThat = before, before = i;
  }

  // The numbering, counting the lines between its numbers that may be a
  // reference's.
  std::vector<bool> counts(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) counts[i] = kind[i] == Kind::Content && !alone(i);
  const std::vector<size_t> numbering = Numbering(numbers, counts);
  std::vector<bool> start(lines.size(), false);
  for (size_t i : numbering) start[i] = true;
  // After the last number, more lines than one reference takes are
  // references without numbers (their numbers read apart and left out),
  // found as in an author–year list.
  size_t tail = 0;
  if (!numbering.empty())
    for (size_t i = numbering.back() + 1; i < lines.size(); ++i) tail += counts[i];
  const size_t lastNumbered = !numbering.empty() && tail > kMostLinesInAReference ? numbering.back() : lines.size();

  // The width the lines were wrapped at: nine lines in ten are no longer.
  std::vector<size_t> lengths;
  for (size_t i = 0; i < lines.size(); ++i)
    if (kind[i] == Kind::Content) lengths.push_back(lines[i].content.size());
  std::sort(lengths.begin(), lengths.end());
  size_t width = lengths.empty() ? 0 : lengths[lengths.size() < 10 ? lengths.size() - 1 : lengths.size() * 9 / 10];
  // Only text wrapped at that width (many lines near it) says anything by
  // a line that ends early: a reference broken by hand ends lines anywhere.
  const auto wrappedAt = [&](size_t w) {
    const size_t near = static_cast<size_t>(std::count_if(lengths.begin(), lengths.end(), [&](size_t n) { return n * 10 >= w * 8; }));
    return near >= 3 && near * 10 >= lengths.size() * 3;
  };
  bool wrapped = wrappedAt(width);
  // Lines not wrapped, most of them a whole reference (long, with a year):
  // one reference a line.
  size_t whole = 0;
  for (size_t i = 0; i < lines.size(); ++i)
    whole += kind[i] == Kind::Content && lines[i].content.size() >= 40 && HoldsYear(lines[i].content);
  const bool oneALine = !wrapped && lengths.size() >= 3 && whole * 20 >= lengths.size() * 17;
  // Some extractors join a hyphenated word's two lines into one, and
  // those long lines set the width above the wrapped ones' (pdftotext's
  // reading order joins many): where two lines in seven are as long as
  // one another, within a seventh, the longest of them is the width
  // (not in one reference a line, whose lengths say nothing of a width).
  if (!oneALine && lengths.size() >= 10) {
    size_t best = 0, top = 0;
    for (size_t i = 0, j = 0; i < lengths.size(); ++i) {
      j = std::max(j, i);
      while (j + 1 < lengths.size() && lengths[j + 1] * 7 <= lengths[i] * 8) ++j;
      if (j - i + 1 >= best) best = j - i + 1, top = lengths[j];
    }
    if (best * 7 >= lengths.size() * 2 && top < width) width = top, wrapped = wrappedAt(width);
  }

  // Hanging indents kept as spaces (pdftotext -layout): each reference's
  // first line flush, the lines after it indented. Where the flush lines
  // open like references and the indented ones mostly do not, a line
  // starts a reference when it is flush.
  const auto indent = [&](size_t i) { return static_cast<size_t>(lines[i].content.data() - text.data()) - lines[i].begin; };
  bool hanging = false;
  size_t flushIndent = SIZE_MAX;
  {
    size_t content = 0, flush = 0, indented = 0, flushOpen = 0, indentedOpen = 0;
    for (size_t i = 0; i < lines.size(); ++i)
      if (kind[i] == Kind::Content) flushIndent = std::min(flushIndent, indent(i)), ++content;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (kind[i] != Kind::Content) continue;
      const bool opens = OpensLikeReference(lines[i].content) != Opening::None;
      if (indent(i) <= flushIndent + 1) ++flush, flushOpen += opens;
      else ++indented, indentedOpen += opens;
    }
    hanging = content >= 4 && flush * 5 >= content && indented * 5 >= content && flushOpen * 2 >= flush &&
              indentedOpen * flush * 4 <= flushOpen * indented;
  }

  // Some extractors put a blank line after most lines (each line
  // of a hanging indent a box of its own). Blank lines then part nothing:
  // they are after half the lines or more (pdfminer keeps the lines of a
  // hanging indent together in some boxes only), and words broken at a
  // line's end go on after some of them ("Geologi-", "cal Association"),
  // which a blank line parting references never has before it. A word
  // broken so never ends a reference, found or found again; so the
  // references found, found again with blank lines between them, have
  // none after a blank line, and are read with their blank lines again.
  bool blankEverywhere = false;
  {
    size_t pairs = 0, parted = 0, goOn = 0;
    for (size_t i = 0, previous = SIZE_MAX; i < lines.size(); ++i) {
      if (kind[i] != Kind::Content) continue;
      if (previous != SIZE_MAX) {
        bool blank = false;
        for (size_t k = previous + 1; k < i; ++k) blank |= kind[k] == Kind::Blank && !lines[k].pageBreak;
        ++pairs, parted += blank;
        goOn += blank && BrokenWord(lines[previous].content, lines[i].content);
      }
      previous = i;
    }
    blankEverywhere = pairs >= 4 && parted * 2 >= pairs && goOn >= 2 && goOn * 16 >= parted;
  }

  // Where the references start.
  const bool numbered = !numbering.empty();
  std::vector<bool> byWeights(lines.size(), false);  // starts the weights alone made
  size_t previous = SIZE_MAX;  // the last content line
  bool blankSince = false, yearSoFar = false;
  size_t sizeSoFar = 0, linesSoFar = 0, stopsSoFar = 0;
  Openings openings;
  bool firstYearLast = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (kind[i] == Kind::Blank) {
      blankSince |= !lines[i].pageBreak && !blankEverywhere;
      continue;
    }
    if (kind[i] != Kind::Content) continue;
    const u16string_view c = lines[i].content;
    if (previous == SIZE_MAX || (oneALine && !numbered)) {
      start[i] = true;
    } else if (!numbered || i < numbering.front() || i > lastNumbered) {
      const u16string_view last = lines[previous].content;
      // After a blank line a reference starts unless the line before
      // plainly goes on; and where the weights say so, as without one: so
      // the references found, found again with blank lines between them,
      // stay the same.
      size_t after = i + 1;
      while (after < lines.size() && kind[after] != Kind::Content) ++after;
      const u16string_view next = after < lines.size() ? lines[after].content : u16string_view();
      const StartContext context{last,  c,    wrapped,         width,         yearSoFar, sizeSoFar,
                                 linesSoFar, stopsSoFar, next, openings.Open(), firstYearLast};
      // A blank line after a line that ran to the margin, before one that
      // opens like no reference, parts the lines of one reference (an
      // extractor's box for each line).
      const bool ranOn = wrapped && last.size() * 10 >= width * 8 && !EndsLikeReference(last) && OpensLikeReference(c) == Opening::None;
      const bool afterBlank = blankSince && !GoesOn(last, c) && !ranOn;
      if (numbered && previous == numbering.back() && NumberOnly(last)) {
        start[i] = false;  // the last number alone on its line ("[41]"), then its reference
      } else if (hanging) {
        start[i] = indent(i) <= flushIndent + 1;
        byWeights[i] = start[i];
      } else {
        start[i] = !OpensNoReference(c) && (afterBlank || decide(static_cast<size_t>(c.data() - text.data()), StartFeatures(context))) &&
                   !BrokenWord(last, c) && !ParticleGoesOn(last, c);
        byWeights[i] = start[i] && !afterBlank;
      }
    }
    if (start[i]) yearSoFar = false, sizeSoFar = 0, linesSoFar = 0, stopsSoFar = 0, openings = {};
    stopsSoFar += SentenceStops(c);
    openings.Add(c);
    firstYearLast = !yearSoFar && HoldsYear(c);
    yearSoFar = yearSoFar || HoldsYear(c);
    sizeSoFar += c.size();
    ++linesSoFar;
    previous = i;
    blankSince = false;
  }

  // A text whose references hold one year between them (or none; "n.d."
  // counts) is one reference broken over lines, as pasted alone ("...
  // expressions. / Ross-on-Wye, UK: PCCS Books."): the weights start no
  // reference in it. (In a list, a reference without a year stays one.)
  std::vector<bool> holdsYear(lines.size(), false);  // by the line that starts each reference
  size_t withYear = 0;
  for (size_t i = 0, current = SIZE_MAX; i < lines.size(); ++i) {
    if (kind[i] != Kind::Content) continue;
    if (start[i] || current == SIZE_MAX) current = i;
    if (!holdsYear[current] && HoldsYear(lines[i].content)) holdsYear[current] = true, ++withYear;
  }
  if (withYear <= 1)
    for (size_t i = 0; i < lines.size(); ++i)
      if (byWeights[i]) start[i] = false;
  // So is a text that holds two references only, the second started by
  // the weights after a line that does not end as a reference does (a
  // comma, or a word: "... in J. S. Mill, / Utilitarianism, London: ..."),
  // and before one that does not surely open one ("Family, I."): two
  // references pasted together end the first with its full stop, pages,
  // year or link. (A reference cut short, then a name, stays two.) Two in
  // all, not one start of the weights among others: found again, with
  // blank lines between the references, the count is the same.
  {
    size_t starts = 0, at = 0;
    for (size_t i = 0; i < lines.size(); ++i)
      if (kind[i] == Kind::Content && start[i]) ++starts, at = i;
    if (starts == 2 && byWeights[at]) {
      size_t prior = at;
      while (prior > 0 && kind[prior - 1] != Kind::Content) --prior;
      if (prior > 0 && !EndsLikeReference(lines[prior - 1].content) &&
          OpensLikeReference(lines[at].content) != Opening::Strong)
        start[at] = false;
    }
  }

  // The references and the lines left out, as runs of whole lines.
  FoundReferences out;
  const auto add = [](std::vector<Piece>& runs, const Line& l) {
    if (!runs.empty() && runs.back().end == l.begin) runs.back().end = l.end;
    else runs.push_back({l.begin, l.end});
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    if (kind[i] != Kind::Content) {
      add(out.leftOut, lines[i]);
      continue;
    }
    if (start[i] || out.references.empty()) out.references.emplace_back();
    add(out.references.back().lines, lines[i]);
  }
  return out;
}

}  // namespace tf::reference
