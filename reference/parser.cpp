#include "reference/parser.h"
#include "text/lexicon.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <optional>

#include "reference/features.h"
#include "reference/model.h"
#include "smart/rules.h"
#include "smart/smart.h"
#include "text/text.h"

namespace tf::reference {
namespace {

// Far more words than any reference has.
constexpr size_t kMostWords = 1000;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsLetterUnit(char16_t c) { return u_isalpha(c); }
bool IsDash(char16_t c) { return c == u'-' || c == u'\u2010' || c == u'\u2011' || c == u'\u2012' || c == u'\u2013' || c == u'\u2014'; }
bool IsQuote(char16_t c) {
  return c == u'"' || c == u'\'' || c == u'\u201C' || c == u'\u201D' || c == u'\u2018' || c == u'\u2019' ||
         c == u'\u00AB' || c == u'\u00BB' || c == u'\u201E' || c == u'`';
}

bool IsBullet(char16_t c) {
  return c == u'\u2022' || c == u'\u25E6' || c == u'\u2023' || c == u'\u2043' || c == u'\u25AA' || c == u'\u25A0' ||
         c == u'\u25CF' || c == u'\u00B7' || c == u'\u2219' || c == u'\u27A2' || c == u'*' || (c >= u'\uF000' && c <= u'\uF0FF');
}

// Where text ends before the spaces that come before `at`, going back no
// further than `floor`.
size_t BeforeSpaces(std::u16string_view text, size_t at, size_t floor) {
  while (at > floor && text[at - 1] == u' ') --at;
  return at;
}

// The reference on one line (line breaks and tabs as spaces), trimmed, one
// space between words: a hanging indent a list kept ("... for\n     language
// understanding") or justification's wide gaps are no part of any piece.
std::u16string TrimmedLine(std::u16string_view text) {
  const std::u16string line = smart::OneLine(text);
  std::u16string out;
  out.reserve(line.size());
  for (const char16_t c : line)
    if (c != u' ' || (!out.empty() && out.back() != u' ')) out += c;
  if (!out.empty() && out.back() == u' ') out.pop_back();
  return out;
}

// The numbers of a text, with where they stand.
struct Number {
  std::u16string digits;
  size_t begin, end;
};
std::vector<Number> Numbers(std::u16string_view s) {
  std::vector<Number> out;
  for (size_t i = 0; i < s.size();) {
    if (!IsDigit(s[i])) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < s.size() && IsDigit(s[j])) ++j;
    out.push_back({std::u16string(s.substr(i, j - i)), i, j});
    i = j;
  }
  return out;
}

// The word just before position `at`, in lower case, without marks.
std::u16string WordBefore(std::u16string_view s, size_t at) {
  size_t end = at;
  while (end > 0 && !IsLetterUnit(s[end - 1])) {
    if (IsDigit(s[end - 1])) return {};
    if (s[end - 1] == u'\u2116') return u"no";  // the numero sign, "№. 2"
    --end;
  }
  size_t begin = end;
  while (begin > 0 && IsLetterUnit(s[begin - 1])) --begin;
  return LCase(s.substr(begin, end - begin));
}

void VolumeAndIssue(Reference& r) {
  const std::u16string_view v = r.Text(r.volume);
  // An issue in brackets may hold letters ("116(B4)", "12(Suppl)").
  const size_t open = v.find(u'(');
  const size_t close = open == std::u16string_view::npos ? open : v.find(u')', open);
  if (close != std::u16string_view::npos && close > open + 1 && close - open <= 12) {
    const std::u16string_view inside = v.substr(open + 1, close - open - 1);
    const bool plain = std::all_of(inside.begin(), inside.end(), [](char16_t c) {
      return IsDigit(c) || (c < 0x80 && IsLetterUnit(c)) || c == u'-' || c == u'/' || c == u'\u2013' || c == u' ' ||
             c == u'.';
    }) && std::count(inside.begin(), inside.end(), u' ') <= 1;
    // A year in the bracket with the letter that tells two works of a year
    // apart, or before the issue's own word ("Bd. 5 (1988a), Nr. 5"), is
    // the date's. (Without either, four digits may be a weekly's issue.)
    const std::u16string after = LCase(v.substr(close + 1));
    const bool issueAfter = after.find(u"nr.") != std::u16string::npos || after.find(u"no.") != std::u16string::npos ||
                            after.find(u"heft") != std::u16string::npos;
    const bool year = ((inside.size() == 4 && issueAfter) || (inside.size() == 5 && IsLetterUnit(inside[4]))) &&
                      FirstYear(inside) == inside.substr(0, 4);
    if (plain && !year) r.issueNumber = std::u16string(inside);
  }
  const auto numbers = Numbers(v);
  for (size_t k = 0; k < numbers.size(); ++k) {
    if (!r.issueNumber.empty() && numbers[k].begin > open && numbers[k].end <= close) continue;
    const std::u16string before = WordBefore(v, numbers[k].begin);
    const bool issueWord = before == u"no" || before == u"nr" || before == u"n" || before == u"issue" ||
                           before == u"num" || before == u"number" || before == u"heft" || before == u"say\u0131" ||
                           // Turkish "C. 3, S. 1": cilt, say\u0131 (German's "S." is a page).
                           (before == u"s" && (v.starts_with(u"C. ") || v.starts_with(u"Cilt ")));
    if (issueWord && r.issueNumber.empty()) {
      r.issueNumber = numbers[k].digits;
    } else if (r.volumeNumber.empty() && !issueWord) {
      r.volumeNumber = numbers[k].digits;
    }
  }
}

// The issue's word and number where the labels gave them to no part, or
// to the date ("Bd. 5 (1988a), Nr. 5, S. 587").
void IssueInNoPiece(Reference& r, const std::vector<Token>& tokens) {
  if (!r.issueNumber.empty() || r.volumeNumber.empty()) return;
  for (size_t i = 0; i + 1 < tokens.size(); ++i) {
    const std::u16string word = LCase(tokens[i].text);
    if (word != u"nr." && word != u"no." && word != u"heft") continue;
    const std::u16string_view next = tokens[i + 1].text;
    size_t digits = 0;
    while (digits < next.size() && IsDigit(next[digits])) ++digits;
    if (digits == 0 || (digits < next.size() && next[digits] != u',' && next[digits] != u'.')) continue;
    bool free = true;
    for (const Piece* p : {&r.authors, &r.title, &r.container, &r.editors, &r.publisher, &r.place, &r.pages, &r.volume,
                           &r.note, &r.doi, &r.url})
      free = free && (p->Empty() || p->end <= tokens[i].begin || tokens[i + 1].end <= p->begin);
    if (!free) continue;
    r.issueNumber = std::u16string(next.substr(0, digits));
    return;
  }
}

// A book's length, as French and German lists end a book ("1993, 402
// p.", "224 S."): a number, then the word for pages. No pages of a part.
bool IsPageCount(std::u16string_view pages) {
  const std::vector<Token> words = Tokenize(pages);
  if (words.size() != 2 || !std::all_of(words[0].text.begin(), words[0].text.end(), IsDigit)) return false;
  std::u16string word = LCase(words[1].text);
  while (!word.empty() && (word.back() == u'.' || word.back() == u',')) word.pop_back();
  return word == u"p" || word == u"pp" || word == u"pages" || word == u"s" || word == u"seiten";
}

// Pages as a range, the last page written in full ("2231-45" is
// 2231-2245), or an article number kept whole ("e2020GL088123").
void Pages(Reference& r) {
  // A link the labels took for pages ("http://www.wired.com/news/culture/0,
  // 1284,49184,00.html") numbers no page: the pages end before it, it is
  // the link, and what follows it goes to the note.
  for (const Token& t : Tokenize(r.Text(r.pages))) {
    const std::u16string lower = LCase(t.text);
    if (lower.find(u"://") == std::u16string::npos && !lower.starts_with(u"www.")) continue;
    if (r.url.Empty()) r.url = {r.pages.begin + t.begin, r.pages.begin + t.end};
    r.pages.end = r.pages.begin + t.begin;
    while (r.pages.end > r.pages.begin && (r.text[r.pages.end - 1] == u' ' || r.text[r.pages.end - 1] == u'\n')) --r.pages.end;
    if (r.pages.Empty()) r.pages = {};
    break;
  }
  const std::u16string_view p = r.Text(r.pages);
  // An article number: letters and digits in one word, no range.
  for (const Token& t : Tokenize(p)) {
    std::u16string_view w = t.text;
    while (!w.empty() && (w.back() == u'.' || w.back() == u',' || w.back() == u';' || w.back() == u')')) w.remove_suffix(1);
    const bool digits = std::any_of(w.begin(), w.end(), IsDigit);
    const bool letters = std::any_of(w.begin(), w.end(), [](char16_t c) { return c < 0x80 && IsLetterUnit(c); });
    const bool dash = std::any_of(w.begin(), w.end(), IsDash);
    if (digits && letters && !dash && w.size() >= 4 && IsDigit(w.back()) &&
        std::all_of(w.begin(), w.end(), [](char16_t c) { return c < 0x80 && (IsDigit(c) || IsLetterUnit(c)); })) {
      r.firstPage = std::u16string(w);
      return;
    }
  }
  const auto numbers = Numbers(p);
  if (numbers.empty()) return;
  // A letter right before a page's digits is part of it ("S1-S9").
  const auto page = [&](const Number& n) {
    const size_t letter = n.begin > 0 && p[n.begin - 1] < 0x80 && IsLetterUnit(p[n.begin - 1]) &&
                                  (n.begin == 1 || !IsLetterUnit(p[n.begin - 2]))
                              ? 1
                              : 0;
    return std::u16string(p.substr(n.begin - letter, n.end - n.begin + letter));
  };
  r.firstPage = page(numbers[0]);
  r.pageCount = IsPageCount(p);
  size_t used = 1;
  if (numbers.size() > 1) {
    bool dashed = false;
    for (size_t i = numbers[0].end; i < numbers[1].begin; ++i) dashed |= IsDash(p[i]);
    if (dashed) r.lastPage = page(numbers[1]), used = 2;
  }
  // Numbers the pages do not take ("#1 $5", a second range): the piece
  // ends with the pages, so that the rest is kept in the note.
  if (numbers.size() > used) r.pages.end = r.pages.begin + numbers[used - 1].end;
  // "2231-45": the last page's missing first digits are the first page's.
  if (!r.lastPage.empty() && r.lastPage.size() < r.firstPage.size() && r.firstPage.size() <= 9 &&
      std::all_of(r.firstPage.begin(), r.firstPage.end(), IsDigit) && std::all_of(r.lastPage.begin(), r.lastPage.end(), IsDigit)) {
    std::u16string full = r.firstPage.substr(0, r.firstPage.size() - r.lastPage.size()) + r.lastPage;
    if (full > r.firstPage) r.lastPage = std::move(full);
  }
}

// Vancouver's numbers in one group: "2011;116(B4):1-12", "12(1-3):45-67",
// "38:1-12", "116(Suppl 2):S1-S9", "2011;116(3)", and as PubMed writes
// them, "2015 Jul 11;49(1): 8-15", "2009;7: 27", "2000;(3):218-26" (no
// volume). Where each part stands in the text, when `at` starts such a
// group.
struct CompactGroup {
  Piece year, volume, pages;  // the volume with its issue in brackets
  size_t end = 0;
};
std::optional<CompactGroup> ReadCompact(std::u16string_view s, size_t at) {
  CompactGroup g;
  size_t i = at;
  const auto digits = [&](size_t most) {
    const size_t from = i;
    while (i < s.size() && IsDigit(s[i]) && i - from < most) ++i;
    return i - from;
  };
  if (digits(4) == 4) {
    // The month and day between the year and its semicolon: a word of
    // letters (with a full stop or a dash: "Sep-Oct"), then a day.
    size_t j = i;
    if (j + 1 < s.size() && s[j] == u' ' && s[j + 1] < 0x80 && IsLetterUnit(s[j + 1])) {
      size_t k = j + 1;
      while (k < s.size() && k - j <= 10 && ((s[k] < 0x80 && IsLetterUnit(s[k])) || s[k] == u'.' || IsDash(s[k]))) ++k;
      if (k + 1 < s.size() && s[k] == u' ' && IsDigit(s[k + 1])) {
        ++k;
        for (int day = 0; k < s.size() && IsDigit(s[k]) && day < 2; ++day) ++k;
      }
      j = k;
    }
    // The letter that tells two works of a year apart ("1989b;3(1):29").
    if (j + 1 < s.size() && j == i && s[j] >= u'a' && s[j] <= u'z' && s[j + 1] == u';') ++j;
    if (j < s.size() && s[j] == u';') i = j;
  }
  if (i - at >= 4 && i < s.size() && s[i] == u';') {
    g.year = {at, i};
    ++i;
    while (i < s.size() && s[i] == u' ') ++i;
  } else {
    i = at;
  }
  const size_t volumeBegin = i;
  if (digits(6) == 0 && (g.year.Empty() || i >= s.size() || s[i] != u'(')) return std::nullopt;
  if (i < s.size() && s[i] == u'(') {
    // The issue: letters, digits, a range, or "Suppl 2" (one space).
    size_t j = i + 1, spaces = 0;
    while (j < s.size() && j - i <= 16 && s[j] != u')' &&
           (IsDigit(s[j]) || (s[j] < 0x80 && IsLetterUnit(s[j])) || IsDash(s[j]) || s[j] == u'/' || s[j] == u'.' ||
            (s[j] == u' ' && ++spaces == 1)))
      ++j;
    if (j >= s.size() || s[j] != u')' || j == i + 1) return std::nullopt;
    i = j + 1;
  }
  g.volume = {volumeBegin, i};
  // A year, then pages and no volume, as a chapter's ("2012;1\u201314").
  if (!g.year.Empty() && i + 1 < s.size() && IsDash(s[i]) && IsDigit(s[i + 1]) && s[i - 1] != u')') {
    ++i;
    digits(6);
    g.pages = {volumeBegin, i};
    g.volume = {};
  } else if (i < s.size() && s[i] == u':') {
    ++i;
    // PubMed's space after the colon ("2009;7: 27"), only after a year:
    // "Time 113 21 July 1986: 71-72" holds no group.
    if (!g.year.Empty() && i + 1 < s.size() && s[i] == u' ' && IsDigit(s[i + 1])) ++i;
    const size_t pagesBegin = i;
    while (i < s.size() && (IsDigit(s[i]) || IsDash(s[i]) || (s[i] < 0x80 && IsLetterUnit(s[i])))) ++i;
    while (i > pagesBegin && IsDash(s[i - 1])) --i;
    // After a year, the pages may be missing, where the colon ends the
    // reference ("1990;87:").
    const bool noPages = i == pagesBegin && !g.year.Empty() && s.find_first_not_of(u" .", i) == std::u16string_view::npos;
    if (!noPages &&
        (i == pagesBegin || !std::any_of(s.begin() + static_cast<long>(pagesBegin), s.begin() + static_cast<long>(i), IsDigit)))
      return std::nullopt;
    if (!noPages) g.pages = {pagesBegin, i};
  } else if (g.year.Empty()) {
    return std::nullopt;  // "12(3)" alone is no group of its own
  }
  // The group ends the word.
  if (i < s.size() && s[i] != u' ' && s[i] != u'.' && s[i] != u',' && s[i] != u';') return std::nullopt;
  g.end = i;
  // A year and pages after the publisher's semicolon, as AMA writes a
  // chapter ("Routledge; 2012:1-14"), or after the proceedings' name and
  // its full stop ("In: Proceedings of SIGIR. 1996:262-269."): the four
  // digits are the year.
  // Or right after the publisher's name ("New York: Routledge 2012:1-14."),
  // where no other year is written: a journal's volume of four digits
  // ("Biochim Biophys Acta 1861:123-130", its year elsewhere) stays one.
  size_t before = at;
  while (before > 0 && s[before - 1] == u' ') --before;
  const auto otherYear = [&]() {
    for (size_t k = 0; k + 4 <= s.size(); ++k) {
      if (k >= g.volume.begin && k < g.volume.end) continue;
      if ((k > 0 && IsDigit(s[k - 1])) || (k + 4 < s.size() && IsDigit(s[k + 4]))) continue;
      if (!FirstYear(s.substr(k, 4)).empty() && FirstYear(s.substr(k, 4)) == s.substr(k, 4)) return true;
    }
    return false;
  };
  if (g.year.Empty() && before > 0 &&
      (s[before - 1] == u';' || s[before - 1] == u'.' || (before < at && IsLetterUnit(s[before - 1]) && !otherYear())) &&
      !g.pages.Empty() && g.volume.end - g.volume.begin == 4) {
    int value = 0;
    for (size_t k = g.volume.begin; k < g.volume.end; ++k) value = value * 10 + (IsDigit(s[k]) ? s[k] - u'0' : 100000);
    if (IsYear(value)) g.year = g.volume, g.volume = {};
  }
  return g;
}

// The compact group read by rule wherever the labeller put it (it gives
// the whole group one label): its year, volume, issue and pages take the
// place of what other parts held of it.
void CompactNumbers(Reference& r, const std::vector<Token>& tokens) {
  for (const Token& t : tokens) {
    if (!IsDigit(t.text.empty() ? u' ' : t.text[0])) continue;
    const auto within = [&](const Piece& p) { return !p.Empty() && t.begin < p.end && p.begin < t.end; };
    // A link may hold anything: no numbers are read out of one. What the
    // labeller took for a link without a slash or "www." is none.
    const auto link = [&](const Piece& p) {
      const std::u16string_view s = r.Text(p);
      return within(p) && (s.find(u'/') != std::u16string_view::npos || s.find(u"www.") != std::u16string_view::npos);
    };
    if (within(r.title) || within(r.authors) || link(r.doi) || link(r.url) || within(r.number)) continue;
    // Law's volume before its journal ("(2014) 28:4 Hydrological Processes
    // 2427"): its colon parts the volume from the issue.
    if (within(r.volume) && r.journal && r.volume.end <= r.container.begin) continue;
    const auto g = ReadCompact(r.text, t.begin);
    if (!g) continue;
    const size_t from = t.begin, to = g->end;
    // A group that runs on into the title or the authors (spaces after
    // its semicolon, and the title's first word a number) is none: they
    // keep their words.
    const auto reaches = [&](const Piece& p) { return !p.Empty() && from < p.end && p.begin < to; };
    if (reaches(r.title) || reaches(r.authors)) continue;
    for (Piece* p : {&r.date, &r.volume, &r.pages, &r.container, &r.note, &r.publisher, &r.place, &r.edition,
                     &r.citationNumber, &r.editors, &r.doi, &r.url}) {
      if (p->Empty() || p->end <= from || to <= p->begin) continue;
      if (p->begin >= from && p->end <= to) *p = {};
      else if (p->begin < from) p->end = from;
      else p->begin = to;
      while (p->end > p->begin && (r.text[p->end - 1] == u' ' || r.text[p->end - 1] == u';')) --p->end;
      while (p->begin < p->end && r.text[p->begin] == u' ') ++p->begin;
      if (p->begin >= p->end) *p = {};
    }
    // A date with no year in it is no date: AMA's publisher before its
    // semicolon, which the labels may take for one ("de boeck; 2014:155-159").
    if (!g->year.Empty() && !r.date.Empty() && FirstYear(r.Text(r.date)).empty()) {
      if (r.publisher.Empty() && r.date.end <= from && Trim(r.Text(r.date)).ends_with(u';')) r.publisher = r.date;
      r.date = {};
    }
    if (!g->year.Empty() && r.date.Empty()) r.date = g->year;
    r.volume = g->volume;
    r.pages = g->pages;
    // A journal's last words that the labels gave to the numbers, left in
    // no piece between its name and the group ("Proc Natl Acad Sci U | S
    // A. 2015;112:..."): up to three words, the journal's.
    if (!r.container.Empty() && r.container.end < from && r.container.begin >= r.title.end) {
      size_t before = from;
      while (before > r.container.end && r.text[before - 1] == u' ') --before;
      bool free = true;
      for (const Piece* p : {&r.authors, &r.editors, &r.date, &r.note, &r.place, &r.publisher, &r.edition,
                             &r.citationNumber, &r.doi, &r.url, &r.number, &r.title})
        free = free && (p->Empty() || p->end <= r.container.end || before <= p->begin);
      // Not a sentence after the journal's or book's own full stop, nor a
      // publisher before its semicolon ("... History. Houghton-Mifflin;
      // 2006:257-263").
      const std::u16string_view gap = std::u16string_view(r.text).substr(r.container.end, before - r.container.end);
      const std::u16string_view name = Trim(r.Text(r.container));
      const size_t lastSpace = name.rfind(u' ');
      const std::u16string_view lastWord = name.substr(lastSpace == std::u16string_view::npos ? 0 : lastSpace + 1);
      const bool sentence = (name.ends_with(u'.') && lastWord.size() > 3) || name.ends_with(u';') || name.ends_with(u',') ||
                            name.ends_with(u':');
      if (free && !sentence && !Trim(gap).ends_with(u';') && std::count(gap.begin(), gap.end(), u' ') <= 3 &&
          std::any_of(gap.begin(), gap.end(), IsLetterUnit))
        r.container.end = before;
    }
    // The words right before the group, after the title, that the
    // labeller gave to no journal ("Discourse Processes 11:183-201"):
    // the journal.
    if (r.container.Empty() && !r.volume.Empty()) {
      size_t before = from;
      while (before > 0 && (r.text[before - 1] == u' ' || r.text[before - 1] == u',')) --before;
      for (Piece* p : {&r.note, &r.place, &r.publisher}) {
        if (p->Empty() || p->end != before || p->begin < r.title.end) continue;
        r.container = *p, r.journal = true;
        *p = {};
        break;
      }
      // Or words in no piece between the title and the group, where the
      // title stopped short of them ("Progeria syndromes and ageing: what
      // is the connection? Nature reviews Molecular cell biology.
      // 2010;11(8):567-578.").
      size_t begin = r.title.end;
      while (begin < before && (r.text[begin] == u' ' || r.text[begin] == u'.' || r.text[begin] == u',')) ++begin;
      bool free = begin < before;
      for (const Piece* p : {&r.authors, &r.editors, &r.date, &r.note, &r.place, &r.publisher, &r.edition,
                             &r.citationNumber, &r.doi, &r.url, &r.number})
        free = free && (p->Empty() || p->end <= begin || before <= p->begin);
      if (r.container.Empty() && !r.title.Empty() && free && u_isalpha(r.text[begin]))
        r.container = {begin, before}, r.journal = true;
    }
    return;
  }
}

// A DOI or URL found in a token, without the marks after it.
std::u16string Clean(std::u16string_view s) {
  size_t end = s.size();
  while (end > 0 && (s[end - 1] == u'.' || s[end - 1] == u',' || s[end - 1] == u';' || s[end - 1] == u')' ||
                     s[end - 1] == u']' || s[end - 1] == u'>' || IsQuote(s[end - 1])))
    --end;
  size_t begin = 0;
  while (begin < end && (s[begin] == u'(' || s[begin] == u'<' || s[begin] == u'[' || IsQuote(s[begin]))) ++begin;
  return std::u16string(s.substr(begin, end - begin));
}

void DoiAndUrl(Reference& r, const std::vector<Token>& tokens) {
  for (const auto& t : tokens) {
    const std::u16string lower = LCase(t.text);
    if (r.doiName.empty()) {
      const size_t at = lower.find(u"10.");
      if (at != std::u16string::npos && at + 4 < lower.size() && IsDigit(lower[at + 3]) &&
          lower.find(u'/', at) != std::u16string::npos && (at == 0 || !IsDigit(lower[at - 1])))
        r.doiName = Clean(t.text.substr(at));
    }
    if (r.urlText.empty() && (lower.starts_with(u"http://") || lower.starts_with(u"https://") ||
                              lower.starts_with(u"www.") || lower.starts_with(u"<http")))
      r.urlText = Clean(t.text);
  }
}

// ---- names -------------------------------------------------------------------------------

bool IsParticle(std::u16string_view w) { return lexicon::Has(lexicon::kNameParticles, w); }

// An initial: one or two letters, capitals, each perhaps with a dot
// ("J.", "J.R.", "JR", "Jr" is no initial), or letters joined by hyphens
// ("J.-S.").
bool IsInitials(std::u16string_view w) {
  // At most four letters, each with a full stop and a hyphen.
  if (w.size() > 12) return false;
  size_t letters = 0, capitals = 0, dots = 0;
  for (size_t i = 0; i < w.size();) {
    UChar32 c;
    U16_NEXT(w.data(), i, w.size(), c);
    if (u_isalpha(c)) {
      ++letters;
      capitals += u_isupper(c) != 0;
    } else if (c == u'.') {
      ++dots;
    } else if (c != u'-') {
      return false;
    }
  }
  if (letters == 0) return false;
  if (dots > 0) return letters <= 4 && (capitals == letters || letters == dots);
  return letters <= 3 && capitals == letters;
}

// A word that starts with a capital and goes on in small letters: a name
// or a title's word, never initials.
bool IsCapitalised(std::u16string_view w) { return w.size() >= 2 && u_isupper(w[0]) && u_islower(w[1]); }

// Letters and hyphens only: a word with no mark or digit on it.
bool LettersOnly(std::u16string_view w) {
  return std::all_of(w.begin(), w.end(), [](char16_t c) { return u_isalpha(c) || c == u'-'; });
}

bool IsSuffix(std::u16string_view w) {
  return w == u"Jr." || w == u"Jr" || w == u"Sr." || w == u"Sr" || w == u"II" || w == u"III" || w == u"IV";
}

// Initials as reference managers and styles want them: each letter with
// its full stop, spaced ("JR", "J.R.", "PF." and "J. R." all give "J. R.").
// Hyphenated ones ("J.-S.") stay as they are.
std::u16string Dotted(std::u16string_view initials) {
  if (initials.find(u'-') != std::u16string_view::npos) return std::u16string(initials);
  std::u16string out;
  for (size_t i = 0; i < initials.size();) {
    const size_t from = i;
    UChar32 c;
    U16_NEXT(initials.data(), i, initials.size(), c);
    if (!u_isalpha(c)) continue;
    if (!out.empty()) out += u' ';
    out += initials.substr(from, i - from);
    out += u'.';
  }
  return out;
}

// Given names with each run of initials spaced ("W.F." is "W. F.");
// names written out stay as they are.
std::u16string GivenNames(const std::vector<std::u16string_view>& words, size_t from, size_t to) {
  std::u16string out;
  for (size_t k = from; k < to; ++k) {
    if (!out.empty()) out += u' ';
    out += IsInitials(words[k]) ? Dotted(words[k]) : std::u16string(words[k]);
  }
  return out;
}

// Words that make a name an organisation's: "International Energy Agency",
// "Geological Society of America", "OpenStreetMap contributors".
bool IsOrganisationWord(std::u16string_view lower) {
  static constexpr std::array<std::u16string_view, 47> kWords = {
      u"agency", u"association", u"institute", u"institution", u"university", u"society", u"survey",
      u"organization", u"organisation", u"council", u"commission", u"committee", u"department", u"ministry",
      u"office", u"bureau", u"center", u"centre", u"foundation", u"laboratory", u"programme", u"program",
      u"service", u"services", u"corporation", u"company", u"inc.", u"ltd", u"ltd.", u"contributors", u"team", u"consortium",
      u"board", u"authority", u"administration", u"academy", u"network", u"project", u"union", u"federation",
      u"group", u"panel", u"forum", u"secretariat", u"alliance", u"coalition", u"collaboration"};
  // (And their plurals: "Centers for Disease Control", "National Academies".)
  return lexicon::Has(kWords, lower) ||
         (lower.size() > 4 && lower.ends_with(u's') && lexicon::Has(kWords, lower.substr(0, lower.size() - 1))) ||
         (lower.size() > 5 && lower.ends_with(u"ies") && lexicon::Has(kWords, std::u16string(lower.substr(0, lower.size() - 3)) + u"y"));
}

bool IsOrganisation(const std::vector<std::u16string_view>& words) {
  if (words.size() < 2) return false;
  for (size_t k = 0; k < words.size(); ++k) {
    const std::u16string lower = LCase(words[k]);
    if (IsOrganisationWord(lower)) return true;
    // "of", "for", "on" inside a name: no person's.
    if (k > 0 && k + 1 < words.size() && (lower == u"of" || lower == u"for" || lower == u"on")) return true;
  }
  return false;
}

std::u16string Join(const std::vector<std::u16string_view>& words, size_t from, size_t to) {
  std::u16string out;
  for (size_t k = from; k < to; ++k) {
    if (!out.empty()) out += u' ';
    out += words[k];
  }
  return out;
}

std::vector<std::u16string_view> Words(std::u16string_view s) {
  const auto tokens = Tokenize(s);
  std::vector<std::u16string_view> out;
  out.reserve(tokens.size());
  for (const auto& t : tokens) out.push_back(t.text);
  return out;
}

// Family name first, then given names: splits off the particles.
Person FamilyFirst(const std::vector<std::u16string_view>& family, std::u16string given) {
  Person p;
  size_t k = 0;
  std::u16string particle;
  while (k + 1 < family.size() && IsParticle(family[k])) {
    if (!particle.empty()) particle += u' ';
    particle += family[k++];
  }
  p.particle = particle;
  p.family = Join(family, k, family.size());
  p.given = std::move(given);
  return p;
}

// Given names first ("J. R. Smith", "Ludwig van Beethoven").
Person GivenFirst(const std::vector<std::u16string_view>& words) {
  size_t familyFrom = words.size() - 1;
  while (familyFrom > 1 && IsParticle(words[familyFrom - 1])) --familyFrom;
  std::vector<std::u16string_view> family(words.begin() + static_cast<long>(familyFrom), words.end());
  return FamilyFirst(family, Join(words, 0, familyFrom));
}

// A role word as the list below holds it: without the marks after it, or
// the half of a bracket the names stand in ("(P. Ng & R. Ho, Eds.).").
std::u16string_view BareRoleWord(std::u16string_view w) {
  while (!w.empty() && (w.back() == u',' || w.back() == u';' || w.back() == u':')) w.remove_suffix(1);
  if (w.ends_with(u").")) w.remove_suffix(1);
  if (!w.empty() && w.back() == u')' && w.find(u'(') == std::u16string_view::npos) w.remove_suffix(1);
  if (!w.empty() && w.front() == u'(' && w.find(u')') == std::u16string_view::npos) w.remove_prefix(1);
  return w;
}

}  // namespace

// Words that are no part of a name: roles and the like around editors.
bool IsRoleWord(std::u16string_view lower) {
  static constexpr std::array<std::u16string_view, 44> kRoles = {
      u"in", u"ed", u"eds", u"ed.", u"eds.", u"(ed.)", u"(eds.)", u"(ed)", u"(eds)", u"editor", u"editors",
      u"(editor)", u"(editors)", u"edited", u"by", u"(dir.)", u"(hrsg.)", u"hrsg.", u"(\u00E9d.)", u"(\u00E9ds.)",
      u"editor.", u"editors.", u"(coord.)", u"(comp.)", u"trans.", u"trans", u"transl.", u"translated", u"(trans.)",
      u"(trans)", u"(transl.)", u"translator", u"translators", u"(translator)", u"\u00FCbers.", u"trad.", u"(hg.)",
      u"hg.", u"(hgg.)", u"hgg.", u"(red.)", u"red.", u"(org.)", u"(orgs.)"};
  return lexicon::Has(kRoles, BareRoleWord(lower));
}

namespace {

// An editor's role alone ("editor.", "(Eds.)", "Hrsg."): a role word that
// is not a translator's, nor a word around the role ("in", "by", "edited").
bool IsEditorRoleWord(std::u16string_view lower) {
  const std::u16string_view w = BareRoleWord(lower);
  return IsRoleWord(w) && w != u"in" && w != u"by" && !w.starts_with(u"edited") && w.find(u"tr") == std::u16string_view::npos &&
         !w.starts_with(u"\u00FCbers");
}

// Whether a list of names says it is of editors.
// An editor's role in its bracket, in small letters, as it follows the
// names: "(Eds.)", "(Hrsg.)", "(dir.)", "(Org.)" ...
constexpr std::array<std::u16string_view, 15> kBracketedEditorRoles = {
    u"(ed.)",  u"(eds.)", u"(ed)",          u"(eds)",         u"(editor)", u"(editors)", u"(hrsg.)", u"(hrsg)",
    u"(hg.)", u"(\u00E9d.)", u"(\u00E9ds.)", u"(dir.)", u"(org.)",    u"(orgs.)",   u"(coord.)"};

bool HasEditorRole(std::u16string_view names) {
  // Every role below holds a bracket or "ed"/"Ed"/"ED": most lists of
  // names hold neither, and are done with at once (this runs for every
  // reference).
  bool bracketOrEd = false;
  for (size_t i = 0; i < names.size() && !bracketOrEd; ++i)
    bracketOrEd = names[i] == u'(' || ((names[i] == u'e' || names[i] == u'E') && i + 1 < names.size() &&
                                       (names[i + 1] == u'd' || names[i + 1] == u'D'));
  if (!bracketOrEd) return false;
  const std::u16string lower = LCase(names);
  for (std::u16string_view role : kBracketedEditorRoles)
    if (lower.find(role) != std::u16string::npos) return true;
  for (std::u16string_view role : {u", editor", u", editors", u" eds."})
    if (lower.find(role) != std::u16string::npos) return true;
  // AMA's "Harley B, ed.", in small letters: "Smith, Ed." is a name.
  for (std::u16string_view role : {u", ed.", u", ed,"})
    if (names.find(role) != std::u16string_view::npos) return true;
  return false;
}

// The translators among the names of editors: the names after "trans.",
// "translated by", "übers." (up to an editor's role), or before the role
// ("Richard Howard (Trans.)", "(A. Sheridan, Trans.)"). Returns the
// translators' text. What is left in `editors` stays only when it names
// an editor's role: a list of translators is no list of editors.
std::u16string TakeTranslators(std::u16string& editors) {
  const std::u16string lower = LCase(editors);
  const auto find = [&](std::initializer_list<std::u16string_view> words, size_t from) {
    std::pair<size_t, size_t> best{std::u16string::npos, 0};
    for (std::u16string_view w : words)
      for (size_t at = lower.find(w, from); at != std::u16string::npos; at = lower.find(w, at + 1)) {
        if (at > 0 && u_isalpha(lower[at - 1])) continue;
        if (at < best.first) best = {at, w.size()};
        break;
      }
    return best;
  };
  const auto marker = find({u"translated by", u"trans. by", u"trans.", u"trans)", u"transl.", u"tr. ", u"tr.)",
                            u"\u00FCbersetzt von", u"\u00FCbers. v.", u"\u00FCbers.", u"traduit par", u"trad. ", u"trad.)"},
                           0);
  if (marker.first == std::u16string::npos) return {};
  size_t end = marker.first + marker.second;
  std::u16string translators;
  size_t cutFrom = marker.first, cutTo = end;
  std::u16string_view rest = std::u16string_view(lower).substr(end);
  while (!rest.empty() && rest.front() == u' ') rest.remove_prefix(1);
  if (rest.empty() || rest.front() == u')' || lower[end - 1] == u')' || rest.front() == u',' || rest.front() == u'.') {
    // The role after the names: back to the bracket that opens them.
    const size_t open = lower.rfind(u'(', marker.first);
    const size_t from = open == std::u16string::npos ? 0 : open + 1;
    translators = editors.substr(from, marker.first - from);
    cutFrom = open == std::u16string::npos ? 0 : open;
    cutTo = lower[end - 1] == u')' ? end : std::min(lower.find(u')', end), lower.size() - 1) + 1;
    // "Philippi, Donald L. (Trans.)": the bracket holds the role alone, and
    // the names stand before it.
    if (open != std::u16string::npos && lower.find_first_not_of(u' ', from) == marker.first) {
      translators = editors.substr(0, open);
      cutFrom = 0;
    }
    while (!translators.empty() && (translators.back() == u' ' || translators.back() == u',')) translators.pop_back();
  } else {
    const auto next = find({u"ed.", u"eds.", u"edited by", u"(ed.)", u"(eds.)", u"hrsg."}, end);
    cutTo = std::min(next.first, editors.size());
    translators = editors.substr(end, cutTo - end);
  }
  editors.erase(cutFrom, cutTo - cutFrom);
  // "(J. Strachey, Ed. & Trans.)": the same names edited and translated.
  const std::u16string own = LCase(translators);
  if (own.find(u"ed.") != std::u16string::npos || own.find(u"(ed") != std::u16string::npos) {
    editors = translators;
    return translators;
  }
  const std::u16string left = LCase(editors);
  const std::vector<std::u16string_view> words = Words(left);
  const bool role = HasEditorRole(left) || std::any_of(words.begin(), words.end(), [](std::u16string_view w) {
                      return w == u"ed." || w == u"eds." || w == u"ed" || w == u"ed.," || w == u"edited" ||
                             w == u"hrsg.";
                    });
  if (!role) editors.clear();
  return translators;
}

// ---- the tool's own formats -----------------------------------------------------------

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Reads a list of names in the "Surname, I.I." form from `s`: names
// separated by ',', ';', '&' or 'and'; a surname is words of letters
// (with ' and -); initials are letters each followed by a full stop.
bool IsSurnameInitialsList(std::u16string_view s) {
  size_t i = 0;
  const auto skipSpaces = [&] {
    while (i < s.size() && IsSpace(s[i])) ++i;
  };
  const auto word = [&] {
    const size_t from = i;
    while (i < s.size() && (IsLetterUnit(s[i]) || s[i] == u'\'' || s[i] == u'\u2019' || s[i] == u'-')) ++i;
    return i > from;
  };
  for (;;) {
    skipSpaces();
    if (!word()) return false;
    for (;;) {  // more words of the surname ("van der Berg")
      const size_t at = i;
      skipSpaces();
      if (i == at || !word()) {
        i = at;
        break;
      }
    }
    skipSpaces();
    if (i >= s.size() || s[i] != u',') return false;
    ++i;
    size_t initials = 0;
    for (;;) {
      skipSpaces();
      const size_t at = i;
      while (i < s.size() && IsLetterUnit(s[i]) && i - at < 2) ++i;
      if (i == at || i >= s.size() || s[i] != u'.') {
        i = at;
        break;
      }
      ++i, ++initials;
      if (i < s.size() && s[i] == u'-') ++i;
    }
    if (initials == 0) return false;
    skipSpaces();
    if (i >= s.size()) return true;
    if (s[i] == u',' || s[i] == u';' || s[i] == u'&') {
      ++i;
      skipSpaces();
      if (i >= s.size()) return true;
    }
    if (s.substr(i).starts_with(u"and ") || s.substr(i).starts_with(u"AND ") || s.substr(i).starts_with(u"And ")) i += 4;
  }
}

}  // namespace

bool OwnFormat(std::u16string_view text) {
  if (!FirstYear(text).empty()) return false;
  const size_t semicolon = text.find(u';');
  if (semicolon != std::u16string_view::npos)
    return semicolon > 0 && IsSurnameInitialsList(text.substr(semicolon + 1));
  const size_t colon = text.find(u':');
  return colon != std::u16string_view::npos && colon > 0 && IsSurnameInitialsList(text.substr(0, colon));
}

// A bracket that opens at the k-th word and holds a date or says where the
// work stands ends a list of names, whatever the labels gave to the names
// ("Douglas, Kimberly (December 1998)", "Hartner, Marcus (forthcoming)",
// "Contassot, F. (s. d.)", "(in press)").
bool DateInBracket(const std::vector<std::u16string_view>& words, size_t k) {
  if (words[k].empty() || words[k].front() != u'(') return false;
  if (MonthOf(words[k]) != 0 || !FirstYear(words[k]).empty()) return true;
  std::u16string inside;
  for (size_t j = k; j < words.size() && j < k + 3; ++j) {
    if (j > k) inside += u' ';
    inside += LCase(words[j]);
    if (words[j].find(u')') != std::u16string_view::npos) break;
  }
  while (!inside.empty() && (inside.back() == u',' || inside.back() == u'.' || inside.back() == u';' || inside.back() == u':'))
    inside.pop_back();
  static constexpr std::u16string_view kStates[] = {
      u"(forthcoming)", u"(in press)", u"(n.d.)", u"(n. d.)", u"(s.d.)", u"(s. d.)", u"(o.j.)", u"(o. j.)",
      u"(sous presse)", u"(im druck)", u"(en prensa)", u"(in preparation)", u"(submitted)", u"(accepted)"};
  return std::find(std::begin(kStates), std::end(kStates), inside) != std::end(kStates);
}

std::vector<Person> Names(std::u16string_view text, bool& more, bool familyFirst) {
  more = false;
  // Persian and Arabic styles part Latin names with their own comma
  // ("Abbott\u060C K. W.\u060C \u0648 D. Snidal"): read as a comma.
  if (text.find(u'\u060C') != std::u16string_view::npos) {
    std::u16string commas(text);
    std::replace(commas.begin(), commas.end(), u'\u060C', u',');
    return Names(commas, more, familyFirst);
  }
  // The given names in brackets after the family name, as French
  // humanities write names ("Adang (Camilla)", "Abercrombie (N.), Hill (S.)
  // et Turner (B. S)"): read as "Family, Given". Only where every name of
  // the list is so written, its family name one word (with particles), its
  // given names written out or initials with full stops: an acronym
  // ("Department of the Navy (DON)"), a role ("(\u00E9d.)"), a pen name
  // ("C\u00E9line, Louis-Ferdinand (Louis-Ferdinand Destouches)") stay.
  if (text.find(u" (") != std::u16string_view::npos) {
    std::u16string plain;
    size_t names = 0;
    bool all = true;
    size_t from = 0;
    while (from < text.size() && all) {
      // One name: up to the next ", ", "; ", " et ", " and " or " & ".
      size_t to = text.size(), next = text.size();
      for (std::u16string_view sep : {u", ", u"; ", u" et ", u" and ", u" & "}) {
        const size_t at = text.find(sep, from);
        if (at != std::u16string_view::npos && at < to) to = at, next = at + sep.size();
      }
      std::u16string_view name = Trim(text.substr(from, to - from));
      while (name.size() >= 2 && name[name.size() - 2] == u')' && std::u16string_view(u".,;:").find(name.back()) != std::u16string_view::npos)
        name.remove_suffix(1);
      const size_t open = name.find(u" (");
      if (open == std::u16string_view::npos || !name.ends_with(u')')) {
        all = false;
        break;
      }
      const std::vector<std::u16string_view> family = Words(name.substr(0, open));
      const std::u16string_view inside = name.substr(open + 2, name.size() - open - 3);
      const std::vector<std::u16string_view> given = Words(inside);
      const bool familyOk = !family.empty() && family.size() <= 3 && u_isupper(family.back()[0]) &&
                            std::all_of(family.begin(), family.end() - 1, [](std::u16string_view w) { return IsParticle(LCase(w)); });
      const bool givenOk = !given.empty() && given.size() <= 3 && !IsRoleWord(LCase(inside)) &&
                           std::all_of(given.begin(), given.end(), [](std::u16string_view w) {
                             const bool initial = IsInitials(w) && (w.find(u'.') != std::u16string_view::npos || w.size() == 1);
                             const bool word = IsCapitalised(w) && !IsRoleWord(LCase(w));
                             return initial || word;
                           });
      if (!familyOk || !givenOk) {
        all = false;
        break;
      }
      plain += name.substr(0, open);
      plain += u", ";
      plain += inside;
      plain += text.substr(to, next - to);
      ++names;
      from = next;
    }
    if (all && names > 0) return Names(plain, more, familyFirst);
  }
  // An initial glued to the name after it ("J.Elster", "K.W.Abbott"): a
  // space after its full stop.
  for (size_t i = 1; i + 2 < text.size(); ++i) {
    if (text[i] != u'.' || !u_isupper(text[i - 1]) || !u_isupper(text[i + 1]) || !u_islower(text[i + 2])) continue;
    if (i >= 2 && text[i - 2] != u' ' && text[i - 2] != u'.' && text[i - 2] != u'-') continue;
    // (A suffix glued on stays: "J.F.Jr." is no name "Jr.".)
    if (const std::u16string_view next = text.substr(i + 1, 2); next == u"Jr" || next == u"Sr") continue;
    std::u16string spaced(text);
    spaced.insert(i + 1, 1, u' ');
    return Names(spaced, more, familyFirst);
  }
  // Names parted by slashes, as some German styles write them ("Abbott,
  // K.W. / Snidal, D.", "Hinz, A. /Katzenbach, D.", "Maren Hans / Antje
  // Ginnold"): each piece is one name, or a list of its own. A slash with
  // a space on neither side is in a word ("Writer/Director", a tag's
  // "</italic>"), unless an initial ends before it.
  if (text.find(u'/') != std::u16string_view::npos) {
    std::vector<std::u16string_view> pieces;
    size_t from = 0;
    for (size_t slash = text.find(u'/'); slash != std::u16string_view::npos; slash = text.find(u'/', slash + 1)) {
      // Or a slash after an initial's full stop, before a capital
      // ("Abbott, K.W./Snidal, D."), or before an initial ("S.S.
      // Abbas/S. Naveed").
      const bool capitalAfter = slash + 1 < text.size() && u_isupper(text[slash + 1]);
      const bool initialAfter = capitalAfter && slash + 2 < text.size() && (text[slash + 2] == u'.' || text[slash + 2] == u' ');
      const bool spaced = (slash > 0 && text[slash - 1] == u' ') || (slash + 1 < text.size() && text[slash + 1] == u' ') ||
                          (slash > 0 && text[slash - 1] == u'.' && capitalAfter) || initialAfter;
      if (!spaced) continue;
      pieces.push_back(Trim(text.substr(from, slash - from)));
      from = slash + 1;
    }
    pieces.push_back(Trim(text.substr(from)));
    if (pieces.size() >= 2 && std::all_of(pieces.begin(), pieces.end(), [](std::u16string_view p) {
          return std::any_of(p.begin(), p.end(), IsLetterUnit);
        })) {
      std::vector<Person> people;
      for (std::u16string_view p : pieces) {
        bool pieceMore = false;
        for (Person& person : Names(p, pieceMore, familyFirst)) people.push_back(std::move(person));
        more |= pieceMore;
      }
      return people;
    }
  }
  // An organisation whose name holds "and" ("National Institute for Health
  // and Care Excellence", "Department of Health & Social Care"): one name,
  // not two. Only with no comma or semicolon in it, every word capitalised
  // but the small words of a name, and an organisation's word before the
  // "and" (but not right before it).
  if (text.find_first_of(u",;") == std::u16string_view::npos) {
    std::vector<std::u16string_view> words = Words(text);
    while (!words.empty() && (words.back() == u"." || words.back() == u":")) words.pop_back();
    if (!words.empty() && (words.back().ends_with(u'.') || words.back().ends_with(u':'))) words.back().remove_suffix(1);
    size_t join = 0;
    bool organisation = false, capitalised = words.size() >= 4;
    for (size_t k = 0; k < words.size() && capitalised; ++k) {
      const std::u16string lower = LCase(words[k]);
      if (lower == u"and" || lower == u"&") {
        if (join == 0) join = k;
        continue;
      }
      if (join == 0 && IsOrganisationWord(lower)) organisation = true;
      const bool small = lower == u"of" || lower == u"for" || lower == u"the" || lower == u"on" || lower == u"in";
      capitalised = (small && k > 0) || (u_isupper(words[k][0]) && !IsInitials(words[k]));
    }
    if (capitalised && organisation && join > 0 && join + 1 < words.size()) {
      // Two, where the first name is whole before the "and" ("World Health
      // Organization and World Bank"), each as written.
      const bool two = IsOrganisationWord(LCase(words[join - 1])) && words.size() - join - 1 >= 2 &&
                       std::none_of(words.begin() + static_cast<long>(join) + 1, words.end(),
                                    [](std::u16string_view w) { return w == u"and" || w == u"&"; });
      Person first, second;
      first.literal = Join(words, 0, two ? join : words.size());
      if (!two) return {first};
      second.literal = Join(words, join + 1, words.size());
      return {first, second};
    }
  }
  // The chunks between separators: commas, semicolons, "and", "&".
  std::vector<std::vector<std::u16string_view>> chunks(1);
  std::vector<bool> afterAnd(1, false);
  // Names run together at a comma ("Dong Q,Jia H,Liu Y", "Wolf,L.W.") are
  // parted there.
  std::vector<std::u16string_view> words;
  for (std::u16string_view w : Words(text)) {
    for (size_t c = w.find(u','); c != std::u16string_view::npos && c > 0 && c + 1 < w.size(); c = w.find(u',')) {
      if (!u_isupper(w[c + 1]) || !(u_isalpha(w[c - 1]) || w[c - 1] == u'.')) break;
      words.push_back(w.substr(0, c + 1));
      w.remove_prefix(c + 1);
    }
    words.push_back(w);
  }
  for (size_t k = 0; k < words.size(); ++k) {
    std::u16string_view w = words[k];
    std::u16string lower = LCase(w);
    if (k > 0 && DateInBracket(words, k)) break;
    // A citation number left before the first name ("5- Jonathan A. Hyam",
    // "[12]"): no name starts with digits.
    if (k == 0 && !w.empty() && (IsDigit(w[0]) || ((w[0] == u'[' || w[0] == u'(') && w.size() > 1 && IsDigit(w[1])))) {
      size_t d = w[0] == u'[' || w[0] == u'(' ? 1 : 0;
      const size_t from = d;
      while (d < w.size() && IsDigit(w[d])) ++d;
      const std::u16string_view rest = w.substr(d);
      if (d - from <= 4 && (rest.empty() || rest == u"-" || rest == u"." || rest == u")" || rest == u"]" || rest == u"\u2013"))
        continue;
      // Glued to the name ("18.Onesti", "[3]Ait"): the name is what follows.
      if (d - from <= 3 && rest.size() >= 3 && (rest[0] == u'.' || rest[0] == u']' || rest[0] == u')') && u_isupper(rest[1]))
        w = rest.substr(1), lower = LCase(w);
    }
    // "et al." in other languages: Czech and Slovak "a kol.", Polish "i
    // in.", Russian "и др.", Spanish "y cols." and "y otros", Portuguese
    // "e outros" and "e colab.", Italian "e altri", French "et coll.",
    // Swedish "m.fl." (Norwegian "mfl."), Finnish "ym.".
    if (k + 1 < words.size() && (w == u"a" || w == u"i" || w == u"\u0438" || w == u"y" || w == u"et" || w == u"e")) {
      std::u16string next = LCase(words[k + 1]);
      while (!next.empty() && (next.back() == u',' || next.back() == u';' || next.back() == u':' || next.back() == u'.')) next.pop_back();
      static constexpr std::u16string_view kOthers[] = {u"kol", u"kolektiv", u"kolekt\u00EDv", u"in",   u"\u0434\u0440",
                                                        u"col", u"cols",     u"coll",             u"otros", u"outros",
                                                        u"altri", u"colab"};
      if (std::find(std::begin(kOthers), std::end(kOthers), next) != std::end(kOthers) &&
          (next != u"in" || words[k + 1].size() > 2)) {
        more = true;
        ++k;
        continue;
      }
    }
    // (And Finnish "ym.", "ynnä muut".)
    if (lower == u"m.fl." || lower == u"m.fl.," || lower == u"m.fl.:" || lower == u"mfl." || lower == u"mfl.," ||
        lower == u"mfl.:" ||
        ((lower == u"ym." || lower == u"ym.," || lower == u"ym.:") && chunks.back().empty())) {
      more = true;
      continue;
    }
    // APA's ellipsis before the last of many authors ("Boullier, A.-M., …
    // Kawabata, K."): the names between are not given, and a list with a
    // gap in it is one cut short; the names after the gap are left out,
    // as "et al." leaves them.
    if ((w == u"\u2026" || w == u"...") && !(chunks.size() == 1 && chunks.back().empty())) {
      more = true;
      break;
    }
    // "et" before "al." ("et al.", "[et al.]"); alone, French's "and"
    // ("Martin, P., et Claire Dubois").
    const bool etAl = (lower == u"et" || lower == u"[et") && k + 1 < words.size() && LCase(words[k + 1]).starts_with(u"al");
    // Chinese "\u7B49" ("and others") after the names.
    const bool deng = w == u"\u7B49" || w == u"\u7B49." || w == u"\u7B49,";
    if (etAl || deng || lower == u"al." || lower == u"al" || lower == u"al.," || lower == u"al.]") {
      more = true;
      continue;
    }
    if (lower == u"al.;" || lower == u"al.:" || lower == u"al.]," || lower == u"al.]:") {
      more = true;
      continue;
    }
    // German's "u. a.", "und andere", in small letters ("U." is an initial).
    // Right after a name too ("S.S. Abbas u. a.:"), or as one word ("u.a.").
    const auto isA = [](std::u16string_view a) { return a == u"a." || a == u"a.:" || a == u"a.," || a == u"a.;"; };
    if (w == u"u." && (chunks.back().empty() || (k + 1 < words.size() && isA(words[k + 1])))) {
      more = true;
      if (!chunks.back().empty()) ++k;
      continue;
    }
    if (w == u"u.a." || w == u"u.a.:" || w == u"u.a.," || w == u"u.a.;") {
      more = true;
      continue;
    }
    if (more && isA(w) && chunks.back().empty()) continue;
    // "and others", as OSCOLA writes "et al.".
    if ((lower == u"others" || lower == u"others," || lower == u"others.") && chunks.back().empty() && afterAnd.back()) {
      more = true;
      continue;
    }
    // (Vancouver's initials "ED" after a family name are no editor's role:
    // "Saad ED, Buyse M.")
    const bool initialsEd = (w == u"ED" || w == u"ED,") && !chunks.back().empty() && u_islower(chunks.back().back().back());
    if (IsRoleWord(lower) && !initialsEd) continue;
    // A dash alone between names, as Czech and Slovak styles part them
    // ("Abbas, S. S. \u2013 Naveed, S.:").
    if (w == u"\u2013" || w == u"\u2014" || w == u"-") {
      if (!chunks.back().empty()) chunks.emplace_back(), afterAnd.push_back(false);
      continue;
    }
    // Spanish "y" and Italian "e" in small letters: "G. E Miller" has an
    // initial E. So are Turkish "ve", Dutch "en", Swedish "och", Danish
    // and Norwegian "og", Finnish "ja", Polish "i", Czech "a", Russian "и",
    // Hungarian "és", Romanian "și" and Persian "\u0648".
    static constexpr std::u16string_view kAnd[] = {u"y",  u"e", u"et", u"ve",      u"en",       u"och",      u"og",
                                                   u"ja", u"i", u"a",  u"\u0438", u"\u00E9s", u"\u0219i", u"\u0648"};
    // French "et" set in capitals between two names ("S. Hill ET B.S.
    // Turner"), as small capitals come out; "ET" with a mark after it is a
    // Vancouver name's initials ("Smith ET,").
    const bool capitalEt = w == u"ET" && !chunks.back().empty() && k + 1 < words.size();
    const bool conjunction = lower == u"and" || lower == u"&" || lower == u"und" || capitalEt ||
                             std::find(std::begin(kAnd), std::end(kAnd), w) != std::end(kAnd);
    if (conjunction) {
      if (!chunks.back().empty()) chunks.emplace_back(), afterAnd.push_back(true);
      afterAnd.back() = true;
      continue;
    }
    // Marks around the word; a comma or semicolon after it ends the chunk.
    while (!w.empty() && (w.front() == u'(' || w.front() == u'*' || IsQuote(w.front()))) w.remove_prefix(1);
    bool ends = false;
    while (!w.empty() && (w.back() == u',' || w.back() == u';' || w.back() == u':' || w.back() == u')' ||
                          w.back() == u'*' || IsQuote(w.back()))) {
      ends |= w.back() == u',' || w.back() == u';';
      w.remove_suffix(1);
    }
    // A final full stop that is not an initial's.
    if (w.size() > 2 && w.back() == u'.' && !IsInitials(w) && !IsSuffix(w)) w.remove_suffix(1);
    // A mark left alone ("Horwitz, M., J. . (1997)") is no name; a
    // full-width comma alone parts names as a comma does.
    // (A repeated author's dash stays: it stands for names.)
    const bool markAlone = !w.empty() && std::all_of(w.begin(), w.end(), [](char16_t ch) {
      return ch == u'.' || ch == u',' || ch == u';' || ch == u':' || ch == u'\uFF0C' || ch == u'\u3001' || ch == u'\u3002';
    });
    if (!w.empty() && !markAlone) chunks.back().push_back(w);
    ends |= w == u"\uFF0C" || w == u"\u3001";
    if (ends && !chunks.back().empty()) chunks.emplace_back(), afterAnd.push_back(false);
  }
  if (chunks.back().empty()) chunks.pop_back();

  std::vector<Person> people;
  const auto initialsOnly = [](const std::vector<std::u16string_view>& c) {
    return !c.empty() && std::all_of(c.begin(), c.end(), IsInitials);
  };
  // Each name "Family, II." and the next after the full stop alone
  // ("Ferguson, JN. Aldag, JM. Insel, TR."): every chunk between the first
  // and the last is the initials of one name and the family name of the
  // next, and is read as two.
  if (chunks.size() >= 3 && chunks.front().size() == 1 && chunks.back().size() == 1 && IsInitials(chunks.back()[0]) &&
      std::all_of(chunks.begin() + 1, chunks.end() - 1, [](const std::vector<std::u16string_view>& c) {
        return c.size() == 2 && c[0].size() >= 2 && c[0].back() == u'.' && IsInitials(c[0]) && !IsInitials(c[1]) &&
               u_isupper(c[1][0]);
      }) &&
      std::none_of(afterAnd.begin(), afterAnd.end(), [](bool a) { return a; })) {
    std::vector<std::vector<std::u16string_view>> parted{chunks.front()};
    for (size_t k = 1; k + 1 < chunks.size(); ++k) parted.push_back({chunks[k][0]}), parted.push_back({chunks[k][1]});
    parted.push_back(chunks.back());
    chunks = std::move(parted);
    afterAnd.assign(chunks.size(), false);
  }
  // Names in capitals, each family name and its initials, the last
  // initial's full stop parting them with no comma ("SAGIV Y. YANNAKAKIS
  // M.", "LYONS D G. OTSU Y."), as GB/T 7714 comes out of some
  // formatters, and names with bare initials in turn: one chunk a name.
  {
    const auto noSmall = [](std::u16string_view w) {
      return std::none_of(w.begin(), w.end(), [](char16_t ch) { return u_islower(ch) != 0; });
    };
    const auto initial = [](std::u16string_view w) {
      const size_t letters = w.size() - (w.ends_with(u'.') ? 1 : 0);
      return letters == 1 && u_isupper(w[0]);
    };
    // The names in one chunk, or none where it is no such run.
    // (Or family names in small letters, one word each: "Paquette A.
    // Messier C", as some Chinese journals print names.)
    const auto split = [&](const std::vector<std::u16string_view>& c) {
      std::vector<std::vector<std::u16string_view>> names;
      if (c.size() < 4) return names;
      const bool capitals = std::all_of(c.begin(), c.end(), noSmall);
      for (size_t w = 0; w < c.size();) {
        std::vector<std::u16string_view> name;
        while (w < c.size() && !initial(c[w])) name.push_back(c[w++]);
        // (A particle before it: "Del Toro Y M".)
        const bool particle = name.size() == 2 && IsParticle(LCase(name[0]));
        if (name.empty() || w == c.size() || (!capitals && (name.size() > (particle ? 2u : 1u) || !IsCapitalised(name.back()))))
          return decltype(names){};
        while (w < c.size() && initial(c[w])) {
          name.push_back(c[w]);
          if (c[w++].ends_with(u'.')) break;
        }
        if (!name.back().ends_with(u'.') && w < c.size()) return decltype(names){};
        names.push_back(std::move(name));
      }
      if (names.size() < 2) names.clear();
      return names;
    };
    // Names given first with bare initials and no commas between, as the
    // Australian legal style writes them ("SS Abbas S Naveed F Qamar", "N
    // Abercrombie S Hill and BS Turner"): initials and a family name, in
    // turn, two names or more.
    const auto pairs = [&](const std::vector<std::u16string_view>& c) {
      std::vector<std::vector<std::u16string_view>> names;
      if (c.size() < 4 || c.size() % 2 != 0) return names;
      for (size_t w = 0; w < c.size(); w += 2) {
        const bool bare = IsInitials(c[w]) && c[w].find(u'.') == std::u16string_view::npos && noSmall(c[w]);
        if (!bare || !IsCapitalised(c[w + 1]) || IsInitials(c[w + 1])) return decltype(names){};
        names.push_back({c[w], c[w + 1]});
      }
      return names;
    };
    std::vector<std::vector<std::u16string_view>> parted;
    std::vector<bool> partedAfter;
    bool any = false;
    for (size_t k = 0; k < chunks.size(); ++k) {
      const bool after = k < afterAnd.size() && afterAnd[k];
      auto names = split(chunks[k]);
      if (names.empty()) names = pairs(chunks[k]);
      if (names.empty()) {
        parted.push_back(chunks[k]), partedAfter.push_back(after);
        continue;
      }
      any = true;
      for (size_t n = 0; n < names.size(); ++n) parted.push_back(std::move(names[n])), partedAfter.push_back(n == 0 && after);
    }
    if (any) {
      for (size_t k = chunks.size(); k < afterAnd.size(); ++k) partedAfter.push_back(afterAnd[k]);
      chunks = std::move(parted);
      afterAnd = std::move(partedAfter);
    }
  }
  // Names parted by semicolons, each "Family, Given" ("S\u00C1, Alvino
  // Augusto de; SHECAIRA, S\u00E9rgio Salom\u00E3o"): every name is written
  // family first, and each may have two or three given names.
  const bool semicolonList = [&] {
    size_t parts = 0;
    for (size_t from = 0; from <= text.size();) {
      const size_t semicolon = std::min(text.find(u';', from), text.size());
      const std::u16string_view part = Trim(text.substr(from, semicolon - from));
      if (!part.empty()) {
        if (std::count(part.begin(), part.end(), u',') != 1) return false;
        ++parts;
      }
      from = semicolon + 1;
    }
    return parts >= 2;
  }();
  const auto givenNames = [&](std::vector<std::u16string_view> c, bool firstName) {
    firstName |= semicolonList;
    // What may follow "Family," as the given names: initials, or one or two
    // capitalised words ("Jessica", "Frederick W."), and a particle after
    // them ("Alexander von"). The first name of a list may have three
    // ("Lowell, James Russell"), as the humanities write the first name
    // family first and the others given names first.
    while (c.size() > 1 && IsParticle(LCase(c.back()))) c.pop_back();
    if (initialsOnly(c)) return true;
    if (c.size() > (firstName ? 3u : 2u)) return false;
    for (auto w : c)
      if (w.empty() || !u_isupper(w[0])) return false;
    return c.size() == 1 || firstName || IsInitials(c[1]);
  };
  // One initial glued to a family name ("M.Gensollen").
  const auto gluedInitial = [](std::u16string_view w) {
    return w.size() >= 4 && u_isupper(w[0]) && w[1] == u'.' && u_isupper(w[2]) &&
           std::all_of(w.begin() + 3, w.end(), [](char16_t u) { return u_islower(u) || u == u'-' || u == u'\''; });
  };
  // A name written given names first, an initial first ("M. Bourreau",
  // "M.Gensollen").
  const auto initialFirst = [&](const std::vector<std::u16string_view>& c) {
    return (c.size() >= 2 && IsInitials(c.front()) && !IsInitials(c.back())) || (c.size() == 1 && gluedInitial(c[0]));
  };
  // Two or more such names after the first two words: the list is written
  // given names first, and "François Moreau, M. Bourreau, M.Gensollen" is
  // three names, not a family name and its given names.
  size_t initialFirstNames = 0;
  for (size_t k = 1; k < chunks.size(); ++k) initialFirstNames += initialFirst(chunks[k]);
  // A whole name with an initial between its given name and its family
  // name ("Jonathan A. Hyam"), which no family name has.
  const auto middleInitial = [](const std::vector<std::u16string_view>& c) {
    return c.size() == 3 && !IsInitials(c.front()) && IsInitials(c[1]) && !IsInitials(c.back()) && u_isupper(c.back()[0]);
  };
  // Whole names written given name first, the last after "and" ("Manfred
  // Riedel, Harald Seubert und Hanspeter Padrutt", "Colin Raffel, Noam
  // Shazeer, and Peter J. Liu"): not a family name of two words and its
  // given names.
  const auto wholeName = [](const std::vector<std::u16string_view>& c) {
    return c.size() >= 2 && c.size() <= 3 &&
           std::all_of(c.begin(), c.end(), [](std::u16string_view w) {
             return w.size() >= 2 && u_isupper(w[0]) && u_islower(w[1]) && !IsParticle(LCase(w));
           });
  };
  const bool givenFirstList = (chunks.size() >= 3 && chunks[0].size() >= 2 && initialFirst(chunks[1]) && initialFirstNames >= 2) ||
                              (chunks.size() >= 3 && wholeName(chunks[0]) &&
                               ((wholeName(chunks[1]) && chunks[1].size() == 2) || middleInitial(chunks[1])) &&
                               afterAnd[chunks.size() - 1] && (wholeName(chunks.back()) || middleInitial(chunks.back())));
  // A family name in capitals with its particles, before a comma and the
  // given names ("DE SCHAUENSEE, R. M.", "VAN DER WAALS, J. D."): the
  // particles are no initials.
  const auto capitalParticles = [&](const std::vector<std::u16string_view>& c, size_t k) {
    if (k + 1 >= chunks.size() || afterAnd[k + 1]) return false;
    const std::u16string_view family = c.back();
    if (family.size() < 3 || !std::all_of(family.begin(), family.end(), [](char16_t ch) { return !u_islower(ch); })) return false;
    for (size_t w = 0; w + 1 < c.size(); ++w)
      if (c[w].find(u'.') != std::u16string_view::npos || !IsParticle(LCase(c[w]))) return false;
    return true;
  };
  // How many words in capitals open a name that goes on in small letters:
  // "ADANG Camilla", "LE M\u00C9E Ren\u00E9", "BALZAC Josephine M.".
  const auto capitalFamily = [](const std::vector<std::u16string_view>& c, bool initialsMayBeFamily) -> size_t {
    if (c.size() < 2 || c.size() > 4) return 0;
    const auto capitals = [](std::u16string_view w) {
      size_t letters = 0;
      for (char16_t ch : w) {
        if (u_islower(ch)) return false;
        letters += u_isalpha(ch) != 0;
      }
      return letters >= 2 && u_isalpha(w[0]) && w.find(u'.') == std::u16string_view::npos;
    };
    size_t caps = 0;
    while (caps < c.size() && capitals(c[caps])) ++caps;
    // (Initials in capitals with no full stops open a name given first:
    // "RN Swanson", "KA Crutcher"; but not among family names in capitals,
    // or where every name is written family first: "ZHANG Wei, LI Ming".)
    if (caps == 0 || caps == c.size() || !IsCapitalised(c[caps]) ||
        (!initialsMayBeFamily && std::all_of(c.begin(), c.begin() + static_cast<long>(caps), IsInitials)))
      return 0;
    for (size_t w = caps; w < c.size(); ++w)
      if (!IsCapitalised(c[w]) && !IsInitials(c[w])) return 0;
    return caps;
  };
  const bool capitalFamilies = familyFirst || std::any_of(chunks.begin(), chunks.end(), [&](const auto& c) {
                                 return capitalFamily(c, false) > 0;
                               });
  // A family name in capitals before single initials ("ROY T C", "KIM S
  // K"), which no name given first has (no family name is one letter); in
  // such a list a family name of two letters is one too ("LA J").
  const auto singleInitials = [](const std::vector<std::u16string_view>& c, size_t from) {
    return std::all_of(c.begin() + static_cast<long>(from), c.end(),
                       [](std::u16string_view w) { return w.size() == 1 || (w.size() == 2 && w[1] == u'.'); });
  };
  const auto capitalsBeforeInitials = [&](const std::vector<std::u16string_view>& c, size_t shortest) {
    return c.size() >= 2 && c.front().size() >= shortest && c.front().find(u'.') == std::u16string_view::npos &&
           std::none_of(c.front().begin(), c.front().end(), [](char16_t ch) { return u_islower(ch) != 0; }) &&
           singleInitials(c, 1);
  };
  const bool capitalsThenInitials = std::any_of(chunks.begin(), chunks.end(), [&](const auto& c) {
    return c.size() >= 3 && capitalsBeforeInitials(c, 3);
  });
  for (size_t k = 0; k < chunks.size(); ++k) {
    auto c = chunks[k];
    if (c.size() == 1 && gluedInitial(c[0]) && givenFirstList) {
      Person p;
      p.given = std::u16string(c[0].substr(0, 2));
      p.family = std::u16string(c[0].substr(2));
      people.push_back(p);
      continue;
    }
    // A rank after the whole name ("Russell, Bertrand Arthur William,
    // Earl."), as the humanities cite peers: the name's, last in the list.
    const bool rank = c.size() == 1 && k + 1 == chunks.size() &&
                      (c[0] == u"Earl" || c[0] == u"Baron" || c[0] == u"Baroness" || c[0] == u"Viscount" ||
                       c[0] == u"Count" || c[0] == u"Countess" || c[0] == u"Duke" || c[0] == u"Lord" || c[0] == u"Lady");
    if (c.size() == 1 && (IsSuffix(c[0]) || rank) && !people.empty()) {
      people.back().suffix = std::u16string(c[0]);
      continue;
    }
    // "Degenhardt, Jr, J.J.": the suffix between the family name and the
    // initials.
    if (k + 2 < chunks.size() && c.size() == 1 && !afterAnd[k + 1] && chunks[k + 1].size() == 1 &&
        IsSuffix(chunks[k + 1][0]) && initialsOnly(chunks[k + 2])) {
      people.push_back(FamilyFirst(c, GivenNames(chunks[k + 2], 0, chunks[k + 2].size())));
      people.back().suffix = std::u16string(chunks[k + 1][0]);
      k += 2;
      continue;
    }
    // "Martin Luther King Jr.": the suffix after given names and family.
    std::u16string suffix;
    if (c.size() >= 3 && IsSuffix(c.back())) suffix = std::u16string(c.back()), c.pop_back();
    const size_t before = people.size();
    const bool familyWord = !c.empty() && u_isupper(c[0][0]) && std::any_of(c[0].begin(), c[0].end(), [](char16_t ch) { return u_islower(ch) != 0; });
    // (Not where initials end the name, as Vancouver's family names of two
    // words have them, "Ngan Kee WD", "Soto Laveaga G.", nor in an
    // organisation's name.)
    // Nor before a comma and initials: "Roger Boyle, D. C." is one family
    // name and its initials.
    const bool initialsNext = k + 1 < chunks.size() && !afterAnd[k + 1] && initialsOnly(chunks[k + 1]);
    if (familyFirst && c.size() >= 2 && c.size() <= 4 && familyWord && !IsParticle(LCase(c[0])) && !IsOrganisation(c) &&
        !initialsNext && std::all_of(c.begin() + 1, c.end(), IsCapitalised)) {
      // A style that writes every name family first, the given names in
      // full ("Weber Eugen", "Stortz Martha Ellen").
      people.push_back(FamilyFirst({c[0]}, GivenNames(c, 1, c.size())));
    } else if (const size_t caps = capitalFamily(c, capitalFamilies); caps > 0 && !IsOrganisation(c) && !initialsNext) {
      // The family name in capitals before the given names, no comma
      // between ("ADANG Camilla", "LE M\u00C9E Ren\u00E9"), as French and
      // Turkish styles write names. (Before a comma and initials the
      // words are all the family name's: "SCHOUTEN Michael, C.".)
      people.push_back(FamilyFirst({c.begin(), c.begin() + static_cast<long>(caps)}, GivenNames(c, caps, c.size())));
    } else if (c.size() >= 2 && IsInitials(c.back()) && !(c.size() >= 3 && IsOrganisation(c)) &&
               (!IsInitials(c.front()) || (c.size() >= 3 && IsParticle(LCase(c.front())) && !IsInitials(c[1])) ||
                (c.size() >= 3 && capitalsBeforeInitials(c, 2)) || (capitalsThenInitials && capitalsBeforeInitials(c, 2)))) {
      // Vancouver: "Smith JR", "de la Macorra JC", "DE SCHAUENSEE R M"; and
      // with the initials spaced, "Aarseth E. J." (Geochimica's style); and
      // a short family name in capitals before single initials ("ROY T C").
      size_t first = c.size() - 1;
      while (first > 1 && IsInitials(c[first - 1])) --first;
      people.push_back(FamilyFirst({c.begin(), c.begin() + static_cast<long>(first)}, GivenNames(c, first, c.size())));
    } else if (c.size() == 2 && IsInitials(c[0]) && IsInitials(c[1]) && c[0].size() >= 3 &&
               c[0].find(u'.') == std::u16string_view::npos &&
               (c[1].find(u'.') != std::u16string_view::npos || c[1].size() < c[0].size())) {
      // A short family name in capitals before its initials ("BUD R.",
      // "KAY SA."), as Brazilian styles write names: no initials first.
      people.push_back(FamilyFirst({c[0]}, GivenNames(c, 1, 2)));
    } else if (IsOrganisation(c)) {
      Person p;  // one name, as written
      p.literal = Join(c, 0, c.size());
      people.push_back(p);
    } else if (c.size() >= 2 && IsInitials(c.front()) && !capitalParticles(c, k)) {
      // "J. R. Smith".
      size_t k2 = 0;
      while (k2 + 1 < c.size() && IsInitials(c[k2])) ++k2;
      people.push_back(FamilyFirst({c.begin() + static_cast<long>(k2), c.end()}, GivenNames(c, 0, k2)));
    } else if (k + 1 < chunks.size() && !afterAnd[k + 1] && !givenFirstList && !middleInitial(c) &&
               givenNames(chunks[k + 1], people.empty()) &&
               (c.size() <= 3 || std::all_of(c.begin(), c.end(), [](auto w) { return IsParticle(w) || u_isupper(w[0]); }))) {
      // "Smith, J. R.", "Thompson, Jessica"; a particle after the given
      // names belongs to the family name ("Humboldt, Alexander von").
      std::vector<std::u16string_view> given = chunks[k + 1];
      std::vector<std::u16string_view> family;
      // A suffix after the given names ("King, D. T. Jr.").
      if (given.size() > 1 && IsSuffix(given.back())) suffix = std::u16string(given.back()), given.pop_back();
      while (given.size() > 1 && IsParticle(LCase(given.back()))) family.insert(family.begin(), given.back()), given.pop_back();
      family.insert(family.end(), c.begin(), c.end());
      people.push_back(FamilyFirst(family, GivenNames(given, 0, given.size())));
      ++k;
    } else if (c.size() >= 2 && c.size() <= 4) {
      people.push_back(GivenFirst(c));
    } else if (c.size() == 1 && k + 1 == chunks.size() && k >= 2 && !afterAnd[k] && IsInitials(c[0]) &&
               initialsOnly(chunks[k - 1]) && !people.empty() && !people.back().given.empty() &&
               people.back().literal.empty()) {
      // Initials alone at the end, after a name written family first with
      // its initials ("Horwitz, M., J."): the rest of that name's, never a
      // name. (After names given first, "F. Villa, J.D. Piette Title", they
      // open the next name, whose family name went with the title.)
      people.back().given += u' ';
      people.back().given += Dotted(c[0]);
    } else if (c.size() == 1) {
      Person p;
      p.family = std::u16string(c[0]);
      people.push_back(p);
    } else {
      Person p;  // an organisation
      p.literal = Join(c, 0, c.size());
      people.push_back(p);
    }
    if (!suffix.empty() && people.size() > before) people.back().suffix = suffix;
  }
  return people;
}

// The marks that close a quotation this one opens.
std::u16string_view ClosesOf(char16_t open) {
  switch (open) {
    case u'\u201C': return u"\u201D";
    case u'\u2018': return u"\u2019";
    case u'\u00AB': return u"\u00BB";
    case u'\u201E': return u"\u201C\u201D";
    case u'`': return u"'\u2019";
    case u'"': return u"\"";
    case u'\'': return u"'";
    default: return u"\"\u201D\u00BB\u2019'";
  }
}

std::u16string Trimmed(std::u16string_view piece, bool isTitle) {
  std::u16string s(piece);
  // Brackets the piece opens and does not close, or closes and did not
  // open, at its ends: it was cut from a bracket ("[Master's thesis,
  // University of Auckland]"). Counted once, and kept up as they go.
  std::ptrdiff_t rounds = std::count(s.begin(), s.end(), u'(') - std::count(s.begin(), s.end(), u')');
  std::ptrdiff_t squares = std::count(s.begin(), s.end(), u'[') - std::count(s.begin(), s.end(), u']');
  size_t front = 0;
  while (front < s.size() && ((s[front] == u'(' && rounds > 0) || (s[front] == u'[' && squares > 0)))
    --(s[front++] == u'(' ? rounds : squares);
  // And the mark it was cut after ("Grand Rapids, MI : Chosen Books"
  // leaves ": Chosen Books" to the publisher).
  while (front < s.size() && (s[front] == u':' || s[front] == u';' || s[front] == u',' || s[front] == u' ')) ++front;
  // A dash that parts the names from the title, as ISO 690's styles write
  // it ("BONSOR G.-E. \u2013 Expedicion ..."), opens no piece.
  if (front + 1 < s.size() && (s[front] == u'\u2013' || s[front] == u'\u2014' || s[front] == u'-') && s[front + 1] == u' ') {
    front += 2;
    while (front < s.size() && s[front] == u' ') ++front;
  }
  s.erase(0, front);
  const auto unbalanced = [&](char16_t c) { return c == u')' ? rounds < 0 : squares < 0; };
  const auto trailing = [&] {
    // Where the last word begins: found once, and again only when the
    // word before comes into play (a run of full stops is one word, so
    // the cost stays linear).
    size_t wordBegin = std::u16string::npos;
    for (;;) {
      while (!s.empty() && s.back() == u' ') s.pop_back(), wordBegin = std::u16string::npos;
      if (s.empty()) return;
      const char16_t c = s.back();
      // Nor ends one (". \u2013 Paris : C. Bourgois").
      const bool dash = (c == u'\u2013' || c == u'\u2014' || c == u'-') && s.size() >= 2 && s[s.size() - 2] == u' ';
      if (c == u',' || c == u';' || c == u':' || dash || ((c == u')' || c == u']') && unbalanced(c))) {
        if (c == u')' || c == u']') ++(c == u')' ? rounds : squares);
        s.pop_back();
        wordBegin = std::u16string::npos;
        continue;
      }
      if (c == u'.') {
        // The full stop of a final initial stays ("Dweck, C."), and that of
        // a piece of one abbreviation ("s.l.", "M."); not that of a piece
        // of one word ("IEA.").
        if (wordBegin == std::u16string::npos || wordBegin >= s.size()) {
          wordBegin = s.size() - 1;
          while (wordBegin > 0 && s[wordBegin - 1] != u' ' && s[wordBegin - 1] != u',') --wordBegin;
        }
        const size_t b = wordBegin;
        const std::u16string_view last = std::u16string_view(s).substr(b);
        const bool abbreviation = last.size() == 2 || last.substr(0, last.size() - 1).find(u'.') != std::u16string_view::npos;
        if (!isTitle && (((b > 0 || abbreviation) && IsInitials(last)) || ((last == u"al." || last == u"al.,") && b >= 3 && s.compare(b - 3, 3, u"et ") == 0)))
          return;
        s.pop_back();
        continue;
      }
      return;
    }
  };
  trailing();
  // Where a quotation mark in [from, to) closes a quoted word: before a
  // space, a mark or the end (an apostrophe in a word does not).
  const auto closesIn = [&](size_t from, size_t to, std::u16string_view marks) {
    for (size_t at = from; at < to; ++at)
      if (marks.find(s[at]) != std::u16string_view::npos && (at + 1 == s.size() || !u_isalnum(s[at + 1]))) return true;
    return false;
  };
  // Quotation marks at both ends are the title's own when the first one's
  // close is the last: marks that open and close alike (' ") must not
  // close a quoted word inside ("'Inherent' ideology in 'context'");
  // others are counted, so that quotes inside quotes stay ("\u2018The
  // \u2018Arab Spring\u2019: Some Observations\u2019"). TeX's doubled marks
  // ("``Telnet Encryption Option,''") go as one.
  const auto ownPair = [&] {
    const char16_t open = s.front(), close = s.back();
    size_t opens = 1, closes = 1;
    while (opens < s.size() && s[opens] == open) ++opens;
    while (closes < s.size() && s[s.size() - 1 - closes] == close) ++closes;
    const size_t doubled = std::min(opens, closes);
    if (2 * doubled >= s.size()) return false;
    const size_t innerBegin = doubled, innerEnd = s.size() - doubled;
    if (open == close) return !closesIn(innerBegin, innerEnd, std::u16string_view(&close, 1));
    int depth = 1;
    for (size_t at = innerBegin; at < innerEnd; ++at) {
      if (s[at] == open) ++depth;
      else if (s[at] == close && (at + 1 == s.size() || !u_isalnum(s[at + 1])) && --depth == 0) return false;
    }
    return true;
  };
  if (isTitle && s.size() >= 2 && IsQuote(s.front()) && IsQuote(s.back())) {
    const char16_t open = s.front(), close = s.back();
    if (ownPair()) {
      s = s.substr(1, s.size() - 2);
      trailing();
      if (s.size() >= 2 && s.front() == open && s.back() == close) {
        s = s.substr(1, s.size() - 2);
        trailing();
      }
    }
  } else if (isTitle && !s.empty() && IsQuote(s.front()) && !closesIn(1, s.size(), ClosesOf(s.front()))) {
    // A quotation the title opens and never closes: cut off after it.
    s.erase(0, 1);
  }
  // French quotation marks stand apart from the words: "\u00AB Les sources \u00BB".
  if (isTitle) s.erase(0, std::min(s.size(), s.find_first_not_of(u' ')));
  return s;
}

std::u16string InitialsInCapitals(std::u16string_view authors) {
  std::u16string s(authors);
  for (size_t i = 0; i < s.size(); ++i) {
    // A letter standing alone before a full stop: after a space, the start,
    // a dot or a hyphen.
    if (!(i + 1 < s.size() && s[i + 1] == u'.')) continue;
    if (i > 0 && s[i - 1] != u' ' && s[i - 1] != u'.' && s[i - 1] != u'-' && s[i - 1] != u',') continue;
    s[i] = UpperUnit(s[i]);
  }
  return s;
}

namespace {

// Where the first of the marks stands in text from `from` on, and where it
// ends (the earlier mark in the list where two begin together); at is
// npos when none is there.
struct MarkAt {
  size_t at = std::u16string_view::npos, end = 0;
};

MarkAt FirstMark(std::u16string_view text, size_t from, std::initializer_list<std::u16string_view> marks) {
  MarkAt first;
  for (std::u16string_view mark : marks)
    if (const size_t at = text.find(mark, from); at != std::u16string_view::npos && at < first.at) first = {at, at + mark.size()};
  return first;
}

// Whether there are names and each is a person's, a family name with
// initials in capitals (Vancouver's "Jones K, Brown P").
bool AllWithInitials(const std::vector<Person>& people) {
  return !people.empty() && std::none_of(people.begin(), people.end(), [](const Person& p) {
    return !p.literal.empty() || p.family.empty() || p.given.empty() || p.given.size() > 8 ||
           std::any_of(p.given.begin(), p.given.end(), [](char16_t c) { return u_islower(c); });
  });
}

// China's national standard for references (GB/T 7714) marks the kind of
// work in brackets right after the title: "[J]" a journal's article,
// "[M]" a book, "[C]" a conference's, "[D]" a thesis, "[R]" a report,
// "[S]" a standard, "[EB/OL]" a web page ("/OL" for one online).
// Where the first such mark stands after `from` (the "[" of it), and its
// kind; npos when there is none. The mark is glued to the title's last
// word or a space after it, and a full stop, a comma, "//" or the end
// follows it (not a word: "Vitamin [C] in plasma" is a title's).
struct GbMark {
  size_t at = std::u16string_view::npos, end = 0;
  Type type = Type::Other;
};

GbMark FindGbMark(std::u16string_view text, size_t from) {
  static constexpr std::pair<std::u16string_view, Type> kMarks[] = {
      {u"J", Type::Article},  {u"M", Type::Book},      {u"C", Type::Paper},   {u"D", Type::Thesis},
      {u"R", Type::Report},   {u"S", Type::Standard},  {u"A", Type::Chapter}, {u"G", Type::Book},
      {u"N", Type::Article},  {u"EB", Type::Web},      {u"DB", Type::Dataset}, {u"DS", Type::Dataset},
      {u"Z", Type::Other},    {u"P", Type::Other},     {u"CP", Type::Other}};
  for (size_t at = text.find(u'[', from); at != std::u16string_view::npos; at = text.find(u'[', at + 1)) {
    const size_t close = text.find(u']', at);
    if (close == std::u16string_view::npos || close - at > 6 || at == 0) continue;
    std::u16string_view code = text.substr(at + 1, close - at - 1);
    if (code.ends_with(u"/OL")) code.remove_suffix(3);
    const auto* mark = std::find_if(std::begin(kMarks), std::end(kMarks), [&](const auto& m) { return m.first == code; });
    if (mark == std::end(kMarks)) continue;
    // After a word (glued, or a space between), before a mark or the end.
    const size_t before = text[at - 1] == u' ' && at >= 2 ? at - 2 : at - 1;
    if (!u_isalnum(text[before]) && !IsQuote(text[before]) && text[before] != u'?' && text[before] != u')') continue;
    if (close + 1 < text.size() && std::u16string_view(u".,/").find(text[close + 1]) == std::u16string_view::npos) continue;
    return {at, close + 1, mark->second};
  }
  return {};
}

// The title ends at its GB/T 7714 mark ("... lower crust[J]. Science,
// 2007"), which no other part holds either.
void GbMarkEndsTitle(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  const GbMark mark = FindGbMark(text, r.title.begin);
  if (mark.at == std::u16string_view::npos || mark.at > r.title.end + 2) return;
  size_t after = mark.end;
  while (after < text.size() && (text[after] == u'.' || text[after] == u',' || text[after] == u' ')) ++after;
  if (r.title.end > mark.at) {
    size_t end = mark.at;
    while (end > r.title.begin && text[end - 1] == u' ') --end;
    if (end == r.title.begin) return;
    // The words after the mark that the title took are the next part's
    // (a publisher's place after a book's "[M]. ").
    r.title.end = end;
  }
  for (Piece* p : {&r.citationNumber, &r.authors, &r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.publisher,
                   &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number})
    if (!p->Empty() && p->begin >= mark.at && p->begin < after) {
      p->begin = after;
      if (p->begin >= p->end) *p = {};
    }
  // Proceedings after "//" run to their full stop, a year in their name
  // too ("[C]//Proc. 1994 Winter USENIX Conference. 1994: 115",
  // "[C]//2013 IEEE international conference on ... (HST). 2013: 236"):
  // the date is the year after them.
  if (mark.type == Type::Paper && text.substr(mark.end, 2) == u"//" && !r.container.Empty()) {
    const size_t from = mark.end + 2;
    // Their full stop is the one before the year.
    const auto yearAt = [&](size_t at) {
      return at + 4 <= text.size() && std::all_of(text.begin() + at, text.begin() + at + 4, IsDigit) &&
             (at + 4 == text.size() || std::u16string_view(u":,.;").find(text[at + 4]) != std::u16string_view::npos);
    };
    size_t stop = text.find(u". ", from);
    while (stop != std::u16string_view::npos && stop - from < 300 && !yearAt(stop + 2)) stop = text.find(u". ", stop + 2);
    if (stop != std::u16string_view::npos && stop - from < 300 && r.container.begin >= from && r.container.begin < stop) {
      r.container = {from, stop};
      if (r.date.Empty() || r.date.begin < stop) r.date = {stop + 2, stop + 6};
    }
  }
  // A part of a book, "[M]//Jones K, Brown P, ed. Handbook of ...": the
  // names before the book's first full stop are its editors.
  if (text.substr(mark.end, 2) != u"//" || r.container.Empty()) return;
  const size_t from = mark.end + 2;
  size_t stop = text.find(u". ", from);
  // Names in capitals each end at their last initial's full stop
  // ("[M]//SMITH M J. DUNCAN R. Critical Approaches"): the names run on
  // while the next part is such a name too.
  const auto capitalName = [](std::u16string_view part) {
    const std::vector<std::u16string_view> words = Words(part);
    return words.size() >= 2 && words.size() <= 5 && words.back().size() == 1 && u_isupper(words.back()[0]) &&
           words.front().size() >= 2 &&
           std::all_of(words.begin(), words.end(), [](std::u16string_view w) {
             return std::none_of(w.begin(), w.end(), [](char16_t ch) { return u_islower(ch) != 0 || IsDigit(ch); });
           });
  };
  bool capitals = false;
  for (size_t part = from; stop != std::u16string_view::npos && capitalName(text.substr(part, stop - part));) {
    const size_t next = text.find(u". ", stop + 2);
    if (next == std::u16string_view::npos || !capitalName(text.substr(stop + 2, next - stop - 2))) break;
    part = stop + 2;
    stop = next;
    capitals = true;
  }
  if (stop == std::u16string_view::npos || r.container.begin > from || r.container.end <= stop + 2) return;
  std::u16string_view names = text.substr(from, stop - from);
  for (std::u16string_view role : {u", eds", u", ed"})
    if (names.ends_with(role)) names.remove_suffix(role.size());
  if (names.empty() || std::any_of(names.begin(), names.end(), [&](char16_t c) { return IsDigit(c) || (c == u'.' && !capitals); }))
    return;
  bool more = false;
  if (!AllWithInitials(Names(names, more))) return;
  if (!r.editors.Empty() && r.editors.begin < stop && r.editors.end > from) return;
  r.editors = {from, stop + 1};
  r.container.begin = stop + 2;
}

// A full stop and a dash after the title, as ISO 690's styles and some
// journals part a reference's parts ("Les fleurs du mal. \u2013 Livre de
// poche, Paris 1857.", "The Social Question. \u2013 In: On Revolution.",
// "Nonlinear Filters. \u2013 IEEE Aerospace ... 20: 57\u201371"): the title
// ends there, and what the labels gave it after the dash is the book
// after "In:", the journal before a volume, or else the publisher.
void DashEndsTitle(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  size_t stop = std::u16string_view::npos;
  for (size_t i = r.title.begin + 1; i + 3 < r.title.end; ++i)
    if (text[i] == u'.' && text[i + 1] == u' ' && (text[i + 2] == u'\u2013' || text[i + 2] == u'\u2014') && text[i + 3] == u' ') {
      // Not an abbreviation's full stop, as in a span of dates ("31 av.
      // J.-C. \u2013 235 apr. J.-C.").
      size_t word = i;
      while (word > r.title.begin && text[word - 1] != u' ') --word;
      const std::u16string_view w = text.substr(word, i - word);
      if (w.size() < 3 || w.find(u'.') != std::u16string_view::npos) continue;
      stop = i;
      break;
    }
  if (stop == std::u16string_view::npos) return;
  size_t rest = stop + 4;
  while (rest < r.title.end && text[rest] == u' ') ++rest;
  const size_t oldEnd = r.title.end;
  r.title.end = stop;
  if (rest >= oldEnd) return;
  for (std::u16string_view in : {u"In: ", u"In ", u"\u0412: ", u"V: ", u"W: ", u"dans "}) {
    if (text.substr(rest, in.size()) != in) continue;
    if (r.container.Empty() && rest + in.size() < oldEnd) r.container = {rest + in.size(), oldEnd}, r.journal = false;
    return;
  }
  if (r.container.Empty() && !r.volume.Empty() && r.volume.begin >= oldEnd) {
    r.container = {rest, oldEnd};
    r.journal = true;
  } else if (r.publisher.Empty() && r.container.Empty()) {
    r.publisher = {rest, oldEnd};
  }
}

// Vancouver's year and its semicolon, as NLM's styles write the journal's
// "1994;4:409" or the publisher's "Routledge; 2012.": styles that write
// every name family first ("Weber Eugen", "Jenkins Henry").
bool VancouverYear(std::u16string_view text) {
  for (size_t at = text.find(u';'); at != std::u16string_view::npos; at = text.find(u';', at + 1)) {
    // "Publisher; 2012" and "Journal 1994;4".
    size_t after = at + 1;
    while (after < text.size() && text[after] == u' ') ++after;
    const bool yearAfter = after + 4 <= text.size() && std::all_of(text.begin() + after, text.begin() + after + 4, IsDigit) &&
                           (after + 4 == text.size() || std::u16string_view(u".;:").find(text[after + 4]) != std::u16string_view::npos) &&
                           (text[after] == u'1' || text[after] == u'2');
    const bool yearBefore = at >= 5 && std::all_of(text.begin() + at - 4, text.begin() + at, IsDigit) && !IsDigit(text[at - 5]) &&
                            after < text.size() && IsDigit(text[after]) && after == at + 1;
    if (yearAfter || yearBefore) return true;
  }
  return false;
}

// A journal cited with no title, as chemistry's styles do ("M. E.
// Stortz, Word & World, 1994, 4, 409."): the names, then a piece, the
// year with its comma, the volume and the pages. The piece is the
// journal's, whatever the labels took it for.
void JournalYearVolumeNoTitle(Reference& r) {
  if (!r.container.Empty() || r.authors.Empty() || r.date.Empty() || r.volume.Empty() || r.pages.Empty()) return;
  const std::u16string_view text = r.text;
  const std::u16string_view year = Trim(r.Text(r.date));
  if (year.size() != 5 || year.back() != u',' || !IsDigit(year[0])) return;
  if (r.volume.begin < r.date.end || r.pages.begin < r.volume.end ||
      !Trim(text.substr(r.date.end, r.volume.begin - r.date.end)).empty() ||
      !Trim(text.substr(r.volume.end, r.pages.begin - r.volume.end)).empty())
    return;
  for (Piece* p : {&r.title, &r.publisher, &r.place, &r.note}) {
    if (p->Empty() || p->begin < r.authors.end || p->end > r.date.begin) continue;
    if (!Trim(text.substr(r.authors.end, p->begin - r.authors.end)).empty() ||
        Trim(text.substr(p->end, r.date.begin - p->end)).find_first_not_of(u",") != std::u16string_view::npos)
      continue;
    // The only piece between the names and the year.
    for (const Piece* q : {&r.title, &r.publisher, &r.place, &r.note, &r.editors, &r.edition})
      if (q != p && !q->Empty() && q->begin >= r.authors.end && q->end <= r.date.begin) return;
    r.container = *p;
    r.journal = true;
    *p = {};
    return;
  }
}

// No date found, and a year taken for the volume before a book's pages
// ("Penguin Books, 1963:59\u2013114", as AMA's styles write a chapter,
// "In: Proceedings of SIGIR., 1996:262"): the year, where a publisher, a
// place or a book says the work is a book's.
void YearTakenForVolume(Reference& r) {
  const bool book = !r.publisher.Empty() || !r.place.Empty() || (!r.container.Empty() && !r.journal);
  if (!r.date.Empty() || r.volume.Empty() || !book) return;
  const std::u16string_view volume = Trim(r.Text(r.volume));
  if (volume.size() != 4 || !std::all_of(volume.begin(), volume.end(), IsDigit)) return;
  const int year = (volume[0] - u'0') * 1000 + (volume[1] - u'0') * 100 + (volume[2] - u'0') * 10 + (volume[3] - u'0');
  if (year < 1600 || year > 2099) return;
  r.date = r.volume;
  r.volume = {};
}

// The book or proceedings a part is in ends at its own GB/T 7714 mark
// ("[A]. Proceedings of SIGIR[C]. 1996", "见: Editors. Book[M]. Place"),
// and "见" ("in") opens no book.
void GbMarkEndsContainer(Reference& r) {
  if (r.container.Empty()) return;
  const std::u16string_view text = r.text;
  const GbMark mark = FindGbMark(text, r.container.begin);
  if (mark.at == std::u16string_view::npos || mark.at <= r.container.begin || mark.at > r.container.end + 1) return;
  size_t end = mark.at;
  while (end > r.container.begin && text[end - 1] == u' ') --end;
  if (end > r.container.begin) r.container.end = end;
  for (std::u16string_view in : {u"\u89C1: ", u"\u89C1:", u"\u89C1\uFF1A"})
    if (text.substr(r.container.begin, in.size()) == in && r.container.begin + in.size() < r.container.end) r.container.begin += in.size();
  // The book's editors between "\u89C1:" and the book ("[A]. \u89C1: B.
  // Harley. The Development of ..."), where no piece holds them as such.
  if (r.title.Empty() || !r.editors.Empty()) return;
  const size_t in = text.substr(0, r.container.begin).rfind(u"\u89C1");
  if (in == std::u16string_view::npos || in < r.title.end) return;
  size_t from = in + 1;
  while (from < r.container.begin && (text[from] == u':' || text[from] == u'\uFF1A' || text[from] == u' ')) ++from;
  size_t to = r.container.begin;
  while (to > from && (text[to - 1] == u' ' || text[to - 1] == u',')) --to;
  if (to <= from || to - from > 200) return;
  bool more = false;
  const std::u16string_view names = text.substr(from, to - from);
  if (!AllWithInitials(Names(names, more))) return;
  if (!r.authors.Empty() && r.authors.begin >= from && r.authors.end <= to) r.authors = {};
  r.editors = {from, to};
}

// A standard's designation: the body's initials, then its number, as in
// "ISO 8601-1:2019", "ISO/IEC 27001", "IEEE Std 802.11-2016", "ASTM
// D2487-17", "DIN EN ISO 9001", "BS 7671".
// Returns where the first one begins, or npos.
size_t StandardAt(std::u16string_view text) {
  static constexpr std::array<std::u16string_view, 12> kBodies = {u"ISO",  u"ISO/IEC", u"IEC", u"IEEE Std", u"ANSI", u"ASTM",
                                                                  u"DIN",  u"BS",      u"EN",  u"NF",       u"JIS",  u"AS/NZS"};
  // Only where a word of capitals begins: one look at each character.
  for (size_t at = 0; at + 3 < text.size(); ++at) {
    if (text[at] < u'A' || text[at] > u'Z' || (at > 0 && (u_isalnum(text[at - 1]) || text[at - 1] == u'/'))) continue;
    for (std::u16string_view body : kBodies) {
      if (text.substr(at, body.size()) != body) continue;
      size_t i = at + body.size();
      if (i >= text.size() || text[i] != u' ') continue;
      ++i;
      if (i < text.size() && u_isupper(text[i]) && i + 1 < text.size() && IsDigit(text[i + 1])) ++i;  // ASTM D2487
      if (i < text.size() && IsDigit(text[i])) return at;
    }
  }
  return std::u16string_view::npos;
}

bool IsStandard(std::u16string_view text) { return StandardAt(text) != std::u16string_view::npos; }

// The kind of work, from the words that name it ("thesis", "[Data set]",
// "Technical Report", a standard's designation) and else from the pieces
// found: a journal, a book or proceedings the work is in, a publisher, a
// link alone.
// Whether any of the words is in the text: one walk through it, which looks
// further only where one of the words' first two characters stand (a walk
// per word was a few per cent of parsing a reference).
bool ContainsAny(std::u16string_view text, std::initializer_list<std::u16string_view> words) {
  // Bit (a % 64) * 64 + b % 64: a word may begin with a, then b.
  std::array<std::uint64_t, 64> pairs{};
  for (const auto w : words) {
    if (w.size() < 2) return std::any_of(words.begin(), words.end(), [&](auto v) { return text.find(v) != text.npos; });
    pairs[w[0] % 64] |= std::uint64_t{1} << (w[1] % 64);
  }
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (!(pairs[text[i] % 64] >> (text[i + 1] % 64) & 1)) continue;
    for (const auto w : words)
      if (text.substr(i).starts_with(w)) return true;
  }
  return false;
}

Type KindOfWork(const Reference& r) {
  // A GB/T 7714 mark says which kind. An article's "[J]" is read from the
  // pieces as any other, for some write it for a conference's paper; and
  // a work in a book or proceedings is a chapter or a paper whatever its
  // mark (some styles write "[D]" for those too).
  if (const GbMark mark = FindGbMark(r.text, r.title.Empty() ? 0 : r.title.begin);
      mark.at != std::u16string_view::npos && mark.type != Type::Other && mark.type != Type::Article &&
      (r.container.Empty() || mark.type == Type::Paper || mark.type == Type::Chapter))
    return mark.type;
  const std::u16string all = LCase(r.text);
  const auto hasAny = [&](std::initializer_list<std::u16string_view> words) { return ContainsAny(all, words); };
  if (hasAny({u"thesis", u"dissertation", u" diss.", u"ph.d.", u"phd ", u"doctoral", u"master's", u"master\u2019s",
              u"diplomarbeit", u"th\u00E8se", u"tesis ", u"tesis)", u"tesis]", u"habilitationsschrift"}))
    return Type::Thesis;
  // Data sets: said so, or kept by a data repository.
  if (hasAny({u"[data set]", u"[dataset]", u"[data]", u"(data set)", u"(dataset)"}) ||
      r.doiName.starts_with(u"10.5281/") || r.doiName.starts_with(u"10.5061/") || r.doiName.starts_with(u"10.1594/") ||
      r.doiName.starts_with(u"10.6084/") || r.doiName.starts_with(u"10.7910/") || r.doiName.starts_with(u"10.15468/"))
    return Type::Dataset;
  // Software, said so: no book whatever its publisher ("[Computer
  // software]. GitHub."); a web page where it has a link.
  if (hasAny({u"[computer software]", u"[software]", u"[computer program]"}) && r.container.Empty())
    return r.urlText.empty() ? Type::Other : Type::Web;
  // A meeting's proceedings written as a journal, with no volume ("Proc.
  // 1994 Winter USENIX Conference, 115-131."), is a conference paper; one
  // with a volume, or a society's, a journal ("Proceedings of the National
  // Academy of Sciences, 112, ...", "Proceedings of the Royal Society B,
  // 20122071").
  const auto meeting = [&] {
    const std::u16string c = LCase(r.Text(r.container));
    return std::any_of(lexicon::kMeetingWords.begin(), lexicon::kMeetingWords.end(),
                       [&](std::u16string_view w) { return c.find(w) != std::u16string::npos; });
  };
  // APA's paper or poster given at a meeting ("Paper presented at Journ\u00E9e
  // de Paroles sans Fronti\u00E8re, Paris"), whatever the meeting's name.
  if (hasAny({u"paper presented at", u"poster presented at", u"presented at the"})) return Type::Paper;
  const auto society = [&] {
    const std::u16string c = LCase(r.Text(r.container));
    return ContainsAny(c, {u"academy", u"society", u"royal", u"academia"});
  };
  // A "journal" with no volume, issue or pages, and a publisher after it,
  // is the series a book came out in ("Paul's First Letter to Corinth. The
  // Pelican New Testament Commentaries. Harmondsworth: Penguin Books,
  // 1971.").
  const bool numbered = !r.volumeNumber.empty() || !r.issueNumber.empty();
  if (r.journal && !numbered && r.firstPage.empty() && !r.publisher.Empty() && !meeting()) return Type::Book;
  if (r.journal) return !numbered && meeting() && !society() ? Type::Paper : Type::Article;
  if (IsStandard(r.text)) return Type::Standard;
  // A container with a volume and nothing of a book's (editors, publisher,
  // place) is a journal, brought by "in:" as German styles do ("in: IEEE
  // Network Mag, 3,1, 1989, S. 29\u201341").
  if (!r.container.Empty() && !r.volumeNumber.empty() && r.editors.Empty() && r.publisher.Empty() && r.place.Empty())
    return meeting() ? Type::Paper : Type::Article;
  if (!r.container.Empty()) return meeting() ? Type::Paper : Type::Chapter;
  if (hasAny({u"report", u"tech. rep.", u"working paper", u"white paper", u"open-file", u"bericht", u"rapport "}))
    return Type::Report;
  // A publisher, or a place alone, as styles that leave the publisher out
  // write a book ("Title, Baltimore, MD 1997.").
  if (!r.publisher.Empty() || (!r.place.Empty() && r.urlText.empty())) return Type::Book;
  if (!r.urlText.empty()) return Type::Web;
  return Type::Other;
}

// A title that opens a quotation runs to its close ("\u201CUnmanned
// Aircraft Systems Operations in the U. S. National Airspace System,\u201D"),
// even where the labels ended it at an initial or a colon inside.
void QuotedTitleWhole(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  const char16_t open = text[r.title.begin];
  char16_t close = 0;
  if (open == u'\u201C') close = u'\u201D';
  else if (open == u'\u00AB') close = u'\u00BB';
  else if (open == u'"') close = u'"';
  else if (open == u'\u2018') close = u'\u2019';
  else if (open == u'\u201E') close = u'\u201C';  // German's \u201E...\u201C
  if (close == 0) return;
  if (const size_t inner = text.substr(r.title.begin + 1, r.title.end - r.title.begin - 1).find(close);
      inner != std::u16string_view::npos) {
    // Closed inside, and "in" the book after it ("\"Word and Flesh\" in
    // What Are People For?"), or a word glued to the close (a publisher
    // where the style left out the book: "\u201ETitle\u201CIEEE."): the title
    // ends with the quotation.
    const size_t at = r.title.begin + 1 + inner + 1;
    size_t k = at;
    while (k < r.title.end && (text[k] == u' ' || text[k] == u',')) ++k;
    const std::u16string_view after = text.substr(k, r.title.end - k);
    if ((k > at && (after.starts_with(u"in ") || after.starts_with(u"In ") || after.starts_with(u"In: "))) ||
        (k == at && at < r.title.end && u_isupper(text[at]) && close != u'\u2019' && close != u'"' &&
         text[at - 2] != u' '))
      r.title.end = at;
    return;
  }
  constexpr size_t kLongestReach = 200;  // a quote closed much further is not this title's
  const size_t at = text.substr(0, std::min(text.size(), r.title.end + kLongestReach)).find(close, r.title.end);
  if (at == std::u16string_view::npos) return;
  // A single quotation mark closes only before a space or a mark, not in
  // a word ("\u2018Its\u2019 hot").
  if (close == u'\u2019' && at + 1 < text.size() && u_isalpha(text[at + 1])) return;
  r.title.end = at + 1;
}

// A quoted word inside a title ("Egyptian Workers and \u201CTheir\u201D
// Intellectuals: ...") is no title of its own: where the chooser took the
// quotation alone, and the labels run the title on both sides of it, with
// no mark before it, the title is the labels' whole run.
void QuotationInsideTitle(Reference& r, const std::vector<Token>& tokens, const std::vector<Label>& labels) {
  if (r.title.Empty()) return;
  const std::u16string_view title = r.Text(r.title);
  if (title.size() < 3 || !IsQuote(title.front()) || !IsQuote(title.back())) return;
  size_t first = 0;
  while (first < tokens.size() && tokens[first].begin < r.title.begin) ++first;
  size_t last = first;
  while (last + 1 < tokens.size() && tokens[last + 1].begin < r.title.end) ++last;
  // A word or a few, quoted (a whole title quoted is longer), with title
  // words on both sides.
  if (first == 0 || first >= tokens.size() || tokens[first].begin != r.title.begin || last - first >= 3 ||
      last + 1 >= tokens.size() || labels[first - 1] != Label::Title || labels[first] != Label::Title ||
      labels[last + 1] != Label::Title)
    return;
  const char16_t before = tokens[first - 1].text.back();
  if (!u_isalnum(before)) return;
  while (first > 0 && labels[first - 1] == Label::Title) --first;
  while (last + 1 < tokens.size() && labels[last + 1] == Label::Title) ++last;
  r.title = {tokens[first].begin, tokens[last].end};
}

// A square bracket that closes the title and says what kind of work it
// is, as APA writes it ("Borehole temperatures [Data set]", "[Video]",
// "[Unpublished doctoral dissertation]"), or a round one that says it is a
// thesis: no part of the title; its words go to the note. A bracket of
// other words (a translation of the title) stays.
void GenreAfterTitle(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  size_t end = r.title.end;
  while (end > r.title.begin && (text[end - 1] == u' ' || text[end - 1] == u'.' || text[end - 1] == u',')) --end;
  if (end <= r.title.begin || (text[end - 1] != u']' && text[end - 1] != u')')) return;
  const bool square = text[end - 1] == u']';
  const size_t open = text.rfind(square ? u'[' : u'(', end - 1);
  if (open == std::u16string_view::npos || open <= r.title.begin + 1 || text[open - 1] != u' ') return;
  const std::u16string inside = LCase(text.substr(open + 1, end - 2 - open));
  // In round brackets, only a thesis says so ("Towards Optimal Rhythm
  // (Unpublished doctoral dissertation)"): other words there are more often
  // the title's own.
  if (!square) {
    static constexpr std::array<std::u16string_view, 5> kTheses = {u"thesis", u"master", u"doctoral", u"unpublished",
                                                                    u"dissertation"};
    if (std::none_of(kTheses.begin(), kTheses.end(), [&](std::u16string_view g) { return inside.starts_with(g); })) return;
  }
  static constexpr std::array<std::u16string_view, 34> kGenres = {
      u"data set",   u"dataset",     u"data",        u"video",          u"audio",         u"podcast",
      u"computer",   u"software",    u"motion picture", u"film",        u"television",    u"map",
      u"photograph", u"press release", u"fact sheet", u"brochure",      u"poster",        u"lecture",
      u"conference", u"paper presented", u"abstract", u"editorial",     u"blog",          u"web page",
      u"webpage",    u"website",     u"thesis",      u"master",         u"doctoral",      u"unpublished",
      u"dissertation", u"preprint",  u"manuscript",  u"slides"};
  const bool genre = std::any_of(kGenres.begin(), kGenres.end(), [&](std::u16string_view g) {
    return inside.starts_with(g) && (inside.size() == g.size() || !u_isalpha(inside[g.size()]));
  });
  if (!genre) return;
  r.title.end = BeforeSpaces(text, open, r.title.begin);
}

// Where a meeting was held, after its proceedings ("In Proceedings World
// Geothermal Congress 2010 (pp. 1-10). Bali, Indonesia."): a city and its
// country, which the labels read as a publisher and its place. Only a
// city's few words before a country, a region or a state's code, with no
// word of a publisher's among them, and only after a meeting's
// proceedings, where a publisher is the rarer of the two.
void MeetingPlaceAfterProceedings(Reference& r) {
  if (r.publisher.Empty() || r.place.Empty() || r.container.Empty() || r.place.begin < r.publisher.end) return;
  const std::u16string_view text = r.text;
  if (text.substr(r.publisher.end, r.place.begin - r.publisher.end) != u", ") return;
  const std::u16string_view city = r.Text(r.publisher);
  const std::vector<std::u16string_view> cityWords = Words(city);
  if (city.size() < 3 || cityWords.size() > 3 || !std::all_of(cityWords.begin(), cityWords.end(), IsCapitalised) ||
      ContainsAny(LCase(city), {u"press", u"verlag", u"publish", u"universit", u"society", u"books", u"inc.", u"ltd"}))
    return;
  std::u16string_view region = Trim(r.Text(r.place));
  // The meeting's dates may follow ("Reykjavik, Iceland, April-October
  // 2021."): they are no part of the place.
  const size_t comma = region.find(u", ");
  const auto firstMonth = [](std::u16string_view rest) {
    size_t letters = 0;
    while (letters < rest.size() && u_isalpha(rest[letters])) ++letters;
    return MonthOf(rest.substr(0, letters)) != 0;
  };
  const bool dates = comma != std::u16string_view::npos && firstMonth(region.substr(comma + 2));
  if (dates) region = region.substr(0, comma);
  while (!region.empty() && (region.back() == u'.' || region.back() == u',')) region.remove_suffix(1);
  // A state's code and the country ("Las Vegas, NV, USA").
  const bool code = region.size() >= 2 && u_isupper(region[0]) && u_isupper(region[1]) &&
                    (region.size() == 2 || region.substr(2) == u", USA");
  if (!code && !lexicon::HasSorted(lexicon::kRegions, region)) return;
  const std::u16string container = LCase(r.Text(r.container));
  if (std::none_of(lexicon::kMeetingWords.begin(), lexicon::kMeetingWords.end(),
                   [&](std::u16string_view w) { return container.find(w) != std::u16string::npos; }) &&
      !ContainsAny(container, {u"proc.", u"conf."}))
    return;
  if (dates) r.place.end = r.place.begin + comma;
  r.place.begin = r.publisher.begin;
  r.publisher = {};
}

// A series' own words that the labels gave to the volume, with its
// number ("Geological Society of America | Special Paper 436, p. 1-30",
// "Memoir 12"): the series' name, after the journal's name they follow.
void SeriesWordsInVolume(Reference& r) {
  if (r.container.Empty() || r.volume.Empty() || r.volume.begin < r.container.end) return;
  const std::u16string_view text = r.text;
  if (!Trim(text.substr(r.container.end, r.volume.begin - r.container.end)).empty()) return;
  const std::u16string_view volume = r.Text(r.volume);
  const std::vector<std::u16string_view> words = Words(volume);
  if (words.size() < 2 || words.size() > 4) return;
  for (size_t k = 0; k + 1 < words.size(); ++k) {
    const std::u16string_view w = words[k];
    if (w.size() < 3 || !u_isupper(w[0]) || !std::all_of(w.begin() + 1, w.end(), [](char16_t c) { return u_islower(c) != 0; }))
      return;
  }
  // The series' last word says it is one (not an issue's "Heft 1", nor
  // "Abstract 1356").
  static constexpr std::u16string_view kSeries[] = {u"Paper", u"Papers", u"Memoir", u"Memoirs", u"Circular",
                                                    u"Bulletin", u"Publication", u"Publications", u"Monograph",
                                                    u"Monographs", u"Series"};
  if (std::find(std::begin(kSeries), std::end(kSeries), words[words.size() - 2]) == std::end(kSeries)) return;
  const std::u16string_view number = words.back();
  if (number.empty() || !IsDigit(number[0])) return;
  const size_t at = r.volume.begin + static_cast<size_t>(number.data() - volume.data());
  r.container.end = at;
  while (r.container.end > r.container.begin && r.text[r.container.end - 1] == u' ') --r.container.end;
  r.volume.begin = at;
}

// A "journal" with no volume, issue, pages or DOI, a place right after it
// ("Title. International Atomic Energy Agency, Vienna", as Springer's
// styles write a book): the publisher.
void JournalBeforePlaceIsPublisher(Reference& r) {
  if (!r.journal || r.container.Empty() || !r.publisher.Empty() || r.place.Empty() || !r.volume.Empty() ||
      !r.pages.Empty() || !r.doi.Empty() || r.place.begin < r.container.end)
    return;
  const std::u16string_view text = r.text;
  const std::u16string_view between = text.substr(r.container.end, r.place.begin - r.container.end);
  if (!Trim(between).empty() && Trim(between) != u",") return;
  if (!r.Text(r.container).ends_with(u',') && Trim(between) != u",") return;
  // Nothing but a full stop after the place; a name that says it is a
  // publisher (a meeting's name with its place is a paper's), and no
  // sentence inside it (the title's end, run into it).
  size_t end = r.place.end;
  while (end < text.size() && (text[end] == u'.' || text[end] == u' ')) ++end;
  if (end != text.size()) return;
  const std::u16string name = LCase(r.Text(r.container));
  if (name.find(u". ") != std::u16string::npos || Words(name).size() > 8) return;
  if (!ContainsAny(name, {u"agency", u"press", u"publisher", u"society", u"institute", u"survey", u"department",
                          u"university", u"foundation", u"association", u"council", u"organization", u"organisation",
                          u"office", u"ministry", u"commission", u"bureau", u"centre", u"center", u"service", u"verlag",
                          u"books", u"company", u"academy", u"laboratory", u"museum"}) ||
      ContainsAny(name, {u"conference", u"congress", u"meeting", u"symposium", u"workshop", u"proceedings", u"proc."}))
    return;
  r.publisher = r.container;
  r.container = {};
  r.journal = false;
}

// The pages written out with their word after `from` ("p. 1-10", "pp.
// 109-116"): from the word to the range's end; empty where there are none.
Piece PagesWrittenOut(std::u16string_view text, size_t from) {
  for (std::u16string_view lead : {u" pp. ", u" p. "}) {
    const size_t at = text.find(lead, from);
    if (at == std::u16string_view::npos) continue;
    size_t end = at + lead.size();
    if (end >= text.size() || !IsDigit(text[end])) continue;
    while (end < text.size() && (IsDigit(text[end]) || text[end] == u'-' || text[end] == u'\u2013')) ++end;
    return {at + 1, end};
  }
  return {};
}

// A report's number with letters taken for the pages ("..., January
// 22-24, 2007, SGP-TR-183, p. 109-116."), the pages written out after it
// with their word: those are the pages, and the number the report's.
void LetteredNumberIsNoPages(Reference& r) {
  const std::u16string_view text = r.text;
  const auto lettered = [](std::u16string_view token) {
    return std::count_if(token.begin(), token.end(), [](char16_t c) { return u_isupper(c); }) >= 2 &&
           token.find(u'-') != std::u16string_view::npos && std::any_of(token.begin(), token.end(), IsDigit) &&
           token.find(u' ') == std::u16string_view::npos;
  };
  // Or for the volume, in a meeting's proceedings or a book ("..., 22-24
  // January 2007, SGP-TR-183, 109-116, 2007."): no journal's volume.
  if (!r.journal && r.number.Empty() && !r.volume.Empty()) {
    std::u16string_view volume = Trim(r.Text(r.volume));
    while (!volume.empty() && (volume.back() == u',' || volume.back() == u'.')) volume.remove_suffix(1);
    if (lettered(volume)) {
      r.number = {static_cast<size_t>(volume.data() - text.data()), static_cast<size_t>(volume.data() - text.data()) + volume.size()};
      r.volume = {};
    }
  }
  if (r.pages.Empty()) return;
  // The number: the first word of what the labels took for the pages.
  const std::u16string_view all = r.Text(r.pages);
  const std::u16string_view token = all.substr(0, std::min(all.find_first_of(u", "), all.size()));
  if (!lettered(token)) return;
  const Piece number{r.pages.begin, r.pages.begin + token.size()};
  const Piece found = PagesWrittenOut(text, number.end);
  if (found.Empty()) return;
  for (const Piece* p : {&r.date, &r.title, &r.container, &r.volume, &r.publisher, &r.place, &r.edition, &r.doi, &r.url,
                         &r.number})
    if (!p->Empty() && p->begin < found.end && found.begin < p->end) return;
  // What the note held of them, it gives up.
  if (!r.note.Empty() && r.note.begin < found.end && found.begin < r.note.end) {
    if (r.note.begin >= found.begin) r.note.begin = std::min(r.note.end, found.end);
    else r.note.end = found.begin;
    if (r.note.begin >= r.note.end) r.note = {};
  }
  if (r.number.Empty()) r.number = number;
  r.pages = found;
}

// APA's software, its version and genre in brackets after the title and
// its publisher after them ("Heat flow model (Version 1.2) [Computer
// software]. GitHub. https://..."), which the labels ran into the title:
// the title ends before the version, the brackets go to the note and the
// name after them is the publisher.
void SoftwareVersionAndGenre(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  const std::u16string_view title = r.Text(r.title);
  size_t open = std::u16string_view::npos;
  for (std::u16string_view v : {u" (Version ", u" (version ", u" (Ver. ", u" (v. "})
    if (const size_t at = title.find(v); at != std::u16string_view::npos) open = std::min(open, at);
  if (open == std::u16string_view::npos) return;
  const size_t close = title.find(u')', open);
  if (close == std::u16string_view::npos) return;
  size_t k = close + 1;
  while (k < title.size() && title[k] == u' ') ++k;
  if (k >= title.size() || title[k] != u'[') return;
  const size_t genreEnd = title.find(u']', k);
  if (genreEnd == std::u16string_view::npos) return;
  size_t after = genreEnd + 1;
  while (after < title.size() && (title[after] == u'.' || title[after] == u' ')) ++after;
  const std::u16string_view rest = Trim(title.substr(after));
  const size_t titleEnd = r.title.begin + open;
  if (r.publisher.Empty() && !rest.empty() && Words(rest).size() <= 4) {
    std::u16string_view name = rest;
    while (!name.empty() && (name.back() == u'.' || name.back() == u',')) name.remove_suffix(1);
    const size_t begin = static_cast<size_t>(name.data() - text.data());
    r.publisher = {begin, begin + name.size()};
  } else if (!rest.empty()) {
    return;
  }
  r.title.end = titleEnd;
}

// A title whose first words, up to its colon, the labels left between
// the names and the rest ("Pruess K. TOUGH2: a general-purpose numerical
// simulator ..."): the rest begins in small letters, so the title begins
// before the colon.
void TitleLeadBeforeColon(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  if (!u_islower(text[r.title.begin])) return;
  const std::u16string_view gap = Trim(text.substr(r.authors.end, r.title.begin - r.authors.end));
  if (gap.size() < 2 || gap.back() != u':' || Words(gap).size() > 3 || !u_isupper(gap[0])) return;
  const size_t begin = static_cast<size_t>(gap.data() - text.data());
  for (const Piece* p : {&r.citationNumber, &r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.publisher,
                         &r.place, &r.edition, &r.doi, &r.url, &r.number})
    if (!p->Empty() && p->begin < r.title.begin && begin < p->end) return;
  if (!r.note.Empty() && r.note.begin < r.title.begin && begin < r.note.end) r.note = {};
  r.title.begin = begin;
}

size_t EditionAtStart(std::u16string_view text);

// An arXiv identifier ("arXiv:1706.03762") is no volume and no pages:
// it stays whole, in the note.
void ArxivIsNoNumbers(Reference& r) {
  const std::u16string_view text = r.text;
  for (size_t at = text.find(u"arXiv:"); at != std::u16string_view::npos; at = text.find(u"arXiv:", at + 1)) {
    size_t end = at + 6;
    while (end < text.size() && text[end] != u' ' && text[end] != u',' && text[end] != u';') ++end;
    for (Piece* p : {&r.volume, &r.pages, &r.date, &r.number})
      if (!p->Empty() && p->begin < end && at < p->end) *p = {};
  }
}

// A meeting's days taken for pages ("EGU General Assembly 2020, Online,
// 4-8 May 2020"): a range of days right before a month's name is no
// pages.
void DaysAreNoPages(Reference& r) {
  const std::u16string_view pages = Trim(r.Text(r.pages));
  const std::vector<Number> numbers = Numbers(pages);
  if (numbers.size() != 2 || numbers[0].digits.size() > 2 || numbers[1].digits.size() > 2) return;
  if (!std::all_of(pages.begin(), pages.end(), [](char16_t c) { return IsDigit(c) || c == u'-' || c == u'\u2013'; }))
    return;
  const std::u16string_view after = std::u16string_view(r.text).substr(r.pages.end);
  const std::vector<std::u16string_view> words = Words(after.substr(0, std::min<size_t>(after.size(), 16)));
  if (words.empty() || MonthOf(words[0]) == 0) return;
  r.pages = {};
}

// An edition that no part took, after the publisher and its place
// ("Springer, Berlin, Heidelberg, 2nd edn., 2011."): the edition.
void EditionLeftOver(Reference& r) {
  if (!r.edition.Empty() || r.title.Empty()) return;
  const std::u16string_view text = r.text;
  for (size_t i = r.title.end; i < text.size(); ++i) {
    if (text[i - 1] != u' ' || !IsDigit(text[i])) continue;
    const size_t comma = text.find(u',', i);
    const size_t length = EditionAtStart(text.substr(i, comma == std::u16string_view::npos ? text.size() - i : comma - i));
    if (length == 0) continue;
    const Piece found{i, i + length};
    for (const Piece* p : {&r.citationNumber, &r.authors, &r.editors, &r.date, &r.title, &r.container, &r.volume,
                           &r.pages, &r.publisher, &r.place, &r.doi, &r.url, &r.note, &r.number})
      if (!p->Empty() && p->begin < found.end && found.begin < p->end) return;
    r.edition = found;
    return;
  }
}

// Copernicus' book, the edition between commas after the title and then
// the publisher and its place ("Geothermal reservoir engineering, 2nd
// edn., Academic Press, Burlington, 2011."), which the labels break up:
// the edition, then the publisher, then the place.
void EditionBetweenTitleAndPublisher(Reference& r) {
  if (r.title.Empty() || !r.edition.Empty() || r.publisher.Empty()) return;
  const std::u16string_view text = r.text;
  size_t begin = r.title.end;
  while (begin < text.size() && text[begin] == u' ') ++begin;
  const size_t comma = text.find(u',', begin);
  if (comma == std::u16string_view::npos || comma == begin ||
      EditionAtStart(text.substr(begin, comma - begin)) != comma - begin)
    return;
  const Piece edition{begin, comma};
  // The publisher after it, to its comma; the place after that.
  size_t from = comma + 1;
  while (from < text.size() && text[from] == u' ') ++from;
  const size_t publisherEnd = text.find(u',', from);
  if (publisherEnd == std::u16string_view::npos || from >= publisherEnd) return;
  const Piece publisher{from, publisherEnd};
  if (r.publisher.begin < edition.begin || r.publisher.begin > publisher.end) return;
  size_t placeBegin = publisherEnd + 1;
  while (placeBegin < text.size() && text[placeBegin] == u' ') ++placeBegin;
  size_t placeEnd = text.find(u',', placeBegin);
  if (placeEnd == std::u16string_view::npos) placeEnd = text.size();
  const std::u16string_view place = text.substr(placeBegin, placeEnd - placeBegin);
  const bool isPlace = !place.empty() && u_isupper(place[0]) && FirstYear(place).empty() &&
                       std::all_of(place.begin(), place.end(), [](char16_t c) { return !IsDigit(c); });
  for (Piece* p : {&r.place, &r.note, &r.container, &r.volume})
    if (!p->Empty() && p->begin < (isPlace ? placeEnd : publisher.end) && edition.begin < p->end) *p = {};
  r.edition = edition;
  r.publisher = publisher;
  if (isPlace) r.place = {placeBegin, placeEnd};
}

// A meeting's days taken for a publisher ("..., San Francisco, CA, 9-13
// Dec."): no publisher; they go to the note.
void DaysAreNoPublisher(Reference& r) {
  const std::u16string_view publisher = Trim(r.Text(r.publisher));
  if (publisher.empty() || !IsDigit(publisher[0])) return;
  const std::vector<std::u16string_view> words = Words(publisher);
  if (words.size() != 2 || MonthOf(words[1]) == 0) return;
  r.publisher = {};
}

// A school named in the bracket that says the work is a thesis, with the
// repository that keeps it after ("[Doctoral dissertation, University of
// Auckland]. ResearchSpace."): the publisher ends with the bracket.
void PublisherEndsWithItsBracket(Reference& r) {
  if (r.publisher.Empty()) return;
  const std::u16string_view text = r.text;
  const size_t close = text.find(u']', r.publisher.begin);
  if (close == std::u16string_view::npos || close + 1 >= r.publisher.end) return;
  const size_t open = text.rfind(u'[', r.publisher.begin);
  if (open == std::u16string_view::npos || text.find(u']', open) < r.publisher.begin) return;
  r.publisher.end = close;
}

// A book's name where the title was looked for, none found ("Kotkin,
// Stalin: Paradoxes of Power (New York: Penguin Press, 2014)"): with no
// "In" before it, no journal's name and no pages (but a book's length),
// it is the title, of a book.
void BookTitleAsContainer(Reference& r) {
  if (!r.title.Empty() || r.container.Empty() || (!r.pages.Empty() && !IsPageCount(r.Text(r.pages)))) return;
  // A journal's name too, with no volume and a publisher after it
  // ("Inayatullah, N.; Blaney, D. L. International Relations And The
  // Problem Of Difference; Routledge: New York, 2004.").
  if (r.journal && (!r.volume.Empty() || r.publisher.Empty() || r.publisher.begin < r.container.end)) return;
  const std::u16string_view text = r.text;
  const std::u16string_view inside = r.Text(r.container);
  if (inside.starts_with(u"In ") || inside.starts_with(u"In:") || inside.starts_with(u"in ") || inside.starts_with(u"in:"))
    return;
  size_t end = r.container.begin;
  while (end > 0 && (text[end - 1] == u' ' || text[end - 1] == u':')) --end;
  size_t begin = end;
  while (begin > 0 && text[begin - 1] != u' ') --begin;
  const std::u16string before = LCase(text.substr(begin, end - begin));
  if (before == u"in" || before == u"dans" || before == u"en" || before == u"im") return;
  r.title = r.container;
  r.container = {};
  r.journal = false;
}

// Initials with their full stop ("J.", "J.R.").
bool IsDottedInitials(std::u16string_view w) { return w.size() >= 2 && w.back() == u'.' && IsInitials(w); }


// A book that ends with a name alone after its title: APA's publisher,
// with no place ("Silva, M. (1996). Explorations in Exegetical Method.
// Baker.", "Cyrulnik, B. (2002). Un merveilleux malheur. Odile Jacob."),
// which the labels call a place, or a journal's name, though a journal
// comes with a volume, pages or a DOI; or the place alone ("Smith, W. R.
// 1993. Orchids of Minnesota. Minneapolis."). The year stands before the
// title, and nothing but a link after the name. APA's year in brackets
// and its full stop ("(1996).") says the name is the publisher; else a
// lone place stays the place. Returns whether the name is a book's.
bool NameEndsBook(Reference& r) {
  if (r.title.Empty() || !r.publisher.Empty() || r.date.Empty() || !r.editors.Empty() || !r.volume.Empty() ||
      !r.pages.Empty())
    return false;
  const std::u16string_view text = r.text;
  const bool place = !r.place.Empty() && r.container.Empty();
  if (!place) {
    if (!r.journal || !r.place.Empty() || r.container.Empty() || !r.doiName.empty() ||
        LCase(r.urlText).find(u"doi") != std::u16string::npos)
      return false;
    // No journal's word, and no abbreviation ("J. Appl. Physiol.").
    const std::u16string lower = LCase(Trim(r.Text(r.container)));
    if (lower.substr(0, lower.size() - 1).find(u'.') != std::u16string::npos) return false;
    for (const std::u16string_view w : Words(lower)) {
      std::u16string_view bare = w;
      while (!bare.empty() && !u_isalpha(bare.back())) bare.remove_suffix(1);
      const Kind k = KindOf(bare);
      static constexpr std::array<std::u16string_view, 16> kPeriodical = {
          u"quarterly", u"annals",  u"annales",  u"magazine", u"release",    u"news",    u"newsletter", u"gazette",
          u"revista",   u"revue",   u"rivista",  u"zeitschrift", u"tijdschrift", u"cahiers", u"acta",      u"jahrbuch"};
      if (k == Kind::Journal || k == Kind::Proceedings ||
          std::find(kPeriodical.begin(), kPeriodical.end(), bare) != kPeriodical.end())
        return false;
    }
  }
  const Piece& p = place ? r.place : r.container;
  if (p.begin < r.title.end) return false;
  // The year before the title, or right after the name, as MLA writes a
  // book ("Keynes, John Maynard. Essays in Persuasion. Macmillan, 1972.").
  // A journal's name and a year, no more, are as often a newspaper's or a
  // meeting's ("Guardian, 18 December 2003.", "CVPR, 2005."): only a
  // place or publisher is read so.
  const bool yearAfter = place && r.date.begin >= p.end;
  if (!yearAfter && r.date.end > r.title.begin) return false;
  const auto onlyMarks = [&](size_t from, size_t to) {
    return to <= from || Trim(text.substr(from, to - from)).find_first_not_of(u".,;") == std::u16string_view::npos;
  };
  size_t end = text.size();
  for (const Piece* link : {&r.doi, &r.url})
    if (!link->Empty() && link->begin >= p.end) end = std::min(end, link->begin);
  if (yearAfter ? !onlyMarks(p.end, r.date.begin) || !onlyMarks(r.date.end, end) : !onlyMarks(p.end, end)) return false;
  const std::u16string_view date = Trim(r.Text(r.date));
  const bool apa = date.starts_with(u"(") &&
                   (date.ends_with(u").") || (date.ends_with(u")") && r.date.end < text.size() && text[r.date.end] == u'.'));
  if (!place || apa) {
    r.publisher = p;
    (place ? r.place : r.container) = {};
    r.journal = false;
  }
  return true;
}

// A meeting's short name in brackets after its proceedings' name
// ("Principles of Database Systems (PODS) 237-249", "Computer Vision and
// Pattern Recognition (CVPR)") is the name's own, not the volume or pages
// the labels gave it to; and where it alone was taken for the book, the
// words before it that no piece took, after "in", are the name ("in 2013
// IEEE international conference on technologies for homeland security
// (HST), 2013").
template <typename GiveWay>
void AcronymAfterContainer(Reference& r, GiveWay giveWay) {
  if (r.container.Empty()) return;
  const std::u16string_view text = r.text;
  const auto acronymAt = [&](size_t at) -> size_t {  // the end of "(XYZ)" at `at`, or 0
    if (at >= text.size() || text[at] != u'(') return 0;
    size_t k = at + 1, capitals = 0;
    while (k < text.size() && k - at <= 13 && (u_isupper(text[k]) || IsDigit(text[k]) || text[k] == u'&' || text[k] == u'-' || text[k] == u'/'))
      capitals += u_isupper(text[k]) != 0, ++k;
    return k < text.size() && text[k] == u')' && capitals >= 2 ? k + 1 : 0;
  };
  size_t at = r.container.end;
  while (at < text.size() && text[at] == u' ') ++at;
  if (const size_t end = acronymAt(at); end != 0) {
    const Piece bracket{at, end};
    for (Piece* p : {&r.volume, &r.pages, &r.note, &r.number, &r.publisher, &r.place, &r.edition}) giveWay(*p, bracket);
    r.container.end = end;
    return;
  }
  // The container is the bracket alone.
  const std::u16string_view inside = Trim(r.Text(r.container));
  if (acronymAt(r.container.begin) == 0 || acronymAt(r.container.begin) < r.container.begin + inside.size() - 1) return;
  size_t from = r.title.Empty() ? 0 : r.title.end;
  for (const Piece* p : {&r.authors, &r.editors, &r.date, &r.volume, &r.pages, &r.publisher, &r.place, &r.note,
                         &r.edition, &r.number})
    if (!p->Empty() && p->end <= r.container.begin) from = std::max(from, p->end);
  while (from < r.container.begin && (text[from] == u' ' || text[from] == u',' || text[from] == u'.')) ++from;
  bool afterIn = false;  // "in" says it is a book's, not a journal's
  for (std::u16string_view in : {u"in ", u"In ", u"In: ", u"in: "})
    if (text.substr(from).starts_with(in)) from += in.size(), afterIn = true;
  if (from + 3 >= r.container.begin) return;
  r.container.begin = from;
  r.journal = r.journal && !afterIn;
}

// A title that the labels ended inside an agency's name, at the initials
// that open it ("Hydrothermal Systems. U.S", with "Geological Survey
// Open-File Report ..." after): the initials open the piece after it.
void InitialsAfterTitleStop(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  const std::u16string_view title = r.Text(r.title);
  const size_t stop = title.rfind(u". ");
  if (stop == std::u16string_view::npos || stop == 0) return;
  const std::u16string_view word = title.substr(stop + 2);
  // Capitals each with its full stop, the last one's perhaps left out.
  size_t k = 0, letters = 0;
  while (k < word.size() && u_isupper(word[k]) && (k + 1 == word.size() || word[k + 1] == u'.')) {
    ++letters;
    k += k + 1 == word.size() ? 1 : 2;
  }
  if (letters < 2 || k != word.size()) return;
  size_t after = r.title.end;
  while (after < text.size() && (text[after] == u'.' || text[after] == u' ')) ++after;
  for (Piece* p : {&r.container, &r.publisher}) {
    if (p->begin != after || p->Empty()) continue;
    p->begin = r.title.begin + stop + 2;
    r.title.end = r.title.begin + stop + 1;
    return;
  }
}

// A report's series and number after the title, with no bracket, as
// surveys and agencies cite their reports ("U.S. Geological Survey
// Open-File Report 2015-1102, 45 p.", "Technical Report TR-2015-12,
// Department of Energy", "Report No.: 2015-5102."): the number, not a
// journal's name with a volume or pages. The agency before the series'
// words is the publisher.
void ReportNumberAfterTitle(Reference& r) {
  if (r.title.Empty() || !r.number.Empty()) return;
  const std::u16string_view text = r.text;
  size_t report = text.find(u"Report ", r.title.end);
  while (report != std::u16string_view::npos && report > 0 && text[report - 1] != u' ')
    report = text.find(u"Report ", report + 1);
  if (report == std::u16string_view::npos) return;
  // Its word for "number", then the number: a word with a digit.
  size_t k = report + 7;
  for (std::u16string_view no : {u"No.: ", u"No.:", u"No. ", u"No ", u"no. ", u"Number ", u"n\u00B0 "})
    if (text.substr(k).starts_with(no)) {
      k += no.size();
      break;
    }
  while (k < text.size() && text[k] == u' ') ++k;
  size_t end = k;
  while (end < text.size() && text[end] != u' ' && text[end] != u',' && text[end] != u';') ++end;
  // The number in a bracket of its own keeps its bracket ("(05-009-1)").
  const bool bracketed = text[k] == u'(';
  while (end > k && (text[end - 1] == u'.' || (text[end - 1] == u')' && !bracketed))) --end;
  if (end == k || std::none_of(text.begin() + static_cast<long>(k), text.begin() + static_cast<long>(end), IsDigit)) return;
  // The series' words before "Report".
  size_t begin = report;
  while (begin > r.title.end + 1) {
    const size_t space = text.rfind(u' ', begin - 2);
    if (space == std::u16string_view::npos || space < r.title.end) break;
    const std::u16string_view word = text.substr(space + 1, begin - space - 2);
    static constexpr std::u16string_view kSeries[] = {
        u"Open-File", u"Open-file", u"Scientific", u"Investigations", u"Water-Resources", u"Technical", u"Tech.", u"Tech",
        u"Research", u"Final", u"Interim", u"Annual", u"Progress", u"Special", u"Data", u"Administrative",
        u"Miscellaneous", u"Field", u"Internal", u"Project", u"Consultancy", u"Contract", u"Summary"};
    if (std::find(std::begin(kSeries), std::end(kSeries), word) == std::end(kSeries)) break;
    begin = space + 1;
  }
  // Only where the labels took it for a journal and its numbers, or for
  // notes and pages: not inside a title or a book's name that the rules
  // above settled.
  const Piece found{begin, end};
  const auto overlaps = [&](const Piece& p) { return !p.Empty() && p.begin < found.end && found.begin < p.end; };
  if (overlaps(r.title) || overlaps(r.authors) || overlaps(r.editors) || overlaps(r.publisher) || overlaps(r.doi) ||
      overlaps(r.url) || (overlaps(r.container) && !r.journal))
    return;
  // A journal named a report has its pages after the number ("The
  // Qualitative Report 19.32 (2014): 1-20"); a report, at most its count
  // of pages ("45 p.").
  for (const Piece* p : {&r.volume, &r.pages}) {
    const std::u16string_view numbers = r.Text(*p);
    if (!p->Empty() && p->begin >= found.end && !numbers.ends_with(u" p.") && !numbers.ends_with(u" pp.") &&
        !numbers.ends_with(u" p"))
      return;
  }
  // The agency: what the journal held before the series.
  if (overlaps(r.container)) {
    size_t agencyEnd = begin;
    while (agencyEnd > r.container.begin && (text[agencyEnd - 1] == u' ' || text[agencyEnd - 1] == u',')) --agencyEnd;
    if (agencyEnd > r.container.begin && r.publisher.Empty()) r.publisher = {r.container.begin, agencyEnd};
    r.container = {};
    r.journal = false;
  }
  for (Piece* p : {&r.volume, &r.pages, &r.note, &r.edition, &r.date})
    if (overlaps(*p) && p->begin >= begin && p->end <= text.size()) {
      // A piece that only starts inside it keeps what follows it ("…
      // 2015-1102, 45 p.": the count of pages).
      if (p->end > found.end) {
        size_t after = found.end;
        while (after < p->end && (text[after] == u' ' || text[after] == u',' || text[after] == u'.')) ++after;
        *p = after < p->end ? Piece{after, p->end} : Piece{};
      } else {
        *p = {};
      }
    }
  r.number = found;
}

// MLA's chapter or article: a quoted title, then the book or journal it
// is in, then a comma and the rest ("Darnton, Robert. \u201CCommunication
// Networks.\u201D The Forbidden Best-Sellers of PreRevolutionary France,
// Norton, 1995, pp. 181-97."). Words in no piece between the closed
// quotation and the next piece are the container: a journal's when a
// volume follows, else a book's.
void ContainerAfterQuotedTitle(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  std::u16string_view title = r.Text(r.title);
  // Harvard's "'Title', Journal" puts its comma after the quotation.
  while (title.size() > 1 && (title.back() == u',' || title.back() == u'.')) title.remove_suffix(1);
  if (title.size() < 3 || !IsQuote(title.front()) || !IsQuote(title.back())) return;
  size_t begin = r.title.end;
  while (begin < text.size() && (text[begin] == u' ' || text[begin] == u',')) ++begin;
  const Piece* next = nullptr;
  for (const Piece* p : {&r.citationNumber, &r.authors, &r.editors, &r.date, &r.container, &r.volume, &r.pages,
                         &r.publisher, &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number})
    if (!p->Empty() && p->end > begin && (next == nullptr || p->begin < next->begin)) next = p;
  if (next == nullptr || next->begin <= begin || next == &r.note) return;
  // The journal's or book's first words, left between: its own
  // ("Current Opinion in Endocrinology, Diabetes and Obesity, vol. 20").
  if (next == &r.container) {
    if (!IsLetterUnit(text[begin])) return;
    r.container.begin = begin;
    // "in" says it is a book's.
    const std::u16string_view lead = text.substr(begin, 4);
    if (lead.starts_with(u"in ") || lead.starts_with(u"In ") || lead.starts_with(u"in:") || lead.starts_with(u"In:"))
      r.journal = false;
    return;
  }
  if (!r.container.Empty()) return;
  size_t end = next->begin;
  while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u',')) --end;
  if (end <= begin || !(IsLetterUnit(text[begin]) || IsDigit(text[begin]))) return;
  r.container = {begin, end};
  r.journal = next == &r.volume;
}

// Nature's chapter, "in Book (eds. Names) pages (Publisher, Year)"
// ("in Foundations of Probability Theory, Statistical Inference and
// Statistical Theories of Science (eds. Harper, W. & Hooker, C.) 261-301
// (D. Reidel, 1976)"), where the labels split the book or the bracket
// among other pieces: the book runs from "in" to the bracket, the
// bracket's names are the editors, and a page range right after it the
// pages.
template <typename GiveWay>
void NatureEditorsBracket(Reference& r, GiveWay giveWay) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  size_t open = text.find(u" (eds. ", r.title.end);
  if (open == std::u16string_view::npos) open = text.find(u" (ed. ", r.title.end);
  // Wiley's role glued to the first name ("(eds.E. Thackery, M. Harris)"),
  // which the labels may take into the title ("Therapy, in Gale
  // encyclopedia (eds.E"): the title then ends at its ", in".
  size_t names = open == std::u16string_view::npos ? 0 : open + 2;
  size_t titleEnd = r.title.end;
  if (open == std::u16string_view::npos) {
    open = text.find(u" (eds.", r.title.begin);
    names = open + 6;
    if (open == std::u16string_view::npos || names >= text.size() || !u_isupper(text[names])) return;
    if (open < r.title.end) {
      titleEnd = text.substr(0, open).find(u", in ", r.title.begin);
      if (titleEnd == std::u16string_view::npos || titleEnd == r.title.begin) return;
    }
  }
  const size_t close = text.find(u')', open);
  if (close == std::u16string_view::npos) return;
  // The first "in" after the title ("Style in Language" holds another),
  // or "In" (Geochimica's style), or "In:" (the year's bracket after the
  // editors': "In: Elements of Grammar (ed. Haegeman L.) (1997); pp.").
  const std::u16string_view head = text.substr(0, open);
  const size_t colon = head.find(u" In: ", titleEnd - 1);
  const size_t in = std::min({head.find(u" in ", titleEnd - 1), head.find(u" In ", titleEnd - 1), colon});
  if (in == std::u16string_view::npos) return;
  const Piece book{in + (in == colon ? 5 : 4), open}, bracket{open + 1, close + 1};
  for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.doi, &r.url, &r.authors})
    if (!p->Empty() && p->begin < close + 1 && in < p->end) return;
  // Already so: nothing to mend.
  if (r.container.begin == book.begin && r.container.end == book.end && r.editors.begin == names) return;
  for (Piece* p : {&r.publisher, &r.place, &r.note, &r.edition, &r.number}) {
    giveWay(*p, book);
    giveWay(*p, bracket);
  }
  r.title.end = titleEnd;
  r.container = book;
  r.journal = false;
  r.editors = {names, close};  // with its role where spaced, which the names leave out
  // A page range right after the bracket.
  size_t k = close + 1;
  while (k < text.size() && text[k] == u' ') ++k;
  size_t end = k;
  while (end < text.size() && (IsDigit(text[end]) || IsDash(text[end]))) ++end;
  if (r.pages.Empty() && end > k + 2 && IsDigit(text[k]) && IsDigit(text[end - 1]) &&
      std::any_of(text.begin() + k, text.begin() + end, IsDash)) {
    r.pages = {k, end};
    for (Piece* p : {&r.publisher, &r.place, &r.note}) giveWay(*p, r.pages);
  }
}

// OSCOLA's chapter, "'Title' in Editors (eds), Book (Publisher Year)":
// the names between "in" and the role are the editors and the words
// after the role's comma, up to the bracket or the next part, the book,
// whatever the labels made of them.
template <typename GiveWay>
void OscolaChapter(Reference& r, GiveWay giveWay) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  size_t k = r.title.end;
  while (k < text.size() && (text[k] == u' ' || text[k] == u',' || IsQuote(text[k]))) ++k;
  if (text.substr(k, 3) != u"in ") return;
  const size_t namesBegin = k + 3;
  constexpr size_t kLongestNames = 160;
  const std::u16string_view near = text.substr(namesBegin, kLongestNames);
  size_t role = std::u16string_view::npos, roleSize = 0;
  for (std::u16string_view r0 : {u" (eds), ", u" (ed), "})
    if (const size_t at = near.find(r0); at != std::u16string_view::npos && at < role) role = at, roleSize = r0.size();
  if (role == std::u16string_view::npos || role == 0) return;
  const size_t namesEnd = namesBegin + role, bookBegin = namesEnd + roleSize;
  // The bracket of the publisher and the year after the book, with no
  // other part between ("in Basu (ed), Unravelling the Nation, Penguin
  // Books, New Delhi, pp.81-128" is another form).
  size_t bookEnd = text.find(u" (", bookBegin);
  if (bookEnd == std::u16string_view::npos) return;
  for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.doi, &r.url}) {
    if (p->Empty() || p->end <= namesBegin) continue;
    if (p->begin < bookEnd) return;
  }
  for (const Piece* p : {&r.publisher, &r.place})
    if (!p->Empty() && p->begin >= bookBegin && p->begin < bookEnd) return;
  while (bookEnd > bookBegin && (text[bookEnd - 1] == u' ' || text[bookEnd - 1] == u',' || text[bookEnd - 1] == u'.')) --bookEnd;
  if (bookEnd <= bookBegin || !IsLetterUnit(text[bookBegin])) return;
  const Piece names{namesBegin, namesEnd}, book{bookBegin, bookEnd};
  for (Piece* p : {&r.publisher, &r.place, &r.note, &r.edition, &r.number}) {
    giveWay(*p, names);
    giveWay(*p, book);
  }
  r.editors = names;
  r.container = book;
  r.journal = false;
}

// Italian styles' book or journal after the title, which the labels ran
// into the title or left to no part: "Title, in \u00ABJournal\u00BB, 16,
// 1942" (the name in quotation marks), and "Title, a cura di Editors,
// Book, Publisher, Place Year" (the editors each to a comma, with their
// initials, the book from after them to the next part).
void ItalianBookAfterTitle(Reference& r) {
  if (r.title.Empty() || !r.container.Empty()) return;
  const std::u16string_view text = r.text;
  const std::u16string_view title = r.Text(r.title);
  for (const auto& [open, close] : {std::pair{u", in \u00AB", u'\u00BB'}, std::pair{u", in \u201C", u'\u201D'}}) {
    const size_t at = title.find(open);
    if (at == std::u16string_view::npos || at == 0) continue;
    const size_t begin = r.title.begin + at + std::u16string_view(open).size();
    const size_t end = text.find(close, begin);
    if (end == std::u16string_view::npos || end > r.title.end || end == begin) return;
    r.title.end = r.title.begin + at;
    r.container = {begin, end};
    // A journal's volume after it ("\u00BB, 16, 1942"), which the labels
    // gave to the date.
    size_t after = end + 1;
    while (after < text.size() && (text[after] == u',' || text[after] == u' ')) ++after;
    r.journal = after < text.size() && IsDigit(text[after]);
    if (r.journal && r.volume.Empty() && !r.date.Empty() && r.date.begin == after) {
      const size_t comma = text.find(u", ", after);
      if (comma != std::u16string_view::npos && comma < r.date.end && Numbers(text.substr(after, comma - after)).size() == 1 &&
          FirstYear(text.substr(after, comma - after)).empty()) {
        r.volume = {after, comma};
        r.date.begin = comma + 2;
      }
    }
    return;
  }
  const size_t cura = text.find(u", a cura di ", r.title.begin);
  if (cura == std::u16string_view::npos || cura > r.title.end + 2) return;
  const size_t namesBegin = cura + 12;
  size_t at = namesBegin, namesEnd = 0;
  for (;;) {
    const size_t comma = text.find(u", ", at);
    if (comma == std::u16string_view::npos) break;
    const std::vector<std::u16string_view> words = Words(text.substr(at, comma - at));
    if (words.empty() || words.size() > 5 ||
        !std::any_of(words.begin(), words.end(), [](std::u16string_view w) { return IsDottedInitials(w); }) ||
        !std::all_of(words.begin(), words.end(), [](std::u16string_view w) { return u_isupper(w[0]) != 0; }))
      break;
    namesEnd = comma;
    at = comma + 2;
  }
  if (namesEnd == 0) return;
  size_t bookEnd = text.size();
  for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.publisher, &r.place, &r.edition, &r.doi, &r.url, &r.note,
                         &r.number, &r.editors}) {
    if (p->Empty() || p->end <= cura) continue;
    if (p->begin < at) return;
    bookEnd = std::min(bookEnd, p->begin);
  }
  while (bookEnd > at && (text[bookEnd - 1] == u' ' || text[bookEnd - 1] == u',' || text[bookEnd - 1] == u'.')) --bookEnd;
  if (bookEnd <= at || !u_isupper(text[at])) return;
  r.title.end = std::min(r.title.end, cura);
  r.editors = {namesBegin, namesEnd};
  r.container = {at, bookEnd};
  r.journal = false;
}

// ISO 690's journal, the year again after its name ("Title. Nature
// reviews Molecular cell biology. 2010. vol. 11, no. 8, p. 567\u2013578.",
// the year first given after the names): the words between the title and
// that year are the journal's name, where the labels left them to no part
// or ran the name on into the year.
void JournalBeforeRepeatedYear(Reference& r) {
  if (r.title.Empty() || r.date.Empty() || r.date.begin > r.title.begin || (r.volume.Empty() && r.pages.Empty())) return;
  const std::u16string_view text = r.text;
  const std::u16string year = FirstYear(r.Text(r.date));
  if (year.empty()) return;
  size_t begin = r.title.end;
  while (begin < text.size() && text[begin] == u' ') ++begin;
  std::u16string mark = u". ";
  mark.append(year).append(u". ");
  const size_t at = text.find(mark, begin);
  if (at == std::u16string_view::npos || at <= begin || at - begin > 200) return;
  const size_t numbers = at + mark.size();
  if ((r.volume.Empty() || r.volume.begin != numbers) && (r.pages.Empty() || r.pages.begin != numbers)) return;
  if (!r.container.Empty() && (r.container.begin != begin || r.container.end > numbers)) return;
  for (const Piece* p : {&r.editors, &r.publisher, &r.place, &r.edition, &r.note, &r.number})
    if (!p->Empty() && p->begin < numbers && p->end > begin) return;
  if (!u_isupper(text[begin]) || text.substr(begin, at - begin).find(u". ") != std::u16string_view::npos) return;
  r.container = {begin, at};
  r.journal = true;
}

// A chapter cited by its book alone, "In" right after the year ("Dunlavy,
// C. 2006. In Major Problems in American Business History (Blaszczyk, R.,
// and Scranton, P., eds.). pp. 257\u2013263, Houghton-Mifflin"): what the
// labels took for the title is the book, its editors in the bracket after
// it, and there is no title.
void BookAloneAfterYear(Reference& r) {
  if (r.title.Empty() || !r.container.Empty() || r.date.Empty() || r.date.end > r.title.begin) return;
  const std::u16string_view text = r.text;
  const std::u16string_view t = r.Text(r.title);
  if (!t.starts_with(u"In ") || t.size() < 8 || !(u_isupper(t[3]) || IsQuote(t[3]))) return;
  for (size_t k = r.date.end; k < r.title.begin; ++k)
    if (text[k] != u' ' && text[k] != u'.' && text[k] != u',') return;
  // The book runs on into the editors' piece where the labels began it
  // inside the book ("In The dialogical self in psychotherapy. | An
  // Introduction (Hermans, H. J. M., and Dimaggio, G., eds.)").
  size_t end = r.title.end;
  if (!r.editors.Empty() && r.editors.begin >= r.title.end && r.editors.begin <= r.title.end + 1) end = r.editors.end;
  while (end > r.title.begin && (text[end - 1] == u' ' || text[end - 1] == u'.' || text[end - 1] == u',')) --end;
  size_t begin = r.title.begin + 3;
  if (IsQuote(text[begin])) ++begin;
  // The editors' bracket at its end.
  const std::u16string_view book = text.substr(begin, end - begin);
  bool bracket = false;
  if (const size_t open = book.rfind(u" ("); open != std::u16string_view::npos && book.back() == u')') {
    const std::u16string lower = LCase(book.substr(open));
    if (lower.ends_with(u"eds.)") || lower.ends_with(u"ed.)")) {
      r.editors = {begin + open + 2, end - 1};
      end = begin + open;
      bracket = true;
    }
  }
  // A title may begin with "In" ("In Situ Bioremediation", "In Search of
  // ..."): without the editors, only a chapter's pages say it is a book.
  if (!bracket && (end > r.title.end || r.pages.Empty())) return;
  if (end <= begin) return;
  r.container = {begin, end};
  r.title = {};
  r.journal = false;
}

// The last name before a Scandinavian "et al." taken for the title's
// first word ("Abbas, S.S., S. Naveed, F. | Qamar, mfl. \"Title\""): the
// names run to the word, the title starts after it.
void NamesEndAtOthersWord(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  size_t at = r.authors.end;
  while (at < r.title.begin && (text[at] == u' ' || text[at] == u',')) ++at;
  if (at != r.title.begin) return;
  const std::u16string_view rest = text.substr(at, r.title.end - at);
  const size_t comma = rest.find(u", ");
  if (comma == std::u16string_view::npos || comma < 2 || comma > 30 || !u_isupper(rest[0]) ||
      rest.substr(0, comma).find_first_of(u" .") != std::u16string_view::npos)
    return;
  for (std::u16string_view others : {u"mfl. ", u"m.fl. ", u"mfl., ", u"m.fl., "}) {
    if (!rest.substr(comma + 2).starts_with(others)) continue;
    const size_t end = at + comma + 2 + others.size();
    if (end >= r.title.end) return;
    r.authors.end = end - 1;
    while (r.authors.end > r.authors.begin && (text[r.authors.end - 1] == u' ' || text[r.authors.end - 1] == u',')) --r.authors.end;
    r.title.begin = end;
    return;
  }
}

// ISO 690's journal, "Journal, 2014, vol. 7, pp. 2114-2124.", where the
// labels took the year with the volume and found no date: the year is the
// date, the volume starts after it.
void YearOpensVolume(Reference& r) {
  if (!r.date.Empty() || r.volume.Empty()) return;
  const std::u16string_view v = r.Text(r.volume);
  const size_t comma = v.find(u", ");
  if (comma == std::u16string_view::npos || comma < 4 || comma > 5) return;
  std::u16string_view year = v.substr(0, comma);
  if (year.size() == 5 && year.back() >= u'a' && year.back() <= u'z') year.remove_suffix(1);
  if (year.size() != 4 || FirstYear(year) != year) return;
  const std::u16string_view rest = v.substr(comma + 2);
  if (rest.empty() || Numbers(rest).empty()) return;
  r.date = {r.volume.begin, r.volume.begin + comma};
  r.volume.begin += comma + 2;
}

// ABNT's place and publisher not known, in one bracket or two ("[S. l.:
// s. n.], 1996.", "[S. l.]: Kluwer, 1997."), which the labels cut apart
// at their full stops: the place is the bracket, the book or title before
// it ends before it, and a part that opens inside it opens after it.
void UnknownPlaceBracket(Reference& r) {
  const std::u16string_view text = r.text;
  size_t open = std::u16string_view::npos;
  for (std::u16string_view mark : {u"[S. l.", u"[s. l.", u"[S.l.", u"[s.l."})
    open = std::min(open, text.find(mark));
  if (open == std::u16string_view::npos) return;
  const size_t close = text.find(u']', open);
  if (close == std::u16string_view::npos || close - open > 16) return;
  const size_t end = close + 1;
  for (Piece* p : {&r.title, &r.container}) {
    if (p->Empty() || p->begin >= open || p->end <= open) continue;
    p->end = open;
    while (p->end > p->begin && (r.text[p->end - 1] == u' ' || r.text[p->end - 1] == u',')) --p->end;
  }
  for (Piece* p : {&r.pages, &r.publisher, &r.date, &r.note}) {
    if (p->Empty() || p->end <= open || p->begin >= end) continue;
    if (p->end <= end) {
      *p = {};
      continue;
    }
    p->begin = end;
    while (p->begin < p->end && (r.text[p->begin] == u' ' || r.text[p->begin] == u',' || r.text[p->begin] == u':'))
      ++p->begin;
    if (p->begin == p->end) *p = {};
  }
  if (r.place.Empty() || (r.place.end > open && r.place.begin < end)) r.place = {open, end};
  // The pages after it, where the labels took the bracket for them.
  if (const Piece pages = PagesWrittenOut(text, end); r.pages.Empty() && !pages.Empty()) {
    bool free = true;
    for (const Piece* p : {&r.date, &r.volume, &r.publisher, &r.note, &r.doi, &r.url})
      free &= p->Empty() || p->end <= pages.begin || p->begin >= pages.end;
    if (free) r.pages = pages;
  }
}

// The book right after "In:" (or Portuguese "Em:", Spanish "En:") and the
// title, its first words left to no part or taken for editors who have
// no role ("Em: Carl Rogers Counsels a Black | Client: Race and Culture",
// "In: John | Cage: Composed in America"): the book starts after the word,
// and a book with a publisher is no journal. ABNT's meeting, "In:, 1996a.
// Proceedings of SIGIR.", writes the year before the book: no part of it.
void BookStartsAfterIn(Reference& r) {
  if (r.title.Empty() || r.container.Empty()) return;
  const std::u16string_view text = r.text;
  if (const std::u16string_view c = r.Text(r.container); c.size() > 7 && IsDigit(c[0])) {
    const size_t stop = c.find(u". ");
    std::u16string_view year = c.substr(0, stop);
    if (!year.empty() && year.back() >= u'a' && year.back() <= u'z') year.remove_suffix(1);
    if (stop != std::u16string_view::npos && stop <= 5 && year.size() == 4 && FirstYear(year) == year &&
        u_isupper(c[stop + 2]))
      r.container.begin += stop + 2;
  }
  if (!r.editors.Empty()) {
    if (r.editors.end > r.container.begin || HasEditorRole(r.Text(r.editors))) return;
    for (size_t k = r.editors.end; k < r.container.begin; ++k)
      if (text[k] != u' ') return;
  }
  size_t at = r.title.end;
  while (at < text.size() && text[at] == u' ') ++at;
  size_t start = std::u16string_view::npos;
  for (std::u16string_view in : {u"In: ", u"Em: ", u"En: "})
    if (text.substr(at).starts_with(in)) start = at + in.size();
  if (start == std::u16string_view::npos || start > r.container.begin) return;
  if (start < r.container.begin) {
    const std::u16string_view gap = text.substr(start, r.container.begin - start);
    if (!u_isupper(text[start]) || gap.find_first_of(u".;()[]") != std::u16string_view::npos) return;
    for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.publisher, &r.place, &r.edition, &r.doi, &r.url, &r.note,
                           &r.number})
      if (!p->Empty() && p->begin < r.container.begin && p->end > start) return;
    r.container.begin = start;
    r.editors = {};
  }
  if (!r.publisher.Empty() && r.publisher.begin > r.container.begin) r.journal = false;
}

// A chapter cited without its own title, as some chemistry styles cite
// one ("Lightbown, P., in: Harley, B. (Ed.), The Development of Second
// Language Proficiency. Cambridge University Press, ..."): the names
// before "in:" are the authors, those before the role the editors, and
// what follows the book; there is no title.
void ChapterWithoutTitle(Reference& r) {
  const std::u16string_view text = r.text;
  size_t begin = r.citationNumber.Empty() ? 0 : r.citationNumber.end;
  while (begin < text.size() && text[begin] == u' ') ++begin;
  size_t in = std::u16string_view::npos, after = 0;
  for (std::u16string_view mark : {u", in: ", u", In: "})
    if (const size_t at = text.find(mark, begin); at != std::u16string_view::npos && at < in) in = at, after = at + mark.size();
  if (in == std::u16string_view::npos || in == begin || in - begin > 300) return;
  // Names only: no digits or quotation marks, at most four words to a
  // comma, none in small letters but a particle or "and" ("Clark, K. L.,
  // Negation as Failure, in: ..." has a title).
  const auto namesOnly = [](std::u16string_view names) {
    if (names.empty() || !u_isupper(names[0]) ||
        std::any_of(names.begin(), names.end(), [](char16_t c) { return IsDigit(c) || c == u':' || IsQuote(c); }))
      return false;
    size_t inItem = 0;
    for (std::u16string_view w : Words(names)) {
      const std::u16string lower = LCase(w);
      const bool joins = lower == u"and" || lower == u"&" || lower == u"et";
      if (u_islower(w[0]) && !joins && !IsParticle(lower)) return false;
      inItem = joins ? 0 : inItem + 1;
      if (inItem > 4) return false;
      if (w.back() == u',') inItem = 0;
    }
    return true;
  };
  const std::u16string_view authors = text.substr(begin, in - begin);
  if (!namesOnly(authors)) return;
  size_t role = std::u16string_view::npos, roleEnd = 0;
  const std::u16string near = LCase(text.substr(after, 240));
  for (std::u16string_view mark : kBracketedEditorRoles)
    if (const size_t at = near.find(mark); at != std::u16string::npos && at > 0 && near[at - 1] == u' ' && at - 1 < role)
      role = at - 1, roleEnd = at + mark.size();
  if (role == std::u16string_view::npos || role > 200 || !namesOnly(text.substr(after, role))) return;
  role += after, roleEnd += after;
  bool more = false;
  if (Names(authors, more).empty() || Names(text.substr(after, role - after), more).empty()) return;
  size_t book = roleEnd;
  while (book < text.size() && (text[book] == u',' || text[book] == u' ')) ++book;
  if (book >= text.size() || !u_isupper(text[book])) return;
  // The book is the title the labels found there, or runs to the next part.
  size_t end = text.size();
  if (!r.title.Empty() && r.title.begin <= book && r.title.end > book) {
    end = r.title.end;
  } else {
    for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.publisher, &r.place, &r.edition, &r.doi, &r.url, &r.note,
                           &r.number, &r.container})
      if (!p->Empty() && p->begin > book) end = std::min(end, p->begin);
  }
  for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.publisher, &r.place, &r.edition, &r.doi, &r.url})
    if (!p->Empty() && p->begin < end && p->end > begin) return;
  while (end > book && (text[end - 1] == u' ' || text[end - 1] == u',' || text[end - 1] == u'.')) --end;
  if (end <= book) return;
  r.authors = {begin, in};
  r.editors = {after, roleEnd};
  r.container = {book, end};
  r.title = {};
  r.note = {};
  r.journal = false;
}

// Takes [begin, end) out of each of the pieces: one inside it goes, one
// that reaches into it from before ends at `begin`, one that reaches out of
// it begins at `end` (its spaces skipped).
void MakeRoom(Reference& r, size_t begin, size_t end, std::initializer_list<Piece*> pieces) {
  for (Piece* p : pieces) {
    if (p->Empty() || p->end <= begin || end <= p->begin) continue;
    if (p->begin >= begin && p->end <= end) *p = {};
    else if (p->begin >= begin) p->begin = end;
    else p->end = begin;
    while (p->begin < p->end && r.text[p->begin] == u' ') ++p->begin;
    if (p->begin >= p->end) *p = {};
  }
}

// Every piece a reference may have, for rules that look at what lies
// between them.
std::array<const Piece*, 15> PiecesOf(const Reference& r) {
  return {&r.citationNumber, &r.authors, &r.editors, &r.date, &r.title, &r.container, &r.volume, &r.pages,
          &r.publisher, &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number};
}

// The words after the year up to the next piece, spaces trimmed: where a
// title left in no piece stands. nullopt when a piece runs across the
// year's end.
std::optional<Piece> AfterYear(const Reference& r) {
  const std::u16string_view text = r.text;
  size_t from = r.date.end, to = text.size();
  while (from < to && text[from] == u' ') ++from;
  for (const Piece* p : PiecesOf(r))
    if (!p->Empty() && p->end > from) {
      if (p->begin < from) return std::nullopt;
      to = std::min(to, p->begin);
    }
  return Piece{from, BeforeSpaces(text, to, from)};
}

// The first words of a title left in no piece, up to a colon ("2019.
// BERT: Pre-training of ...", where the labels began the title after the
// colon): they are the title's.
void TitleStartLeftOut(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  size_t from = 0;
  const Piece* before = nullptr;
  for (const Piece* p : PiecesOf(r))
    if (!p->Empty() && p != &r.title && p->begin < r.title.begin) {
      if (p->end > r.title.begin) return;
      if (p->end >= from) from = p->end, before = p;
    }
  size_t begin = from;
  while (begin < r.title.begin && text[begin] == u' ') ++begin;
  size_t end = r.title.begin;
  while (end > begin && text[end - 1] == u' ') --end;
  // Names the labels cut short go on after a comma: Vancouver's last
  // name and its initials before a colon ("Silva CT, Vo HT: Vistrails:
  // ...") are the authors'.
  if (before == &r.authors || before == &r.editors) {
    size_t k = before->end;
    while (k > before->begin && text[k - 1] == u' ') --k;
    if (k > before->begin && (text[k - 1] == u',' || text[k - 1] == u';')) {
      if (before == &r.authors && end > begin && text[end - 1] == u':') {
        const std::vector<std::u16string_view> name = Words(text.substr(begin, end - 1 - begin));
        if (name.size() >= 2 && name.size() <= 3 && IsCapitalised(name[0]) && IsInitials(name.back())) r.authors.end = end;
      }
      return;
    }
  }
  // (A quoted title is whole: "Casabella: \"Il Museo\"" names its journal first.)
  if (begin == end || text[end - 1] != u':' || IsQuote(text[r.title.begin])) return;
  const std::vector<std::u16string_view> words = Words(text.substr(begin, end - begin));
  // A name of a few words ("BERT:", "Deep Learning:"), beginning in a
  // capital; not a label or role ("In:", "Available from:").
  if (words.size() > 3 || !u_isupper(words[0][0]) || words.back().size() < 3) return;
  for (std::u16string_view w : words) {
    const std::u16string lower = LCase(w);
    if (IsRoleWord(lower) || lower.starts_with(u"available") || lower.starts_with(u"retrieved") ||
        lower.starts_with(u"url") || lower.starts_with(u"doi") || lower.starts_with(u"online") ||
        std::any_of(w.begin(), w.end(), [](char16_t c) { return c == u'.' || c == u',' || c == u';' || IsQuote(c); }))
      return;
  }
  r.title.begin = begin;
}

// Many names given first, as ACL and NeurIPS styles write them ("Yinhan
// Liu, Myle Ott, ..., Omer Levy, Mike Lewis, and Veselin Stoyanov. 2019.
// RoBERTa: ..."), where the labels took a name of the list for the title:
// the names run on to the full stop before the year, and the title is
// what follows the year, up to the next piece.
void GivenFirstNamesRunToYear(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.date.Empty()) return;
  if (!(r.authors.end <= r.title.begin && r.title.end <= r.date.begin)) return;
  const std::u16string_view text = r.text;
  // The names the labels found go on after a comma.
  size_t authorsEnd = r.authors.end;
  while (authorsEnd > r.authors.begin && text[authorsEnd - 1] == u' ') --authorsEnd;
  if (authorsEnd == r.authors.begin || text[authorsEnd - 1] != u',') return;
  size_t namesEnd = r.date.begin;
  while (namesEnd > r.authors.end && text[namesEnd - 1] == u' ') --namesEnd;
  if (namesEnd == r.authors.end || text[namesEnd - 1] != u'.') return;
  // Names of two or three capitalised words (or initials), between commas,
  // "and" before the last.
  size_t inName = 0;
  for (std::u16string_view w : Words(text.substr(r.authors.end, namesEnd - r.authors.end))) {
    if (w == u"and" || w == u"&") {
      if (inName != 0) return;
      continue;
    }
    // (An initial's full stop ends no name: "Peter J. Liu".)
    const bool initial = w.size() == 2 && w.back() == u'.';
    const bool ends = w.back() == u',' || (w.back() == u'.' && !initial);
    const std::u16string_view bare = w.back() == u',' || w.back() == u'.' ? w.substr(0, w.size() - 1) : w;
    if (bare.empty() || !u_isupper(bare[0]) ||
        std::any_of(bare.begin(), bare.end(), [](char16_t c) { return IsDigit(c) || c == u':' || c == u'(' || IsQuote(c); }))
      return;
    if (++inName > 3) return;
    if (ends) {
      if (inName < 2) return;
      inName = 0;
    }
  }
  if (inName != 0) return;
  for (const Piece* p : PiecesOf(r))
    if (!p->Empty() && p != &r.title && p != &r.authors && p->begin < r.date.begin && p->end > r.authors.end) return;
  // The title: from the year to the next piece.
  const std::optional<Piece> title = AfterYear(r);
  if (!title || title->end - title->begin < 4) return;
  r.authors.end = namesEnd;
  r.title = *title;
}

// APA's volume of a proceedings in its bracket after the book's name, the
// pages' bracket after it ("Proceedings of the 54th Annual Meeting of the
// Association for Computational Linguistics (Volume 1: Long Papers) (pp.
// 1715–1725). Association for Computational Linguistics."): the volume
// and the pages, whatever the labels made of their words.
void BracketedVolumeOfBook(Reference& r) {
  if (r.container.Empty()) return;
  const std::u16string_view text = r.text;
  size_t open = r.container.end;
  while (open < text.size() && (text[open] == u' ' || text[open] == u',')) ++open;
  size_t number = open;
  for (std::u16string_view lead : {u"(Volume ", u"(Vol. ", u"(vol. "})
    if (text.substr(open).starts_with(lead)) number = open + lead.size();
  if (number == open) return;
  size_t k = number;
  while (k < text.size() && (IsDigit(text[k]) || text[k] == u'I' || text[k] == u'V' || text[k] == u'X')) ++k;
  const size_t close = text.find(u')', k);
  if (k == number || k >= text.size() || (text[k] != u':' && text[k] != u')') || close == std::u16string_view::npos) return;
  MakeRoom(r, open, close + 1,
           {&r.date, &r.volume, &r.pages, &r.publisher, &r.place, &r.edition, &r.note, &r.number, &r.doi, &r.url});
  r.volume = {open + 1, close};
  size_t pages = close + 1;
  while (pages < text.size() && text[pages] == u' ') ++pages;
  if (!text.substr(pages).starts_with(u"(pp. ") && !text.substr(pages).starts_with(u"(p. ")) return;
  const size_t pagesClose = text.find(u')', pages);
  if (pagesClose == std::u16string_view::npos || pagesClose - pages > 30) return;
  MakeRoom(r, pages, pagesClose + 1, {&r.date, &r.pages, &r.publisher, &r.place, &r.edition, &r.note, &r.number});
  r.pages = {pages, pagesClose + 1};
  // (The full stop after the bracket is no part of what follows.)
  for (Piece* p : {&r.publisher, &r.place, &r.note})
    if (!p->Empty() && p->begin == pagesClose + 1) {
      while (p->begin < p->end && (text[p->begin] == u'.' || text[p->begin] == u' ')) ++p->begin;
      if (p->begin >= p->end) *p = {};
    }
}

// ACL's place after the pages, a city and its state or country, then the
// publisher ("pages 4171–4186, Minneapolis, Minnesota. Association for
// Computational Linguistics."), where the labels began the publisher at
// the state: the state is the place's.
void PlaceEndsBeforePublisher(Reference& r) {
  if (r.place.Empty() || r.publisher.Empty()) return;
  const std::u16string_view text = r.text;
  size_t k = r.place.end;
  while (k > r.place.begin && text[k - 1] == u' ') --k;
  if (k == r.place.begin || text[k - 1] != u',') return;
  size_t gap = k;
  while (gap < r.publisher.begin && text[gap] == u' ') ++gap;
  if (gap != r.publisher.begin) return;
  const std::u16string_view publisher = r.Text(r.publisher);
  const size_t stop = publisher.find(u". ");
  if (stop == std::u16string_view::npos) return;
  const std::vector<std::u16string_view> state = Words(publisher.substr(0, stop));
  const std::vector<std::u16string_view> rest = Words(publisher.substr(stop + 2));
  if (state.empty() || state.size() > 2 || rest.size() < 2 || !u_isupper(rest[0][0])) return;
  for (std::u16string_view w : state)
    if (!IsCapitalised(w) || std::any_of(w.begin(), w.end(), IsDigit) || IsInitials(w)) return;
  r.place.end = r.publisher.begin + stop + 1;
  r.publisher.begin += stop + 2;
}

// Whether `text` opens with a year in its bracket, "(1967)".
bool YearBracketOpens(std::u16string_view text) {
  return text.size() >= 6 && text[0] == u'(' && text[5] == u')' && FirstYear(text.substr(1, 4)) == text.substr(1, 4);
}

// Physics styles' first page alone after the volume ("Phys. Rev. Lett.
// 19, 1 (1967)", "Phys. Lett. B 716, 1 (2012)"), where the labels took
// both numbers for the volume: the second is the page.
void PageAfterVolumeComma(Reference& r) {
  if (!r.pages.Empty() || r.volume.Empty()) return;
  const std::u16string_view v = r.Text(r.volume);
  size_t k = 0;
  while (k < v.size() && IsDigit(v[k])) ++k;
  if (k == 0 || k > 5 || !v.substr(k).starts_with(u", ")) return;
  const size_t page = k + 2;
  size_t end = page;
  while (end < v.size() && IsDigit(v[end])) ++end;
  if (end == page || end - page > 6) return;
  for (size_t i = end; i < v.size(); ++i)
    if (v[i] != u' ' && v[i] != u',' && v[i] != u'.') return;
  // The year in its bracket right after, as these styles end: "58, 1
  // (Summer 2004)" and "Psychology Today 49, 5." are an issue.
  const std::u16string_view after = Trim(std::u16string_view(r.text).substr(r.volume.end));
  if (!YearBracketOpens(after)) return;
  r.pages = {r.volume.begin + page, r.volume.begin + end};
  r.volume.end = r.volume.begin + k + 1;
}

// The Institute of Physics' volume and pages parted by a space alone, at
// the end or before the year's bracket ("Phys. Rev. Lett. 13 508", "Glob
// Ecol Biogeogr 20 170–80 (2011)"), where the labels took both for the
// volume: the second number, or range, is the pages.
void PagesAfterVolumeSpace(Reference& r) {
  if (!r.pages.Empty() || r.volume.Empty()) return;
  const std::u16string_view v = r.Text(r.volume);
  size_t k = 0;
  while (k < v.size() && IsDigit(v[k])) ++k;
  if (k == 0 || k > 5 || k + 1 >= v.size() || v[k] != u' ' || !IsDigit(v[k + 1])) return;
  const size_t page = k + 1;
  size_t end = page;
  while (end < v.size() && IsDigit(v[end])) ++end;
  if (end - page > 6) return;
  // A range, its end perhaps shortened ("170–80").
  if (end + 1 < v.size() && (v[end] == u'-' || v[end] == u'–') && IsDigit(v[end + 1]))
    for (end += 1; end < v.size() && IsDigit(v[end]);) ++end;
  for (size_t i = end; i < v.size(); ++i)
    if (v[i] != u' ' && v[i] != u',' && v[i] != u'.') return;
  const std::u16string_view after = Trim(std::u16string_view(r.text).substr(r.volume.end));
  if (!after.empty() && after != u"." && !YearBracketOpens(after)) return;
  r.pages = {r.volume.begin + page, r.volume.begin + end};
  r.volume.end = r.volume.begin + k;
}

// Physics styles' names, initials without full stops before the family
// name and no mark after the last ("B Matalon Décrire, expliquer, ...", "R F
// O’Toole Who is a Christian?", "[10]A Paquette and C Messier Glob Ecol
// Biogeogr 20 170 (2011)"), where the labels ran the names on into the
// title or cut them at the initials: the names end at the family name
// after the last initials, and the title begins there.
void UndottedInitialsFirst(Reference& r) {
  if (r.authors.Empty()) return;
  const std::u16string_view text = r.text;
  size_t head = r.citationNumber.Empty() ? 0 : r.citationNumber.end;
  // A citation number glued to the first initial ("[10]A").
  Piece glued;
  if (r.citationNumber.Empty() && text.starts_with(u'[')) {
    size_t k = 1;
    while (k < text.size() && k < 5 && IsDigit(text[k])) ++k;
    if (k > 1 && k + 1 < text.size() && text[k] == u']') glued = {0, k + 1}, head = k + 1;
  }
  while (head < text.size() && text[head] == u' ') ++head;
  if (r.authors.begin != head && !(!glued.Empty() && r.authors.begin == 0)) return;
  // An initial first: a capital, then a space or a hyphen ("J-L").
  if (head + 2 >= text.size() || !u_isupper(text[head]) || (text[head + 1] != u' ' && text[head + 1] != u'-')) return;
  if (!glued.Empty()) MakeRoom(r, 0, glued.end, {&r.title, &r.container, &r.note});
  const std::vector<Token> tokens = Tokenize(text.substr(head, std::min<size_t>(text.size() - head, 400)));
  // ("J-L" too.)
  const auto initial = [](std::u16string_view w) {
    return (w.size() == 1 && u_isupper(w[0])) || (w.size() <= 3 && w.find(u'.') == std::u16string_view::npos && w.find(u'-') == 1 && IsInitials(w));
  };
  size_t k = 0, end = 0;
  for (;;) {
    const size_t first = k;
    while (k < tokens.size() && initial(tokens[k].text)) ++k;
    if (k == first || k + 1 >= tokens.size()) return;
    // A particle before the family name ("M von Smoluchowski").
    if (IsParticle(LCase(tokens[k].text)) && k + 2 < tokens.size()) ++k;
    std::u16string_view family = tokens[k].text;
    const bool comma = family.ends_with(u',');
    if (comma) family.remove_suffix(1);
    // (In capitals too: "G M FOSTER".)
    if (family.size() < 2 || !u_isupper(family[0]) || !u_isalpha(family.back()) ||
        IsQuote(family.back()) ||
        std::any_of(family.begin(), family.end(), [](char16_t c) { return IsDigit(c) || c == u'.' || c == u':' || c == u'(' || c == u'"'; }))
      return;
    end = head + tokens[k].begin + family.size();
    ++k;
    if (k + 1 < tokens.size() && (tokens[k].text == u"and" || tokens[k].text == u"&" || tokens[k].text == u"et" ||
                                  tokens[k].text == u"und") && initial(tokens[k + 1].text)) {
      ++k;
      continue;
    }
    if (comma && k < tokens.size() && initial(tokens[k].text)) continue;
    // "et al." ends the names, so does Chinese "等".
    if (k + 1 < tokens.size() && tokens[k].text == u"et" && tokens[k + 1].text.starts_with(u"al.")) {
      end = head + tokens[k + 1].begin + 3;
      k += 2;
    } else if (k < tokens.size() && tokens[k].text.starts_with(u"等")) {
      end = head + tokens[k].begin + 1;
      ++k;
    }
    break;
  }
  // Something after the names, and the labels' names ending elsewhere.
  if (k >= tokens.size()) return;
  size_t labelled = r.authors.end;
  while (labelled > r.authors.begin && (text[labelled - 1] == u' ' || text[labelled - 1] == u',')) --labelled;
  if (labelled == end) return;
  // Names the labels found beyond: a name written out after a comma
  // ("G Ausiello, Francesco Polverino"), a family name of more words
  // ("A Martinez De Yuso, C Zlotea") are theirs, so are the names after.
  if (labelled > end) {
    const std::u16string_view more = text.substr(end, labelled - end);
    if (more.starts_with(u',')) return;
    const std::vector<std::u16string_view> words = Words(more);
    for (size_t w = 1; w < words.size(); ++w)
      if (words[w - 1].ends_with(u',') && initial(words[w])) return;
    // An organisation's name is whole ("R Core Team").
    for (std::u16string_view w : words)
      if (IsOrganisationWord(LCase(w.ends_with(u',') || w.ends_with(u'.') ? w.substr(0, w.size() - 1) : w))) return;
  }
  size_t next = end;
  while (next < text.size() && (text[next] == u' ' || text[next] == u',')) ++next;
  // What the labels gave the words after the names: the title's start,
  // up to the next part.
  const size_t oldEnd = r.authors.end;
  if (!glued.Empty()) r.citationNumber = glued;
  r.authors = {head, end};
  MakeRoom(r, head, next, {&r.title, &r.container, &r.publisher, &r.place, &r.note, &r.editors});
  if (!r.title.Empty() && r.title.begin > next && r.title.begin <= std::max(oldEnd, next) + 1) r.title.begin = next;
}

// Styles that write no title end an article with its volume, its first
// page and the year's bracket, nothing between them ("I Moser Science as
// Culture 9 201 (2000).", "I Lokody Nat Rev Genet 15 (2014)."),
// where the labels ran the numbers on into the title or the journal: the
// volume's and the page's. (The words before them are then read as the
// journal's or the title's below.)
void BareNumbersBeforeYear(Reference& r) {
  if (r.authors.Empty()) return;
  const std::u16string_view text = r.text;
  size_t end = text.size();
  while (end > 0 && (text[end - 1] == u'.' || text[end - 1] == u' ')) --end;
  if (end < 8) return;
  // Or the two numbers end the reference, the year before the journal
  // ("Kyte F T 1998 Nature 396 237").
  const bool bracket = YearBracketOpens(text.substr(end - 6, 6));
  const size_t open = bracket ? end - 6 : end;
  // The numbers before it, one or two words of digits.
  const auto wordBefore = [&](size_t at) -> Piece {
    const size_t b = BeforeSpaces(text, at, 0);
    size_t a = b;
    while (a > 0 && IsDigit(text[a - 1])) --a;
    if (a == b || b - a > 5 || a == 0 || text[a - 1] != u' ') return {};
    return {a, b};
  };
  const Piece last = wordBefore(open);
  if (last.Empty()) return;
  Piece volume = last, page;
  if (const Piece first = wordBefore(last.begin); !first.Empty() && first.end - first.begin <= 4) volume = first, page = last;
  if (volume.begin <= r.authors.end || volume.end - volume.begin > 4) return;
  if (!bracket && (page.Empty() || r.date.Empty() || r.date.end > volume.begin || !r.volume.Empty())) return;
  // A volume or pages the labels found before them are the article's (law
  // reviews write "30 J. Shellfish Res. 659 (2011)").
  for (const Piece* p : {&r.volume, &r.pages})
    if (!p->Empty() && p->begin < volume.begin) return;
  // After the journal's words ("Rev 9"), not after a number's comma
  // ("arXiv 1407.1446, 4"); a year alone is a place's date ("Paris 1970
  // (1946)").
  const size_t word = BeforeSpaces(text, volume.begin, 0);
  if (!(u_isalpha(text[word - 1]) || text[word - 1] == u'.') ||
      (page.Empty() && FirstYear(r.Text(volume)) == r.Text(volume)))
    return;
  // Whatever the labels made of the numbers and the year is theirs: the
  // numbers' parts there, the words' parts cut before them. No other part
  // may reach into them.
  for (const Piece* p : PiecesOf(r)) {
    if (p->Empty() || p->end <= volume.begin) continue;
    const bool words = p == &r.title || p == &r.container || p == &r.note;
    const bool numbers = p == &r.volume || p == &r.pages || p == &r.date;
    if (!(words || (numbers && p->begin >= volume.begin))) return;
  }
  for (Piece* p : {&r.title, &r.container, &r.note}) {
    if (p->Empty() || p->end <= volume.begin) continue;
    if (p->begin >= volume.begin) *p = {};
    else p->end = BeforeSpaces(text, volume.begin, p->begin);
  }
  r.volume = volume;
  r.pages = page;
  // (The bracket's word whole, with the full stop after it.)
  if (bracket) r.date = {open, std::min(text.find(u' ', open), text.size())};
}

// A short word with a full stop that English has no word for, or with
// full stops inside ("rev.", "u.l."): an abbreviation, which ends no
// title.
bool IsAbbreviation(std::u16string_view lower) {
  if (!lower.ends_with(u'.')) return false;
  const std::u16string_view core = lower.substr(0, lower.size() - 1);
  if (core.find(u'.') != std::u16string_view::npos) return true;
  return core.size() <= 4 && smart::Dictionary::English().SizeOf(core) == smart::Dictionary::kNoWord;
}

// A journal named right after the names, or the year after them, with
// no title, its volume and pages next ("Higgs P W 1964 Phys. Rev. Lett. 13
// 508", "M Blair ABR 55 1 (2007).", "A Paquette and C Messier Glob Ecol
// Biogeogr 20 170 (2011)"), as physics styles write an article: the words
// are the journal's, where they name one (capitals, short words between,
// abbreviations, no sentence's full stop), whatever the labels made of
// them.
void JournalRightAfterNames(Reference& r) {
  if (r.authors.Empty() || r.volume.Empty()) return;
  const std::u16string_view text = r.text;
  // Or the volume alone before the year's bracket that ends the reference
  // ("I Lokody Nat Rev Genet 15 (2014).").
  const Piece numbers = r.pages.Empty() ? r.volume : r.pages;
  const std::u16string_view rest = Trim(text.substr(numbers.end));
  const bool yearEnds = YearBracketOpens(rest) && Trim(rest.substr(6)).find_first_not_of(u". ") == std::u16string_view::npos;
  if (r.pages.Empty() ? !yearEnds : r.pages.begin < r.volume.end) return;
  // The pages right after the volume ("13 508", "20, 170"): not a book's
  // "90. pp. 117–124".
  const std::u16string_view between =
      r.pages.Empty() ? std::u16string_view() : Trim(text.substr(r.volume.end, r.pages.begin - r.volume.end));
  if (!(between.empty() || between == u"," || between == u":") || Trim(r.Text(r.volume)).ends_with(u'.')) return;
  size_t from = r.authors.end;
  while (from < text.size() && text[from] == u' ') ++from;
  if (!r.date.Empty() && r.date.begin == from) {
    from = r.date.end;
    while (from < text.size() && text[from] == u' ') ++from;
  }
  size_t to = BeforeSpaces(text, r.volume.begin, from);
  // The year between the journal and the volume, commas around it, as
  // styles that write no title have it ("Paquette A, Messier C. Glob Ecol
  // Biogeogr, 2011, 20: 170–180"): the words before it are the journal's
  // whatever the labels made of them.
  const bool yearBetween = !r.date.Empty() && r.date.begin > from && r.date.end <= r.volume.begin &&
                           r.container.Empty() && Trim(text.substr(r.date.end, r.volume.begin - r.date.end)).size() <= 1 &&
                           Trim(r.Text(r.date)).size() <= 5 && text.substr(r.date.begin, r.volume.begin - r.date.begin).find(u',') != std::u16string_view::npos;
  if (yearBetween) {
    to = BeforeSpaces(text, r.date.begin, from);
    if (to > from && text[to - 1] == u',') to = BeforeSpaces(text, to - 1, from);
  }
  if (to <= from) return;
  // (A note the labels made of the journal's words there, where the year
  // ends the reference, is the journal's too.)
  const bool noteInside = yearEnds && !r.note.Empty() && r.note.begin >= from;
  for (const Piece* p : PiecesOf(r))
    if (!p->Empty() && p != &r.title && p != &r.container && !(noteInside && p == &r.note) && p->begin < to && p->end > from)
      return;
  if ((!r.title.Empty() && (r.title.begin < from || r.title.end > (yearBetween ? r.date.begin : to))) ||
      (!r.container.Empty() && (r.container.begin < from || r.container.end > to)))
    return;
  // A title the labels found is one ("Three Old Irish Accentual Poems.
  // Ériu 22, 23–80", "Drug Information Annals of Internal Medicine 119
  // 936–8") unless cut where no title ends: after one word ("Glob | Ecol
  // Biogeogr") or before its sentence goes on ("Science as | Culture").
  // Where the year's bracket ends the reference after the pages, as in
  // styles that write no title ("S Guseynova International Textbook
  // Research 30 841 (2008)."), the words are the journal's whatever the
  // labels made of them.
  if (!r.title.Empty() && !yearBetween) {
    const std::u16string_view title = Trim(r.Text(r.title));
    const size_t space = title.rfind(u' ');
    const std::u16string last = LCase(space == std::u16string_view::npos ? title : title.substr(space + 1));
    if (space != std::u16string_view::npos &&
        ((last.ends_with(u'.') && !(yearEnds && IsAbbreviation(last))) ||
         (!yearEnds && !lexicon::Has(lexicon::kGoingOn, last) && last != u"as")))
      return;
  }
  const std::vector<std::u16string_view> words = Words(text.substr(from, to - from));
  if (words.size() > 10) return;
  // Commas between a name's words ("Mind, Culture, and Activity 19 139
  // (2012)."), where the volume, the page and the year's bracket end the
  // reference with nothing between them, as only styles without titles
  // write an article; not after a title the labels found ("A. M. Turing,
  // Computing Machinery and Intelligence, Mind 59 433-460 (1950)").
  const bool compact = yearEnds && !r.pages.Empty() && between.empty() && r.title.Empty();
  for (size_t k = 0; k < words.size(); ++k) {
    std::u16string_view w = words[k];
    if (compact && k + 1 < words.size() && w.size() > 2 && w.back() == u',') w.remove_suffix(1);
    if (k > 0 && (w == u"&" || w == u"of" || w == u"and" || w == u"in" || w == u"for" || w == u"the" || w == u"on" || w == u"as" ||
                  w == u"de" || w == u"der" || w == u"und" || w == u"für"))
      continue;
    // A section's letter ("Environment and Planning D: Society and
    // Space"), a French article's elision ("Chez l’enfant").
    if (w.size() == 2 && u_isupper(w[0]) && w[1] == u':' && k > 0) continue;
    if (w.size() > 3 && (w[0] == u'l' || w[0] == u'd') && (w[1] == u'\u2019' || w[1] == u'\'') && u_isupper(w[2]) == 0 &&
        LettersOnly(w.substr(2)))
      continue;
    if (!u_isupper(w[0]) || std::any_of(w.begin(), w.end(), [](char16_t c) { return IsDigit(c) || c == u',' || c == u':' || c == u'?' || c == u';' || IsQuote(c); }))
      return;
    // An abbreviation's full stop, not a sentence's.
    if (w.back() == u'.' && w.size() > 6) return;
  }
  r.container = {from, to};
  r.title = {};
  if (noteInside) r.note = {};
  r.journal = true;
}

// Physics styles' journal right after the names, its volume next ("M.
// Blair, ABR 55, 1 (2007).", "F. E. Wickman, GFF 116, 145 (1994)."),
// where the labels took a journal's short name for part of the volume:
// the words before the volume's number are the journal's.
void JournalInsideVolume(Reference& r) {
  if (r.volume.Empty() || !r.container.Empty() || !r.title.Empty()) return;
  const std::u16string_view text = r.text;
  const std::vector<Token> tokens = Tokenize(r.Text(r.volume));
  // (Not the word for a volume: "Vol 5", "Band 12".)
  static constexpr std::array<std::u16string_view, 12> kVolumeWords = {
      u"band", u"bd", u"issue", u"no", u"nr", u"part", u"suppl", u"supplement", u"tome", u"tomo", u"vol", u"volume"};
  size_t k = 0;
  while (k < tokens.size() && k < 3 && tokens[k].text.size() >= 2 && u_isupper(tokens[k].text[0]) &&
         LettersOnly(tokens[k].text) && !lexicon::Has(kVolumeWords, LCase(tokens[k].text)))
    ++k;
  if (k == 0 || k == tokens.size() || !IsDigit(tokens[k].text[0])) return;
  const size_t begin = r.volume.begin;
  r.volume.begin = begin + tokens[k].begin;
  r.container = {begin, BeforeSpaces(text, r.volume.begin, begin)};
  r.journal = true;
}

// Styles that write no title for an article, the journal right after the
// year and its numbers in a group after it (the Annual Reviews':
// "Bergerud AT. 1988. Trends in Ecology and Evolution. 3:68–72"), where
// the labels took the journal's words for a title: the journal's. The
// words are one sentence: a full stop inside ends an abbreviation only
// ("Proc. Natl. Acad. Sci. USA."), or the title ends there ("Geothermal
// systems of the world. Annu. Rev. ...").
void JournalRightAfterYear(Reference& r) {
  if (r.date.Empty() || r.authors.Empty() || r.volume.Empty() || r.title.Empty() || r.authors.end > r.date.begin)
    return;
  const std::u16string_view text = r.text;
  // The year alone with its full stop ("1988. "), not in a bracket: the
  // springer styles' "Aron R (1967) Qu’est-ce qu’une théorie ...? Revue
  // française ... 17:837–861" have a title there.
  size_t from = r.date.end;
  while (from < text.size() && (text[from] == u'.' || text[from] == u' ')) ++from;
  const std::u16string_view date = Trim(r.Text(r.date));
  const bool stop = date.ends_with(u'.') || text.substr(r.date.end, from - r.date.end).find(u'.') != std::u16string_view::npos;
  if (from >= r.volume.begin || r.title.begin != from || !stop || date.find(u')') != std::u16string_view::npos) return;
  for (size_t k = r.authors.end; k < r.date.begin; ++k)
    if (text[k] != u' ' && text[k] != u'.' && text[k] != u',') return;
  // The numbers in their group, nothing after them: "3:68–72", "11(8):567–78", "9:".
  const std::u16string_view after = text.substr(r.volume.end);
  if (after.empty() || (after[0] != u':' && after[0] != u'(')) return;
  const size_t last = r.pages.Empty() ? r.volume.end + 1 : r.pages.end;
  if (!r.pages.Empty() && r.pages.begin < r.volume.end) return;
  if (Trim(text.substr(last)).find_first_not_of(u". ") != std::u16string_view::npos) return;
  size_t to = BeforeSpaces(text, r.volume.begin, from);
  if (to > from && (text[to - 1] == u'.' || text[to - 1] == u',')) --to;
  if (to <= from + 2) return;
  for (const Piece* p : PiecesOf(r))
    if (!p->Empty() && p != &r.title && p != &r.container && p != &r.note && p->begin < to && p->end > from) return;
  const std::vector<std::u16string_view> words = Words(text.substr(from, to - from));
  if (words.size() > 12) return;
  for (size_t k = 0; k < words.size(); ++k) {
    const std::u16string_view w = words[k];
    // No sentence's marks, nor a subtitle's colon ("God is an Earthquake:
    // ..."; a section's letter is the name's: "Planning D:").
    if (std::any_of(w.begin(), w.end(), [](char16_t c) { return c == u'?' || c == u'!' || IsQuote(c); }) ||
        (w.ends_with(u':') && !(w.size() == 2 && u_isupper(w[0]))))
      return;
    if (!w.ends_with(u'.') || k + 1 == words.size()) continue;
    const std::u16string lower = LCase(w);
    if (!(w.size() == 2 && u_isupper(w[0])) && !(IsAbbreviation(lower) && std::none_of(w.begin(), w.end(), IsDigit)))
      return;
  }
  for (Piece* p : {&r.title, &r.container, &r.note})
    if (!p->Empty() && p->begin < to && p->end > from) *p = {};
  r.container = {from, to};
  r.journal = true;
}

// A chapter cited without its own title, its book right after the year,
// as the Annual Reviews cite one ("Barnett MN. 1996. In The culture of
// national security: Norms and identity in world politics, ed PJ
// Katzenstein, pp. 400–447. New York: ..."): no title; the book runs
// from "In" to its editors, its pages or its full stop, and the editors'
// names after "ed" to the pages or the full stop.
void BookRightAfterYear(Reference& r) {
  if (r.date.Empty() || r.authors.Empty() || r.authors.end > r.date.begin) return;
  const std::u16string_view text = r.text;
  size_t in = r.date.end;
  while (in < text.size() && (text[in] == u'.' || text[in] == u' ')) ++in;
  if (in == r.date.end || text.substr(in, 3) != u"In " || in + 4 >= text.size() || !u_isupper(text[in + 3])) return;
  // Nothing but the names before the year (no title: "ROUSSEAU, D. M.,
  // « Assessing ... », 1990a, In B. Schneider (Ed.), ..."), and the book's
  // name after "In", not an editor's initials.
  for (size_t k = r.authors.end; k < r.date.begin; ++k)
    if (text[k] != u' ' && text[k] != u'.' && text[k] != u',') return;
  const size_t book = in + 3;
  const size_t firstEnd = std::min(text.find(u' ', book), text.size());
  if (IsInitials(text.substr(book, firstEnd - book))) return;
  // The book's end: its editors' ", ed " where no place and publisher
  // come before it (a book's name may hold a full stop: "The dialogical
  // self in psychotherapy. An Introduction, ed HJM Hermans"); else the
  // first of ", pp. " and a sentence's full stop (not an initial's).
  size_t end = std::min(text.find(u", ed ", book), text.find(u", eds ", book));
  if (end != std::u16string_view::npos) {
    const size_t space = text.find(u' ', end + 2);  // after "ed" or "eds"
    const size_t name = space == std::u16string_view::npos ? text.size() : space + 1;
    if (text.substr(book, end - book).find(u'(') != std::u16string_view::npos || name >= text.size() ||
        !u_isupper(text[name]))
      end = std::u16string_view::npos;
  }
  if (end == std::u16string_view::npos) {
    end = text.find(u", pp. ", book);
    for (size_t at = text.find(u". ", book); at != std::u16string_view::npos && at < end; at = text.find(u". ", at + 1))
      if (at >= book + 2 && (u_islower(text[at - 1]) || IsDigit(text[at - 1])) && !u_isupper(text[at - 2])) {
        end = at;
        break;
      }
  }
  // A chapter's marks there, the editors or the pages: "In Comes I:
  // Performance, Memory, and Landscape. Exeter: ..." is a book's title.
  if (end == std::u16string_view::npos || end - book < 4 || end - book > 300 ||
      (text.substr(end, 4) != u", ed" && text.substr(end, 6) != u", pp. "))
    return;
  // Editors after "ed": names to the pages or a full stop.
  Piece editors;
  if (text.substr(end, 5) == u", ed " || text.substr(end, 6) == u", eds ") {
    const size_t from = end + (text[end + 4] == u' ' ? 5 : 6);
    size_t to = std::min(text.find(u", pp. ", from), text.size());
    for (size_t at = text.find(u". ", from); at != std::u16string_view::npos && at < to; at = text.find(u". ", at + 1))
      if (at >= from + 2 && u_islower(text[at - 1])) {
        to = at;
        break;
      }
    if (to == text.size() || to - from > 200) return;
    editors = {end + 2, to};  // with the role, as the labels give it
  }
  // Only the labels' words there: no date, volume or link inside.
  const size_t last = editors.Empty() ? end : editors.end;
  for (const Piece* p : {&r.volume, &r.doi, &r.url, &r.number})
    if (!p->Empty() && p->begin < last && p->end > in) return;
  for (Piece* p : {&r.title, &r.container, &r.editors, &r.publisher, &r.place, &r.note, &r.pages, &r.edition})
    if (!p->Empty() && p->begin < last && p->end > in) *p = {};
  r.title = {};
  r.container = {book, end};
  r.editors = editors;
  r.journal = false;
}

// A title's first words before a quotation inside it ("Balzac, J. M.
// Public Engagement “Reach In, Reach Out”: Pursuing Environmental
// Justice ..."), where the labels began the title at the quotation and
// left the words before it to no part or to the note: the title's, when
// they are capitalised words only, right after the names, with no mark
// between them and the quotation.
void TitleWordsBeforeQuotation(Reference& r) {
  if (r.title.Empty() || r.authors.Empty() || r.title.begin <= r.authors.end) return;
  const std::u16string_view text = r.text;
  const char16_t open = text[r.title.begin];
  if (open != u'\u201C' && open != u'"' && open != u'\u00AB' && open != u'\u201E') return;
  size_t begin = r.authors.end;
  while (begin < r.title.begin && text[begin] == u' ') ++begin;
  const size_t end = BeforeSpaces(text, r.title.begin, begin);
  if (end <= begin || end == r.title.begin) return;
  for (const Piece* p : PiecesOf(r))
    if (!p->Empty() && p != &r.note && p->begin < end && p->end > begin) return;
  if (!r.note.Empty() && r.note.begin < end && r.note.end > begin && (r.note.begin < begin || r.note.end > r.title.begin))
    return;
  // Names written family name first, the last one's initials last, so
  // that a word after them is neither a family name left out ("Raymond A.
  // Mentzer “Ecclesiastical ...") nor a given name ("Mwaikela, Happiness
  // “Remmy ...").
  const std::u16string_view names = Trim(r.Text(r.authors));
  const size_t lastSpace = names.rfind(u' ');
  const std::u16string_view lastWord = lastSpace == std::u16string_view::npos ? names : names.substr(lastSpace + 1);
  if (names.find(u',') == std::u16string_view::npos || !IsInitials(lastWord) || !lastWord.ends_with(u'.')) return;
  const std::vector<Token> words = Tokenize(text.substr(begin, end - begin));
  if (words.size() > 4) return;
  for (const Token& w : words)
    if (!IsCapitalised(w.text) || !LettersOnly(w.text)) return;
  if (!r.note.Empty() && r.note.begin >= begin && r.note.end <= r.title.begin) r.note = {};
  r.title.begin = begin;
}

// The authors run on to `to` over names the labels gave to the title or
// the note: where no other part stands there, and the title and note
// there lie wholly between the authors and `to` (they are cleared).
void AuthorsRunTo(Reference& r, size_t to) {
  for (const Piece* p : PiecesOf(r))
    if (!p->Empty() && p != &r.authors && p != &r.title && p != &r.note && p->begin < to && p->end > r.authors.end) return;
  for (Piece* p : {&r.title, &r.note}) {
    if (p->Empty() || p->begin >= to || p->end <= r.authors.end) continue;
    if (p->begin < r.authors.end || p->end > to) return;
  }
  for (Piece* p : {&r.title, &r.note})
    if (!p->Empty() && p->begin >= r.authors.end && p->end <= to) *p = {};
  r.authors.end = to;
}

// Names in Vancouver's form after the authors the labels found, the last
// with the full stop that ends the names ("Amit R, Shoemaker PJ.
// Strategic Management Journal, 1993, 14: 33–46", where "Shoemaker PJ"
// was taken for the title, in styles that write no title): the authors'.
void VancouverNamesAfterNames(Reference& r) {
  if (r.authors.Empty()) return;
  const std::u16string_view text = r.text;
  const size_t end = BeforeSpaces(text, r.authors.end, r.authors.begin);
  if (end < r.authors.begin + 4 || text[end - 1] != u',') return;
  // "Family I," and "Family IJ,": a word, then one to three capitals.
  const auto name = [&](size_t at) -> size_t {  // the end of the name at `at`, its comma or full stop after it, or 0
    size_t k = at;
    if (k >= text.size() || !u_isupper(text[k])) return 0;
    ++k;
    while (k < text.size() && (u_islower(text[k]) || text[k] == u'-' || text[k] == u'\u2019' || text[k] == u'\'')) ++k;
    if (k - at < 2 || k >= text.size() || text[k] != u' ') return 0;
    const size_t initials = ++k;
    while (k < text.size() && u_isupper(text[k])) ++k;
    if (k == initials || k - initials > 3 || k >= text.size() || (text[k] != u',' && text[k] != u'.')) return 0;
    // The names' full stop before a space ("Qin L.Prognostic value" is
    // glued to what follows).
    if (text[k] == u'.' && k + 1 < text.size() && text[k + 1] != u' ') return 0;
    return k + 1;
  };
  // The names found so far end in the same form.
  const std::u16string_view names = text.substr(r.authors.begin, end - r.authors.begin);
  const size_t initialsSpace = names.rfind(u' ');
  if (initialsSpace == std::u16string_view::npos || initialsSpace == 0) return;
  const size_t familySpace = names.rfind(u' ', initialsSpace - 1);
  if (name(r.authors.begin + (familySpace == std::u16string_view::npos ? 0 : familySpace + 1)) != end) return;
  size_t at = r.authors.end, to = 0;
  while (true) {
    while (at < text.size() && text[at] == u' ') ++at;
    const size_t after = name(at);
    if (after == 0) break;
    to = after;
    if (text[after - 1] == u'.') break;
    at = after;
  }
  if (to == 0 || text[to - 1] != u'.') return;
  AuthorsRunTo(r, to);
}

// Names each a family name and its initials without full stops, parted by
// a full stop, the year right after the last ("Paquette A. Messier C 2011
// Glob Ecol Biogeogr 20 170", "Riger S. Gordon M T 1981 Journal of ..."),
// as some Chinese physics journals print them, where the labels took the
// names after the first for the title: the authors'.
void NamesBeforeBareYear(Reference& r) {
  if (r.authors.Empty() || r.date.Empty() || r.date.begin <= r.authors.end) return;
  const std::u16string_view text = r.text;
  // "Family I J" from `at` ("Del Toro Y M" with its particle): where its
  // last initial ends, or 0.
  const auto name = [&](size_t at) -> size_t {
    const auto word = [&](size_t from) {
      size_t k = from;
      if (k >= text.size() || !u_isupper(text[k])) return from;
      ++k;
      // (A capital after a hyphen: "Fiume-Freddo".)
      while (k < text.size() && (u_islower(text[k]) || text[k] == u'-' || text[k] == u'\u2019' || text[k] == u'\'' ||
                                 (u_isupper(text[k]) && text[k - 1] == u'-')))
        ++k;
      return k - from < 2 ? from : k;
    };
    size_t k = word(at);
    if (k == at) return 0;
    if (IsParticle(LCase(text.substr(at, k - at))) && k + 1 < text.size() && text[k] == u' ')
      if (const size_t family = word(k + 1); family > k + 1) k = family;
    size_t initials = 0;
    while (k + 1 < text.size() && text[k] == u' ' && u_isupper(text[k + 1]) &&
           (k + 2 == text.size() || text[k + 2] == u' ' || text[k + 2] == u'.'))
      k += 2, ++initials;
    return initials >= 1 && initials <= 3 ? k : 0;
  };
  // The authors found end with such a name and its full stop.
  const size_t end = BeforeSpaces(text, r.authors.end, r.authors.begin);
  if (end < r.authors.begin + 4 || text[end - 1] != u'.') return;
  {
    size_t k = end - 1;  // back over the initials to the family name
    while (k >= r.authors.begin + 2 && text[k - 1] != u' ' && text[k - 1] != u'.') --k;
    size_t family = k;
    while (family > r.authors.begin && !(text[family - 1] == u' ' && u_isupper(text[family]) &&
                                          (family < 2 || text[family - 2] == u'.' || family - 1 == r.authors.begin)))
      --family;
    if (name(family) != end - 1) return;
  }
  size_t at = r.authors.end, to = 0;
  while (true) {
    while (at < text.size() && text[at] == u' ') ++at;
    const size_t after = name(at);
    if (after == 0) break;
    to = after;
    if (after >= text.size() || text[after] != u'.') break;
    at = after + 1;
  }
  if (to == 0 || BeforeSpaces(text, r.date.begin, to) != to || r.date.begin == to) return;
  AuthorsRunTo(r, to);
}

// Where the title may run on into a name: where its last character ends
// (`end`), the next word (`next`), whether the parts go on there with a
// container (`containerNext`, cut after a section's letter: `section`),
// and whether the name is a journal's. Nothing when the title ends with a
// mark (or a year, unless `yearMayEnd`), or neither a container, a volume,
// editors nor "(Place: Publisher) pp" comes next.
struct RunOn {
  size_t end = 0, next = 0;
  bool containerNext = false, section = false, journal = false;
};
std::optional<RunOn> TitleRunsOn(const Reference& r, bool yearMayEnd = false) {
  if (r.title.Empty()) return std::nullopt;
  const std::u16string_view text = r.text;
  RunOn on;
  on.end = BeforeSpaces(text, r.title.end, r.title.begin);
  if (on.end <= r.title.begin) return std::nullopt;
  on.next = r.title.end;
  while (on.next < text.size() && text[on.next] == u' ') ++on.next;
  if (on.next >= text.size()) return std::nullopt;
  // Or the editors after the book's full stop, their role after them
  // ("... Second Language Proficiency. B Harley, ed. Cambridge ..."): the
  // title ran on into the book and its full stop.
  const std::u16string_view editors = Trim(r.Text(r.editors));
  size_t gap = r.title.end;
  while (gap < r.editors.begin && (text[gap] == u' ' || text[gap] == u'.')) ++gap;
  const bool editorsNext = r.container.Empty() && !r.editors.Empty() && gap == r.editors.begin &&
                           (editors.ends_with(u", ed.") || editors.ends_with(u", eds.")) &&
                           (text[on.end - 1] == u'.' || text.substr(r.title.end, gap - r.title.end).find(u'.') != std::u16string_view::npos);
  if (editorsNext && text[on.end - 1] == u'.' && --on.end <= r.title.begin) return std::nullopt;
  // Cut inside the name after a section's letter ("Environment and
  // Planning D: | Society and Space"), the title ends with the letter.
  const size_t end = on.end;
  on.containerNext = !r.container.Empty() && r.container.begin == on.next;
  on.section = on.containerNext && end - r.title.begin >= 3 && text[end - 1] == u':' && u_isupper(text[end - 2]) &&
               text[end - 3] == u' ';
  const bool year = yearMayEnd && end - r.title.begin >= 5 && text[end - 5] == u' ' &&
                    FirstYear(text.substr(end - 4, 4)) == text.substr(end - 4, 4);
  if (!u_isalpha(text[end - 1]) && !on.section && !year) return std::nullopt;
  on.journal = on.containerNext && r.journal;
  if (!on.containerNext) {
    if (!r.container.Empty()) return std::nullopt;
    const std::u16string_view rest = text.substr(on.next);
    const size_t close = rest.find(u')');
    if (IsDigit(rest[0])) on.journal = true;
    else if (!(editorsNext || rest.starts_with(u"ed ") || rest.starts_with(u"eds ") ||
               (rest[0] == u'(' && close != std::u16string_view::npos && rest.substr(0, close).find(u':') != std::u16string_view::npos &&
                Trim(rest.substr(close + 1)).starts_with(u"pp "))))
      return std::nullopt;
  }
  return on;
}

// Gives the words of the title from `begin` to the name that follows it.
// The book's editors that the title ran on into ("The Oxford History of
// Italy ed G Holmes (New York: ...)") are the editors'.
void NameFrom(Reference& r, const RunOn& on, size_t begin) {
  const std::u16string_view text = r.text;
  r.title.end = BeforeSpaces(text, begin, r.title.begin);
  r.journal = on.journal;
  if (on.containerNext) {
    r.container.begin = begin;
    return;
  }
  r.container = {begin, on.end};
  if (!r.editors.Empty()) return;
  for (std::u16string_view role : {u" ed ", u" eds "}) {
    const size_t at = text.substr(0, on.end).rfind(role);
    if (at == std::u16string_view::npos || at <= begin || !u_isupper(text[at + role.size()])) continue;
    r.container.end = at;
    r.editors = {at + role.size(), on.end};
    return;
  }
}

// Styles that put nothing between the title and the journal or the book
// (the Institute of Physics': "Bergerud A T 1988 Caribou, wolves and man
// Trends in Ecology and Evolution 3 68–72", "Baker M 1997 Thematic roles
// and syntactic structure Elements of Grammar ed L Haegeman ..."), where
// the labels ran the title on into the name, or into its first words
// ("... organizational rent Strategic | Management Journal 14 33–46"). In
// a title in sentence case, the words in capitals at its end, after a word
// in small letters, are the name's: the journal's before its volume, the
// book's before its editors or its "(Place: Publisher) pp". A proper noun
// after a small word ("in the Salton Trough", "en Nouvelle-Calédonie"),
// an acronym ("using MODIS") and a title set off by punctuation stay the
// title's, and so does a book's title before its publisher alone.
void SentenceCaseTitleRunsIntoName(Reference& r) {
  const std::optional<RunOn> on = TitleRunsOn(r);
  if (!on) return;
  const std::u16string_view text = r.text;
  const size_t end = on->end;
  const bool section = on->section;
  const std::vector<Token> tokens = Tokenize(text.substr(r.title.begin, end - r.title.begin));
  const auto small = [](std::u16string_view w) {
    return w == u"&" || lexicon::Has(lexicon::kSmallWords, w) || lexicon::Has(lexicon::kOtherSmallWords, w) ||
           lexicon::Has(lexicon::kGoingOn, w);
  };
  // The run of names' words at the end: capitalised words (a comma or a
  // colon after one inside the name: "Current Opinion in Endocrinology,
  // Diabetes and Obesity", "Environment and Planning D: Society and
  // Space"), and small words between them.
  size_t run = tokens.size();
  while (run > 0) {
    std::u16string_view w = tokens[run - 1].text;
    if (w.size() > 1 && (w.back() == u':' || w.back() == u',') && (run < tokens.size() || section)) w.remove_suffix(1);
    const bool capital = LettersOnly(w) && u_isupper(w[0]);
    if (!(capital || (run < tokens.size() && small(w)))) break;
    --run;
  }
  if (run < 2 || run == tokens.size()) return;
  const std::u16string_view boundary = tokens[run - 1].text;
  if (!LettersOnly(boundary) || !u_islower(boundary[0]) || small(boundary)) return;
  // The name's first word: capitalised, not an acronym nor a small word,
  // nor in mixed case ("polymer-based BioMEMS", the title's).
  const std::u16string_view head = tokens[run].text;
  if (!IsCapitalised(head) || std::any_of(head.begin() + 1, head.end(), [](char16_t c) { return u_isupper(c); }) ||
      tokens.size() - run > 12)
    return;
  // Sentence case before it: words in small letters, few in capitals
  // (but the first and a subtitle's).
  size_t lower = 0, upper = 0;
  for (size_t k = 1; k < run; ++k) {
    const std::u16string_view w = tokens[k].text;
    if (u_islower(w[0]) && !small(w)) ++lower;
    else if (u_isupper(w[0]) && !tokens[k - 1].text.ends_with(u':')) ++upper;
  }
  if (lower < 2 || upper * 2 > lower) return;
  NameFrom(r, *on, r.title.begin + tokens[run].begin);
}

// The same styles, where the name opens with a capital "The" that no mark
// comes before ("... and the Shadow of the State The Politics of Global
// Regulation ed W Mattli ...", "... in psychotherapy The dialogical self
// in psychotherapy ed H J M Hermans ..."): no title writes "The" so in
// its running words, in title case or in sentence case. Or with a word
// that names a journal or proceedings, which titles hardly ever hold
// ("... A Critical Review Journal of Economic Literature 40 ...", "... and
// investigation 2013 IEEE international conference on ..."), the words
// that qualify it before it (a year, "American", "IEEE") the name's too.
// After a small word ("in The Times") it opens a work's name inside the
// title, which stays the title's. (Headlines that capitalise every word,
// "Cover The Repair Costs", are cut there too: nothing in the words tells
// a verb.)
void WordOpensName(Reference& r) {
  const std::optional<RunOn> on = TitleRunsOn(r, true);
  if (!on || on->section) return;
  const std::u16string_view text = r.text;
  // Where the labels began the name too late, inside its qualifying words
  // ("... investigation 2013 | IEEE international conference on ..."),
  // the name's first words are looked for in it too.
  const size_t to = on->containerNext ? BeforeSpaces(text, r.container.end, r.container.begin) : on->end;
  const std::vector<Token> tokens = Tokenize(text.substr(r.title.begin, to - r.title.begin));
  const size_t inTitle = static_cast<size_t>(
      std::count_if(tokens.begin(), tokens.end(), [&](const Token& t) { return r.title.begin + t.begin < on->end; }));
  // Or a word that opens a journal's name before "of", "in" or "on"
  // ("Trends in Ecology", "Annals of Botany"), which titles hardly ever
  // hold after another word.
  static constexpr std::array<std::u16string_view, 8> kOpenNames = {
      u"Advances", u"Annals", u"Bulletin", u"Frontiers", u"Letters", u"Progress", u"Topics", u"Trends"};
  const auto heads = [&](size_t k) {
    const std::u16string_view w = tokens[k].text;
    if (w == u"Journal" || w == u"Proceedings" || w == u"Proc." || w == u"Transactions" || w == u"Conference" ||
        w == u"conference" || w == u"Symposium" || w == u"Workshop" || w == u"Procedia")
      return true;
    return lexicon::Has(kOpenNames, w) && k + 1 < tokens.size() &&
           (tokens[k + 1].text == u"of" || tokens[k + 1].text == u"in" || tokens[k + 1].text == u"on");
  };
  static constexpr std::array<std::u16string_view, 16> kQualifiers = {
      u"ACM",      u"African", u"American", u"Annual",   u"Asian",    u"Australian", u"British",       u"Canadian",
      u"European", u"IEEE",    u"Indian",   u"Japanese", u"National", u"Royal",      u"International", u"international"};
  size_t name = 0;
  for (size_t k = 2; k < tokens.size() && name == 0; ++k) {
    if (!heads(k)) continue;
    name = k;
    while (name > 2 && (lexicon::Has(kQualifiers, tokens[name - 1].text) || !FirstYear(tokens[name - 1].text).empty() ||
                        (tokens[name - 1].text == u"the" && tokens[k].text == u"Proceedings")))
      --name;
    if ((name == 2 && (lexicon::Has(kQualifiers, tokens[1].text) || tokens[1].text == u"the")) || name > inTitle) name = 0;
  }
  if (name == 0)
    for (size_t k = inTitle; k > 2 && name == 0; --k)
      if (tokens[k - 1].text == u"The") name = k - 1;
  if (name < 2 || inTitle + 14 < name || (!on->containerNext && tokens.size() - name > 14)) return;
  const std::u16string_view before = tokens[name - 1].text;
  if (before.size() < 3 || !LettersOnly(before) || lexicon::Has(lexicon::kSmallWords, LCase(before)) ||
      lexicon::Has(lexicon::kOtherSmallWords, LCase(before)) || lexicon::Has(lexicon::kGoingOn, LCase(before)) ||
      std::all_of(before.begin(), before.end(), [](char16_t c) { return u_isupper(c); }))
    return;
  NameFrom(r, *on, r.title.begin + tokens[name].begin);
}

// Physics' collaboration in its bracket after the names ("B. P. Abbott et
// al. (LIGO Scientific Collaboration and Virgo Collaboration), Observation
// of ..."), where the labels began the title with it: no part of the
// title (the record keeps it in the note).
void CollaborationBeforeTitle(Reference& r) {
  if (r.title.Empty() || r.authors.Empty() || r.authors.end > r.title.begin) return;
  const std::u16string_view title = r.Text(r.title);
  if (!title.starts_with(u'(')) return;
  const size_t close = title.find(u')');
  if (close == std::u16string_view::npos || close + 2 >= title.size() || (title[close + 1] != u',' && title[close + 1] != u'.'))
    return;
  const std::u16string inside = LCase(title.substr(1, close - 1));
  if (inside.find(u"collaboration") == std::u16string::npos && inside.find(u"consortium") == std::u16string::npos) return;
  size_t begin = r.title.begin + close + 2;
  while (begin < r.title.end && r.text[begin] == u' ') ++begin;
  if (r.title.end - begin < 4) return;
  r.title.begin = begin;
}

// An organisation's name at the head, before the year, that the labels
// gave to no part ("Intergovernmental Panel on Climate Change. (2021).
// Climate change 2021: ..."): the authors'.
// Or that they took for the title, the title after the year left in no
// part ("Centers for Disease Control and Prevention. (2020, May 12).
// Symptoms of coronavirus. https://..."): the title is what follows the
// year, up to the next part.
void OrganisationBeforeYear(Reference& r) {
  if (!r.authors.Empty() || !r.editors.Empty() || r.date.Empty()) return;
  const std::u16string_view text = r.text;
  size_t begin = r.citationNumber.Empty() ? 0 : r.citationNumber.end;
  while (begin < text.size() && text[begin] == u' ') ++begin;
  const bool titleAtHead = !r.title.Empty() && r.title.begin == begin && r.title.end <= r.date.begin;
  for (const Piece* p : PiecesOf(r))
    if (!p->Empty() && p != &r.citationNumber && !(titleAtHead && p == &r.title) && p->begin < r.date.begin &&
        p->end > begin)
      return;
  // The title's own place after the year: up to the next part.
  Piece after;
  if (titleAtHead) {
    const std::optional<Piece> title = AfterYear(r);
    if (!title || title->end - title->begin < 4) return;
    after = *title;
  }
  size_t end = BeforeSpaces(text, r.date.begin, begin);
  if (end > begin && (text[end - 1] == u'.' || text[end - 1] == u',')) --end;
  const std::vector<std::u16string_view> words = Words(text.substr(begin, end - begin));
  if (words.size() < 2 || words.size() > 10 || !IsOrganisation(words)) return;
  // A title at the head needs an organisation's own word: "The
  // Competitiveness of the European Book Publishing Industries" is one.
  if (titleAtHead &&
      std::none_of(words.begin(), words.end(), [](std::u16string_view w) { return IsOrganisationWord(LCase(w)); }))
    return;
  for (size_t k = 0; k < words.size(); ++k) {
    const std::u16string_view w = words[k];
    const std::u16string lower = LCase(w);
    const bool small = k > 0 && (lower == u"of" || lower == u"for" || lower == u"on" || lower == u"and" ||
                                 lower == u"the" || lower == u"&" || lower == u"in");
    if (!small && (!u_isupper(w[0]) || std::any_of(w.begin(), w.end(), [](char16_t c) { return IsDigit(c) || c == u','; })))
      return;
  }
  r.authors = {begin, end};
  if (titleAtHead) r.title = after;
}

// Vancouver's chapter, "In: Editors, editors. Book. Place: Publisher",
// where the book's first words were left to no part or taken for names
// ("En: Moodley R, Lago C, editores. Carl Rogers Counsels a Black |
// Client: Race and Culture", "En: Perloff M, Junkerman C, editores. John |
// Cage: Composed in America"): the names end with the role, and the book
// starts right after it.
void BookStartsAfterEditorsRole(Reference& r) {
  if (r.editors.Empty() || r.container.Empty() || r.container.begin <= r.editors.begin) return;
  const std::u16string_view text = r.text;
  const std::u16string lower = LCase(r.Text(r.editors));
  static constexpr std::array<std::u16string_view, 6> kRoles = {u", editors.", u", editor.",   u", eds.",
                                                                u", editores.", u", editoras.", u", ed."};
  size_t roleEnd = std::u16string::npos;
  for (std::u16string_view role : kRoles)
    if (const size_t at = lower.find(role); at != std::u16string::npos &&
                                            (at + role.size() == lower.size() || lower[at + role.size()] == u' '))
      roleEnd = std::min(roleEnd, at + role.size());
  if (roleEnd == std::u16string::npos) return;
  const size_t namesEnd = r.editors.begin + roleEnd;
  if (namesEnd > r.container.begin) return;
  size_t start = namesEnd;
  while (start < r.container.begin && text[start] == u' ') ++start;
  if (start >= r.container.begin || !u_isupper(text[start])) return;
  const std::u16string_view gap = text.substr(start, r.container.begin - start);
  if (gap.find_first_of(u".;:()[]") != std::u16string_view::npos) return;
  for (const Piece* p : {&r.citationNumber, &r.authors, &r.title, &r.date, &r.volume, &r.pages, &r.publisher, &r.place,
                         &r.edition, &r.doi, &r.url, &r.note, &r.number})
    if (!p->Empty() && p->begin < r.container.begin && p->end > start) return;
  r.editors.end = namesEnd;
  r.container.begin = start;
}

// Harvard's chapter, "in Editors (eds) Book. Place: Publisher, pp."
// ("in J. Marques-Teixeira and S. Antunes (eds) Client-centered and
// experiential psychotherapy. Linda a Velha: Vale & Vale"): all the names
// between "in" and the role are the editors, and the words after the role
// up to the next piece are the book, whatever the labels made of them.
void BookAfterEditorsRole(Reference& r) {
  if (r.editors.Empty() || r.title.Empty()) return;
  const std::u16string_view text = r.text;
  const auto& kRoles = kBracketedEditorRoles;
  // The role right after the names, where the labels gave it to the next
  // part ("In: L. Haegeman | (Org.); Elements of Grammar.").
  {
    size_t at = r.editors.end;
    while (at < text.size() && text[at] == u' ') ++at;
    const size_t close = text.find(u')', at);
    if (at < text.size() && text[at] == u'(' && close != std::u16string_view::npos && close - at < 10) {
      const std::u16string role = LCase(text.substr(at, close + 1 - at));
      if (std::find(kRoles.begin(), kRoles.end(), role) != kRoles.end()) {
        r.editors.end = close + 1;
        if (!r.title.Empty() && r.title.begin < r.editors.end && r.title.end > r.editors.end && r.title.begin > r.editors.begin)
          r.title.begin = r.editors.end;
      }
    }
  }
  // The labels ran the names on past their role into the book ("in
  // Marjorie Perloff & Charles Junkerman (eds.) John | Cage: Composed in
  // America."): the names end with the role, and the book the labels
  // found begins right after it.
  // (Undone where the book is not found after all: no words are left to
  // no piece.)
  struct Undo {
    Reference& r;
    Piece editors, container;
    bool keep = false;
    ~Undo() {
      if (!keep) r.editors = editors, r.container = container;
    }
  } undo{r, r.editors, r.container};
  {
    const std::u16string lower = LCase(r.Text(r.editors));
    for (std::u16string_view role : kRoles) {
      const size_t at = lower.find(role);
      if (at == std::u16string::npos || at + role.size() + 1 >= lower.size() || lower[at + role.size()] != u' ') continue;
      const size_t end = r.editors.begin + at + role.size();
      if (!u_isupper(text[end + 1])) continue;
      const size_t cutAt = end + 1;
      r.editors.end = end;
      if (!r.container.Empty() && r.container.begin > cutAt &&
          std::none_of(text.begin() + static_cast<long>(cutAt), text.begin() + static_cast<long>(r.container.begin),
                       [](char16_t c) { return c == u'.' || c == u',' || c == u':' || c == u';'; }))
        r.container.begin = cutAt;
      break;
    }
  }
  std::u16string_view names = Trim(r.Text(r.editors));
  while (!names.empty() && (names.back() == u',' || names.back() == u';')) names.remove_suffix(1);
  const std::u16string lower = LCase(names);
  if (std::none_of(kRoles.begin(), kRoles.end(), [&](std::u16string_view role) { return lower.ends_with(role); })) return;
  // "in" before the names, or the first word of their piece ("In F.
  // Jackson (Ed.), Conditionals. Oxford University Press.").
  size_t in = text.substr(0, r.editors.begin).rfind(u"in ");
  const std::u16string_view lead = text.substr(r.editors.begin, 4);
  if (lead.starts_with(u"In ") || lead.starts_with(u"in ") || lead == u"In: ") in = r.editors.begin;
  if (in == std::u16string_view::npos || in < r.title.end || (in > 0 && text[in - 1] != u' ')) return;
  // Between "in" and the editors: nothing, or a piece the labels took for
  // the book.
  const size_t namesBegin = in + (text.substr(in, 4) == u"In: " ? 4 : 3);
  const bool containerBetween = !r.container.Empty() && r.container.begin >= in && r.container.end <= r.editors.begin;
  for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.publisher, &r.place, &r.note, &r.number})
    if (!p->Empty() && p->begin < r.editors.begin && namesBegin < p->end) return;
  if (!r.container.Empty() && !containerBetween && r.container.begin < r.editors.begin) return;
  // The book: from after the role to the next piece.
  size_t begin = r.editors.end;
  while (begin < text.size() && (text[begin] == u' ' || text[begin] == u',' || text[begin] == u';')) ++begin;
  size_t end = text.size();
  for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.publisher, &r.place, &r.edition, &r.doi, &r.url, &r.note,
                         &r.number})
    if (!p->Empty() && p->begin >= begin) end = std::min(end, p->begin);
  if (!r.container.Empty() && !containerBetween && r.container.begin >= begin) {
    // The labels found the book: only the names change.
    r.editors.begin = namesBegin;
    undo.keep = true;
    return;
  }
  // The publisher's piece, or the note's, that starts with the book's
  // name: the name is its first sentence.
  Piece* run = nullptr;
  for (Piece* p : {&r.publisher, &r.note, &r.place})
    if (!p->Empty() && p->begin == begin) run = p;
  if (run != nullptr) {
    const size_t stop = r.Text(*run).find(u". ");
    if (stop == std::u16string_view::npos) return;
    end = run->begin + stop + 1;
    run->begin = end + 1;
  }
  while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u',')) --end;
  if (end <= begin || !IsLetterUnit(text[begin])) return;
  r.editors.begin = namesBegin;
  r.container = {begin, end};
  r.journal = false;
  undo.keep = true;
}

// Elsevier's Harvard chapter, "in: Editors (Eds.), Book. Publisher, Place,
// pp." ("Facing the Limits of the Law. Springer, Berlin, Heidelberg",
// "Gale Encyclopedia of Mental Disorders. Gale, Detroit, MI"): a book's
// name whose last sentence is a few capitalised words right before the
// place is the book and its publisher. What the labels called the
// publisher there is the place's first name.
void PublisherEndsBookName(Reference& r) {
  if (r.container.Empty() || r.journal) return;
  const std::u16string_view text = r.text;
  std::u16string_view c = r.Text(r.container);
  while (!c.empty() && (c.back() == u',' || c.back() == u' ')) c.remove_suffix(1);
  const size_t stop = c.rfind(u". ");
  if (stop == std::u16string_view::npos || stop < 3) return;
  const std::u16string_view tail = c.substr(stop + 2);
  const std::vector<std::u16string_view> words = Words(tail);
  if (words.empty() || words.size() > 4 || !u_isupper(tail[0]) || tail.find_first_of(u"0123456789") != std::u16string_view::npos)
    return;
  std::u16string first = LCase(words[0]);
  while (!first.empty() && !u_isalpha(first.back())) first.pop_back();
  // Not a subtitle's first word ("The dialogical self in psychotherapy.
  // An Introduction."), nor a volume's.
  static constexpr std::array<std::u16string_view, 28> kLeads = {
      u"a",  u"an",  u"the", u"on",  u"of",  u"in",  u"and", u"for", u"to",  u"with", u"from", u"part", u"il",  u"lo",
      u"la", u"le",  u"les", u"un",  u"une", u"der", u"die", u"das", u"ein", u"eine", u"el",   u"los",  u"las", u"des"};
  if (KindOf(first) == Kind::Volume || std::find(kLeads.begin(), kLeads.end(), first) != kLeads.end()) return;
  // The place (or a publisher's piece) right after it.
  size_t after = r.container.end;
  while (after < text.size() && (text[after] == u' ' || text[after] == u',')) ++after;
  const bool placeNext = !r.place.Empty() && r.place.begin == after;
  const bool publisherNext = !r.publisher.Empty() && r.publisher.begin == after;
  // And the chapter's pages right after the place, as that style ends it
  // (no "Place: Publisher", no year between).
  if (!placeNext && !publisherNext) return;
  const Piece& place = placeNext ? r.place : r.publisher;
  const Piece& last = !r.place.Empty() && r.place.begin >= place.begin ? r.place : place;
  if (Trim(r.Text(last)).ends_with(u":") || r.pages.Empty() || r.pages.begin < last.end ||
      Trim(text.substr(last.end, r.pages.begin - last.end)).find_first_not_of(u",") != std::u16string_view::npos)
    return;
  if (publisherNext) {
    if (r.place.Empty() || r.place.begin < r.publisher.end) r.place = r.publisher;
    else r.place.begin = r.publisher.begin;
  }
  const size_t tailBegin = r.container.begin + stop + 2;
  r.publisher = {tailBegin, r.container.begin + c.size()};
  r.container.end = r.container.begin + stop + 1;
}

// ACS's chapter, "Title. In Book; Editors, Eds.; Publisher: Place, Year"
// ("Internationalism in Medicine and Public Health. In The History of
// Public Health and the Modern State; Porter, D., Ed.; Rodopi: ..."),
// where the labels ran the book into the title or into the editors: the
// book is what stands between "In" and the semicolon before the editors.
void BookBeforeAcsEditors(Reference& r) {
  if (r.editors.Empty() || r.title.Empty()) return;
  const std::u16string_view text = r.text;
  std::u16string_view names = Trim(r.Text(r.editors));
  while (!names.empty() && (names.back() == u';' || names.back() == u',')) names.remove_suffix(1);
  if (!names.ends_with(u" Ed.") && !names.ends_with(u" Eds.")) return;
  const size_t in = text.substr(0, r.editors.end).rfind(u" In ");
  if (in == std::u16string_view::npos || in <= r.title.begin) return;
  const size_t semicolon = text.find(u"; ", in);
  if (semicolon == std::u16string_view::npos || semicolon + 2 >= r.editors.end) return;
  if (semicolon + 2 < r.editors.begin && !Trim(text.substr(semicolon + 2, r.editors.begin - semicolon - 2)).empty()) return;
  // Only the title, the book and the editors there.
  const Piece book{in + 4, semicolon};
  for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.publisher, &r.place, &r.doi, &r.url, &r.authors})
    if (!p->Empty() && p->begin < book.end && book.begin < p->end) return;
  if (!r.container.Empty() && (r.container.begin < book.begin || r.container.end > book.end + 1)) return;
  const size_t titleEnd = BeforeSpaces(text, std::min(r.title.end, in), r.title.begin);
  if (titleEnd == r.title.begin || book.Empty()) return;
  r.title.end = titleEnd;
  r.container = book;
  r.journal = false;
  r.editors.begin = std::max(r.editors.begin, semicolon + 2);
}

// ACS's journal and its numbers, "Name Year, Volume, Pages" ("Blair, M.
// God Is an Earthquake. ABR 2007, 55, 1-12.", "Carney, J. Three Old Irish
// Accentual Poems. \u00C9riu 1971, 22, 23-80."): the name right before such
// a year is the journal, whatever piece the labels gave it to; and words
// between the title and a journal that no piece took are the journal's
// ("... What Is the Connection? Nature reviews Molecular cell biology
// 2010, 11 (8), 567-578.").
void JournalBeforeYear(Reference& r) {
  if (r.title.Empty() || r.date.Empty() || r.volume.Empty() || r.date.begin < r.title.end) return;
  const std::u16string_view text = r.text;
  if (r.volume.begin < r.date.end || Trim(text.substr(r.date.end, r.volume.begin - r.date.end)).find_first_not_of(u",") !=
                                         std::u16string_view::npos)
    return;
  const std::u16string_view year = Trim(r.Text(r.date));
  // ACS's "Journal 1994, 4, 409"; and "Journal, 1994 4: 409\u2013418", the
  // year, the volume and its colon, then the pages.
  const bool acs = year.size() == 5 && year.back() == u',' && IsDigit(year[0]);
  const bool colon = year.size() == 4 && std::all_of(year.begin(), year.end(), IsDigit) && !r.pages.Empty() &&
                     Trim(r.Text(r.volume)).ends_with(u':') && r.pages.begin >= r.volume.end &&
                     Trim(text.substr(r.volume.end, r.pages.begin - r.volume.end)).empty();
  if (!acs && !colon) return;
  // Where the words in no piece after the title begin, up to `to`.
  const auto freeFrom = [&](size_t to) {
    size_t from = r.title.end;
    for (const Piece* p : {&r.authors, &r.editors, &r.note, &r.place, &r.publisher, &r.edition, &r.citationNumber,
                           &r.doi, &r.url, &r.number, &r.pages})
      if (!p->Empty() && p->end <= to && p->end > from) from = p->end;
    while (from < to && (text[from] == u' ' || text[from] == u'.' || text[from] == u',')) ++from;
    return from;
  };
  if (r.container.Empty()) {
    for (Piece* p : {&r.place, &r.publisher, &r.note}) {
      if (p->Empty() || p->begin < r.title.end || !Trim(text.substr(p->end, r.date.begin - p->end)).empty()) continue;
      r.container = *p, r.journal = true;
      *p = {};
      break;
    }
  }
  if (r.container.Empty() || !r.journal || r.container.end > r.date.begin) return;
  size_t from = freeFrom(r.container.begin);
  // "In" before the journal's name is no part of it ("In J. ACM 1981, 27").
  for (std::u16string_view in : {u"In: ", u"In ", u"in: ", u"in "})
    if (text.substr(from).starts_with(in) && from + in.size() <= r.container.begin) from += in.size();
  if (from < r.container.begin && u_isalpha(text[from])) r.container.begin = from;
}

// No title found, and words right after the authors that no piece took,
// or that run into the publisher's up to a semicolon, as ACS ends a book's
// title ("Healy, D. Pharmageddon; University of California Press: ...",
// "Wicksteed, P. H. Dante & Aquinas; University Press of the Pacific:
// ..."), or up to the piece after them ("Fyten, D. Advancement. Wake
// Forest University Magazine 1997"): they are the title.
void TitleInNoPiece(Reference& r) {
  if (!r.title.Empty() || r.authors.Empty()) return;
  const std::u16string_view text = r.text;
  size_t begin = r.authors.end;
  while (begin < text.size() && text[begin] == u' ') ++begin;
  if (begin >= text.size() || !(u_isupper(text[begin]) || IsQuote(text[begin]))) return;
  size_t stop = text.size();
  for (const Piece* p : {&r.citationNumber, &r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.place,
                         &r.edition, &r.doi, &r.url, &r.number})
    if (!p->Empty() && p->end > begin) stop = std::min(stop, p->begin);
  if (stop <= begin) return;
  // The rest of the names, where the authors' span stopped at a comma and
  // the style prints no title ("Jadhav, R.N., | Dahiwadkar, H.V. & Palande,
  // D.A. Neurosurgery 43"): family names with their commas and initials,
  // the last of them initials, are the names' and no title.
  if (const std::u16string_view names = Trim(text.substr(r.authors.begin, r.authors.end - r.authors.begin));
      names.ends_with(u',') || names.ends_with(u'&') || names.ends_with(u" and")) {
    const std::vector<std::u16string_view> words = Words(Trim(text.substr(begin, stop - begin)));
    const bool namesOnly =
        !words.empty() && IsDottedInitials(words.back()) && std::all_of(words.begin(), words.end(), [](std::u16string_view w) {
          return IsInitials(w) || IsInitials(w.substr(0, w.size() - (w.ends_with(u',') ? 1 : 0))) || w == u"&" ||
                 w == u"and" || (w.size() >= 3 && w.ends_with(u',') && IsCapitalised(w));
        });
    if (namesOnly) {
      r.authors.end = static_cast<size_t>(words.back().data() - text.data()) + words.back().size();
      return;
    }
  }
  // A publisher or note right after the authors keeps what follows the
  // semicolon; one further on bounds the title too.
  const size_t semicolon = text.substr(0, stop).find(u';', begin);
  size_t end = semicolon != std::u16string_view::npos ? semicolon : stop;
  for (const Piece* p : {&r.publisher, &r.note})
    if (!p->Empty() && p->begin > begin && p->begin < end && semicolon == std::u16string_view::npos) end = p->begin;
  if (semicolon == std::u16string_view::npos &&
      ((!r.publisher.Empty() && r.publisher.begin <= begin && r.publisher.end > begin) ||
       (!r.note.Empty() && r.note.begin <= begin && r.note.end > begin)))
    return;
  while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'.' || text[end - 1] == u',')) --end;
  if (end <= begin) return;
  r.title = {begin, end};
  for (Piece* p : {&r.publisher, &r.note}) {
    if (p->Empty() || p->end <= begin || p->begin >= end) continue;
    if (p->begin >= begin) {
      p->begin = std::min(p->end, end + 1);
      while (p->begin < p->end && (text[p->begin] == u' ' || text[p->begin] == u';')) ++p->begin;
      if (p->begin >= p->end) *p = {};
    } else {
      p->end = begin;
    }
  }
}

// Where the authors meet the title, in a list of "Family, I. I." names.
// An initial with its full stop is a name's ("FOSTER, G. M. Disease ...":
// "M." starts no title, "A." no more than the others); capitalised words
// after the last initials of such a name, up to one that ends in a colon
// or a comma, are the title's first ("Tambiah, S. J. Magic, Science
// Religion and ...", "Bhatnagar, N. Failsafe: A floor planner", "Nelson,
// R. Hagia Sophia, 1850-1950").
void AuthorsMeetTitle(Reference& r, const smart::Dictionary& dictionary) {
  if (r.authors.Empty()) return;
  const std::u16string_view text = r.text;
  // The title right after the authors, or none found: ACS's "Healy, D.
  // Pharmageddon; University of California Press: ..." leaves its one
  // word among the names.
  const bool noTitle = r.title.Empty();
  if (!noTitle && (r.title.begin < r.authors.end || !Trim(text.substr(r.authors.end, r.title.begin - r.authors.end)).empty()))
    return;
  const std::u16string_view authors = r.Text(r.authors);
  // The list starts with a family name and its comma.
  const std::u16string_view lead = authors.substr(0, authors.find(u' '));
  if (lead.size() < 3 || lead.back() != u',' || IsInitials(lead.substr(0, lead.size() - 1))) return;
  const size_t lastSpace = authors.rfind(u' ');
  if (lastSpace == std::u16string_view::npos) return;
  const std::u16string_view last = authors.substr(lastSpace + 1);
  if (!noTitle) {
    const size_t titleWordEnd = std::min(text.find(u' ', r.title.begin), text.size());
    const std::u16string_view first = text.substr(r.title.begin, titleWordEnd - r.title.begin);
    if (IsDottedInitials(last) && first.size() == 2 && u_isupper(first[0]) && first[1] == u'.' && titleWordEnd < r.title.end) {
      r.authors.end = titleWordEnd;
      r.title.begin = titleWordEnd;
      while (r.title.begin < r.title.end && text[r.title.begin] == u' ') ++r.title.begin;
      return;
    }
  }
  // The words after the last initials, the first capitalised.
  const std::vector<std::u16string_view> words = Words(authors);
  size_t k = words.size();
  while (k > 0 && !IsDottedInitials(words[k - 1])) --k;
  if (k == 0 || k == words.size() || !IsCapitalised(words[k])) return;
  const size_t trailing = words.size() - k;
  // Back over the initials before them, to the family name and its comma.
  size_t f = k - 1;
  while (f > 0 && IsDottedInitials(words[f - 1])) --f;
  if (f == 0) return;
  const std::u16string_view family = words[f - 1];
  if (family.size() < 3 || family.back() != u',' || IsInitials(family.substr(0, family.size() - 1))) return;
  // No name goes on after them: a suffix, a role, "et al.", another name
  // with its initials ("..., Scott, J.") or its "and".
  for (size_t i = k; i < words.size(); ++i) {
    std::u16string lower = LCase(words[i]);
    while (!lower.empty() && (lower.back() == u',' || lower.back() == u';' || lower.back() == u'.')) lower.pop_back();
    const bool etAl = lower == u"et" && i + 1 < words.size() && words[i + 1].starts_with(u"al");
    if (IsSuffix(words[i]) || IsSuffix(lower) || IsRoleWord(LCase(words[i])) || lower == u"and" || etAl) return;
  }
  // A given name written out after an initial ("Rodin, R. Scott, The
  // Steward Leader") looks like one title word and its comma; a common
  // English word is no given name, and in a list whose names a semicolon
  // parts ("Callon, M.; Law, J. On Qualculation, ...") none follows one.
  // With no title found, the words are the only one there is.
  std::u16string lower = LCase(last);
  while (!lower.empty() && !u_isalpha(lower.back())) lower.pop_back();
  // A word with no mark after it runs on into the title, as a given name
  // would not ("Bowman, J. H. Greek Printing Types in Britain").
  const bool runsOn = !noTitle && trailing == 1 && !u_ispunct(last.back());
  const bool sure = noTitle || runsOn || last.back() == u':' || trailing >= 2 ||
                    authors.find(u"; ") != std::u16string_view::npos || dictionary.SizeOf(lower) <= 35;
  if (!sure) return;
  // One word that runs into the title, as a name's word would not, goes
  // with it ("Bowman, J. H. Greek Printing Types in Britain").
  if (!noTitle && trailing == 1 && u_ispunct(last.back()) && last.back() != u',' && last.back() != u':') return;
  const size_t begin = static_cast<size_t>(words[k].data() - text.data());
  if (noTitle) r.title.end = r.authors.end;
  r.title.begin = begin;
  r.authors.end = static_cast<size_t>(words[k - 1].data() + words[k - 1].size() - text.data());
}

// A word that introduces a volume, without its full stop: the labels' own
// ("vol", "volume") and German's "Bd." (Band), which DIN 1505 writes after
// the journal's name.
bool IsVolumeWord(std::u16string_view lower) {
  static constexpr std::array<std::u16string_view, 7> kLocal = {u"bd", u"band", u"jg", u"jahrg", u"\u00E5rg", u"tome", u"cilt"};
  return KindOf(lower) == Kind::Volume || lexicon::Has(kLocal, lower);
}

// Science's and Chicago's book, "Title (Publisher, Place, Year)", and
// OSCOLA's book a chapter or a paper is in, "Proceedings of CHI 90 (ACM
// 1990)": the bracket that holds the date holds no part of the title or
// the book. One that reaches into it ends before it, and the words it gave
// back up to the next part are the publisher's ("Topics in Conditional
// Logic (D. Reidel, Dordrecht, 1980)").
void EndsBeforeDateBracket(Reference& r, Piece Reference::*which) {
  Piece& piece = r.*which;
  if (piece.Empty() || r.date.Empty() || r.date.begin < piece.end) return;
  const std::u16string_view text = r.text;
  const size_t open = text.substr(0, r.date.begin).rfind(u'(');
  if (open == std::u16string_view::npos || open <= piece.begin || open >= piece.end) return;
  if (text.substr(open, r.date.begin - open).find(u')') != std::u16string_view::npos) return;
  Piece* const others[] = {&r.citationNumber, &r.authors, &r.title, &r.editors, &r.container, &r.volume, &r.pages,
                           &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number};
  for (const Piece* p : {&r.title, &r.container, &r.editors, &r.volume, &r.pages, &r.doi, &r.url})
    if (p != &piece && !p->Empty() && p->begin < r.date.begin && p->end > open) return;
  size_t end = open;
  while (end > piece.begin && text[end - 1] == u' ') --end;
  if (end == piece.begin) return;
  size_t from = open + 1;
  while (from < text.size() && (text[from] == u' ' || text[from] == u'(')) ++from;
  piece.end = end;
  // The words given back, up to the next part, are the publisher's.
  if (!r.publisher.Empty() && r.publisher.begin < from) return;
  // Up to the next part of any kind; one that reaches back over the words
  // leaves them where they are.
  size_t stop = r.date.begin;
  for (const Piece* p : others) {
    if (p == &piece || p->Empty() || p->end <= from || p->begin >= r.date.begin) continue;
    if (p->begin < from) return;
    stop = std::min(stop, p->begin);
  }
  if (!r.publisher.Empty()) {
    if (stop >= r.publisher.begin) r.publisher.begin = from;
    return;
  }
  while (stop > from && (text[stop - 1] == u' ' || text[stop - 1] == u',')) --stop;
  if (stop > from && std::any_of(text.begin() + static_cast<long>(from), text.begin() + static_cast<long>(stop), IsLetterUnit))
    r.publisher = {from, stop};
}

// Science's book, "Authors, Title words. More words (Publisher, Place,
// Year).": all that lies between the authors and the bracket is the
// title, where no other part lies there (no journal, volume or pages; not
// "in" a book), whatever the labels left out of it or gave to the
// publisher ("Dictionary of Sociology (Penguin, Harmondsworth, 1984)").
void ScienceBookTitle(Reference& r) {
  if (r.authors.Empty() || r.date.Empty() || r.date.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  const size_t open = text.substr(0, r.date.begin).rfind(u" (");
  if (open == std::u16string_view::npos || open <= r.authors.end) return;
  if (text.substr(open + 2, r.date.begin - open - 2).find(u')') != std::u16string_view::npos) return;
  // The bracket closes right after the date.
  size_t close = r.date.begin;
  while (close < text.size() && (IsDigit(text[close]) || IsLetterUnit(text[close]))) ++close;
  if (close >= text.size() || text[close] != u')') return;
  // The publisher or the place in the bracket.
  const bool publisher = (!r.publisher.Empty() && r.publisher.end > open + 1) || (!r.place.Empty() && r.place.begin > open);
  if (!publisher) return;
  for (const Piece* p : {&r.citationNumber, &r.editors, &r.container, &r.volume, &r.pages, &r.doi, &r.url, &r.edition,
                         &r.number, &r.note})
    if (!p->Empty() && p->begin < open && p->end > r.authors.end) return;
  // A title found keeps its start: words before it that no part took may
  // be the names' ("D. Chappell, V. Di Martino, Violence at work").
  size_t begin = r.title.Empty() ? r.authors.end : r.title.begin;
  while (begin < open && text[begin] == u' ') ++begin;
  if (begin >= open || !(u_isupper(text[begin]) || IsQuote(text[begin]))) return;
  const std::u16string_view words = text.substr(begin, open - begin);
  // A bracket left open before this one, or closed right before it, holds
  // the publisher too ("(Baker, (Grand Rapids, 1996)", "(Afrontamento),
  // (Porto, 1995)").
  if (const size_t inner = words.rfind(u'('); inner != std::u16string_view::npos) {
    const std::u16string_view tail = Trim(words);
    if (words.find(u')', inner) == std::u16string_view::npos || tail.ends_with(u')') || tail.ends_with(u"),")) return;
  }
  for (std::u16string_view in : {u". in ", u", in ", u". In ", u", In ", u"In: "})
    if (words.find(in) != std::u16string_view::npos) return;
  if (!r.place.Empty() && r.place.begin < open) return;
  // What the publisher's piece took before the bracket comes back.
  if (!r.publisher.Empty() && r.publisher.begin < open) {
    // A publisher before the bracket is no title's ("Title. Baker, (Grand Rapids, 1996").
    if (r.publisher.begin < begin || r.publisher.end <= open + 1) return;
    r.publisher.begin = open + 2;
    if (r.publisher.begin >= r.publisher.end) r.publisher = {};
    // Science's bracket: the publisher, then the place.
    const std::u16string_view rest = r.Text(r.publisher);
    const size_t comma = rest.find(u", ");
    if (r.place.Empty() && comma != std::u16string_view::npos && rest.find(u", ", comma + 1) == std::u16string_view::npos) {
      r.place = {r.publisher.begin + comma + 2, r.publisher.end};
      r.publisher.end = r.publisher.begin + comma;
    }
  }
  size_t end = open;
  while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u',')) --end;
  r.title = {begin, end};
}

// A title that runs on into "In" and the book (AIAA's "Research on
// Learning in Classrooms. In The Development of Second Language
// Proficiency (B. Harley, ed.), Cambridge University Press, ..."): where
// the book's editors follow, or its publisher and the chapter's pages, the
// title ends at its full stop and the book is what follows "In". The word
// with its colon, in English or as Portuguese and Spanish styles write it
// ("Em:", "En:"), says so alone: a publisher after it is enough.
void TitleRunsIntoBook(Reference& r) {
  if (r.title.Empty() || !r.container.Empty()) return;
  const std::u16string_view title = r.Text(r.title);
  size_t at = std::u16string_view::npos, skip = 0;
  bool colon = false;
  for (const std::u16string_view in : {u". In ", u". In: ", u". Em: ", u". En: "}) {
    at = title.find(in);
    skip = in.size();
    colon = in.back() == u' ' && in[in.size() - 2] == u':';
    if (at != std::u16string_view::npos) break;
  }
  if (at == std::u16string_view::npos || at == 0) return;
  const size_t begin = r.title.begin + at + skip;
  if (begin >= r.title.end || !u_isupper(r.text[begin])) return;
  size_t gap = r.title.end;
  while (gap < r.text.size() && r.text[gap] == u' ') ++gap;
  const bool editorsAfter = !r.editors.Empty() && r.editors.begin == gap;
  const bool published = !r.publisher.Empty() && r.publisher.begin > r.title.end;
  const bool chapter = published && (!r.pages.Empty() || colon);
  if (!editorsAfter && !chapter) return;
  size_t end = r.title.end;
  while (end > begin && (r.text[end - 1] == u' ' || r.text[end - 1] == u',' || r.text[end - 1] == u'.')) --end;
  if (end <= begin) return;
  r.container = {begin, end};
  r.journal = false;
  r.title.end = r.title.begin + at + 1;
}

// Law's articles, "'Title' (1993) 14 Strategic Management Journal 33"
// (OSCOLA) or "Title, 12 Harv. L. Rev. 34 (1999)" (the Bluebook): after
// the title, a volume, the journal's name and its first page, with the
// year in a bracket before or after them. The labels read these numbers
// as anything; where the words between the title and the year's bracket
// (or the end) are just that, they are those parts.
void LawJournalNumbers(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  // The year's bracket right after the title, where the labels gave it to
  // the journal ("\u201CTitle\u201D (1988) 2 Journal of Supercomputing").
  if (r.date.Empty()) {
    const size_t open = text.find_first_not_of(u" ,", r.title.end);
    if (open == std::u16string_view::npos || text[open] != u'(' || open + 6 > text.size() || text[open + 5] != u')' ||
        FirstYear(text.substr(open + 1, 4)) != text.substr(open + 1, 4))
      return;
    if (!r.container.Empty() && r.container.begin == open) {
      r.container.begin = text.find_first_not_of(u' ', open + 6);
      if (r.container.begin >= r.container.end) r.container = {};
    }
    r.date = {open, open + 6};
  }
  if (r.Text(r.date).empty()) return;
  // The year's bracket, and where the numbers lie: after it to the end,
  // or between the title and it.
  const size_t open = r.date.begin;
  if (text[open] != u'(' && text[open] != u'[') return;
  const size_t close = text.find(text[open] == u'(' ? u')' : u']', open);
  if (close == std::u16string_view::npos || close > open + 12 || FirstYear(text.substr(open, close - open)).empty()) return;
  size_t begin, end;
  if (open >= r.title.end && Trim(text.substr(r.title.end, open - r.title.end)).empty()) {
    begin = close + 1, end = text.size();
  } else if (open > r.title.end && Trim(text.substr(close + 1)).size() <= 1) {
    begin = r.title.end, end = open;
  } else {
    return;
  }
  while (begin < end && (text[begin] == u' ' || text[begin] == u',')) ++begin;
  while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u',' || text[end - 1] == u'.')) --end;
  const std::u16string_view stretch = text.substr(begin, end - begin);
  const std::vector<std::u16string_view> words = Words(stretch);
  if (words.size() < 2) return;
  const auto number = [](std::u16string_view w) {
    return !w.empty() && w.size() <= 5 && std::all_of(w.begin(), w.end(), IsDigit);
  };
  // The first page, or the range ("1\u201312"); the volume with its issue
  // after a colon ("28:4", as McGill writes it).
  const auto pages = [&](std::u16string_view w) {
    const size_t dash = w.find_first_of(u"-\u2013");
    return dash == std::u16string_view::npos ? number(w) : number(w.substr(0, dash)) && number(w.substr(dash + 1));
  };
  const auto volume = [&](std::u16string_view w) {
    const size_t colon = w.find(u':');
    return colon == std::u16string_view::npos ? number(w) : number(w.substr(0, colon)) && number(w.substr(colon + 1));
  };
  const bool lastIsPage = words.size() >= 3 && pages(words.back());
  const size_t journalEnd = words.size() - (lastIsPage ? 1 : 0);
  if (!volume(words[0]) || !u_isalpha(words[1][0])) return;
  for (size_t k = 1; k < journalEnd; ++k)
    if (std::any_of(words[k].begin(), words[k].end(), IsDigit)) return;
  for (const Piece* p : {&r.authors, &r.title, &r.editors, &r.doi, &r.url})
    if (!p->Empty() && p->begin < end && begin < p->end) return;
  const auto at = [&](std::u16string_view w) { return static_cast<size_t>(w.data() - text.data()); };
  for (const Piece* p : {&r.authors, &r.title, &r.editors, &r.doi, &r.url})
    if (!p->Empty() && p->begin <= close && open < p->end) return;
  for (Piece* p : {&r.container, &r.volume, &r.pages, &r.note, &r.place, &r.publisher, &r.edition, &r.number,
                   &r.citationNumber})
    if (!p->Empty() && ((p->begin < end && begin < p->end) || (p->begin <= close && open < p->end))) *p = {};
  r.date = {open, close + 1};
  r.volume = {at(words[0]), at(words[0]) + words[0].size()};
  if (const size_t colon = words[0].find(u':'); colon != std::u16string_view::npos)
    r.issueNumber = std::u16string(words[0].substr(colon + 1));
  r.container = {at(words[1]), at(words[journalEnd - 1]) + words[journalEnd - 1].size()};
  r.journal = true;
  if (lastIsPage) r.pages = {at(words.back()), at(words.back()) + words.back().size()};
}

// A chapter whose book's name the labels gave to no part (Elsevier's
// "Title. Book, Place: Publisher; Year, p. 59-114."): the sentence after
// the title, up to the next part, is the book. Only with a page range
// that says it is one ("p. 59-114") or a publisher after the book, which
// tell a chapter from a book whose title has two sentences.
void BookInNoPiece(Reference& r) {
  if (r.title.Empty() || !r.container.Empty() || r.pages.Empty() || r.pages.begin < r.title.end) return;
  // A journal's numbers hold a volume; a bare range may be a journal's too,
  // but not before a publisher.
  const std::u16string_view pages = r.Text(r.pages);
  if (!r.volume.Empty() || !std::any_of(pages.begin(), pages.end(), IsDash) ||
      std::any_of(pages.begin(), pages.end(), [](char16_t c) { return c == u':' || c == u';' || c == u'('; }))
    return;
  const bool pagesMarked = pages.starts_with(u"p") || pages.starts_with(u"P");
  const std::u16string_view text = r.text;
  size_t begin = r.title.end;
  while (begin < text.size() && (text[begin] == u' ' || text[begin] == u'.')) ++begin;
  // Past the editors that "In:" brings before it ("structure In: Haegeman
  // L, editor. Elements of Grammar.").
  for (std::u16string_view in : {u"In: ", u"In "})
    if (text.substr(begin, in.size()) == in && r.editors.begin == begin + in.size()) begin += in.size();
  if (!r.editors.Empty() && r.editors.begin <= begin && r.editors.end > begin) {
    begin = r.editors.end;
    while (begin < text.size() && (text[begin] == u' ' || text[begin] == u'.')) ++begin;
  }
  size_t end = text.size();
  const Piece* next = nullptr;
  for (const Piece* p : {&r.authors, &r.editors, &r.date, &r.volume, &r.pages, &r.publisher, &r.place, &r.edition,
                         &r.doi, &r.url, &r.note, &r.number}) {
    if (p->Empty()) continue;
    if (p->begin <= begin && p->end > begin) return;  // a part already stands there
    if (p->begin > begin && p->begin < end) end = p->begin, next = p;
  }
  if (!pagesMarked && next != &r.publisher && next != &r.place) return;
  while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u',' || text[end - 1] == u'.')) --end;
  if (end <= begin || !(u_isupper(text[begin]) || IsQuote(text[begin]))) return;
  if (std::count(text.begin() + static_cast<long>(begin), text.begin() + static_cast<long>(end), u' ') < 1) return;
  r.container = {begin, end};
  r.journal = false;
}

// No name opens with a quotation mark: one that the labels gave to the
// authors with the title's first word ("———, ‘A Formal Theory of ...")
// opens the title.
void QuoteOpensTitle(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  if (!Trim(std::u16string_view(r.text).substr(r.authors.end, r.title.begin - r.authors.end)).empty()) return;
  const std::vector<std::u16string_view> words = Words(r.Text(r.authors));
  for (size_t k = 1; k < words.size(); ++k) {
    const char16_t c = words[k][0];
    if (c != u'\u2018' && c != u'\u201C' && c != u'\u00AB' && c != u'"') continue;
    const size_t at = static_cast<size_t>(words[k].data() - r.text.data());
    r.title.begin = at;
    r.authors.end = static_cast<size_t>(words[k - 1].data() + words[k - 1].size() - r.text.data());
    return;
  }
}

// The last names that the labels gave to the title, or to no part before
// it: after names that end in a comma, a sentence of a few capitalised
// words with "and" among them ("Sander, K., | und Torsten Ziebertz.
// Personzentrierte Beratung", "Rossi, | Marco e Giulia Bianchi. Il ritorno
// del lupo"). They are the names'.
void NamesRunIntoTitle(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  const std::u16string_view gap = Trim(text.substr(r.authors.end, r.title.begin - r.authors.end));
  const std::vector<std::u16string_view> names = Words(r.Text(r.authors));
  // The words in no part between them, or else the title's.
  const std::vector<std::u16string_view> words = Words(gap.empty() ? r.Text(r.title) : gap);
  if (names.empty() || words.empty()) return;
  for (const Piece* p : {&r.citationNumber, &r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.publisher,
                         &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number})
    if (!p->Empty() && p->begin < r.title.begin && r.authors.end < p->end) return;
  // Where the sentence ends: a word with a full stop that is no initial.
  size_t stop = 0;
  while (stop < words.size() && stop < 6 && !(words[stop].ends_with(u'.') && !IsInitials(words[stop]))) ++stop;
  if (stop >= 6 || (gap.empty() ? stop + 1 >= words.size() : stop + 1 != words.size())) return;
  bool take = false;
  if (names.back().ends_with(u',')) {
    // The names after "and" ("und Torsten Ziebertz."), or a given name,
    // "and" and a name ("Stefano e Daniela Feltracco."): not a title's "X and
    // Y." ("State and Market.", "The Dead and Their Gifts.").
    size_t conjunction = words.size();
    bool others = true;
    for (size_t k = 0; k <= stop; ++k) {
      const std::u16string lower = LCase(words[k]);
      if (lower == u"and" || lower == u"&" || lower == u"und" || words[k] == u"e" || words[k] == u"y" || words[k] == u"et")
        conjunction = std::min(conjunction, k);
      else others = others && (u_isupper(words[k][0]) || IsInitials(words[k]));
    }
    take = others && ((conjunction == 0 && stop >= 2 && stop <= 4) || (conjunction == 1 && stop >= 3 && stop <= 4));
  }
  if (!take) return;
  r.authors.end = static_cast<size_t>(words[stop].data() + words[stop].size() - text.data());
  if (gap.empty()) r.title.begin = static_cast<size_t>(words[stop + 1].data() - text.data());
}

// APA's date with its month or season in the bracket ("(2011,
// Printemps).", "(2000, September/October)."), where the labels ended the
// date at the comma: the rest of the bracket opens the title they found
// right after it. It is the date's, and the title begins after it.
void DateBracketOpensTitle(Reference& r) {
  if (r.date.Empty() || r.title.Empty() || r.title.begin < r.date.end) return;
  const std::u16string_view text = r.text;
  if (!Trim(text.substr(r.date.end, r.title.begin - r.date.end)).empty()) return;
  const std::u16string_view date = r.Text(r.date);
  const size_t open = date.rfind(u'(');
  if (open == std::u16string_view::npos || date.find(u')', open) != std::u16string_view::npos) return;
  // The bracket's close among the title's first two words.
  const std::u16string_view title = r.Text(r.title);
  const size_t close = title.find(u')');
  if (close == std::u16string_view::npos || title.substr(0, close).find(u'(') != std::u16string_view::npos ||
      std::count(title.begin(), title.begin() + static_cast<std::ptrdiff_t>(close), u' ') > 1)
    return;
  size_t begin = r.title.begin + close + 1;
  while (begin < r.title.end && (text[begin] == u'.' || text[begin] == u',' || text[begin] == u' ')) ++begin;
  if (begin == r.title.end) return;
  r.date.end = r.title.begin + close + 1;
  if (r.date.end < text.size() && text[r.date.end] == u'.') ++r.date.end;
  r.title.begin = begin;
}

// The dash that stands for the names of the reference before ("---",
// "\u2014\u2014\u2014.") is all of the names: words the labels ran on after it
// ("--- Jewish Law from Jesus to the Mishnah: | Five Studies") open the
// title.
void DashIsTheNames(Reference& r) {
  const std::u16string_view text = r.text;
  // The dash before the year ("\u2015 1984a, Title", "\u2014\u2014\u2014 2001.
  // Title"), the labels' names or date both: the dash is the names, the year
  // the date.
  {
    size_t dashes = 0;
    while (dashes < text.size() && (IsDash(text[dashes]) || text[dashes] == u'\u2015')) ++dashes;
    const bool bar = dashes == 1 && (text[0] == u'\u2014' || text[0] == u'\u2015');
    if ((dashes >= 2 || bar) && dashes + 5 < text.size() && text[dashes] == u' ') {
      const size_t year = dashes + 1;
      size_t end = year;
      while (end < text.size() && IsDigit(text[end])) ++end;
      if (end - year == 4 && FirstYear(text.substr(year, 4)) == text.substr(year, 4)) {
        if (end < text.size() && text[end] >= u'a' && text[end] <= u'z') ++end;
        if (end == text.size() || text[end] == u',' || text[end] == u'.' || text[end] == u' ' || text[end] == u':') {
          for (Piece* p : {&r.authors, &r.date, &r.citationNumber})
            if (!p->Empty() && p->begin < end) *p = {};
          r.authors = {0, dashes};
          r.date = {year, end};
          if (!r.title.Empty() && r.title.begin < end) r.title.begin = std::min(r.title.end, text.find_first_not_of(u" ,.:", end));
          return;
        }
      }
    }
  }
  // The dash the labels took for a list's number ("---: Title"): the names.
  if (const std::u16string_view number = r.Text(r.citationNumber);
      r.authors.Empty() && number.size() >= 2 && IsDash(number[0]) && IsDash(number[1]) &&
      std::all_of(number.begin(), number.end(), [](char16_t c) { return IsDash(c) || c == u':' || c == u'.' || c == u','; })) {
    r.authors = r.citationNumber;
    r.citationNumber = {};
  }
  if (r.authors.Empty() || (!r.title.Empty() && r.title.begin < r.authors.end)) return;
  const std::u16string_view names = r.Text(r.authors);
  size_t dashes = 0;
  while (dashes < names.size() && (IsDash(names[dashes]) || names[dashes] == u'_')) ++dashes;
  if (dashes < 2 && !(dashes == 1 && names[0] == u'\u2014')) return;
  size_t first = dashes;
  while (first < names.size() && (names[first] == u'.' || names[first] == u',' || names[first] == u' ')) ++first;
  if (first == names.size() || first == dashes || !(u_isupper(names[first]) || IsQuote(names[first]))) return;
  if (!r.title.Empty() && !Trim(std::u16string_view(r.text).substr(r.authors.end, r.title.begin - r.authors.end)).empty())
    return;
  const size_t end = r.title.Empty() ? r.authors.end : r.title.end;
  r.title = {r.authors.begin + first, end};
  r.authors.end = r.authors.begin + dashes;
}

// German's "u. a." ("und andere") ends a list of names as "et al." does
// ("Huston, M. A. ; u. a.: Biodiversity ..."): where the labels cut it in
// two, both words are the names', and the list has more names.
void GermanEtAl(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  const std::u16string_view between = text.substr(r.authors.end, r.title.begin - r.authors.end);
  const std::u16string_view title = r.Text(r.title);
  // The last name's last initials may lie between too ("Huston, M. A. ; u. a.").
  std::u16string_view rest = Trim(between);
  // (Or "u." still the names', "a." the title's: "S.S. Abbas u. | a.: Title".)
  if (rest.empty() && r.Text(r.authors).ends_with(u" u.") && title.starts_with(u"a.")) rest = u"u.";
  if (!rest.ends_with(u"u.") || !title.starts_with(u"a.")) return;
  rest.remove_suffix(2);
  // (Or the last name itself: "M. M. | Aung u. | a.: Title".)
  const std::vector<std::u16string_view> left = Words(rest);
  for (std::u16string_view w : left)
    if (w != u";" && !IsDottedInitials(w) &&
        !(left.size() <= 2 && u_isupper(w[0]) && std::all_of(w.begin() + 1, w.end(), [](char16_t c) {
            return u_islower(c) || c == u'-';
          })))
      return;
  for (const Piece* p : {&r.citationNumber, &r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.publisher,
                         &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number})
    if (!p->Empty() && p->begin < r.title.begin && r.authors.end < p->end) return;
  size_t begin = 2;
  while (begin < title.size() && (title[begin] == u':' || title[begin] == u',' || title[begin] == u' ')) ++begin;
  if (begin >= title.size()) return;
  r.authors.end = r.title.begin + 2;
  r.title.begin += begin;
}

// DIN 1505's authors end with a colon ("Beck, Ulrich: World Risk Society.",
// "Card, S. K. ; Robertson, G. G: The Design Space ..."): where the title
// the labels found opens with the last name's given names, up to a colon,
// those words are the name's. Only where the names cannot be taken for a
// title's first words: after a family name alone and its comma, after
// names a semicolon parts, initials after initials, or a given name in a
// reference with DIN's spaced colon.
void NamesEndAtColon(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  // The given name and its colon may lie in no part between them.
  size_t titleBegin = r.title.begin;
  if (const std::u16string_view gap = Trim(text.substr(r.authors.end, r.title.begin - r.authors.end)); !gap.empty()) {
    if (gap.find(u' ') != std::u16string_view::npos || !gap.ends_with(u':')) return;
    titleBegin = static_cast<size_t>(gap.data() - text.data());
  }
  const std::u16string_view authors = r.Text(r.authors);
  const std::u16string_view title = text.substr(titleBegin, r.title.end - titleBegin);
  const size_t colon = title.find(u": ");
  if (colon == std::u16string_view::npos || colon == 0) return;
  // (The colon spaced off, as \u00D6NORM writes it: "Conlon, A : Reflections".)
  // Only initials before it there: a French title spaces its colon too
  // ("Andreau, Jean, Pr\u00E9sentation : Vingt ans ...").
  const bool spaced = title[colon - 1] == u' ';
  const std::vector<std::u16string_view> given = Words(spaced ? Trim(title.substr(0, colon)) : title.substr(0, colon + 1));
  if (given.empty() || (spaced && !std::all_of(given.begin(), given.end(), IsInitials))) return;
  const std::vector<std::u16string_view> names = Words(authors);
  if (given.size() > 3 || names.empty()) return;
  const bool initials = std::all_of(given.begin(), given.end(), [](std::u16string_view w) {
    return IsInitials(w.substr(0, w.size() - (w.back() == u':' || w.back() == u'.' ? 1 : 0)));
  });
  // A family name may open with its particles ("De Smet, Brecht:").
  const bool particles = std::all_of(names.begin(), names.end() - 1, [](std::u16string_view w) {
    return IsParticle(LCase(w));
  });
  // (A dash that repeats the names before is no family name.)
  const bool familyAlone = names.size() <= 3 && particles && authors.back() == u',' &&
                           std::any_of(authors.begin(), authors.end(), IsLetterUnit);
  const bool semicolons = authors.back() == u',' && authors.find(u" ; ") != std::u16string_view::npos;
  const bool afterInitials = initials && IsDottedInitials(names.back());
  // DIN's spaced colon before its publisher (" : ") says the names end
  // with a colon: one more given name, written out, after the given names
  // or initials ("Grady, J. Lee: The Holy Spirit ... Grand Rapids, MI :
  // Chosen", "Perlawan, Sarah Eve: Grammatical Sketch ...").
  const bool din = given.size() == 1 && names.size() >= 2 && names.front().back() == u',' && authors.back() != u':' &&
                   IsCapitalised(given[0]) &&
                   (authors.back() != u'.' || IsDottedInitials(names.back())) &&
                   text.find(u" : ", r.title.begin) != std::u16string_view::npos;
  // There, a family name of two words alone ("Soto Laveaga, Gabriela:").
  const bool dinFamily = given.size() == 1 && names.size() == 2 && authors.back() == u',' && IsCapitalised(names[0]) &&
                         IsCapitalised(names[1]) && IsCapitalised(given[0]) &&
                         text.find(u" : ", r.title.begin) != std::u16string_view::npos;
  if (!familyAlone && !semicolons && !afterInitials && !din && !dinFamily) return;
  for (const std::u16string_view w : given)
    if (!u_isupper(w[0]) || std::any_of(w.begin(), w.end(), [](char16_t c) { return IsDigit(c) || IsQuote(c); })) return;
  size_t begin = colon + 1;
  while (begin < title.size() && title[begin] == u' ') ++begin;
  if (begin >= title.size() || !(u_isupper(title[begin]) || IsQuote(title[begin]))) return;
  r.authors.end = titleBegin + colon;
  r.title.begin = titleBegin + begin;
}

// Vancouver's names that end with a colon, as Karger's journals write
// them ("Amit R, Shoemaker PJ: Strategic assets ...", "Von Smoluchowski M:
// Zarys ..."): the last name, or the only one where it opens with a
// particle, which the labels gave the title, is the names'.
void VancouverNamesColon(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  const std::u16string_view title = r.Text(r.title);
  const std::vector<std::u16string_view> words = Words(title);
  size_t k = 1;
  while (k < words.size() && k <= 3 &&
         !(words[k].size() >= 2 && words[k].back() == u':' && words[k].find(u'.') == std::u16string_view::npos &&
           IsInitials(words[k].substr(0, words[k].size() - 1))))
    ++k;
  if (k > 3 || k >= words.size() || k + 1 >= words.size() || !u_isupper(words[k + 1][0])) return;
  for (size_t i = 0; i < k; ++i)
    if (!IsCapitalised(words[i]) && !IsParticle(LCase(words[i]))) return;
  const size_t colon = static_cast<size_t>(words[k].data() - text.data()) + words[k].size() - 1;
  const size_t next = static_cast<size_t>(words[k + 1].data() - text.data());
  if (r.authors.Empty()) {
    // Only a list's number before it.
    const size_t before = r.citationNumber.Empty() ? 0 : r.citationNumber.end;
    if (!IsParticle(LCase(words[0])) || r.title.begin < before || !Trim(text.substr(before, r.title.begin - before)).empty())
      return;
    r.authors = {r.title.begin, colon};
  } else {
    const std::u16string_view authors = r.Text(r.authors);
    const std::vector<std::u16string_view> names = Words(authors);
    if (r.authors.end > r.title.begin || !Trim(text.substr(r.authors.end, r.title.begin - r.authors.end)).empty() ||
        !authors.ends_with(u',') || names.size() < 2)
      return;
    const std::u16string_view last = names.back().substr(0, names.back().size() - 1);
    if (last.find(u'.') != std::u16string_view::npos || !IsInitials(last)) return;
    r.authors.end = colon;
  }
  r.title.begin = next;
}

// Names, then a dash with spaces, then the title, as some French styles
// write them ("Aarseth 1997 Aarseth E. J. - Cybertext: Perspectives on
// ergodic literature, ..."): where the names before the dash end with an
// initial, the title begins after the dash, wherever the labels began it.
void DashBeforeTitle(Reference& r) {
  const std::u16string_view text = r.text;
  size_t dash = std::u16string_view::npos;
  for (std::u16string_view mark : {u" - ", u" \u2013 "})
    if (const size_t at = text.find(mark); at != std::u16string_view::npos && at < dash) dash = at;
  if (dash == std::u16string_view::npos || dash > 200 || dash + 3 >= text.size()) return;
  const size_t begin = dash + 3;
  const std::u16string_view before = text.substr(0, dash);
  const size_t space = before.rfind(u' ');
  if (space == std::u16string_view::npos || !IsDottedInitials(before.substr(space + 1)) || !u_isupper(text[begin]))
    return;
  // A name after the dash ("Abbas, S. S. \u2013 Naveed, S. \u2013 ..."): the
  // dashes part names.
  if (const size_t comma = text.find(u", ", begin); comma != std::u16string_view::npos && comma <= begin + 30) {
    const size_t after = comma + 2, next = std::min(text.find(u' ', after), text.size());
    std::u16string_view word = text.substr(after, next - after);
    if (word.ends_with(u',') || word.ends_with(u':')) word.remove_suffix(1);
    if (IsDottedInitials(word) && text.substr(begin, comma - begin).find(u' ') == std::u16string_view::npos) return;
  }
  // Or family first, the initials after it ("Abbott K.W. \u2013 Snidal D.,
  // Title", as Italian styles part names): the names run to the comma
  // after the last initials, and the title starts after it.
  for (size_t from = begin;;) {
    const size_t afterFamily = text.find(u' ', from);
    if (afterFamily == std::u16string_view::npos || afterFamily > from + 30 || !u_isupper(text[from])) break;
    const size_t next = std::min(text.find(u' ', afterFamily + 1), text.size());
    std::u16string_view word = text.substr(afterFamily + 1, next - afterFamily - 1);
    const bool comma = word.ends_with(u',');
    if (comma) word.remove_suffix(1);
    if (!IsDottedInitials(word)) break;
    const std::u16string_view rest = text.substr(next);
    if (rest.starts_with(u" - ") || rest.starts_with(u" \u2013 ")) {
      from = next + 3;
      continue;
    }
    if (!comma) break;
    const size_t after = text.find_first_not_of(u' ', next);
    if (after == std::u16string_view::npos) return;
    if (!r.authors.Empty() && r.authors.end < next && (r.title.Empty() || r.title.begin < after)) {
      r.authors.end = next - 1;
      if (!r.title.Empty() && r.title.end > after) r.title.begin = after;
    }
    return;
  }
  // No title found: the words after the dash, up to the first comma or
  // full stop, where the labels gave them to the names or to no part
  // ("Healy D. - Pharmageddon, University of California Press").
  if (r.title.Empty()) {
    const size_t end = text.find_first_of(u",.", begin);
    if (end == std::u16string_view::npos || end == begin) return;
    for (const Piece* p : {&r.date, &r.editors, &r.container, &r.volume, &r.pages, &r.publisher, &r.place})
      if (!p->Empty() && p->begin < end && p->end > begin) return;
    r.title = {begin, end};
    if (!r.authors.Empty() && r.authors.end > dash && r.authors.begin < dash) r.authors.end = dash;
    return;
  }
  // The title holds the dash, or begins a few words after it, the words
  // between given to the names.
  if (r.title.begin <= dash + 1 && r.title.end > begin) {  // (or at the dash itself)
    r.title.begin = begin;
  } else if (r.title.begin > begin && r.title.begin <= begin + 60 &&
             text.substr(begin, r.title.begin - begin).find(u". ") == std::u16string_view::npos && [&] {
               for (const Piece* p : {&r.date, &r.editors, &r.container, &r.volume, &r.pages, &r.publisher, &r.place})
                 if (!p->Empty() && p->begin < r.title.begin && p->end > begin) return false;
               return true;
             }()) {
    r.title.begin = begin;
    if (!r.note.Empty() && r.note.begin >= begin && r.note.end <= r.title.end) r.note = {};
  } else {
    return;
  }
  // (Names the labels found after the dash are left to the overlap's
  // rule: cut at the dash, they would end before they begin.)
  if (!r.authors.Empty() && r.authors.end > dash && r.authors.begin < dash) r.authors.end = dash;
}

// MLA's chapters and Chicago's notes: the book's name stands between the
// title and "edited by" ("\u201CTitle.\u201D Decisions with Multiple
// Objectives, edited by R. Keeney and H. Raiffa, Wiley, 1976."). All that
// lies between is the name, whatever the labels made of it, when no number,
// date or link part lies there.
void ContainerBeforeEditedBy(Reference& r) {
  if (r.title.Empty() || r.editors.Empty() || r.editors.begin < r.title.end) return;
  const std::u16string lower = LCase(r.Text(r.editors));
  if (!lower.starts_with(u"edited by ") && !lower.starts_with(u"ed. by ")) return;
  const std::u16string_view text = r.text;
  size_t begin = r.title.end, end = r.editors.begin;
  while (begin < end && (text[begin] == u' ' || text[begin] == u',' || text[begin] == u'.')) ++begin;
  while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u',')) --end;
  const std::u16string_view words = text.substr(begin, end - begin);
  if (std::none_of(words.begin(), words.end(), IsLetterUnit)) return;
  const auto inside = [&](const Piece& p) { return !p.Empty() && p.begin < end && begin < p.end; };
  for (const Piece* p : {&r.authors, &r.date, &r.volume, &r.pages, &r.doi, &r.url, &r.number, &r.citationNumber})
    if (inside(*p)) return;
  for (Piece* p : {&r.container, &r.note, &r.place, &r.publisher, &r.edition}) {
    if (!inside(*p)) continue;
    if (p->begin < r.title.end || p->end > r.editors.begin) return;  // it reaches out: leave all as it is
    if (p != &r.container) *p = {};
  }
  r.container = {begin, end};
  r.journal = false;
}

// AMA's publisher run into the book's name before its year ("In:
// Proceedings of CHI 90. ACM; 1990:117-124"): a last sentence of the name
// that a semicolon ends is the publisher.
void PublisherAfterBook(Reference& r) {
  if (r.container.Empty() || r.journal || !r.publisher.Empty()) return;
  const std::u16string_view c = r.Text(r.container);
  if (!c.ends_with(u";")) return;
  const size_t stop = c.rfind(u". ");
  if (stop == std::u16string_view::npos || stop == 0 || c.size() - stop < 5) return;
  const std::u16string_view last = c.substr(stop + 2);
  if (!u_isupper(last[0]) || std::any_of(last.begin(), last.end(), IsDigit)) return;
  r.publisher = {r.container.begin + stop + 2, r.container.end};
  r.container.end = r.container.begin + stop + 1;
}

// ACS's forms: a journal's year right after its name ("Am J Sports Med
// 2003, 31 (3), 419-424") is the date when no date was found; a book's
// name that "In" brings ends at a semicolon ("In Critical Approaches to
// Comics; Smith, M. J., Duncan, R., Eds.; Routledge: ...").
void ContainerEndsAcs(Reference& r) {
  if (r.container.Empty()) return;
  const std::u16string_view text = r.text;
  const std::u16string_view c = r.Text(r.container);
  const size_t space = c.rfind(u' ');
  if (r.date.Empty() && space != std::u16string_view::npos) {
    std::u16string_view last = c.substr(space + 1);
    if (last.ends_with(u",")) last.remove_suffix(1);
    if (last.size() == 4 && std::all_of(last.begin(), last.end(), IsDigit) && !FirstYear(last).empty()) {
      r.date = {r.container.begin + space + 1, r.container.end};
      r.container.end = r.container.begin + space;
      return;
    }
  }
  const size_t semicolon = c.find(u"; ");
  if (r.journal || semicolon == std::u16string_view::npos || WordBefore(text, r.container.begin) != u"in") return;
  // What the semicolon brings is ACS's: editors and their role, or
  // "Publisher: Place, Year" ("Hitler's Geographies; The Spatialities of
  // the Third Reich" is one name).
  const size_t from = r.container.begin + semicolon + 2;
  const size_t next = std::min(text.find(u';', from), text.size());
  const std::u16string_view segment = text.substr(from, next - from);
  const bool editors = segment.ends_with(u" Eds.") || segment.ends_with(u" Ed.");
  const size_t colon = segment.find(u": ");
  const bool publisher = colon != std::u16string_view::npos && segment.substr(0, colon).find(u',') == std::u16string_view::npos &&
                         !FirstYear(segment.substr(colon)).empty();
  if (editors || publisher) r.container.end = r.container.begin + semicolon;
}

// The numbers at the end of a book's name, as Nature writes a chapter
// ("in What Are People For? 197-203 (North Point Press, 1990)", "in
// Proceedings of CHI 90 117-124 (ACM, 1990)"): a range there is the pages;
// a bare number labelled the volume, between the name that "in" brings and
// the pages with nothing but a space on either side, is the name's.
void NumbersAfterBook(Reference& r) {
  if (r.container.Empty() || r.journal) return;
  const std::u16string_view text = r.text;
  const std::u16string_view c = r.Text(r.container);
  const size_t space = c.rfind(u' ');
  if (r.pages.Empty() && space != std::u16string_view::npos) {
    const std::u16string_view last = c.substr(space + 1);
    const auto numbers = Numbers(last);
    if (numbers.size() == 2 && numbers[0].begin == 0 && numbers[1].end == last.size() &&
        last.substr(numbers[0].end, numbers[1].begin - numbers[0].end).size() == 1 && IsDash(last[numbers[0].end])) {
      r.pages = {r.container.begin + space + 1, r.container.end};
      r.container.end = r.container.begin + space;
      return;
    }
  }
  if (r.volume.Empty() || r.pages.Empty() || r.volume.begin != r.container.end + 1 || r.pages.begin != r.volume.end + 1)
    return;
  // Only a book's that "in" brings: a journal the labels missed is
  // written so too ("Machine Vision and Applications 6 83-99").
  if (WordBefore(text, r.container.begin) != u"in") return;
  const std::u16string_view v = r.Text(r.volume);
  if (!std::all_of(v.begin(), v.end(), IsDigit)) return;
  r.container.end = r.volume.end;
  r.volume = {};
}

// Nature's "(Baker, 1996)": a place in a bracket that the date closes,
// where no publisher was found, is the publisher.
void PublisherInBracket(Reference& r) {
  if (!r.publisher.Empty() || r.place.Empty() || r.date.Empty() || r.date.begin < r.place.end) return;
  const std::u16string_view text = r.text;
  if (text[r.place.begin] != u'(' || !Trim(text.substr(r.place.end, r.date.begin - r.place.end)).empty()) return;
  const std::u16string_view date = r.Text(r.date);
  if (date.find(u')') == std::u16string_view::npos || r.Text(r.place).find(u',') + 1 != r.place.end - r.place.begin) return;
  r.publisher = r.place;
  r.place = {};
}

// Where a Vancouver conference's meeting was held, after its name: "...
// Proceedings of the 12th New Zealand Geothermal Workshop; 1990 Nov 7-9;
// Auckland. Auckland: University of Auckland; 1990." Returns the stretch
// from the year to the place's full stop (npos when there is none), and
// where the semicolon before it stands.
struct Meeting {
  size_t semicolon = std::u16string_view::npos, begin = 0, end = 0;
};
Meeting MeetingAfterName(std::u16string_view text) {
  static constexpr std::u16string_view kMonths[] = {u"jan", u"feb", u"mar", u"apr", u"may", u"jun",
                                                     u"jul", u"aug", u"sep", u"oct", u"nov", u"dec"};
  for (size_t at = text.find(u"; "); at != std::u16string_view::npos; at = text.find(u"; ", at + 1)) {
    size_t i = at + 2;
    const size_t year = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i - year != 4 || IsDigit(text[year]) == false || FirstYear(text.substr(year, 4)).empty()) continue;
    if (i + 4 > text.size() || text[i] != u' ') continue;
    const std::u16string month = LCase(text.substr(i + 1, 3));
    if (std::find(std::begin(kMonths), std::end(kMonths), month) == std::end(kMonths)) continue;
    // The month (maybe two, "Jun 30-Jul 2"), the days, then the semicolon.
    size_t j = i + 4;
    while (j < text.size() && j - i <= 24 && text[j] != u';' && text[j] != u'.' && text[j] != u',') ++j;
    if (j >= text.size() || text[j] != u';') continue;
    const size_t stop = text.find(u". ", j);
    const size_t end = stop == std::u16string_view::npos ? (text.ends_with(u'.') ? text.size() - 1 : text.size()) : stop;
    if (end <= j + 2 || end - j > 60) continue;
    return {at, year, end};
  }
  return {};
}

// The meeting's date and place go to the note; the name before them is
// the book (after "In:" and its editors) or, with its editors in the
// author's place, the title; no other part keeps anything of either.
void ConferenceMeeting(Reference& r) {
  const std::u16string_view text = r.text;
  const Meeting m = MeetingAfterName(text);
  if (m.semicolon == std::u16string_view::npos) return;
  // The name begins after the authors, the title and the editors that end
  // before it (its own sentence).
  size_t begin = 0;
  for (const Piece* p : {&r.citationNumber, &r.authors, &r.editors})
    if (!p->Empty() && p->end <= m.semicolon) begin = std::max(begin, p->end);
  bool inBook = !r.editors.Empty() && r.editors.end <= m.semicolon && !r.title.Empty() && r.title.end <= r.editors.begin;
  if (inBook) begin = std::max(begin, r.editors.end);
  // Or "In:" and the proceedings with no editors, after the title ("Title.
  // In: Proceedings of the 29th Workshop ...; 2004 Jan 26-28; Stanford,
  // CA."): the name is the book all the same.
  if (r.editors.Empty() && !r.title.Empty() && r.title.end <= m.semicolon) {
    size_t in = r.title.end;
    while (in < m.semicolon && (text[in] == u' ' || text[in] == u'.')) ++in;
    for (std::u16string_view word : {u"In: ", u"In "})
      if (text.substr(in).starts_with(word) && in + word.size() < m.semicolon) {
        begin = in + word.size();
        inBook = true;
        break;
      }
  }
  if (!inBook && (r.editors.Empty() || r.editors.end > m.semicolon || !r.authors.Empty())) return;
  while (begin < m.semicolon && (text[begin] == u' ' || text[begin] == u'.')) ++begin;
  if (m.semicolon - begin < 8 || !u_isupper(text[begin])) return;
  const Piece name{begin, m.semicolon}, meeting{m.begin, m.end};
  const auto clip = [&](Piece& p) {
    if (p.Empty() || p.end <= name.begin || meeting.end <= p.begin) return;
    if (p.begin >= name.begin && p.end <= meeting.end + 1) p = {};
    else if (p.begin >= name.begin) p.begin = std::min(p.end, meeting.end + 1);
    else p.end = name.begin;
    while (p.begin < p.end && text[p.begin] == u' ') ++p.begin;
    if (p.begin == p.end) p = {};
  };
  for (Piece* p : {&r.date, &r.title, &r.container, &r.volume, &r.pages, &r.publisher, &r.place, &r.edition, &r.note}) clip(*p);
  if (inBook) r.container = name, r.journal = false;
  else r.title = name;
  if (r.note.Empty()) r.note = meeting;
  // The pages after it, where the labels took the meeting's days for them
  // ("2004 Jan 26-28; ... 2004. p. 1-10.").
  if (const Piece pages = PagesWrittenOut(text, meeting.end); r.pages.Empty() && !pages.Empty()) {
    bool free = true;
    for (const Piece* p : {&r.date, &r.title, &r.container, &r.volume, &r.publisher, &r.place, &r.edition, &r.note,
                           &r.doi, &r.url, &r.number})
      free = free && (p->Empty() || p->end <= pages.begin || pages.end <= p->begin);
    if (free) r.pages = pages;
  }
  // The year the labels took from the name ("12th") is gone: the year the
  // book came out, last after the meeting, is the date.
  if (r.date.Empty()) {
    for (size_t i = text.size(); i > meeting.end + 4; --i) {
      const size_t at = i - 4;
      if ((at == 0 || !IsDigit(text[at - 1])) && (i == text.size() || !IsDigit(text[i])) &&
          !FirstYear(text.substr(at, 4)).empty() && std::all_of(text.begin() + at, text.begin() + i, IsDigit)) {
        size_t end = i;  // with the mark after it, as the labels give a date
        while (end < text.size() && text[end] != u' ') ++end;
        r.date = {at, end};
        for (Piece* p : {&r.publisher, &r.place, &r.note})
          if (!p->Empty() && p->begin <= at && i <= p->end) r.date = {};
        break;
      }
    }
  }
}

// An edition that opens the text ("2nd ed. ", "third edition. ", "Rev.
// ed. "): its length with the full stop, or 0.
size_t EditionAtStart(std::u16string_view text) {
  static constexpr std::u16string_view kOrdinals[] = {u"first", u"second", u"third", u"fourth", u"fifth", u"sixth",
                                                       u"seventh", u"eighth", u"ninth", u"tenth", u"rev.", u"revised"};
  const std::u16string lower = LCase(text.substr(0, std::min<size_t>(text.size(), 32)));
  const size_t space = lower.find(u' ');
  if (space == std::u16string::npos) return 0;
  const std::u16string_view word = std::u16string_view(lower).substr(0, space);
  size_t digits = 0;
  while (digits < word.size() && IsDigit(word[digits])) ++digits;
  const std::u16string_view suffix = word.substr(digits);
  const bool number = digits > 0 && digits <= 3 && (suffix == u"st" || suffix == u"nd" || suffix == u"rd" || suffix == u"th");
  if (!number && std::find(std::begin(kOrdinals), std::end(kOrdinals), word) == std::end(kOrdinals)) return 0;
  for (std::u16string_view mark : {u"ed.", u"edn.", u"edition."}) {
    if (lower.compare(space + 1, mark.size(), mark) != 0) continue;
    const size_t end = space + 1 + mark.size();
    if (end == text.size() || text[end] == u' ') return end;
  }
  return 0;
}

// An edition the labels left at the front of the publisher's piece or the
// place's (Vancouver's "Title. 2nd ed. Academic Press; 2011.").
void EditionBeforePublisher(Reference& r) {
  if (!r.edition.Empty()) return;
  for (Piece* p : {&r.publisher, &r.place}) {
    if (p->Empty()) continue;
    const size_t n = EditionAtStart(r.Text(*p));
    if (n == 0) continue;
    r.edition = {p->begin, p->begin + n};
    p->begin += n;
    while (p->begin < p->end && r.text[p->begin] == u' ') ++p->begin;
    if (p->begin == p->end) *p = {};
    break;
  }
  // The labels may have given the publisher's name to the edition, and
  // left the name itself after the place ("4th ed. Minneapolis: Burgess."):
  // what follows the place's colon, in no piece, is the publisher.
  if (!r.publisher.Empty() || r.place.Empty() || r.edition.Empty() || !r.Text(r.place).ends_with(u":")) return;
  size_t begin = r.place.end;
  while (begin < r.text.size() && r.text[begin] == u' ') ++begin;
  size_t end = r.date.Empty() || r.date.begin < begin ? r.text.size() : r.date.begin;
  for (const Piece* q : {&r.citationNumber, &r.authors, &r.editors, &r.title, &r.container, &r.volume, &r.pages,
                         &r.edition, &r.doi, &r.url, &r.note, &r.number})
    if (!q->Empty() && q->begin >= begin) end = std::min(end, q->begin);
  while (end > begin && (r.text[end - 1] == u' ' || r.text[end - 1] == u'.' || r.text[end - 1] == u',')) --end;
  if (end > begin && std::any_of(r.text.begin() + begin, r.text.begin() + end, IsLetterUnit)) r.publisher = {begin, end};
}

// Words that make a name a publisher's.
bool IsPublisherWord(std::u16string_view lower) {
  static constexpr std::u16string_view kWords[] = {
      u"acm",       u"ieee",     u"siam",      u"press",    u"up",         u"university", u"universit\u00E4t",
      u"universit\u00E9", u"verlag", u"editions", u"\u00E9ditions", u"edizioni", u"editorial",  u"publishing",
      u"publishers", u"publisher", u"publications", u"books",   u"institute", u"springer",  u"elsevier",   u"wiley",
      u"routledge", u"gallimard", u"boeck",   u"sage",     u"pergamon",   u"blackwell",  u"macmillan"};
  return std::find(std::begin(kWords), std::end(kWords), lower) != std::end(kWords);
}

// Whether one of the words names a publisher ("ACM,", "de boeck,",
// "University Press of the Pacific").
bool NamesPublisher(std::u16string_view words) {
  for (std::u16string_view w : Words(words)) {
    std::u16string lower = LCase(w);
    while (!lower.empty() && !u_isalpha(lower.back())) lower.pop_back();
    if (IsPublisherWord(lower)) return true;
  }
  return false;
}

// DIN 1505's book with no place: "Family, G.: Title : Publisher, 2004".
// The names end with a colon, and the publisher stands between the spaced
// colon after the title and the year that ends the reference ("Larrissy,
// Edward: Blake and modern literature : Springer, 2006", "Garner, Robert:
// Animals, Politics and Morality : Manchester University Press, 2004"),
// whatever the labels made of it. Only a publisher's name: one with a
// publisher's word, or up to four capitalised words ("IDRC", "Thames and
// Hudson"), perhaps with its place after a colon; a subtitle after a
// spaced colon (French writes one so) has small words.
void DinPublisherAfterTitle(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  // The names' colon.
  const std::u16string_view gap = Trim(text.substr(r.authors.end, r.title.begin - r.authors.end));
  if (gap != u":" && !(gap.empty() && r.Text(r.authors).ends_with(u":"))) return;
  // The year that ends the reference, after a comma.
  std::u16string_view body = text;
  while (!body.empty() && (body.back() == u'.' || body.back() == u' ')) body.remove_suffix(1);
  if (body.size() < 7 || FirstYear(body.substr(body.size() - 4)) != body.substr(body.size() - 4) ||
      body.substr(body.size() - 6, 2) != u", ")
    return;
  const size_t year = body.size() - 6;
  const size_t colon = text.rfind(u" : ", year);
  if (colon == std::u16string_view::npos || colon <= r.title.begin) return;
  // A full stop between is the title's end, and a place comes before the
  // colon ("World Risk Society. Cambridge : Polity Press, 1999").
  if (const std::u16string_view before = text.substr(r.title.begin, colon - r.title.begin);
      before.find(u". ") != std::u16string_view::npos || before.ends_with(u'.'))
    return;
  const std::u16string_view name = text.substr(colon + 3, year - colon - 3);
  if (name.empty() || std::any_of(name.begin(), name.end(), IsDigit)) return;
  const size_t placeColon = name.find(u": ");
  const std::u16string_view publisher = name.substr(0, placeColon);
  const std::vector<std::u16string_view> words = Words(publisher);
  const bool capitalised = !words.empty() && words.size() <= 4 && u_isupper(words.front()[0]) &&
                           std::all_of(words.begin(), words.end(), [](std::u16string_view w) {
                             return u_isupper(w[0]) || w == u"and" || w == u"&" || w == u"of" || w == u"de";
                           });
  if (!NamesPublisher(publisher) && !capitalised) return;
  // Nothing but the title and what the labels made of the publisher lies
  // between: no date, number or link.
  for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.doi, &r.url, &r.editors, &r.citationNumber})
    if (!p->Empty() && p->begin < year && r.title.begin < p->end) return;
  r.title.end = colon;
  const size_t begin = colon + 3;
  if (placeColon == std::u16string_view::npos) {
    r.publisher = {begin, year};
    if (!r.place.Empty() && r.place.begin < year) r.place = {};
  } else {
    r.publisher = {begin, begin + placeColon};
    r.place = {begin + placeColon + 2, year};
  }
  if (!r.container.Empty() && r.container.begin < year) r.container = {}, r.journal = false;
  if (!r.edition.Empty() && r.edition.begin < year) r.edition = {};
  if (!r.note.Empty() && r.note.begin < year) r.note = {};
}

// AMA's book with no publisher: "In: Proceedings of the Twenty-Seventh
// Hawaii International Conference, Volume I: Architecture.; 1994:134-143."
// All from "In:" (or the editors after it) to the full stop before ".;"
// and the year is the book, whatever pieces the labels cut it into.
void ContainerBeforeStopSemicolon(Reference& r) {
  const std::u16string_view text = r.text;
  size_t stop = text.find(u".; "), in = std::u16string_view::npos, lead = 4;
  if (stop != std::u16string_view::npos && stop + 7 <= text.size() && !FirstYear(text.substr(stop + 3, 4)).empty()) {
    in = text.rfind(u"In: ", stop);
  } else {
    // ACS's "In Proceedings of ...; 1994; pp 134-143.": the year alone
    // between semicolons (or last) after the book.
    for (size_t at = text.find(u"; "); at != std::u16string_view::npos; at = text.find(u"; ", at + 1)) {
      const size_t y = at + 2;
      if (y + 4 > text.size() || FirstYear(text.substr(y, 4)).empty() || !std::all_of(text.begin() + y, text.begin() + y + 4, IsDigit))
        continue;
      if (y + 4 < text.size() && text[y + 4] != u';' && text[y + 4] != u'.') continue;
      const size_t candidate = text.rfind(u"In ", at);
      // "In" that opens a sentence, not "... Standard In Second ...".
      if (candidate == std::u16string_view::npos || candidate < 2 || text[candidate - 1] != u' ' ||
          (text[candidate - 2] != u'.' && text[candidate - 2] != u'\u201D' && text[candidate - 2] != u','))
        continue;
      if (text.substr(candidate, at - candidate).find(u": ") != std::u16string_view::npos &&
          text.substr(candidate, at - candidate).find(u"; ") != std::u16string_view::npos)
        continue;
      // A publisher after the book's last full stop ("... Annual Meeting.
      // SAGE Publications; 1976.") is no part of it.
      const std::u16string_view book = text.substr(candidate, at - candidate);
      const size_t lastStop = book.rfind(u". ");
      if (lastStop != std::u16string_view::npos && NamesPublisher(book.substr(lastStop + 2))) continue;
      in = candidate, stop = at - 1, lead = 3;
      break;
    }
  }
  if (in == std::u16string_view::npos || (!r.title.Empty() && r.title.end > in) || (!r.authors.Empty() && r.authors.end > in))
    return;
  // No editors' or publisher's semicolon inside the book's name.
  if (text.substr(in, stop + 1 - in).find(u"; ") != std::u16string_view::npos) return;
  size_t begin = in + lead;
  if (!r.editors.Empty() && r.editors.begin >= in && r.editors.end <= stop) begin = std::max(begin, r.editors.end);
  while (begin < stop && text[begin] == u' ') ++begin;
  if (stop - begin < 4) return;
  const size_t end = stop + 1;
  MakeRoom(r, begin, end, {&r.container, &r.date, &r.volume, &r.pages, &r.publisher, &r.place, &r.edition, &r.note, &r.number});
  r.container = {begin, end};
  r.journal = false;
}

// A meeting's name with its numbers, between the title and the pages
// (APA's "INTERACT 90 Proceedings, 259-264.", "Proc. 1994 Winter USENIX
// Conference, 115-131.", "2013 IEEE International Conference on ... (HST),
// 236-240."): the book, whatever the labels made of its numbers. A number
// followed by more of the name is the name's; a number right before the
// pages may be a journal's volume ("Proceedings of the National Academy
// of Sciences 104, 1-5", "Proceedings of CHI 90, 117-124" alike), and
// leaves all as it was.
void MeetingNameWithNumbers(Reference& r) {
  if (r.pages.Empty() || r.title.Empty() || r.pages.begin <= r.title.end) return;
  const std::u16string_view text = r.text;
  size_t begin = r.title.end, end = r.pages.begin;
  while (begin < end && (text[begin] == u' ' || text[begin] == u'.' || text[begin] == u',')) ++begin;
  while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u',')) --end;
  if (end <= begin) return;
  for (const Piece* p : {&r.authors, &r.editors, &r.date, &r.doi, &r.url, &r.publisher, &r.place, &r.edition, &r.number})
    if (!p->Empty() && p->begin < end && begin < p->end) return;
  // "In:" and a book after it are other rules' (and a publisher may follow
  // the book there: "in: Proceedings of ... Data. ACM, pp. 745-747").
  const std::u16string_view stretch = text.substr(begin, end - begin);
  if (stretch.starts_with(u"In ") || stretch.starts_with(u"in ") || stretch.starts_with(u"In:") || stretch.starts_with(u"in:"))
    return;
  // Most references name no meeting there: a look for the words' stems
  // first, before any word is cut out and lowered.
  bool stem = false;
  for (std::u16string_view part : {u"roceedings", u"onference", u"ymposium", u"orkshop", u"ongress", u"olloquium", u"eeting"})
    stem = stem || stretch.find(part) != std::u16string_view::npos;
  if (!stem) return;
  const std::vector<std::u16string_view> words = Words(stretch);
  bool meeting = false;
  for (std::u16string_view w : words) {
    std::u16string lower = LCase(w);
    while (!lower.empty() && !u_isalpha(lower.back())) lower.pop_back();
    meeting = meeting || lower == u"proceedings" || lower == u"conference" || lower == u"symposium" || lower == u"workshop" ||
              lower == u"congress" || lower == u"colloquium" || lower == u"meeting";
  }
  if (!meeting) return;
  // The meeting's year may have gone to the title's end ("The CERT
  // assessment tool. 2013 | IEEE International Conference ...").
  {
    const std::u16string_view title = Trim(r.Text(r.title));
    const size_t space = title.rfind(u' ');
    if (space != std::u16string_view::npos && space > 0 && title[space - 1] == u'.' && title.size() - space == 5 &&
        !FirstYear(title.substr(space + 1)).empty() && std::all_of(title.begin() + space + 1, title.end(), IsDigit) &&
        Trim(text.substr(r.title.begin + title.size(), begin - r.title.begin - title.size())).empty()) {
      begin = r.title.begin + space + 1;
      r.title.end = r.title.begin + space;
      return MeetingNameWithNumbers(r);
    }
  }
  bool numbers = false;
  for (size_t k = 0; k < words.size(); ++k) {
    if (!IsDigit(words[k][0])) continue;
    numbers = true;
    if (k + 1 == words.size() || !u_isalpha(words[k + 1][0])) return;
  }
  // Without numbers in it, the labels' own choice stands.
  if (!numbers) return;
  for (Piece* p : {&r.container, &r.volume, &r.note}) {
    if (p->Empty() || p->end <= begin || end <= p->begin) continue;
    if (p->begin >= begin && p->end <= r.pages.begin) *p = {};
    else return;
  }
  r.container = {begin, end};
  r.journal = false;
}

// MLA's "\u201CTitle.\u201D Book, Publisher, Year, pp." with the publisher run
// into the book's name ("Proceedings of CHI 90, ACM, 1990", "Dictionnaire
// des concepts, de boeck, 2014"): from the first part after a comma that
// names a publisher to the date, the publisher.
void PublisherEndsContainerMla(Reference& r) {
  if (r.container.Empty() || !r.publisher.Empty() || r.title.Empty() || r.container.begin < r.title.end) return;
  const std::u16string_view text = r.text;
  const std::u16string_view between = text.substr(r.title.end, r.container.begin - r.title.end);
  const std::u16string_view title = Trim(r.Text(r.title));
  const auto closes = [](char16_t c) { return c == u'\u201D' || c == u'"' || c == u'\u2019' || c == u'\u00BB'; };
  if (!(!title.empty() && closes(title.back())) && std::none_of(between.begin(), between.end(), closes)) return;
  if (r.date.Empty() || r.date.begin < r.container.end || !Trim(text.substr(r.container.end, r.date.begin - r.container.end)).empty())
    return;
  const std::u16string_view name = r.Text(r.container);
  for (size_t comma = name.find(u", "); comma != std::u16string_view::npos; comma = name.find(u", ", comma + 1)) {
    std::u16string_view part = name.substr(comma + 2);
    const size_t next = part.find(u", ");
    if (next != std::u16string_view::npos) part = part.substr(0, next);
    if (!NamesPublisher(part)) continue;
    const std::u16string_view rest = name.substr(comma + 2);
    if (std::count(rest.begin(), rest.end(), u' ') > 8) return;
    r.publisher = {r.container.begin + comma + 2, r.container.end};
    r.container.end = r.container.begin + comma;
    r.journal = false;  // a book's, or a meeting's
    return;
  }
}

// Nature's end, "... Book 247-262 (Publisher, 1994).": the last bracket
// holds the year, after the publisher if there is one, and the pages stand
// right before it; the book or journal ends before both, whatever the
// labels ran into it ("in OOPSLA '92 Conference Proceedings 247-262
// (1992).", "in Proceedings of ... (Institute for Simulation and
// Training, University of Central Florida, 1994).").
void NatureTail(Reference& r) {
  const std::u16string_view text = r.text;
  size_t close = text.size();
  while (close > 0 && (text[close - 1] == u' ' || text[close - 1] == u'.')) --close;
  if (close < 7 || text[close - 1] != u')') return;
  --close;
  const size_t open = text.rfind(u'(', close);
  if (open == std::u16string_view::npos || open == 0 || text[open - 1] != u' ' ||
      text.substr(open, close - open).find(u')') != std::u16string_view::npos)
    return;
  const std::u16string_view inside = text.substr(open + 1, close - open - 1);
  if (inside.size() < 4 || !std::all_of(inside.end() - 4, inside.end(), IsDigit) || FirstYear(inside.substr(inside.size() - 4)).empty())
    return;
  if (inside.size() > 4 && !(inside.size() >= 6 && inside[inside.size() - 6] == u',' && inside[inside.size() - 5] == u' ')) return;
  for (const Piece* p : {&r.authors, &r.title, &r.editors, &r.doi, &r.url})
    if (!p->Empty() && p->end > open) return;
  // The pages right before the bracket.
  size_t cut = open - 1;
  Piece pages;
  {
    size_t b = cut;
    while (b > 0 && text[b - 1] != u' ') --b;
    const std::u16string_view word = text.substr(b, cut - b);
    const size_t dash = word.find_first_of(u"-\u2013");
    if (dash != std::u16string_view::npos && dash > 0 && dash + 1 < word.size() &&
        std::all_of(word.begin(), word.begin() + dash, IsDigit) && std::all_of(word.begin() + dash + 1, word.end(), IsDigit) &&
        b > 0 && text[b - 1] == u' ' && b >= 2 && text[b - 2] != u',') {
      pages = {b, cut};
      cut = b - 1;
    }
  }
  if (r.container.Empty() || r.container.begin >= cut || r.container.end <= cut) return;
  r.container.end = cut;
  while (r.container.end > r.container.begin && text[r.container.end - 1] == u' ') --r.container.end;
  for (Piece* p : {&r.note, &r.place, &r.publisher, &r.volume, &r.pages, &r.date})
    if (!p->Empty() && p->end > cut) *p = {};
  if (!pages.Empty()) r.pages = pages;
  if (inside.size() > 4) {
    const size_t comma = open + 1 + inside.size() - 6;
    if (std::any_of(text.begin() + open + 1, text.begin() + comma, IsLetterUnit)) r.publisher = {open + 1, comma};
  }
  r.date = {close - 4, close};
}

// MLA's translator before the publisher ("Title. Translated by William
// Weaver, Harcourt, 1983."), taken for the publisher or the place: the
// names up to the comma are the translators, and a place right after
// them, with the date or nothing after it, is the publisher (MLA gives
// no places).
void TranslatorBeforePublisher(Reference& r) {
  if (!r.editors.Empty()) return;
  const std::u16string_view text = r.text;
  for (Piece* p : {&r.publisher, &r.place, &r.note}) {
    if (p->Empty()) continue;
    const std::u16string lower = LCase(r.Text(*p));
    const size_t by = lower.starts_with(u"translated by ") ? 13 : lower.starts_with(u"trans. by ") ? 10 : 0;
    if (by == 0) continue;
    const size_t comma = lower.find(u',', by);
    const size_t end = comma == std::u16string::npos ? p->end : p->begin + comma;
    if (end - p->begin <= by + 2) return;
    r.editors = {p->begin, end};
    p->begin = std::min(p->end, end + 1);
    while (p->begin < p->end && text[p->begin] == u' ') ++p->begin;
    if (p->begin == p->end) *p = {};
    if (p != &r.place && r.publisher.Empty() && !r.place.Empty() && r.place.begin >= r.editors.end &&
        Trim(text.substr(r.editors.end, r.place.begin - r.editors.end)).find_first_not_of(u",") == std::u16string_view::npos) {
      const size_t after = r.date.Empty() ? text.size() : r.date.begin;
      if (after >= r.place.end && Trim(text.substr(r.place.end, after - r.place.end)).empty()) {
        r.publisher = r.place;
        r.place = {};
      }
    }
    return;
  }
}

// ACS's books, "Title; Publisher: Place, Year.": after the semicolon
// that ends the title, what stands before the colon is the publisher,
// whether the labels gave it to the place or to no part.
void PublisherColonPlace(Reference& r) {
  if (!r.publisher.Empty() || r.place.Empty() || r.title.Empty() || r.place.begin < r.title.end) return;
  const std::u16string_view text = r.text;
  if (!Trim(r.Text(r.title)).ends_with(u";")) return;
  const std::u16string_view gap = Trim(text.substr(r.title.end, r.place.begin - r.title.end));
  if (gap.empty()) {
    const std::u16string_view place = r.Text(r.place);
    const size_t colon = place.find(u": ");
    if (colon == std::u16string_view::npos || colon == 0) return;
    r.publisher = {r.place.begin, r.place.begin + colon + 1};
    r.place.begin += colon + 2;
  } else if (gap.size() >= 3 && gap.back() == u':' && std::any_of(gap.begin(), gap.end(), IsLetterUnit)) {
    const size_t begin = static_cast<size_t>(gap.data() - text.data());
    // Only words no other part holds: pages or a book between the title
    // and the place stay theirs.
    for (const Piece* p : {&r.authors, &r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.edition, &r.doi, &r.url,
                           &r.note, &r.number, &r.citationNumber})
      if (!p->Empty() && p->begin < begin + gap.size() && begin < p->end) return;
    r.publisher = {begin, begin + gap.size()};
  }
}

// A publisher and its place both labelled as the place, the publisher
// first ("Macmillan, Houndmills", "Springer, Berlin, Heidelberg"): what
// comes before the first comma is the publisher, unless what follows it
// only says where the place is ("New York, NY", "Cambridge, Mass.",
// "London, UK").
void PublisherInPlace(Reference& r) {
  if (!r.publisher.Empty() || r.place.Empty()) return;
  const std::u16string_view place = r.Text(r.place);
  const size_t comma = place.find(u", ");
  if (comma == std::u16string_view::npos || comma < 2) return;
  std::u16string_view rest = place.substr(comma + 2);
  while (!rest.empty() && (rest.back() == u'.' || rest.back() == u',' || rest.back() == u':' || rest.back() == u';' ||
                           rest.back() == u')' || rest.back() == u' '))
    rest.remove_suffix(1);
  const std::u16string restLower = LCase(rest);
  const bool region = rest.size() <= 3 || restLower.find(u'.') != std::u16string::npos ||
                      restLower == u"usa" || restLower == u"u.s.a" || restLower == u"england" ||
                      restLower == u"canada" || restLower == u"australia" || restLower == u"germany" ||
                      restLower == u"france" || restLower == u"india" || restLower == u"china" || restLower == u"japan" ||
                      restLower == u"switzerland" || restLower == u"netherlands" || restLower == u"the netherlands" ||
                      restLower == u"italy" || restLower == u"spain" || restLower == u"new zealand";
  if (region || std::any_of(rest.begin(), rest.end(), IsDigit)) return;
  r.publisher = {r.place.begin, r.place.begin + comma};
  r.place.begin += comma + 2;
}

// Vancouver's names end at the first initials with a full stop ("Bowman
// JH."); words the labels ran on into the authors after them ("Bowman JH.
// Greek | Printing Types", "Kunegel P. Les Maîtres d'apprentissage. |
// Analyses ...") open the title. A title that names a publisher after
// them ("Wicksteed PH. Dante & Aquinas. | University Press of the
// Pacific") was the publisher.
void VancouverAuthorsEnd(Reference& r) {
  if (r.authors.Empty()) return;
  const std::u16string_view text = r.text;
  // A family name first, with no mark after it: most lists ("Smith, J.")
  // are none of this rule's.
  {
    const std::u16string_view a = r.Text(r.authors);
    const size_t space = a.find(u' ');
    if (space == std::u16string_view::npos || space < 2 || a[space - 1] == u',' || a[space - 1] == u'.') return;
  }
  const std::vector<std::u16string_view> words = Words(r.Text(r.authors));
  if (words.size() < 3) return;
  const auto initials = [](std::u16string_view w, char16_t mark) {
    if (w.size() < 2 || w.size() > 4 || w.back() != mark) return false;
    return std::all_of(w.begin(), w.end() - 1, [](char16_t u) { return u >= u'A' && u <= u'Z'; });
  };
  // A family name first, as Vancouver writes it ("Bowman JH."), not an
  // initial ("J. R. Smith, ...").
  if (words[0].size() < 2 || words[0].back() == u',' || words[0].back() == u'.' || !u_isupper(words[0][0])) return;
  size_t end = 0;
  for (size_t k = 1; k < words.size(); ++k) {
    if (initials(words[k], u'.')) {
      end = k;
      break;
    }
    // A family name has no full stop in it ("S.," is a given name's
    // initial: "Willems S., Salmon E.").
    const bool name = u_isupper(words[k][0]) && words[k].find(u'.') == std::u16string_view::npos && !words[k].ends_with(u':');
    if (!initials(words[k], u',') && !name) return;
  }
  if (end == 0 || end + 1 >= words.size()) return;
  // The one before the initials is a family name, not another initial.
  if (words[end - 1].back() == u',' || words[end - 1].back() == u'.') return;
  // What follows opens a title, not more of a name: no initial ("KLEIN R.
  // G."), no name with its comma or full stop ("Trevor J. Barnes,", "Lisa
  // F. Rau."), no name in capitals, no "and" or "et", no dash that parts
  // names ("Abercrombie N. \u2013 Hill S.").
  const std::u16string_view after = words[end + 1];
  const bool capitals = after.size() >= 2 && std::none_of(after.begin(), after.end(), [](char16_t u) { return u_islower(u); });
  if (initials(after, u'.') || after.ends_with(u',') || after.ends_with(u'.') || capitals || after == u"et" ||
      after == u"and" || after == u"&" || after == u"-" || after == u"\u2013")
    return;
  // One initial may be a given name's, between given and family name
  // ("Albert R. Meyer and ...", "Peter E. Gordon: ...", "Goss DL. Moore
  // JH."): what follows the word after it must not go on with names.
  const std::u16string_view then = end + 2 < words.size() ? words[end + 2] : std::u16string_view();
  if (initials(then, u'.') || initials(then, u',')) return;
  if (words[end].size() == 2 && (after.ends_with(u':') || then == u"and" || then == u"et" || then == u"&" ||
                                 then.ends_with(u',') || then.ends_with(u':')))
    return;
  const size_t authorsEnd = static_cast<size_t>(words[end].data() + words[end].size() - text.data());
  const size_t moved = static_cast<size_t>(words[end + 1].data() - text.data());
  const size_t oldEnd = r.authors.end;
  r.authors.end = authorsEnd;
  const bool titleNext = !r.title.Empty() && r.title.begin >= oldEnd && Trim(text.substr(oldEnd, r.title.begin - oldEnd)).empty();
  const bool publisherTitle = titleNext && NamesPublisher(r.Text(r.title));
  // The title's span may still reach into the parts after it (they give
  // way to it later); as the publisher it must not.
  bool alone = true;
  for (const Piece* p : {&r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.place, &r.edition, &r.doi, &r.url,
                         &r.note, &r.number, &r.citationNumber})
    alone = alone && (p->Empty() || p->end <= r.title.begin || r.title.end <= p->begin);
  if (titleNext && publisherTitle && r.publisher.Empty() && alone) {
    r.publisher = r.title;
    r.title = {moved, oldEnd};
  } else if (titleNext) {
    r.title.begin = moved;
  } else if (r.title.Empty() || r.title.begin >= oldEnd) {
    r.title = {moved, oldEnd};
  } else {
    r.authors.end = oldEnd;  // the title stands elsewhere: leave all as it was
  }
}

// OSCOLA's names: "Family AB, Title", "Family A and Family B, Title", the
// initials in capitals without full stops, a comma after the last. Words
// the labels ran on into the authors after those initials, capitalised
// words, three at most and none of them a role or a suffix, open the title
// found right after them ("BESSA MS, Os | Perigosos", "Ciccone A and Ferrant A, Honte, |
// Culpabilit\u00E9", "Nelson R, Hagia Sophia, | 1850\u20131950").
void OscolaNamesEnd(Reference& r) {
  if (r.authors.Empty()) return;
  const std::u16string_view text = r.text;
  const std::vector<std::u16string_view> words = Words(r.Text(r.authors));
  const auto initials = [](std::u16string_view w) {
    return !w.empty() && w.size() <= 3 && std::all_of(w.begin(), w.end(), [](char16_t c) { return c >= u'A' && c <= u'Z'; });
  };
  const auto bare = [](std::u16string_view w) {
    while (!w.empty() && (w.back() == u',' || w.back() == u'.' || w.back() == u':')) w.remove_suffix(1);
    return w;
  };
  // The names: one to three family words (no mark after them), then
  // initials with a comma, or without one before "and" or "&".
  size_t last = SIZE_MAX;
  for (size_t k = 0; k < words.size();) {
    size_t f = k;
    while (f < words.size() && f - k < 3 && !initials(words[f]) && bare(words[f]) == words[f] &&
           (u_isupper(words[f][0]) || IsParticle(LCase(words[f]))))
      ++f;
    if (f == k || f >= words.size()) break;
    const std::u16string_view w = words[f];
    if (w.back() == u',' && initials(w.substr(0, w.size() - 1))) {
      last = f, k = f + 1;
      continue;
    }
    if (initials(w) && f + 1 < words.size() && (words[f + 1] == u"and" || words[f + 1] == u"&")) {
      k = f + 2;
      continue;
    }
    break;
  }
  if (last == SIZE_MAX || last + 1 >= words.size()) return;
  // No title found, the book's bracket after the words the names took
  // ("Healy D, Pharmageddon (University of California Press 2012)",
  // "Monneret P, Essais de Linguistique Analogique (ABELL 2004)"): those
  // words are the title, and what stands before the year in the bracket
  // the publisher.
  if (r.title.Empty() && !r.date.Empty()) {
    const size_t moved = static_cast<size_t>(words[last + 1].data() - text.data());
    const size_t open = text.find(u" (", moved);
    if (open == std::u16string_view::npos || open <= moved || r.date.begin <= open ||
        text.substr(open, r.date.begin - open).find(u')') != std::u16string_view::npos)
      return;
    // More names, the date's bracket right after them ("Onwujekwe OE, Chima
    // RI & Okonkwo PO (2000)"), are no title.
    for (size_t k = last + 1; k < words.size() && words[k].data() < text.data() + open; ++k) {
      const bool lastWord = k + 1 == words.size() || words[k + 1].data() >= text.data() + open;
      if (initials(bare(words[k])) && (lastWord || words[k].back() == u',' || words[k + 1] == u"&" || words[k + 1] == u"and"))
        return;
    }
    r.title = {moved, open};
    r.authors.end = static_cast<size_t>(words[last].data() + words[last].size() - 1 - text.data());
    if (r.publisher.Empty() || r.publisher.begin < open) {
      size_t end = r.date.begin;
      while (end > open + 2 && (text[end - 1] == u' ' || text[end - 1] == u',')) --end;
      r.publisher = end > open + 2 ? Piece{open + 2, end} : Piece{};
    }
    return;
  }
  if (words.size() - last - 1 > 3) return;
  // Names that end with a full stop or a semicolon are Vancouver's, their
  // last one's initials perhaps longer or hyphenated ("Kempen GIJM.",
  // "Chen S-Y.", "Iliceto S;"), or written out ("Monica Kumbhat.").
  if (words.back().back() == u'.' || words.back().back() == u';') return;
  for (size_t k = last + 1; k < words.size(); ++k) {
    const std::u16string_view w = bare(words[k]);
    if (w.empty() || !u_isupper(w[0]) || std::none_of(w.begin(), w.end(), [](char16_t c) { return u_islower(c); }) ||
        w.find(u'(') != std::u16string_view::npos || IsRoleWord(LCase(words[k])) || IsSuffix(w))
      return;
  }
  const size_t oldEnd = r.authors.end;
  const size_t moved = static_cast<size_t>(words[last + 1].data() - text.data());
  const bool titleNext = !r.title.Empty() && r.title.begin >= oldEnd && Trim(text.substr(oldEnd, r.title.begin - oldEnd)).empty();
  if (!titleNext) return;
  r.authors.end = static_cast<size_t>(words[last].data() + words[last].size() - 1 - text.data());
  r.title.begin = moved;
}

// The same where Vancouver names ("Family AB,") meet the title. A name
// and its initials first in the title, after authors that end in a comma,
// are the last author ("Zalaquett CR, Chatters SJ. Middle school ...");
// up to two capitalised words after the last initials, the last ending in
// a colon or comma, are the title's first ("Yu J. Yi: Practical wisdom
// ...", "Timperlake J. Illustrated Toronto, Past and Present").
void VancouverMeetsTitle(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  // Initials as Vancouver writes them: up to three capitals, perhaps
  // hyphenated ("W-S").
  const auto capitals = [](std::u16string_view w, std::u16string_view ends) {
    if (!w.empty() && ends.find(w.back()) != std::u16string_view::npos) w.remove_suffix(1);
    const auto letters = std::count_if(w.begin(), w.end(), [](char16_t c) { return c >= u'A' && c <= u'Z'; });
    return letters >= 1 && letters <= 3 && w.front() != u'-' && w.back() != u'-' &&
           std::all_of(w.begin(), w.end(), [](char16_t c) { return (c >= u'A' && c <= u'Z') || c == u'-'; });
  };
  const std::vector<std::u16string_view> authors = Words(r.Text(r.authors));
  // The first family name may have a particle ("De Jong AM, ...").
  const size_t lead = authors.size() >= 3 && IsParticle(LCase(authors[0])) ? 1 : 0;
  if (authors.size() < 2 + lead || !IsCapitalised(authors[lead]) || authors[lead].back() == u',' ||
      !capitals(authors[lead + 1], u",."))
    return;
  // "Gunther E. Rothenberg, The Army ...", "Peter E. Gordon: Continental
  // Divide": a name given first looks the same when the initial is one
  // letter. Initials of two letters, an author before written "Family
  // AB,", or Vancouver's year and semicolon ("2006;33", "Press; 2012")
  // say the names are Vancouver's.
  const auto sureOfNames = [&](std::u16string_view initials, size_t before) {
    bool sure = initials.size() >= 3 || std::any_of(authors.begin(), authors.begin() + static_cast<long>(before),
                                                    [&](std::u16string_view w) { return w.back() == u',' && capitals(w, u","); });
    for (size_t i = text.find(u';'); !sure && i != std::u16string_view::npos; i = text.find(u';', i + 1)) {
      const std::u16string_view year = text.substr(i >= 4 ? i - 4 : 0, i >= 4 ? 4 : i);
      size_t after = i + 1;
      while (after < text.size() && text[after] == u' ') ++after;
      sure = !FirstYear(year).empty() || (after + 4 <= text.size() && !FirstYear(text.substr(after, 4)).empty() &&
                                          (after + 4 == text.size() || !IsDigit(text[after + 4])));
    }
    return sure;
  };
  // A title word and its comma or colon between the initials and the
  // title, in no piece ("Ismayilov M. Power, knowledge, and pipelines:
  // ..."): the title's first.
  if (const std::u16string_view gap = Trim(text.substr(r.authors.end, r.title.begin - r.authors.end)); !gap.empty()) {
    const std::vector<std::u16string_view> words = Words(gap);
    const std::u16string_view initials = authors.back();
    if (words.size() > 2 || !IsCapitalised(words[0]) || (gap.back() != u',' && gap.back() != u':') ||
        initials.size() < 2 || initials.back() != u'.' || !capitals(initials, u".") ||
        !sureOfNames(initials, authors.size() - 1))
      return;
    r.title.begin = static_cast<size_t>(gap.data() - text.data());
    return;
  }
  const std::vector<std::u16string_view> title = Words(r.Text(r.title));
  // The last author in the title's place, after a list ending in a comma;
  // a family name may have a particle ("Van Gelder IC.").
  const size_t particle = !title.empty() && IsParticle(LCase(title[0])) ? 1 : 0;
  if (title.size() >= 3 + particle && r.Text(r.authors).ends_with(u",") && IsCapitalised(title[particle]) &&
      title[particle].back() != u',' && title[particle + 1].size() >= 2 && title[particle + 1].back() == u'.' &&
      capitals(title[particle + 1], u".")) {
    const size_t end = static_cast<size_t>(title[particle + 1].data() + title[particle + 1].size() - text.data());
    r.authors.end = end;
    r.title.begin = end;
    while (r.title.begin < r.title.end && text[r.title.begin] == u' ') ++r.title.begin;
    return;
  }
  // Up to two capitalised words after the last initials, the last ending
  // in a comma or colon: the title's first.
  const std::u16string_view last = authors.back();
  if (last.size() < 2 || (last.back() != u',' && last.back() != u':')) return;
  size_t k = authors.size() - 1;
  while (k > 1 && authors.size() - k < 2 && IsCapitalised(authors[k - 1]) && authors[k - 1].back() != u',') --k;
  if (k < 2 || !IsCapitalised(authors[k]) || authors[k - 1].back() != u'.' || !capitals(authors[k - 1], u".") ||
      !IsCapitalised(authors[k - 2]))
    return;
  const std::u16string_view initials = authors[k - 1];
  if (!sureOfNames(initials, k - 1)) return;
  r.title.begin = static_cast<size_t>(authors[k].data() - text.data());
  r.authors.end = static_cast<size_t>(initials.data() + initials.size() - text.data());
}

// The same where names given first ("S. J. Tambiah,", IEEE's form) meet
// the title. A family name left between the initials and the title, or
// that the labels gave the title, is the last author's ("M. A. McNamara,
// Friends and ...", "R. Amit, P. J. Shoemaker, Strategic ...", "V. Di
// Martino, Violence ..."); a last piece of the
// names that starts with no initial and is one word, or opens a quotation,
// or ends in a colon, is the title's start ("S. J. Tambiah, Magic, Science
// ...", "J. Yu, \u201CYi: Practical wisdom ...").
void GivenFirstMeetsTitle(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  const auto initials = [](std::u16string_view w) {  // "J.," as "J."
    while (!w.empty() && w.back() == u',') w.remove_suffix(1);
    return IsDottedInitials(w);
  };
  const std::vector<std::u16string_view> words = Words(r.Text(r.authors));
  if (words.empty() || !initials(words[0])) return;
  const std::u16string_view gap = Trim(text.substr(r.authors.end, r.title.begin - r.authors.end));
  if (!gap.empty()) {
    if (gap.find(u' ') == std::u16string_view::npos && gap.size() >= 3 && (gap.back() == u',' || gap.back() == u'.') &&
        u_isupper(gap[0]) && u_islower(gap[1]) && initials(words.back())) {
      r.authors.end = static_cast<size_t>(gap.data() + gap.size() - text.data());
      if (text[r.authors.end - 1] == u',') --r.authors.end;
    }
    return;
  }
  // Or the labels gave it to the title: names given first end in no
  // initial ("R. Amit, P. J. | Shoemaker, Strategic assets ...", "W. J. T.
  // | Mitchell: Iconologie").
  if (initials(words.back()) && !words.back().ends_with(u',')) {
    // The family name, perhaps after its particles ("V. | Di Martino,").
    size_t wordBegin = r.title.begin, wordEnd = r.title.begin;
    for (int particles = 0;; ++particles) {
      wordEnd = std::min(text.find(u' ', wordBegin), r.title.end);
      if (particles == 2 || wordEnd >= r.title.end || !IsParticle(LCase(text.substr(wordBegin, wordEnd - wordBegin)))) break;
      wordBegin = wordEnd + 1;
    }
    const std::u16string_view family = text.substr(wordBegin, wordEnd - wordBegin);
    // Before a colon, after an initial of one or two letters ("ASH. Anesm:
    // appel ..." is a body and its title).
    const bool colon = family.size() >= 3 && family.back() == u':' &&
                       std::count_if(words.back().begin(), words.back().end(), [](char16_t c) { return u_isalpha(c); }) <= 2;
    if (family.size() >= 3 && (family.back() == u',' || colon) && u_isupper(family[0]) && u_islower(family[1])) {
      r.authors.end = wordEnd;
      r.title.begin = wordEnd;
      while (r.title.begin < r.title.end && text[r.title.begin] == u' ') ++r.title.begin;
      if (r.title.begin >= r.title.end) r.title = {};  // the rules after look for it
    }
    return;
  }
  const std::u16string_view authors = r.Text(r.authors);
  const size_t comma = authors.rfind(u", ", authors.size() >= 2 ? authors.size() - 2 : 0);
  if (comma == std::u16string_view::npos) return;
  const std::u16string_view last = authors.substr(comma + 2);
  const std::vector<std::u16string_view> lastWords = Words(last);
  if (lastWords.empty() || initials(lastWords[0]) || IsSuffix(Trim(last)) || !u_isupper(lastWords[0][0])) {
    if (lastWords.empty() || !IsQuote(last[0])) return;
  }
  const std::u16string lower = LCase(last);
  if (lower.starts_with(u"and ") || lower.starts_with(u"et al")) return;
  // The names before it are given first too.
  const std::vector<std::u16string_view> before = Words(authors.substr(0, comma));
  size_t k = before.size();
  while (k > 0 && !before[k - 1].ends_with(u",") && k + 3 > before.size()) --k;
  if (k >= before.size() || !initials(before[k])) return;
  const bool one = lastWords.size() == 1 && last.size() >= 3 && u_islower(last[1]) &&
                   (last.back() == u',' || last.back() == u'.' || last.back() == u':');
  if (!one && !IsQuote(last[0]) && !last.ends_with(u":")) return;
  r.title.begin = r.authors.begin + comma + 2;
  r.authors.end = r.authors.begin + comma;
}

// The book a chapter is in, where no part was found for it: the words
// after "in" right behind the title (or inside it, after its full stop),
// or after the editors that "in" introduces, up to the next part found
// ("'Word and Flesh', in What Are People For? New York: ...", "..., in L.
// Haegeman (ed.) Elements of Grammar. Kluwer, pp. 73-137").
void ContainerAfterIn(Reference& r) {
  if (!r.container.Empty() || r.title.Empty()) return;
  const std::u16string_view text = r.text;
  // The book run into the title, the bracket of its editors right after
  // it: "Title, in Book (eds. W. Mattli, N. Woods)", as Wiley's books
  // print it (their "eds." glued to the first name, which the labels take
  // for no editors' word).
  if (const size_t comma = r.Text(r.title).rfind(u", in "); comma != std::u16string_view::npos && !r.editors.Empty()) {
    // (Its volume may come between: "Book. Volume 1 (eds. ...)".)
    size_t k = r.title.end;
    for (int part = 0; part < 2; ++part) {
      while (k < r.editors.begin && (text[k] == u' ' || text[k] == u',' || text[k] == u'.')) ++k;
      if (!r.volume.Empty() && k == r.volume.begin) k = r.volume.end;
    }
    const std::u16string editors = LCase(r.Text(r.editors));
    // (Or the role last in the bracket, as ASPET writes it: "(Haegeman L
    // ed)", "(Marques-Teixeira J, and Antunes S eds)".)
    const bool role = editors.find(u"(eds") != std::u16string::npos || editors.find(u"(ed.") != std::u16string::npos ||
                      editors.find(u"(ed ") != std::u16string::npos || editors.find(u"(hrsg") != std::u16string::npos ||
                      (editors.starts_with(u"(") && (editors.find(u" ed)") != std::u16string::npos ||
                                                     editors.find(u" eds)") != std::u16string::npos));
    const size_t book = r.title.begin + comma + 5;
    if (k == r.editors.begin && role && book < r.title.end && u_isupper(text[book]) && comma > 0) {
      r.container = {book, r.title.end};
      r.title.end = r.title.begin + comma;
      r.journal = false;
      // The pages' word after the bracket is no editor's ("(Haegeman L
      // ed) pp 73-137").
      const std::u16string_view names = r.Text(r.editors);
      if (const size_t close = names.rfind(u')'); close != std::u16string_view::npos && close + 1 < names.size()) {
        const std::u16string_view after = Trim(names.substr(close + 1));
        if (after == u"pp" || after == u"pp." || after == u"p." || after == u"p") r.editors.end = r.editors.begin + close + 1;
      }
      return;
    }
  }
  // ASPET's chapter with no editors, "Title, in Book pp 59-114, Publisher":
  // where the labels ran the title on over the book and its pages, the
  // book runs from "in" to "pp", the pages after it.
  if (const size_t comma = r.Text(r.title).find(u", in "); comma != std::u16string_view::npos && comma > 0 && r.pages.Empty()) {
    const std::u16string_view title = r.Text(r.title);
    const size_t pp = title.find(u" pp ", comma);
    const size_t book = comma + 5;
    if (pp != std::u16string_view::npos && book < pp && u_isupper(title[book]) && pp + 4 < title.size() &&
        IsDigit(title[pp + 4])) {
      size_t pagesEnd = r.title.end;
      while (pagesEnd > r.title.begin + pp && (text[pagesEnd - 1] == u',' || text[pagesEnd - 1] == u' ' || text[pagesEnd - 1] == u'.'))
        --pagesEnd;
      r.container = {r.title.begin + book, r.title.begin + pp};
      r.pages = {r.title.begin + pp + 1, pagesEnd};
      r.title.end = r.title.begin + comma;
      r.journal = false;
      return;
    }
  }
  // Nature's chapters, the book run into the title: "Title. in Book (eds.
  // ...)". A sentence starts with no small "in".
  const size_t in = r.Text(r.title).find(u". in ");
  if (in != std::u16string_view::npos) {
    const size_t next = r.title.begin + in + 5;
    if (next < r.title.end && (u_isupper(text[next]) || IsDigit(text[next]))) r.title.end = r.title.begin + in + 1;
  }
  const auto startsWithIn = [](std::u16string_view s) {
    return s.starts_with(u"In ") || s.starts_with(u"In: ") || s.starts_with(u"in ") || s.starts_with(u"in: ");
  };
  size_t start = r.title.end;
  while (start < text.size() && text[start] == u' ') ++start;
  // Nature's "in Style in Language (ed. Sebeok, T. A.)" taken whole for
  // the editors: the book's name is what stands before the bracket.
  if (!r.editors.Empty() && r.editors.begin == start && startsWithIn(r.Text(r.editors))) {
    const std::u16string_view e = r.Text(r.editors);
    const size_t open = std::min(e.find(u" (ed. "), e.find(u" (eds. "));
    const size_t name = e.find(u' ') + 1;
    if (open != std::u16string_view::npos && open > name) {
      r.container = {r.editors.begin + name, r.editors.begin + open};
      r.editors.begin += open + 1;
      r.journal = false;
      return;
    }
  }
  const Piece* pieces[] = {&r.citationNumber, &r.authors, &r.title, &r.editors, &r.date, &r.volume, &r.pages,
                           &r.publisher, &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number};
  if (!r.editors.Empty() && r.editors.begin == start && startsWithIn(r.Text(r.editors)) &&
      HasEditorRole(r.Text(r.editors))) {
    start = r.editors.end;
  } else if (startsWithIn(text.substr(start))) {
    start = text.find(u' ', start) + 1;
  } else {
    return;
  }
  while (start < text.size() && text[start] == u' ') ++start;
  size_t end = text.size();
  for (const Piece* p : pieces) {
    if (p->Empty() || p->end <= start) continue;
    if (p->begin <= start) return;  // the words are some part's already
    end = std::min(end, p->begin);
  }
  while (end > start && text[end - 1] == u' ') --end;
  const std::u16string_view words = text.substr(start, end - start);
  if (std::none_of(words.begin(), words.end(), IsLetterUnit)) return;
  r.container = {start, end};
  r.journal = false;
}

// A bracket after the title that says which version or whose edition it
// is ("Data portal (Version 2.1; T. Lee, Ed.). U.S. Geological Survey.",
// APA's form): no part of the title, nor of what follows it. The parts
// that reach into it give way to it (but the editors or translators), and
// its other words go to the note.
template <typename GiveWay>
void BracketAfterTitle(Reference& r, GiveWay giveWay) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  size_t open = text.substr(0, r.title.end).find(u" (", r.title.begin);
  // Or right after the title, where the labels ended it, or after a few
  // words that no piece took ("... Mirror Lake area, New Hampshire
  // (Scientific Investigations Report 2015-5102)"): the title's, if the
  // bracket is one of those below.
  size_t runOn = r.title.end;
  if (open == std::u16string_view::npos) {
    size_t k = r.title.end;
    while (k < text.size() && text[k] == u' ') ++k;
    if (k == r.title.end || k >= text.size()) return;
    if (text[k] != u'(') {
      const size_t bracket = text.find(u" (", k);
      if (bracket == std::u16string_view::npos || std::count(text.begin() + k, text.begin() + bracket, u' ') > 3) return;
      for (const Piece* p : {&r.citationNumber, &r.authors, &r.editors, &r.date, &r.container, &r.volume, &r.pages,
                             &r.publisher, &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number})
        if (!p->Empty() && p->begin < bracket && k < p->end) return;
      runOn = bracket;
      k = bracket + 1;
    }
    open = k - 1;
  }
  const size_t close = text.find(u')', open);
  if (close == std::u16string_view::npos) return;
  const std::u16string_view inner = text.substr(open + 2, close - open - 2);
  const bool version = (inner.starts_with(u"Version ") || inner.starts_with(u"Ver. ") || inner.starts_with(u"Vers. ")) &&
                       inner.find_first_of(u"0123456789") != std::u16string_view::npos;
  const bool editors = inner.ends_with(u", Ed.") || inner.ends_with(u", Eds.") || inner.ends_with(u", Trans.") ||
                       inner.find(u", Ed.;") != std::u16string_view::npos || inner.find(u", Eds.;") != std::u16string_view::npos;
  // The edition, in a few words without a comma ("(third ed.)", "(Rev.
  // ed.)", "(2nd edn)").
  const std::u16string lower = LCase(inner);
  const bool edition = !editors && lower.find(u',') == std::u16string::npos &&
                       std::count(lower.begin(), lower.end(), u' ') <= 2 &&
                       (lower.ends_with(u" ed.") || lower.ends_with(u" ed") || lower.ends_with(u" edn") ||
                        lower.ends_with(u" edn.") || lower.ends_with(u" edition") || lower.ends_with(u" \u00E9d.") ||
                        lower.ends_with(u" \u00E9d") || lower.ends_with(u" aufl.") || lower.ends_with(u" auflage"));
  // The translator, as some write it after the title ("Johann Gutenberg
  // (translated by Douglas Martin)").
  const bool translated = !editors && (lower.starts_with(u"translated by ") || lower.starts_with(u"trans. by ") ||
                                       lower.starts_with(u"traduit par ") || lower.starts_with(u"\u00FCbersetzt von "));
  // A report's series and number, as APA writes them ("(Scientific
  // Investigations Report 2015-5102)", "(Report No. 12)", "(NBER Working
  // Paper No. 12345)").
  bool report = false;
  if (!version && !editors && !edition && !translated && inner.find_first_of(u"0123456789") != std::u16string_view::npos) {
    for (const std::u16string_view w : Words(lower)) {
      std::u16string_view bare = w;
      while (!bare.empty() && !u_isalpha(bare.back())) bare.remove_suffix(1);
      report = report || bare == u"report" || bare == u"paper" || bare == u"bulletin" || bare == u"circular" ||
               bare == u"memorandum" || bare == u"rapport" || bare == u"bericht";
    }
  }
  if (!version && !editors && !edition && !translated && !report) return;
  size_t end = close + 1;
  while (end < text.size() && (text[end] == u'.' || text[end] == u',' || text[end] == u' ')) ++end;
  // It ends the title: a title that goes on after it holds it.
  if (end < r.title.end) return;
  const Piece bracket{open + 1, end};
  r.title.end = std::min(std::max(r.title.end, runOn), open);
  // Its names, with their role, are the editors or translators ("T. Lee,
  // Ed." after "Version 2.1; ", "T. McCarthy, Trans." after "Vols. 1&2, ").
  const bool editorsInside = !r.editors.Empty() && r.editors.begin < end && bracket.begin < r.editors.end;
  if (editors && (r.editors.Empty() || editorsInside)) {
    size_t from = inner.rfind(u"; ");
    from = from == std::u16string_view::npos ? 0 : from + 2;
    if (inner.substr(from).starts_with(u"Vol") || inner.substr(from).starts_with(u"vol")) {
      const size_t comma = inner.find(u", ", from);
      from = comma == std::u16string_view::npos ? inner.size() : comma + 2;
    }
    if (from < inner.size()) r.editors = {open + 2 + from, close};
  }
  // The editors or translators named in it stay theirs.
  for (Piece* p : {&r.citationNumber, &r.authors, &r.date, &r.container, &r.volume, &r.pages, &r.publisher, &r.place,
                   &r.edition, &r.doi, &r.url, &r.note, &r.number})
    giveWay(*p, bracket);
  if (edition) r.edition = {open + 2, close};
  // The whole bracket, its words of the role with them: the translators
  // are read from it.
  if (translated && (r.editors.Empty() || editorsInside)) r.editors = {open + 2, close};
  if (report && r.number.Empty()) r.number = {open + 2, close};
}

// The double slash that parts a work from the journal or book it is in,
// as Russian and other GOST-style lists write it ("Tractography of
// Association Fibers //Clinical neuroradiology. 2015. V. 25."): the title
// ends before it. What the title held after it is the container, when no
// other piece is, or when the container found starts right after.
// A slash pair after a colon is a link's ("http://").
void TitleBeforeDoubleSlash(Reference& r) {
  const std::u16string_view text = r.text;
  // The slashes, and the dash that ends the name ("//Archives of
  // Clinical Neuropsychology. – 2012."), are no part of the container.
  const auto containerBare = [&] {
    if (r.Text(r.container).starts_with(u"//")) {
      r.container.begin += 2;
      while (r.container.begin < r.container.end && text[r.container.begin] == u' ') ++r.container.begin;
    }
    const std::u16string_view c = r.Text(r.container);
    if (c.ends_with(u" \u2013") || c.ends_with(u" -") || c.ends_with(u" \u2014")) {
      r.container.end -= 2;
      while (r.container.end > r.container.begin && text[r.container.end - 1] == u' ') --r.container.end;
    }
  };
  if (r.title.Empty()) return containerBare();
  size_t at = text.substr(0, r.title.end).find(u"//", r.title.begin);
  while (at != std::u16string_view::npos && at > 0 && text[at - 1] == u':')
    at = text.substr(0, r.title.end).find(u"//", at + 2);
  if (at == std::u16string_view::npos || at == r.title.begin) return containerBare();
  const size_t end = BeforeSpaces(text, at, r.title.begin);
  size_t tail = at + 2;
  while (tail < r.title.end && text[tail] == u' ') ++tail;
  if (end == r.title.begin) return containerBare();
  const Piece rest{tail, r.title.end};
  r.title.end = end;
  if (rest.Empty()) return containerBare();
  if (r.container.Empty()) {
    // A journal's, unless a publisher says it is a book's.
    r.container = rest;
    r.journal = r.publisher.Empty() || !r.volume.Empty();
  } else if (r.container.begin >= rest.end &&
             Trim(text.substr(rest.end, r.container.begin - rest.end)).find_first_not_of(u".,") == std::u16string_view::npos) {
    r.container.begin = rest.begin;
  }
  containerBare();
}

// A standard cited by its designation first ("ISO 8601-1:2019. Date and
// time - ... - Part 1: Basic rules. ISO, Geneva."): the designation is its
// number and the sentence after it its title, whatever the labeller made
// of them (a year, a citation number, a title cut at "Part 1:").
// `giveWay` makes the other pieces give way to the two.
template <typename GiveWay>
void StandardFirst(Reference& r, GiveWay giveWay) {
  const std::u16string_view text = r.text;
  size_t start = r.citationNumber.Empty() ? 0 : r.citationNumber.end;
  while (start < text.size() && text[start] == u' ') ++start;
  if (StandardAt(text.substr(start)) != 0) return;
  // The designation: up to the first word with a digit in it.
  size_t end = start;
  for (bool digit = false; end < text.size() && !digit;) {
    const size_t wordEnd = std::min(text.find(u' ', end), text.size());
    digit = std::any_of(text.begin() + static_cast<long>(end), text.begin() + static_cast<long>(wordEnd), IsDigit);
    end = digit ? wordEnd : std::min(wordEnd + 1, text.size());
  }
  while (end > start && (text[end - 1] == u'.' || text[end - 1] == u',' || text[end - 1] == u':')) --end;
  // The title: the sentence after it, to a full stop before a capital
  // (not an initial's) or the end; after a comma, to the next comma.
  size_t title = end;
  const char16_t mark = end < text.size() && text[end] == u',' ? u',' : u'.';
  while (title < text.size() && (text[title] == u'.' || text[title] == u',' || text[title] == u':' || text[title] == u' '))
    ++title;
  size_t titleEnd = text.size();
  for (size_t i = title + 2; i + 2 < text.size(); ++i) {
    if (text[i] != mark || text[i + 1] != u' ' || (mark == u'.' && !u_isupper(text[i + 2]))) continue;
    if (i >= 2 && text[i - 2] == u' ' && u_isupper(text[i - 1])) continue;  // an initial
    titleEnd = mark == u'.' ? i + 1 : i;
    break;
  }
  if (title >= titleEnd) return;
  r.number = {start, end};
  r.title = {title, titleEnd};
  r.citationNumber = r.citationNumber.Empty() || r.citationNumber.end <= start ? r.citationNumber : Piece{};
  for (Piece* p : {&r.authors, &r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.publisher, &r.place,
                   &r.edition, &r.doi, &r.url, &r.note}) {
    giveWay(*p, r.number);
    giveWay(*p, r.title);
  }
  r.journal = r.journal && !r.container.Empty();
}

// Names that open the reference and end in an editor's or translator's
// role ("Philippi, Donald L. (Trans.) Kojiki.", "Lievrouw, Leah A., and
// Sonia Livingstone (eds). Handbook of ..."): the labels may run the names
// into the title, or take the title for more names. The names up to the
// role are the editors (or translators), and what follows them, up to the
// next part, is the title when the labels found none there.
void RoleEndsLeadingNames(Reference& r) {
  const std::u16string_view text = r.text;
  size_t lead = r.citationNumber.Empty() ? 0 : r.citationNumber.end;
  while (lead < text.size() && text[lead] == u' ') ++lead;
  const size_t reach = std::min(text.size(), lead + 160);
  // The first role, in any case. Every reference passes here: the roles
  // are compared only where a bracket or a comma opens one.
  const auto matches = [&](size_t k, std::u16string_view role) {
    if (k + role.size() > reach) return false;
    for (size_t i = 0; i < role.size(); ++i) {
      char16_t c = text[k + i];
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
      else if (c == u'\u00C9') c = u'\u00E9';
      if (c != role[i]) return false;
    }
    return true;
  };
  size_t markBegin = 0, markEnd = 0;
  for (size_t k = lead + 1; k < reach && markEnd == 0; ++k) {
    if (text[k] != u'(' && text[k] != u',') continue;
    if (text[k] == u'(' && text[k - 1] != u' ') continue;
    // Every role opens with one of these letters: most brackets and commas
    // are let go at once.
    const char16_t first = k + 2 < reach ? text[k + (text[k] == u'(' ? 1 : 2)] : u' ';
    if (std::u16string_view(u"edhtcEDHTC\u00E9\u00C9").find(first) == std::u16string_view::npos) continue;
    for (std::u16string_view role : {u"(ed.)", u"(eds.)", u"(ed)", u"(eds)", u"(editor)", u"(editors)", u"(hrsg.)",
                                     u"(hg.)", u"(\u00E9d.)", u"(\u00E9ds.)", u"(dir.)", u"(trans.)", u"(trans)",
                                     u"(transl.)", u"(coord.)", u"(comp.)", u", eds.", u", editors.", u", editor."})
      if (role[0] == text[k] && matches(k, role)) {
        markBegin = text[k] == u'(' ? k - 1 : k, markEnd = k + role.size();
        break;
      }
  }
  if (markEnd == 0 || markBegin <= lead) return;
  // Names only before it: words that open with a capital, or join names.
  for (const auto w : Words(text.substr(lead, markBegin - lead))) {
    const std::u16string word = LCase(w);
    if (word == u"and" || word == u"&" || IsParticle(word)) continue;
    if (!u_isupper(w[0]) || std::any_of(w.begin(), w.end(), [](char16_t c) { return IsDigit(c) || c == u':' || IsQuote(c); }))
      return;
  }
  // No other part may lie among the names: nothing gives way to the
  // editors (what overlaps the title gives way to it below).
  for (const Piece* p : {&r.date, &r.container, &r.volume, &r.pages, &r.publisher, &r.place, &r.edition, &r.doi, &r.url,
                         &r.number})
    if (!p->Empty() && p->begin < markEnd) return;
  if (!r.title.Empty() && r.title.begin < lead) return;
  // The title: what the labels gave it beyond the role, or what stands
  // there up to the next part.
  size_t begin = markEnd;
  while (begin < text.size() && (text[begin] == u' ' || text[begin] == u'.' || text[begin] == u',')) ++begin;
  size_t end = text.size();
  // A book's name right after its editors is its title, though the labels
  // took it for the book a part is in.
  const bool containerIsTitle = r.title.Empty() && !r.container.Empty() && r.container.begin == begin;
  if (!r.title.Empty() && r.title.end > begin) {
    end = r.title.end;
  } else if (containerIsTitle) {
    end = r.container.end;
  } else {
    for (const Piece* p : {&r.date, &r.container, &r.volume, &r.pages, &r.publisher, &r.place, &r.edition, &r.doi,
                           &r.url, &r.note})
      if (!p->Empty() && p->begin >= begin) end = std::min(end, p->begin);
  }
  while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'.' || text[end - 1] == u',')) --end;
  if (end <= begin || !(u_isupper(text[begin]) || IsQuote(text[begin]))) return;
  // A note the labels saw in the names or the title is theirs; one that
  // reaches beyond them is left as it was, and so is the reference.
  const bool noteInside = !r.note.Empty() && r.note.begin < end && r.note.end > lead;
  if (noteInside && (r.note.begin < lead || r.note.end > end)) return;
  if (noteInside) r.note = {};
  r.title = {begin, end};
  r.authors = {};
  r.editors = {lead, markEnd};
  if (containerIsTitle) r.container = {}, r.journal = false;
}

}  // namespace


// ABNT marks the proceedings a paper is in with "Anais..." after their
// name ("Proceedings of the IEEE International Conference on RFID.
// Anais...2007."): the mark and what follows it are no part of the name.
void ProceedingsMarkEndsContainer(Reference& r) {
  if (r.container.Empty()) return;
  const std::u16string_view c = r.Text(r.container);
  // (Glued to the name's full stop too: "Proceedings of SIGIR.Anais...".)
  for (std::u16string_view mark :
       {u". Anais...", u". Anais\u2026", u" Anais...", u" Anais\u2026", u".Anais...", u".Anais\u2026"}) {
    const size_t at = c.find(mark);
    if (at == std::u16string_view::npos || at == 0) continue;
    r.container.end = r.container.begin + at;
    // A lone mark after it is no volume (". p. 262").
    if (const std::u16string_view v = Trim(r.Text(r.volume));
        !v.empty() && std::none_of(v.begin(), v.end(), [](char16_t ch) { return IsDigit(ch) || IsLetterUnit(ch); }))
      r.volume = {};
    return;
  }
}

// What a journal's or book's name carries after it that is no part of
// the name: a special issue ("Journal of Applied Non-Classical Logic,
// Special Issue: Belief Change,", "Rangifer Special Issue 16"), which goes
// to the note; and APA's bracket of the volume or edition and the pages
// after a book's name ("Handbook of labor economics (Vol. 3, Part A, pp.
// 1761-1800)", "(Seventh Edition, pp. 91-103)"), whose volume or edition
// are the reference's where no other was found.
void ContainerEndsBeforeItsNotes(Reference& r) {
  if (r.container.Empty()) return;
  const std::u16string_view name = r.Text(r.container);
  const std::u16string lower = LCase(name);
  size_t cut = std::u16string::npos;
  if (const size_t special = lower.find(u"special issue"); special != std::u16string::npos && special > 0 &&
                                                          (lower[special - 1] == u' ' || lower[special - 1] == u','))
    cut = special;
  for (size_t open = lower.find(u" ("); open != std::u16string::npos && cut == std::u16string::npos;
       open = lower.find(u" (", open + 1)) {
    const std::vector<std::u16string_view> words = Words(std::u16string_view(lower).substr(open + 2));
    if (words.empty()) break;
    std::u16string first(words[0]);
    while (!first.empty() && (first.back() == u',' || first.back() == u'.')) first.pop_back();
    const bool volume = first == u"vol" || first == u"volume" || first == u"bd";
    bool edition = false;
    if (words.size() >= 2) {
      static constexpr std::u16string_view kOrdinals[] = {u"first",   u"second", u"third", u"fourth", u"fifth",
                                                           u"sixth",   u"seventh", u"eighth", u"ninth", u"tenth",
                                                           u"revised", u"rev"};
      size_t digits = 0;
      while (digits < first.size() && IsDigit(first[digits])) ++digits;
      const bool ordinal = (digits > 0 && digits <= 3 && first.size() - digits == 2) ||
                           std::find(std::begin(kOrdinals), std::end(kOrdinals), first) != std::end(kOrdinals);
      std::u16string mark(words[1]);
      while (!mark.empty() && (mark.back() == u',' || mark.back() == u'.' || mark.back() == u')')) mark.pop_back();
      edition = ordinal && (mark == u"ed" || mark == u"edn" || mark == u"edition");
    }
    if (!volume && !edition) continue;
    cut = open + 1;
    // The volume or the edition, up to the comma or the bracket's close.
    const size_t begin = r.container.begin + open + 2;
    size_t end = begin;
    while (end < r.text.size() && r.text[end] != u',' && r.text[end] != u')') ++end;
    Piece& part = volume ? r.volume : r.edition;
    bool free = true;
    for (const Piece* p : {&r.pages, &r.date, &r.doi, &r.url}) free &= p->Empty() || p->end <= begin || end <= p->begin;
    if (part.Empty() && free) part = {begin, end};
  }
  if (cut == std::u16string::npos) return;
  r.container.end = r.container.begin + cut;
  while (r.container.end > r.container.begin &&
         (r.text[r.container.end - 1] == u' ' || r.text[r.container.end - 1] == u',' || r.text[r.container.end - 1] == u':'))
    --r.container.end;
  if (r.container.Empty()) r.container = {};
}

// APA's work with no author: the title takes the author's place, before
// the date in brackets ("Unwired. (1995, October). Window on Wake Forest,
// p. 12"). Where no title was found and the words before such a date name
// no person (no initials, no comma or "and" between names), they are the
// title.
void TitleInAuthorsPlace(Reference& r) {
  if (!r.title.Empty() || r.authors.Empty() || r.date.Empty() || r.date.begin < r.authors.end) return;
  for (size_t i = r.authors.end; i < r.date.begin; ++i)
    if (r.text[i] != u' ') return;
  if (r.text[r.date.begin] != u'(') return;
  const std::u16string_view names = r.Text(r.authors);
  if (names.find_first_of(u",;&") != std::u16string_view::npos) return;
  for (std::u16string_view w : Words(names)) {
    std::u16string lower = LCase(w);
    while (!lower.empty() && lower.back() == u'.') lower.pop_back();
    if (IsInitials(w) || lower == u"and" || lower == u"et" || lower == u"und" || IsRoleWord(lower)) return;
  }
  r.title = r.authors;
  r.authors = {};
}

// A name's suffix that ends the title, which the labels gave to the
// journal after it ("A tribute to Martin Luther King, Jr. Journal of
// Ethics").
void SuffixEndsTitle(Reference& r) {
  if (r.title.Empty() || r.container.Empty() || r.container.begin < r.title.end) return;
  for (size_t i = r.title.end; i < r.container.begin; ++i)
    if (r.text[i] != u' ') return;
  const std::u16string_view name = r.Text(r.container);
  for (std::u16string_view suffix : {u"Jr. ", u"Sr. ", u"Jr., ", u"Sr., "}) {
    if (!name.starts_with(suffix) || name.size() == suffix.size()) continue;
    r.title.end = r.container.begin + 3;
    r.container.begin += suffix.size();
    return;
  }
}

// A title that names a place after a comma ("Heat flow in the Salton
// Trough, California. Geothermics, 41", "Fault slip rates in the Basin and
// Range, Nevada. Tectonics"): where the labels ended the title before the
// region's name, and a full stop follows the name, the name is the
// title's; the part that held it gives way.
template <typename GiveWay>
void RegionEndsTitle(Reference& r, GiveWay giveWay) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  size_t at = BeforeSpaces(text, r.title.end, r.title.begin);
  if (at > r.title.begin && text[at - 1] == u',') --at;
  if (at == r.title.begin || at >= text.size() || text[at] != u',' || text[at - 1] == u'.') return;
  size_t begin = at + 1;
  while (begin < text.size() && text[begin] == u' ') ++begin;
  // "U.S.A." holds its own full stops. ("U.S." is no more than the first
  // word of what follows as often: "..., U.S. Bureau of Land Management".)
  size_t end = std::u16string_view::npos;
  if (constexpr std::u16string_view usa = u"U.S.A.";
      text.substr(begin).starts_with(usa) && (begin + usa.size() == text.size() || text[begin + usa.size()] == u' '))
    end = begin + usa.size();
  if (end == std::u16string_view::npos) {
    // Its full stop, or the colon before the journal as geological styles
    // write it ("... Yerington Quadrangle, Nevada: Geological Society of
    // America Special Paper 436").
    const size_t stop = text.find_first_of(u".:", begin);
    if (stop == std::u16string_view::npos || (stop + 1 < text.size() && text[stop + 1] != u' ')) return;
    if (!lexicon::HasSorted(lexicon::kRegions, text.substr(begin, stop - begin))) return;
    // Before a colon, not the place a publisher follows ("..., New
    // Brunswick: AldineTransaction").
    if (text[stop] == u':' && !r.place.Empty() && r.place.begin <= begin && begin < r.place.end) return;
    end = stop;
  }
  r.title.end = end;
  // Nor do the parts after it keep its full stop.
  const Piece taken{r.title.begin, std::min(text.size(), end + 1)};
  for (Piece* p : {&r.citationNumber, &r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.publisher,
                   &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number})
    giveWay(*p, taken);
  if (r.container.Empty()) r.journal = false;
}

// A title never ends in a word that leads on ("... auspicium » from 509
// to | 19 BCE,", "... Agapē/Agapan in | 1 John and the Fourth Gospel,",
// "Les écarts de salaire ... en | 2009, 2012."): where the labels ended it
// there, the words after it up to the end of their clause (a comma, a full
// stop, a semicolon or colon, or the end), six at most, are the title's,
// and the parts that held them give way. Not when a quotation or bracket
// opens among them, nor a link, nor when they hold the only year found.
template <typename GiveWay>
void TitleEndsInLeadWord(Reference& r, GiveWay giveWay) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  const size_t end = BeforeSpaces(text, r.title.end, r.title.begin);
  if (end == r.title.begin) return;
  const size_t space = text.rfind(u' ', end - 1);
  if (space == std::u16string_view::npos || space <= r.title.begin) return;
  const std::u16string_view last = text.substr(space + 1, end - space - 1);
  if (last.empty() || !std::all_of(last.begin(), last.end(), [](char16_t c) { return u_islower(c); }) ||
      !lexicon::Has(lexicon::kGoingOn, last))
    return;
  // After a comma or a closed quotation the word brings what follows
  // ("..., in Werke", "\u00AB ... \u00BB in Y. Combeau (dir.)"): the title
  // does not run on into that, and the quotation's title ends at its close.
  size_t before = space;
  while (before > r.title.begin && text[before - 1] == u' ') --before;
  if (before > r.title.begin && IsQuote(text[before - 1])) r.title.end = before;
  if (before > r.title.begin && (text[before - 1] == u',' || IsQuote(text[before - 1]))) return;
  size_t at = end, newEnd = 0;
  for (int words = 0; words < 6 && newEnd == 0; ++words) {
    while (at < text.size() && text[at] == u' ') ++at;
    if (at == text.size()) break;
    const size_t wordEnd = std::min(text.find(u' ', at), text.size());
    const std::u16string_view word = text.substr(at, wordEnd - at);
    if (IsQuote(word.front()) || word.front() == u'(' || word.front() == u'[' || word.find(u"://") != word.npos ||
        LCase(word).starts_with(u"doi") || word.find(u"10.") == 0)
      return;
    // A name's initial and its full stop ("Y.") end no clause; "TV." does.
    const char16_t mark = word.back();
    const bool initial = word.size() == 2 && u_isupper(word[0]);
    if ((mark == u',' || (mark == u'.' && !initial) || mark == u';' || mark == u':') ||
        wordEnd == text.size())
      newEnd = wordEnd;
    at = wordEnd;
  }
  if (newEnd == 0) return;
  // A year among the words is the title's only where the date part keeps
  // another ("... en 2009, | 2012.").
  Piece date = r.date;
  giveWay(date, Piece{r.title.begin, newEnd});
  if (!FirstYear(text.substr(end, newEnd - end)).empty() && FirstYear(r.Text(date)).empty()) return;
  r.title.end = newEnd;
  for (Piece* p : {&r.citationNumber, &r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.publisher,
                   &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number})
    giveWay(*p, r.title);
  if (r.container.Empty()) r.journal = false;
}

// A title that opens a bracket or a quotation inside and does not close it
// where the labels ended it ("... (Notes on a recent collection by W. |
// B\u00FCttiker in 1975 and 1976).", "... New evidence from Brazos, | Texas\"
// by Keller"): it runs to the close, where that comes soon, and the parts
// that held those words give way. A bracket that names a translator
// ("(tr. John C. Fletcher)", "(J.-M. Klinkenberg, Trans.)") is the
// translator's, and the title ends before it. Not when the words up to
// the close hold the only year found, a link, or a semicolon.
template <typename GiveWay>
void BracketClosesInTitle(Reference& r, GiveWay giveWay) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  // The one opener the title leaves open, and what closes it.
  size_t opener = std::u16string_view::npos;
  char16_t open = 0, close = 0;
  int unclosed = 0;
  for (size_t i = r.title.begin; i < r.title.end; ++i) {
    const char16_t c = text[i];
    char16_t closing = 0;
    if (c == u'(') closing = u')';
    else if (c == u'[') closing = u']';
    else if (c == u'\u201C' || c == u'\u201E') closing = u'\u201D';
    else if (c == u'\u00AB') closing = u'\u00BB';
    if (c == u'"') {
      if (open == u'"' && unclosed == 1) {
        unclosed = 0, open = 0;
        continue;
      }
      closing = u'"';
    }
    if (closing != 0) {
      if (unclosed++ == 0) opener = i, open = c, close = closing;
      continue;
    }
    if (unclosed > 0 && (c == close || (open == u'\u201E' && c == u'\u201C'))) --unclosed;
    else if (c == u')' || c == u']' || c == u'\u201D' || c == u'\u00BB') {
      if (unclosed > 0) return;  // closes what it did not open: leave it
    }
    if (unclosed == 0) open = 0, close = 0;
  }
  if (unclosed != 1) return;
  // A translator's bracket.
  if (open == u'(' || open == u'[') {
    const std::u16string inside = LCase(text.substr(opener + 1, std::min<size_t>(120, text.size() - opener - 1)));
    const size_t shut = inside.find(close);
    const std::u16string_view words = std::u16string_view(inside).substr(0, shut);
    for (std::u16string_view role : {u"tr. ", u"trans. ", u"transl. ", u"translated by ", u"trad. ", u"\u00FCbers. "})
      if (words.starts_with(role) || words.find(std::u16string(u", ") + std::u16string(role)) != words.npos) {
        const size_t end = BeforeSpaces(text, opener, r.title.begin);
        if (end > r.title.begin) r.title.end = end;
        return;
      }
  }
  constexpr size_t kReach = 120;  // a close much further is no part of this title
  size_t at = r.title.end;
  for (int depth = 0; at < text.size() && at < r.title.end + kReach; ++at) {
    if (text[at] == close && depth == 0) break;
    if (open != u'"' && text[at] == open) ++depth;
    else if (text[at] == close) --depth;
  }
  if (at >= text.size() || at >= r.title.end + kReach) return;
  const std::u16string_view run = text.substr(r.title.end, at - r.title.end);
  if (run.find(u"://") != run.npos || run.find(u"doi") != run.npos || run.find(u"DOI") != run.npos) return;
  // A series and its publisher ("(Herder's Biblical Studies, 8; Freiburg:
  // Herder)") are the book's, not its title's.
  if (text.substr(opener, at - opener).find(u"; ") != std::u16string_view::npos) return;
  if (at + 1 < text.size() && u_isalnum(text[at + 1])) return;  // a close in a word
  const Piece taken{r.title.begin, at + 1};
  Piece date = r.date;
  giveWay(date, taken);
  if (!FirstYear(run).empty() && FirstYear(r.Text(date)).empty()) return;
  r.title.end = at + 1;
  for (Piece* p : {&r.citationNumber, &r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.publisher,
                   &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number})
    giveWay(*p, r.title);
  if (r.container.Empty()) r.journal = false;
}

// A book whose title the labels took for its place or publisher, often a
// title of one word ("Healy, D., 2012. Pharmageddon. Berkeley: University
// of California Press.", "D. Healy, Pharmageddon, University of California
// Press, Berkeley (2012).", "BESSA MS. Os Perigosos: Autobiografia & AIDS.
// Aeroplano; 2002."): no title found, no journal, book, volume or pages,
// and a publisher or place right after the names (and the year there).
// Up to its full stop, that piece is the title, where a publisher still
// follows; or the whole piece, where it ends in a comma before the
// publisher; or up to the comma in "Title, Place: Publisher".
// A book cited by its place and year alone, after a comma ("B. K. P. HORN,
// Robot Vision, Cambridge, MA 1986", "G. TILLION, Algeria: The
// Realities, New York 1958"), where the labels took the title's words for
// a place and a publisher: the last run of place's words before the year
// is the place, and what stands between the names and it the title.
void TitleBeforeLastPlace(Reference& r, const std::vector<Token>& tokens, const std::vector<Label>& labels) {
  if (!r.title.Empty() || r.authors.Empty() || r.date.Empty() || !r.container.Empty() || !r.volume.Empty() ||
      !r.pages.Empty() || !r.editors.Empty() || r.date.begin <= r.authors.end)
    return;
  // The tokens between the names and the year.
  size_t first = 0;
  while (first < tokens.size() && tokens[first].begin < r.authors.end) ++first;
  size_t last = first;
  while (last < tokens.size() && tokens[last].end <= r.date.begin) ++last;
  if (last <= first + 1) return;
  // The last run of place's words, right before the year.
  size_t run = last;
  while (run > first && labels[run - 1] == Label::Location) --run;
  if (run == last || run == first) return;
  // Only places' and publishers' words before it, the last with a comma.
  for (size_t k = first; k < run; ++k)
    if (labels[k] != Label::Location && labels[k] != Label::Publisher) return;
  if (!tokens[run - 1].text.ends_with(u',')) return;
  // (A publisher's name says the words are one: "R. Ames, Ecotopia,
  // Clarendon Press, Oxford (2015)".)
  const size_t begin = tokens[first].begin;
  if (NamesPublisher(r.text.substr(begin, tokens[run - 1].end - begin))) return;
  if (!u_isupper(r.text[begin])) return;
  r.title = {begin, tokens[run - 1].end - 1};
  r.place = {tokens[run].begin, tokens[last - 1].end};
  if (!r.publisher.Empty() && r.publisher.begin < r.place.begin) r.publisher = {};
}

void TitleTakenForPlace(Reference& r, const std::vector<Token>& tokens, const std::vector<Label>& labels) {
  if (!r.title.Empty() || r.authors.Empty() || !r.container.Empty() || !r.volume.Empty() || !r.pages.Empty() ||
      r.publisher.Empty())
    return;
  const std::u16string_view text = r.text;
  size_t begin = r.authors.end;
  while (begin < text.size() && text[begin] == u' ') ++begin;
  if (!r.date.Empty() && r.date.begin == begin) {
    begin = r.date.end;
    while (begin < text.size() && text[begin] == u' ') ++begin;
  }
  if (begin >= text.size() || !u_isupper(text[begin])) return;
  Piece* first = nullptr;
  for (Piece* p : {&r.place, &r.publisher, &r.note})
    if (!p->Empty() && p->begin == begin) first = p;
  if (first == nullptr) return;
  // Or the note, a piece and its comma before the publisher ("D. Chappell
  // and V. Di Martino, Violence at work, International Labour Organization
  // (2006).").
  if (first == &r.note) {
    const std::u16string_view note = r.Text(r.note);
    if (!note.ends_with(u',') || r.publisher.begin < r.note.end || note.find_first_of(u".;:()") != std::u16string_view::npos)
      return;
    r.title = {r.note.begin, r.note.end - 1};
    r.note = {};
    return;
  }
  // What the publisher's piece keeps after the title.
  const auto after = [&](size_t end) {
    return (r.publisher.end > end + 1 && r.publisher.begin < r.publisher.end) || (!r.place.Empty() && r.place.end > end + 1);
  };
  size_t end = std::u16string_view::npos;
  size_t stop = text.find(u". ", begin);
  // Not at an abbreviation's full stop ("U.S. Geological Survey").
  if (stop != std::u16string_view::npos) {
    const size_t space = text.rfind(u' ', stop);
    const size_t from = space == std::u16string_view::npos || space < begin ? begin : space + 1;
    if (IsInitials(text.substr(from, stop + 1 - from))) stop = std::u16string_view::npos;
  }
  const std::u16string_view place = r.Text(r.place);
  if (stop != std::u16string_view::npos && after(stop + 1)) {
    end = stop;
  } else if (first == &r.place && place.ends_with(u',') && r.publisher.begin > r.place.end) {
    end = r.place.end - 1;
  } else if (const size_t comma = place.find(u", "); first == &r.place && place.ends_with(u':') &&
             comma != std::u16string_view::npos && place.find(u", ", comma + 1) == std::u16string_view::npos &&
             r.publisher.begin > r.place.end) {
    // "Title, Place: Publisher".
    end = r.place.begin + comma;
  }
  if (end == std::u16string_view::npos || end <= begin) return;
  r.title = {begin, end};
  for (Piece* p : {&r.place, &r.publisher}) {
    if (p->Empty() || p->begin >= end + 1) continue;
    p->begin = std::min(p->end, end + 1);
    while (p->begin < p->end && (text[p->begin] == u' ' || text[p->begin] == u',')) ++p->begin;
    if (p->begin >= p->end) *p = {};
  }
  // The place the labels found after the publisher, where the title took
  // the one they found first ("Ecotopia, Clarendon Press, Oxford (2015)").
  if (r.place.Empty()) {
    size_t k = 0;
    // After the title and what is left of the publisher.
    const size_t from = std::max(r.title.end, r.publisher.end);
    while (k < tokens.size() && (tokens[k].begin < from || labels[k] != Label::Location)) ++k;
    if (k < tokens.size() && (r.date.Empty() || tokens[k].end <= r.date.begin || tokens[k].begin >= r.date.end)) {
      size_t last = k;
      while (last + 1 < tokens.size() && labels[last + 1] == Label::Location) ++last;
      r.place = {tokens[k].begin, tokens[last].end};
      if (!r.note.Empty() && r.note.begin <= r.place.begin && r.place.end <= r.note.end) r.note = {};
    }
  }
}

// The words of text[from, to), each with where it begins.
std::vector<std::pair<size_t, std::u16string_view>> WordsAt(std::u16string_view text, size_t from, size_t to) {
  std::vector<std::pair<size_t, std::u16string_view>> words;
  for (size_t i = from; i < to;) {
    while (i < to && text[i] == u' ') ++i;
    const size_t end = std::min(text.find(u' ', i), to);
    if (end > i) words.push_back({i, text.substr(i, end - i)});
    i = end;
  }
  return words;
}

// Family names in capitals, each with its initials ("AARSETH, E.J,",
// "CICCONE, A. et FERRANT, A,"), and after the last initials words in
// small letters that the labels gave the names ("Cybertext:", "Honte,",
// "European Security Challenges."): those words are no name of such a
// list, and open the title that follows them.
void CapitalNamesEndBeforeTitle(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  if (!Trim(text.substr(r.authors.end, r.title.begin - r.authors.end)).empty()) return;
  const auto words = WordsAt(text, r.authors.begin, r.authors.end);
  const auto bare = [](std::u16string_view w) {
    while (!w.empty() && (w.back() == u',' || w.back() == u';' || w.back() == u':' || w.back() == u'.')) w.remove_suffix(1);
    return w;
  };
  const auto initials = [&](std::u16string_view w) {
    w = bare(w);
    return !w.empty() && w.size() <= 6 && u_isupper(w[0]) && (w.size() == 1 || w.find(u'.') != std::u16string_view::npos) &&
           std::all_of(w.begin(), w.end(), [](char16_t c) { return u_isupper(c) || c == u'.' || c == u'-'; }) &&
           std::count_if(w.begin(), w.end(), [](char16_t c) { return u_isupper(c); }) <= 3;
  };
  const auto capitals = [&](std::u16string_view w) {
    w = bare(w);
    return w.size() >= 2 && std::any_of(w.begin(), w.end(), [](char16_t c) { return u_isalpha(c); }) &&
           std::none_of(w.begin(), w.end(), [](char16_t c) { return u_islower(c); });
  };
  // The last initials that end a name (with a comma or a full stop), after
  // a family name in capitals; every word before them a capital's name,
  // initials or a word that joins names.
  size_t last = words.size();
  bool family = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::u16string_view w = words[i].second;
    if (initials(w) && family && (w.back() == u',' || w.back() == u'.')) {
      last = i;
    } else if (capitals(w)) {
      if (last != words.size() && last + 1 == i) continue;  // the next name's
      family = true;
    } else if (w == u"et" || w == u"and" || w == u"&" || w == u"und" || w == u"y") {
      continue;
    } else {
      break;
    }
  }
  if (last == words.size() || last + 1 >= words.size()) return;
  // Words in small letters after them, the first capitalised, none in
  // capitals.
  const std::u16string_view first = bare(words[last + 1].second);
  if (first.size() < 2 || !u_isupper(first[0]) || !std::any_of(first.begin(), first.end(), [](char16_t c) { return u_islower(c); }))
    return;
  for (size_t i = last + 1; i < words.size(); ++i)
    if (capitals(words[i].second) || initials(words[i].second)) return;
  r.title.begin = words[last + 1].first;
  size_t end = words[last + 1].first;
  while (end > r.authors.begin && text[end - 1] == u' ') --end;
  r.authors.end = end;
}

// No title found, and the labels ran the first name, written "Family,
// Given I.", "Family, I." or Vancouver's "Family AB.", on into the title
// ("Dorter, K. Imagery and Philosophy in Plato's Phaedrus.", "Wicksteed,
// Philip H. Dante & Aquinas.", "Dorter K. Imagery and ..."): a capitalised
// word right after the given names' full stop, with no comma or "and"
// between, opens the title, which runs to the end of what the names took.
void NamesRunOnIntoTitle(Reference& r) {
  if (!r.title.Empty() || r.authors.Empty()) return;
  const std::u16string_view names = r.Text(r.authors);
  // A title ends with its full stop; names that end in a comma go on
  // ("Fran\u00E7ois Villeneuve, J. Gaborit, pr\u00E9face").
  if (!names.ends_with(u'.')) return;
  const size_t comma = names.find(u", ");
  size_t at = 0;
  bool givenAfterComma = false;
  // Vancouver's "Family AB." alone ("Dorter K. Imagery and ..."): the
  // initials' full stop ends the names.
  if (const size_t space = names.find(u' '); space != std::u16string_view::npos && space > 0 && space < comma &&
                                             names[space - 1] != u',') {
    const size_t initialsEnd = names.find(u' ', space + 1);
    const std::u16string_view initials = names.substr(space + 1, initialsEnd - space - 1);
    if (initialsEnd == std::u16string_view::npos || initials.size() < 2 || initials.size() > 4 || initials.back() != u'.' ||
        !std::all_of(initials.begin(), initials.end() - 1, [](char16_t c) { return c >= u'A' && c <= u'Z'; }))
      return;
    at = initialsEnd + 1;
  } else if (comma == std::u16string_view::npos || comma == 0 || names.substr(0, comma).find(u'.') != std::u16string_view::npos) {
    return;
  } else {
    at = comma + 2;
    givenAfterComma = true;
  }
  // After "Family,", the given names up to the one with a full stop.
  for (size_t given = 0; givenAfterComma; ) {
    const size_t space = names.find(u' ', at);
    if (space == std::u16string_view::npos || ++given > 3) return;
    const std::u16string_view word = names.substr(at, space - at);
    if (word.ends_with(u',') || word.ends_with(u';') || word == u"and" || word == u"&") return;
    at = space + 1;
    if (word.ends_with(u'.')) break;
  }
  const size_t wordEnd = std::min(names.find(u' ', at), names.size());
  const std::u16string_view next = names.substr(at, wordEnd - at);
  std::u16string lower = LCase(next);
  if (!IsCapitalised(next) || IsInitials(next) || IsSuffix(next) || IsParticle(lower) || IsRoleWord(lower)) return;
  size_t end = r.authors.end;
  while (end > r.authors.begin + at && r.text[end - 1] == u' ') --end;
  r.title = {r.authors.begin + at, end};
  r.authors.end = r.authors.begin + at - 1;
}

// MHRA's and Chicago's notes, "Family, Given, Title (Place: Publisher,
// Year)", where the title opens with words and a comma that the labels
// gave to the names ("Matalon, B, D\u00E9crire, | Expliquer, ...", "Ciccone,
// A., and A Ferrant, Honte, | Culpabilit\u00E9 ...") or to no part
// ("Prip-M\u00F8ller, Johannes, | Chinese Buddhist | Monasteries: ..."). The
// names are whole after a family and its given names, or after "and" and
// a name; a further capitalised word that is no initial is the title's,
// and so are capitalised words in no part between them.
void NamesEndBeforeTitleComma(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  const std::u16string_view names = r.Text(r.authors);
  const std::u16string_view gap = text.substr(r.authors.end, r.title.begin - r.authors.end);
  // Or the word with no mark after it that runs on into the title
  // ("Bowman, J. H, Greek | Printing Types in Britain").
  const bool runsOn = !names.empty() && u_isalpha(names.back()) && Trim(gap).empty();
  if (!names.ends_with(u',') && !runsOn) return;
  for (const Piece* p : {&r.citationNumber, &r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.publisher,
                         &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number})
    if (!p->Empty() && p->begin < r.title.begin && r.authors.end < p->end) return;
  // The names' pieces between commas.
  std::vector<std::u16string_view> pieces;
  for (size_t at = 0; at < names.size();) {
    size_t comma = names.find(u", ", at);
    if (comma == std::u16string_view::npos) comma = runsOn ? names.size() : names.size() - 1;
    pieces.push_back(names.substr(at, comma - at));
    at = comma + 2;
  }
  const auto capitalisedWords = [](std::u16string_view piece, size_t most) {
    const std::vector<std::u16string_view> words = Words(piece);
    if (words.empty() || words.size() > most) return false;
    for (std::u16string_view w : words) {
      const std::u16string lower = LCase(w);
      if (!IsCapitalised(w) || IsInitials(w) || IsSuffix(w) || IsParticle(lower) || IsRoleWord(lower) || lower == u"and")
        return false;
    }
    return true;
  };
  const auto given = [&](std::u16string_view piece) {
    const std::vector<std::u16string_view> words = Words(piece);
    if (words.empty() || words.size() > 3) return false;
    for (std::u16string_view w : words)
      if (!IsInitials(w) && !IsCapitalised(w)) return false;
    return true;
  };
  // A family without full stops ("Jharkharia., S,"); the last names after
  // "and" written given name first ("and A Ferrant", not "and Postel,
  // Jean-Philippe,").
  const auto family = [&](std::u16string_view piece) {
    return capitalisedWords(piece, 2) && piece.find(u'.') == std::u16string_view::npos;
  };
  size_t whole = 0;  // the pieces that make the names
  if (pieces.size() == 3 && family(pieces[0]) && given(pieces[1])) whole = 2;
  if (const std::u16string_view before = pieces.size() >= 4 ? pieces[pieces.size() - 2] : std::u16string_view();
      (before.starts_with(u"and ") || before.starts_with(u"& ")) && Words(before).size() >= 3)
    whole = pieces.size() - 1;
  // One word opens the title: more may be a name written given name first
  // ("Zannuraini, Mitra Djamal, Widyaningrum Indrasari, Development ...").
  if (whole == 0 || !capitalisedWords(pieces[whole], 1) || pieces[whole].find(u'.') != std::u16string_view::npos) {
    // Only words in no part before the title: the names stay.
    if (pieces.size() == 2 && capitalisedWords(pieces[0], 2) && given(pieces[1]) && !Trim(gap).empty() &&
        capitalisedWords(Trim(gap), 3))
      r.title.begin = static_cast<size_t>(Trim(gap).data() - text.data());
    return;
  }
  r.title.begin = static_cast<size_t>(pieces[whole].data() - text.data());
  r.authors.end = static_cast<size_t>(pieces[whole - 1].data() + pieces[whole - 1].size() - text.data());
}

// A book's publisher the labels ran into the title, the place after it
// ("(2009) Honte, culpabilit\u00E9 et traumatisme, Dunod, Paris, France.",
// "Escape From Church, Inc.: The Return of the Pastor-Shepherd, Zondervan,
// Grand Rapids."): no publisher found, and the place right after the
// title; the title's last piece after a comma, a publisher's name (a
// publisher's word, or one capitalised word: two may be a region, as in
// "Chuchotka Peninsula, Russia"), is the publisher, or
// such a name in no part between them.
void PublisherEndsTitle(Reference& r) {
  if (r.title.Empty() || !r.publisher.Empty() || r.place.Empty() || !r.container.Empty() || !r.volume.Empty() ||
      !r.pages.Empty() || r.place.begin < r.title.end)
    return;
  const std::u16string_view text = r.text;
  const auto publisherName = [](std::u16string_view name) {
    const std::vector<std::u16string_view> words = Words(name);
    bool capitalised = words.size() == 1;
    for (std::u16string_view w : words) capitalised = capitalised && u_isupper(w[0]) && !IsInitials(w);
    return (capitalised || NamesPublisher(name)) && std::none_of(name.begin(), name.end(), IsDigit) &&
           name.find_first_of(u"()[]:;\"\u201C\u201D") == std::u16string_view::npos;
  };
  // Or in no part (the note) between the title and the place.
  if (const std::u16string_view gap = Trim(text.substr(r.title.end, r.place.begin - r.title.end)); !gap.empty()) {
    if (!gap.ends_with(u',') || !r.Text(r.title).ends_with(u',')) return;
    const size_t begin = static_cast<size_t>(gap.data() - text.data());
    if (!r.note.Empty() && !(r.note.begin >= begin && r.note.end <= begin + gap.size())) return;
    if (!publisherName(gap.substr(0, gap.size() - 1))) return;
    r.publisher = {begin, begin + gap.size() - 1};
    r.note = {};
    return;
  }
  std::u16string_view title = r.Text(r.title);
  if (!title.ends_with(u',')) return;
  title.remove_suffix(1);
  const size_t comma = title.rfind(u", ");
  if (comma == std::u16string_view::npos || comma == 0 || !publisherName(title.substr(comma + 2))) return;
  r.publisher = {r.title.begin + comma + 2, r.title.begin + title.size()};
  r.title.end = r.title.begin + comma;
}

// The form of the Geological Society of America and its kin: "Names,
// 1990, Title: Journal, v. 75, p. 31\u201336.", "Names, 1997, Title:
// Baltimore, MD, Johns Hopkins University Press." (or "Title: Publisher,
// Place."). The title ends at a colon, and the year stands alone between
// the names and the title with a comma after it. Nothing but a subtitle's
// colon is inside the title: the colon after it ends it, wherever the
// labels ended the title before it or ran it on after it. Returns whether
// it moved the title's end.
bool GsaTitleEnd(Reference& r) {
  if (r.date.Empty() || r.authors.Empty() || r.authors.end > r.date.begin) return false;
  const std::u16string_view text = r.text;
  const std::u16string_view date = r.Text(r.date);
  const std::u16string_view year = date.substr(0, date.size() - 1);
  if (date.size() < 5 || date.size() > 6 || date.back() != u',' || FirstYear(year).size() != 4 ||
      !std::all_of(year.begin(), year.begin() + 4, IsDigit) || (year.size() == 5 && !u_islower(year[4])) ||
      !Trim(text.substr(r.authors.end, r.date.begin - r.authors.end)).empty())
    return false;
  // A place's or a publisher's few words, with no number.
  const auto placeLike = [](std::u16string_view words) {
    return !words.empty() && std::none_of(words.begin(), words.end(), IsDigit) && Words(words).size() <= 5 &&
           words.find_first_of(u".?!:;()[]\"\u201C\u201D") == std::u16string_view::npos;
  };
  // A place's words hold none of the small words a subtitle has
  // ("Cybertext: Perspectives on Ergodic Literature, Johns Hopkins
  // University Press." is no "Title: Place, Publisher"), but "and" between
  // places ("London and New York"); a publisher's or an institution's may
  // ("University of Twente", "The Ergonomics Society of Taiwan").
  const auto placeOnly = [&](std::u16string_view words) {
    if (!placeLike(words)) return false;
    if (NamesPublisher(words)) return true;
    for (std::u16string_view w : Words(words))
      if (IsOrganisationWord(LCase(w))) return true;
    static constexpr std::u16string_view kSmall[] = {u"on", u"of", u"the", u"in", u"for", u"to",
                                                      u"a",  u"an", u"with", u"from", u"at", u"by", u"A", u"An"};
    for (std::u16string_view w : Words(words)) {
      while (!w.empty() && w.back() == u',') w.remove_suffix(1);
      if (std::find(std::begin(kSmall), std::end(kSmall), w) != std::end(kSmall)) return false;
    }
    return true;
  };
  // No title found: a word or a few right after the year and up to a
  // colon, the place, publisher or journal right after it ("Healy, D.,
  // 2012, Pharmageddon: Berkeley, University of California Press.").
  if (r.title.Empty()) {
    const size_t begin = text.find_first_not_of(u' ', r.date.end), colon = text.find(u": ", r.date.end);
    // (Or more words, where the labels left them all in no part.)
    bool inNoPart = true;
    for (const Piece* p : {&r.citationNumber, &r.editors, &r.container, &r.volume, &r.pages, &r.publisher, &r.place,
                           &r.edition, &r.doi, &r.url, &r.number})
      inNoPart = inNoPart && (p->Empty() || p->end <= begin || p->begin >= colon);
    inNoPart = inNoPart && (r.note.Empty() || (r.note.begin <= begin && r.note.end >= colon));
    if (begin == std::u16string_view::npos || colon == std::u16string_view::npos || colon <= begin ||
        (Words(text.substr(begin, colon - begin)).size() > 3 && !inNoPart) || !u_isupper(text[begin]))
      return false;
    for (const Piece* next : {&r.place, &r.publisher, &r.container})
      if (!next->Empty() && next->begin <= colon + 2 && next->end > colon + 2) {
        r.title = {begin, colon};
        for (Piece* p : {&r.place, &r.publisher, &r.container, &r.note})
          if (!p->Empty() && p->begin < colon + 2 && p->end > begin) {
            if (p->end > colon + 2) p->begin = colon + 2;
            else *p = {};
          }
        return true;
      }
    return false;
  }
  if (r.date.end > r.title.begin || !Trim(text.substr(r.date.end, r.title.begin - r.date.end)).empty()) return false;
  // The piece that follows the title, with a comma at most between them.
  const auto follows = [&](const Piece& p) {
    if (p.Empty() || p.begin < r.title.end) return false;
    const std::u16string_view gap = Trim(text.substr(r.title.end, p.begin - r.title.end));
    return gap.empty() || gap == u",";
  };
  const std::u16string_view title = r.Text(r.title);
  // The title ended before its colon ("The authentic heart. | An eightfold
  // path to midlife love: New York, Wiley.", "The Creation of Kuwait, |
  // Saudi Arabia, and Qatar: New York, ..."): the place or publisher after
  // it begins after the colon, and the words up to it are the title's.
  const bool gsaVolume = r.Text(r.volume).starts_with(u"v. ");
  for (Piece* next : {&r.place, &r.publisher, &r.container}) {
    const bool journal = next == &r.container;
    if (next->Empty() || next->begin < r.title.end || (journal ? !gsaVolume : !r.container.Empty())) continue;
    // The last colon before the piece's end (the title may hold others).
    const size_t colon = text.rfind(u": ", next->end - 2);
    if (colon == std::u16string_view::npos || colon < r.title.end || colon + 82 < next->begin) continue;
    const std::u16string_view between = text.substr(r.title.end, colon - r.title.end);
    if (between.find_first_of(u"?!;()[]\"\u201C\u201D") != std::u16string_view::npos ||
        (!journal && (between.find(u". ") != std::u16string_view::npos || NamesPublisher(between))))
      continue;
    std::u16string_view after = Trim(text.substr(colon + 2, next->end - colon - 2));
    if (after.ends_with(u',') || after.ends_with(u'.')) after.remove_suffix(1);
    if (!journal && !placeLike(after)) continue;
    // A publisher the labels found in the title's last words, up to the
    // colon ("... Midlife | Love: | New York, Wiley"), is the title's; any
    // other part there is not (a place there is the place of "Place:
    // Publisher").
    bool taken = false;
    std::vector<Piece*> inTitle;
    for (Piece* other : {&r.place, &r.publisher, &r.container, &r.date, &r.volume, &r.pages}) {
      if (other == next || other->Empty() || other->begin < r.title.end || other->begin >= colon) continue;
      const bool wordsBefore = std::any_of(text.begin() + static_cast<std::ptrdiff_t>(r.title.end),
                                           text.begin() + static_cast<std::ptrdiff_t>(other->begin), IsLetterUnit);
      if (other == &r.publisher && other->end <= colon + 1 && wordsBefore) inTitle.push_back(other);
      else taken = true;
    }
    if (taken) continue;
    for (Piece* p : inTitle) *p = {};
    r.title.end = colon;
    next->begin = colon + 2;
    return true;
  }
  const size_t colon = title.rfind(u": ");
  if (colon == std::u16string_view::npos || colon == 0 || title.back() == u':') return false;
  std::u16string_view rest = title.substr(colon + 2);
  const size_t restBegin = r.title.begin + colon + 2;
  // The title taken on to the reference's end ("Title: Paris, France,
  // Dunod."): the place, then the publisher (or the publisher first, where
  // it says so).
  if (r.title.end + 2 >= text.size() && r.place.Empty() && r.publisher.Empty() && r.container.Empty()) {
    if (rest.ends_with(u'.')) rest.remove_suffix(1);
    const size_t last = rest.rfind(u", "), first = rest.find(u", ");
    // Or the publisher alone, in capitals ("Blake and modern literature:
    // Springer.", "People, Plants and Patents: IDRC.").
    if (last == std::u16string_view::npos) {
      const std::vector<std::u16string_view> words = Words(rest);
      if (!placeLike(rest) || words.size() > 4 ||
          !std::all_of(words.begin(), words.end(), [](std::u16string_view w) { return w.size() < 4 || u_isupper(w[0]); }))
        return false;
      r.publisher = {restBegin, restBegin + rest.size()};
      r.title.end = r.title.begin + colon;
      return true;
    }
    if (!placeLike(rest.substr(0, last)) || !placeLike(rest.substr(last + 2))) return false;
    if (NamesPublisher(rest.substr(0, first)) && !NamesPublisher(rest.substr(first + 2))) {
      r.publisher = {restBegin, restBegin + first};
      r.place = {restBegin + first + 2, restBegin + rest.size()};
    } else {
      r.place = {restBegin, restBegin + last};
      r.publisher = {restBegin + last + 2, restBegin + rest.size()};
    }
    r.title.end = r.title.begin + colon;
    return true;
  }
  // The title taken on over its colon into the journal, the place or the
  // publisher: those words go back to the journal the labels found right
  // after (or, with none, that the volume's "v." follows), to the place or
  // the publisher after them, or, before a publisher, to the place.
  if (rest.ends_with(u',')) rest.remove_suffix(1);
  // A journal's name may be shortened ("Impact Sci. Soc, v. 30").
  if (rest.empty() || rest.find_first_of(u"?!:;()[]\"\u201C\u201D") != std::u16string_view::npos ||
      (!gsaVolume && rest.find(u'.') != std::u16string_view::npos))
    return false;
  if (follows(r.container) && gsaVolume) {
    r.container.begin = restBegin;
  } else if (r.container.Empty() && follows(r.volume) && gsaVolume) {
    r.container = {restBegin, restBegin + rest.size()};
    r.journal = true;
  } else if (rest.find(u'.') != std::u16string_view::npos) {
    return false;
  } else if (follows(r.place) && placeOnly(rest)) {
    if (NamesPublisher(rest) && r.publisher.Empty()) r.publisher = {restBegin, restBegin + rest.size()};
    else r.place.begin = restBegin;
  } else if (follows(r.publisher) && placeOnly(rest) && !NamesPublisher(rest) && r.place.Empty()) {
    r.place = {restBegin, restBegin + rest.size()};
  } else if (const size_t tail = text.find_first_not_of(u", ", r.title.end);
             tail != std::u16string_view::npos && placeOnly(rest) && r.place.Empty() && r.publisher.Empty() &&
             r.container.Empty() && r.volume.Empty() && r.pages.Empty() && r.doi.Empty() && r.url.Empty() &&
             placeLike(Trim(text.substr(tail, text.size() - tail - (text.ends_with(u'.') ? 1 : 0))))) {
    // And the reference's last words, in no part, its publisher ("Les
    // fleurs du mal: Paris, | Livre de poche.").
    r.place = {restBegin, restBegin + rest.size()};
    r.publisher = {tail, text.size() - (text.ends_with(u'.') ? 1 : 0)};
    if (r.note.begin >= tail) r.note = {};
  } else {
    return false;
  }
  r.title.end = r.title.begin + colon;
  return true;
}

// And the place before the publisher that the labels gave the publisher
// ("Berkeley, University of California Press"): its words before the
// comma, where they name no publisher and those after it do.
void GsaTitleColon(Reference& r) {
  if (!GsaTitleEnd(r) || !r.place.Empty() || r.publisher.Empty() || r.title.Empty() || r.publisher.begin < r.title.end)
    return;
  const std::u16string_view publisher = r.Text(r.publisher);
  const size_t comma = publisher.find(u", ");
  if (comma == std::u16string_view::npos || NamesPublisher(publisher.substr(0, comma)) ||
      !NamesPublisher(publisher.substr(comma + 2)) || Words(publisher.substr(0, comma)).size() > 3 ||
      std::any_of(publisher.begin(), publisher.begin() + static_cast<std::ptrdiff_t>(comma), IsDigit))
    return;
  r.place = {r.publisher.begin, r.publisher.begin + comma};
  r.publisher.begin += comma + 2;
}

// Karger's chapters: "Title; in : Book. Place, Publisher, Year, pp 1-9."
// or "Title; in Editors (ed): Book. ...". The title ends at the semicolon;
// the book is what follows "in :" or the editors' "(ed):", up to its full
// stop, and the editors are those before "(ed)".
void KargerChapter(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  const size_t semicolon = text.find(u"; in ", r.title.begin);
  if (semicolon == std::u16string_view::npos || semicolon >= r.title.end || semicolon == r.title.begin) return;
  size_t book = semicolon + 5;
  Piece editors;
  if (text.substr(book).starts_with(u": ")) {
    book += 2;
  } else {
    const size_t role = text.find(u" (ed", book);
    if (role == std::u16string_view::npos || role > book + 160) return;
    const size_t close = text.find(u"): ", role);
    if (close == std::u16string_view::npos || close > role + 8) return;
    editors = {book, role};
    book = close + 3;
  }
  const size_t stop = text.find(u". ", book);
  const size_t end = stop == std::u16string_view::npos ? text.size() : stop;
  if (end <= book || !u_isupper(text[book])) return;
  r.title.end = semicolon;
  r.container = {book, end};
  r.journal = false;
  if (!editors.Empty()) r.editors = editors;
  for (Piece* p : {&r.place, &r.publisher, &r.note, &r.volume, &r.edition})
    if (!p->Empty() && p->begin < end && p->end > semicolon) {
      if (p->end > end) p->begin = end + 1;
      else *p = {};
    }
}

// A chapter with no "In" before its book, the editors after the book
// ("Title. Book, ed. by G. Manetti, 155-185.", "Title. Book (eds H.
// Hermans), ..."): where the labels ran the title on into the book, the
// title ends at its last full stop and the book is what follows, up to the
// editors.
void BookBeforeEditorsNoIn(Reference& r) {
  if (r.title.Empty() || r.editors.Empty() || !r.container.Empty() || r.editors.begin < r.title.end) return;
  const std::u16string_view text = r.text;
  const std::u16string_view gap = Trim(text.substr(r.title.end, r.editors.begin - r.title.end));
  if (!gap.empty() && gap != u",") return;
  const std::u16string editors = LCase(r.Text(r.editors));
  size_t bookEnd = r.editors.begin;
  if (editors.starts_with(u"ed. by ") || editors.starts_with(u"edited by ")) {
    // After a comma: "Title. Edited by ..." gives a book's own editors.
    if (!r.Text(r.title).ends_with(u',') && gap != u",") return;
  } else {
    // Or the book's last words before the bracket ("An Introduction (eds").
    const size_t role = editors.find(u" (ed");
    if (role == std::u16string::npos || role > 60 || editors.substr(0, role).find(u'.') != std::u16string::npos) return;
    bookEnd = r.editors.begin + role;
    r.editors.begin = bookEnd + 1;
  }
  std::u16string_view title = r.Text(r.title);
  while (!title.empty() && (title.back() == u',' || title.back() == u'.' || title.back() == u' ')) title.remove_suffix(1);
  const size_t stop = title.rfind(u". ");
  if (stop == std::u16string_view::npos || stop == 0 || !u_isupper(title[stop + 2])) return;
  while (bookEnd > r.title.begin + stop + 2 && (text[bookEnd - 1] == u' ' || text[bookEnd - 1] == u',')) --bookEnd;
  r.container = {r.title.begin + stop + 2, bookEnd};
  r.journal = false;
  r.title.end = r.title.begin + stop;
}

// "Names. Year. Title." and nothing more, as some styles write a book: the
// one part after the year that the labels took for a publisher (a title
// of a few capitalised words reads like one: "World Risk Society.") is the
// title, where no title was found and nothing follows it.
void TitleAloneAfterYear(Reference& r) {
  if (!r.title.Empty() || r.publisher.Empty() || r.date.Empty() || r.authors.Empty() || !r.container.Empty() ||
      !r.place.Empty() || !r.volume.Empty() || !r.pages.Empty() || !r.doi.Empty() || !r.url.Empty() ||
      r.publisher.begin < r.date.end)
    return;
  const std::u16string_view text = r.text;
  const std::u16string_view gap = Trim(text.substr(r.date.end, r.publisher.begin - r.date.end));
  if (!gap.empty() && gap != u"." && gap != u",") return;
  if (!Trim(text.substr(r.publisher.end)).empty() && Trim(text.substr(r.publisher.end)) != u".") return;
  if (NamesPublisher(r.Text(r.publisher)) || r.Text(r.publisher).find(u". ") != std::u16string_view::npos) return;
  r.title = r.publisher;
  r.publisher = {};
}

// A quoted title, then a colon and the journal, which the chooser ran into
// the title ("\u201CThree Old Irish Accentual Poems\u201D: \u00C9riu, Vol. 22"):
// where the labels gave the words after the colon to a journal or a book,
// and no part has them, the title ends with its quotation.
void ColonAfterQuotedTitle(Reference& r, const std::vector<Token>& tokens, const std::vector<Label>& labels) {
  if (r.title.Empty() || !r.container.Empty()) return;
  const std::u16string_view text = r.text;
  const char16_t open = text[r.title.begin];
  const char16_t close = open == u'\u201C' ? u'\u201D' : open == u'\u00AB' ? u'\u00BB' : open == u'"' ? u'"' : 0;
  if (close == 0) return;
  const size_t at = text.find(close, r.title.begin + 1);
  if (at == std::u16string_view::npos || at + 3 >= r.title.end || text[at + 1] != u':' || text[at + 2] != u' ') return;
  size_t k = 0;
  while (k < tokens.size() && tokens[k].begin < at + 3) ++k;
  if (k == tokens.size() || tokens[k].begin >= r.title.end) return;
  if (labels[k] != Label::Journal && labels[k] != Label::Container) return;
  r.container = {tokens[k].begin, r.title.end};
  r.journal = labels[k] == Label::Journal;
  r.title.end = at + 1;
}

// A title cut right after a quotation inside it ("Can \u201CIt\u201D |
// Happen Again?, M.E. Sharpe"): the words after it that the labels gave
// the title and no part took are the title's.
void TitleGoesOnAfterQuote(Reference& r, const std::vector<Token>& tokens, const std::vector<Label>& labels) {
  if (r.title.Empty()) return;
  const std::u16string_view title = r.Text(r.title);
  if (title.size() < 3 || !IsQuote(title.back()) || IsQuote(title.front())) return;
  const size_t open = title.find_first_of(u"\u201C\u2018\u00AB\"");
  if (open == std::u16string_view::npos || open + 1 >= title.size() - 1) return;
  size_t k = 0;
  while (k < tokens.size() && tokens[k].begin < r.title.end) ++k;
  const auto taken = [&](const Token& t) {
    for (const Piece* p : {&r.citationNumber, &r.authors, &r.editors, &r.date, &r.container, &r.volume, &r.pages,
                           &r.publisher, &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number})
      if (!p->Empty() && p->begin < t.end && t.begin < p->end) return true;
    return false;
  };
  size_t last = k;
  while (last < tokens.size() && labels[last] == Label::Title && !taken(tokens[last])) ++last;
  if (last == k) return;
  r.title.end = tokens[last - 1].end;
}

// Elsevier's Vancouver chapter, "Title. Book, Place: Publisher; Year, p.
// 155-9.", with no "In:" before the book: where the labels ran the title
// on into the book, up to its comma, and the chapter's pages follow, the
// title ends at its last full stop and the book is what follows. The
// place and publisher the labels may have taken for the book are theirs.
void BookAfterTitleStop(Reference& r) {
  if (r.title.Empty() || r.pages.Empty()) return;
  const std::u16string_view pages = Trim(r.Text(r.pages));
  if (!(pages.starts_with(u"p. ") || pages.starts_with(u"pp. ")) || pages.find_first_of(u"-\u2013") == std::u16string_view::npos)
    return;
  const std::u16string_view text = r.text;
  std::u16string_view placeAndPublisher;
  if (!r.container.Empty()) {
    placeAndPublisher = Trim(r.Text(r.container));
    if (r.container.begin < r.title.end || !placeAndPublisher.ends_with(u';') ||
        placeAndPublisher.find(u": ") == std::u16string_view::npos || !r.publisher.Empty() || !r.place.Empty())
      return;
  }
  const std::u16string_view title = r.Text(r.title);
  if (!title.ends_with(u',')) return;
  const size_t stop = title.rfind(u". ");
  if (stop == std::u16string_view::npos || stop == 0) return;
  // Not after an initial ("Moses I. Finley").
  const size_t space = title.rfind(u' ', stop);
  if (IsInitials(title.substr(space == std::u16string_view::npos ? 0 : space + 1, stop + 1 - (space == std::u16string_view::npos ? 0 : space + 1))))
    return;
  const std::u16string_view book = title.substr(stop + 2, title.size() - stop - 3);
  if (Words(book).size() < 2 || !u_isupper(book[0])) return;
  r.container = {r.title.begin + stop + 2, r.title.end - 1};
  r.journal = false;
  r.title.end = r.title.begin + stop + 1;
  if (!placeAndPublisher.empty()) {
    const size_t begin = static_cast<size_t>(placeAndPublisher.data() - text.data());
    const size_t colon = placeAndPublisher.find(u": ");
    r.place = {begin, begin + colon};
    r.publisher = {begin + colon + 2, begin + placeAndPublisher.size() - 1};
  }
}

// A label of the authors' names and the year before the names themselves
// ("Abbott, Snidal 2009 K.W. Abbott, D. Snidal, \u00AB Title \u00BB", "D.
// Callahan et al. 1990 D. Callahan, S. Carr, K. Kennedy, Title", as some
// archaeology styles open a reference): the names after the year, each
// ending with a comma, are the authors, where one of them is the label's,
// and the title starts after them.
void LabelBeforeNames(Reference& r) {
  const std::u16string_view text = r.text;
  const auto wordAt = [&](size_t& at) {
    while (at < text.size() && text[at] == u' ') ++at;
    const size_t end = std::min(text.find(u' ', at), text.size());
    const std::u16string_view w = text.substr(at, end - at);
    at = end;
    return w;
  };
  const auto bare = [](std::u16string_view w) {
    while (!w.empty() && (w.back() == u',' || w.back() == u'.')) w.remove_suffix(1);
    return LCase(w);
  };
  const auto capitalised = [](std::u16string_view w) {
    while (!w.empty() && w.back() == u',') w.remove_suffix(1);
    return w.size() >= 2 && u_isupper(w[0]) && std::all_of(w.begin() + 1, w.end(), [](char16_t u) {
             return u_isalpha(u) || u == u'-' || u == u'.' || u == u'\'' || u == u'\u2019';
           });
  };
  // The label, up to its year.
  std::vector<std::u16string> label;
  size_t families = 0;  // the label's words that are no initials
  bool others = false;  // "et al." in it
  size_t at = 0, yearBegin = 0, yearEnd = 0;
  for (size_t words = 0;; ++words) {
    const size_t before = at;
    const std::u16string_view w = wordAt(at);
    if (w.empty() || words > 8) return;
    std::u16string_view digits = w;
    // (A colon may end the label: "Abbott, Snidal 2009: K. W. Abbott".)
    if (digits.size() == 5 || digits.size() == 6) digits.remove_suffix(digits.back() == u':');
    if (digits.size() == 5 && digits[4] >= u'a' && digits[4] <= u'z') digits.remove_suffix(1);
    if (words > 0 && digits.size() == 4 && FirstYear(digits) == digits) {
      yearBegin = text.find_first_not_of(u' ', before), yearEnd = at;
      break;
    }
    const std::u16string lower = bare(w);
    if (lower == u"et" || lower == u"al" || lower == u"&" || lower == u"and") {
      others |= lower == u"al";
      continue;
    }
    if (!capitalised(w)) return;
    label.push_back(lower);
    families += !IsInitials(w.back() == u',' ? w.substr(0, w.size() - 1) : w);
  }
  // A label names someone ("et al. 1998" alone names no one).
  if (label.empty()) return;
  // The letter that tells two works of a year apart, apart from it
  // ("2001 b").
  {
    size_t k = at;
    const std::u16string_view w = wordAt(k);
    if (w.size() == 1 && w[0] >= u'a' && w[0] <= u'z') at = yearEnd = k;
  }
  // French typography's colon, a space before it ("Abbott, Snidal 2009 :
  // K. W. Abbott").
  size_t namesFrom = yearEnd;
  {
    size_t k = at;
    if (wordAt(k) == u":") at = namesFrom = k;
  }
  const size_t namesBegin = text.find_first_not_of(u' ', namesFrom);
  if (namesBegin == std::u16string_view::npos) return;
  size_t namesEnd = SIZE_MAX;
  bool matched = false;
  // The names after it, up to a spaced dash ("Abercrombie N., Hill et
  // Turner 1984 Abercrombie N., Hill S. et Turner B. S. - Title"), where
  // they open with the label's first name;
  for (std::u16string_view dash : {u" - ", u" \u2013 "}) {
    const size_t dashAt = text.find(dash, namesBegin);
    if (dashAt == std::u16string_view::npos || dashAt - namesBegin > 400) continue;
    // Names only: no quotation, no word in small letters but a particle
    // or "et", "and", "al." ("Title \u2013 subtitle" is no name).
    const std::u16string_view region = text.substr(namesBegin, dashAt - namesBegin);
    bool namesOnly = region.find_first_of(u"\u00AB\u201C\"") == std::u16string_view::npos;
    for (std::u16string_view w : Words(region)) {
      const std::u16string lower = LCase(w);
      if (u_islower(w[0]) && w.size() > 3 && !IsParticle(lower) && !lower.starts_with(u"al.")) namesOnly = false;
    }
    if (!namesOnly) continue;
    bool more = false;
    const std::vector<Person> names = Names(region, more);
    if (names.empty() || LCase(names.front().family) != label.front() || (!others && names.size() > families)) continue;
    r.authors = {namesBegin, dashAt};
    if (r.date.Empty() || r.date.begin < namesBegin) r.date = {yearBegin, yearEnd};
    const size_t after = dashAt + dash.size();
    if (r.title.Empty() || r.title.begin < after) {
      if (!r.title.Empty() && r.title.end > after + 1) r.title.begin = after;
      else {
        size_t end = std::min(text.find(u", ", after), text.size());
        r.title = {after, end};
      }
    }
    return;
  }
  // or each to its comma: "Initials Family," or a few capitalised words
  // that end with one of the label's.
  for (size_t item = at;;) {
    std::vector<std::u16string_view> words;
    size_t k = item;
    for (std::u16string_view w = wordAt(k); !w.empty() && words.size() < 6; w = wordAt(k)) {
      words.push_back(w);
      if (w.back() == u',') break;
    }
    if (words.empty() || words.back().back() != u',') break;
    const bool etAl = words.size() >= 3 && bare(words[words.size() - 2]) == u"et" && bare(words.back()) == u"al";
    const size_t family = etAl ? words.size() - 3 : words.size() - 1;
    const bool initialFirst = IsInitials(words[0]);
    const bool inLabel = std::find(label.begin(), label.end(), bare(words[family])) != label.end();
    // Initials and one or two words ("M. T. D. Wingate,", "A. M. De Jong,"),
    // or up to three words.
    size_t initials = 0;
    while (initials < family && IsInitials(words[initials])) ++initials;
    if (!(initialFirst || inLabel) || family + 1 - initials > (initials > 0 ? 2u : 3u) ||
        !std::all_of(words.begin(), words.begin() + static_cast<long>(family) + 1, capitalised))
      break;
    matched |= inLabel;
    namesEnd = k - 1;  // before the comma
    item = k;
    if (etAl) break;
  }
  if (!matched || namesEnd == SIZE_MAX || namesEnd <= namesBegin) return;
  const size_t after = text.find_first_not_of(u' ', namesEnd + 1);
  if (after == std::u16string_view::npos) return;
  if (!r.title.Empty() && r.title.begin < after && r.title.end > after + 1) {
    r.title.begin = after;
  } else if (r.title.Empty() || r.title.begin < after) {
    // The labels found the title among the names: it runs to the place
    // (or "[s.l.]") after them, or a book's "..., Place, Year." closes it.
    size_t end = SIZE_MAX;
    for (const Piece* p : {&r.place, &r.edition})
      if (!p->Empty() && p->begin > after) end = std::min(end, p->begin);
    if (end == SIZE_MAX) {
      std::u16string_view rest = text.substr(after);
      while (!rest.empty() && (rest.back() == u'.' || rest.back() == u' ')) rest.remove_suffix(1);
      const size_t yearComma = rest.rfind(u", ");
      if (yearComma != std::u16string_view::npos && FirstYear(rest.substr(yearComma + 2)) == rest.substr(yearComma + 2)) {
        const size_t placeComma = yearComma == 0 ? std::u16string_view::npos : rest.rfind(u", ", yearComma - 1);
        if (placeComma == std::u16string_view::npos) return;
        end = after + placeComma + 2;
      } else {
        // With the year in the label alone ("Bud 2009: R. Bud, Penicillin:
        // Triumph and Tragedy, New York."): the title runs to a place of a
        // few capitalised words after the last comma, or to the end.
        end = after + rest.size();
        if (yearComma != std::u16string_view::npos) {
          const std::vector<std::u16string_view> place = Words(rest.substr(yearComma + 2));
          if (!place.empty() && place.size() <= 3 &&
              std::all_of(place.begin(), place.end(), [](std::u16string_view w) { return u_isupper(w[0]); }))
            end = after + yearComma;
        }
      }
    }
    while (end > after && (text[end - 1] == u' ' || text[end - 1] == u',')) --end;
    if (end <= after) return;
    r.title = {after, end};
  }
  if (r.date.Empty() || r.date.begin < namesBegin) r.date = {yearBegin, yearEnd};
  r.authors = {namesBegin, namesEnd};
  // The label's words are no other part ("Horn 1986a:" is no volume).
  for (Piece* p : {&r.citationNumber, &r.container, &r.volume, &r.pages, &r.publisher, &r.place, &r.editors, &r.edition})
    if (!p->Empty() && p->end <= yearBegin) *p = {};
  // A book's place alone after its title ("The Legitimation of Power,
  // Houndmills."): a few capitalised words, and nothing after them.
  const auto inTitle = [&](const Piece& p) { return p.Empty() || (p.begin >= r.title.begin && p.begin < r.title.end); };
  if (!r.title.Empty() && inTitle(r.place) && inTitle(r.publisher) && inTitle(r.container)) {
    size_t begin = r.title.end;
    while (begin < text.size() && (text[begin] == u' ' || text[begin] == u',')) ++begin;
    size_t end = text.size();
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'.')) --end;
    const std::vector<std::u16string_view> place = Words(text.substr(begin, end - begin));
    if (text.substr(r.title.end - 1, begin - r.title.end + 1).find(u',') != std::u16string_view::npos &&
        !place.empty() && place.size() <= 3 &&
        std::all_of(place.begin(), place.end(), [](std::u16string_view w) {
          return u_isupper(w[0]) && std::none_of(w.begin(), w.end(), IsDigit);
        }))
      r.place = {begin, end};
  }
}

// Names parted by slashes that the labels ran on into the next part, up
// to the colon that ends them ("N. Abercrombie / S. | Hill / B. S Turner:
// Dictionary of Sociology.", "A. Borgida / T. | Imielinski: 1984."): the
// names run to the colon, and the parts after them begin after it.
void SlashNamesRunOn(Reference& r) {
  if (r.authors.Empty()) return;
  const std::u16string_view text = r.text;
  const size_t colon = text.find(u": ", r.authors.end);
  if (colon == std::u16string_view::npos || colon > r.authors.end + 60) return;
  const std::u16string_view names = text.substr(r.authors.begin, colon - r.authors.begin);
  if (names.find(u'/') == std::u16string_view::npos) return;
  // Each piece between the slashes a name of a few words, with a capital.
  for (size_t from = 0;;) {
    const size_t slash = std::min(names.find(u'/', from), names.size());
    const std::vector<std::u16string_view> words = Words(names.substr(from, slash - from));
    if (words.empty() || words.size() > 4 ||
        !std::all_of(words.begin(), words.end(), [](std::u16string_view w) { return u_isupper(w[0]); }))
      return;
    if (slash == names.size()) break;
    from = slash + 1;
  }
  for (Piece* p : {&r.title, &r.date, &r.editors, &r.container, &r.publisher, &r.place, &r.note, &r.volume, &r.pages}) {
    if (p->Empty() || p->end <= r.authors.end || p->begin >= colon + 1) continue;
    if (p->end <= colon + 2) *p = {};
    else p->begin = colon + 2;
  }
  r.authors.end = colon;
}

// A chapter whose book stands quoted after the chapter's title, then its
// editors, pages or publisher ("Epicurean Semiotics. \u2018Knowledge
// Through Signs\u2019. (Ed G Manetti) pp. 155\u2013185. (Brepols:
// Turnhout)", as the CSIRO journals write one): the quotation is the book,
// where the labels ran it into the title. The editors end at their
// bracket, before the pages.
void QuotedBookAfterTitle(Reference& r) {
  if (r.title.Empty() || !r.container.Empty()) return;
  const std::u16string_view text = r.text;
  std::u16string_view title = r.Text(r.title);
  while (!title.empty() && (title.back() == u' ' || title.back() == u'.' || title.back() == u',')) title.remove_suffix(1);
  if (title.empty() || (title.back() != u'\u2019' && title.back() != u'\u201D')) return;
  const char16_t open = title.back() == u'\u2019' ? u'\u2018' : u'\u201C';
  const size_t quote = title.rfind(open);
  if (quote == std::u16string_view::npos || quote < 3 || quote + 3 >= title.size()) return;
  // The chapter's title ends at a full stop, a question or an
  // exclamation before the quotation.
  const std::u16string_view before = Trim(title.substr(0, quote));
  if (before.size() < 2 || std::u16string_view(u".?!").find(before.back()) == std::u16string_view::npos) return;
  const std::u16string_view book = title.substr(quote + 1, title.size() - quote - 2);
  if (Words(book).size() < 2 || !u_isupper(book[0]) || book.find(open) != std::u16string_view::npos) return;
  // Then the editors, the pages or the publisher's bracket.
  const std::u16string_view after = Trim(text.substr(r.title.end));
  if (!(after.empty() || after.starts_with(u"(Ed") || after.starts_with(u"pp. ") || after.starts_with(u"p. ") ||
        after.starts_with(u"(")))
    return;
  const size_t titleBegin = r.title.begin;
  r.container = {titleBegin + quote + 1, titleBegin + title.size() - 1};
  r.journal = false;
  r.title.end = titleBegin + static_cast<size_t>(before.data() + before.size() - title.data());
  if (!r.editors.Empty() && !r.pages.Empty() && r.editors.begin >= r.title.end) {
    const std::u16string_view editors = r.Text(r.editors);
    const size_t close = editors.rfind(u')');
    if (close != std::u16string_view::npos && Trim(editors.substr(close + 1)).size() <= 3 && r.pages.begin >= r.editors.end &&
        Trim(text.substr(r.editors.end, r.pages.begin - r.editors.end)).empty()) {
      // "pp." goes with the pages.
      const std::u16string_view mark = Trim(editors.substr(close + 1));
      if (!mark.empty()) r.pages.begin = r.editors.begin + static_cast<size_t>(mark.data() - editors.data());
      r.editors.end = r.editors.begin + close + 1;
    }
  }
}

// The publisher and its place in the bracket that ends a reference, in
// either order ("(Penguin Books: New York)", "(Chicago: University of
// Chicago Press)"), where the labels split or ran them together: the side
// of the colon that names a publisher is the publisher, when the other
// does not.
void PublisherAndPlaceInBracket(Reference& r) {
  if (r.publisher.Empty() && r.place.Empty()) return;
  const std::u16string_view text = r.text;
  size_t end = text.size();
  while (end > 0 && (text[end - 1] == u' ' || text[end - 1] == u'.')) --end;
  // (Or before the year's own bracket: "(Collegeville : Liturgical Press)
  // (1990).", as the Indian Journal of Physics writes a book.)
  if (end >= 7 && YearBracketOpens(text.substr(end - 6, 6))) end = BeforeSpaces(text, end - 6, 0);
  if (end == 0 || text[end - 1] != u')') return;
  const size_t open = text.rfind(u'(', end - 1);
  if (open == std::u16string_view::npos) return;
  for (const Piece* p : {&r.publisher, &r.place})
    if (!p->Empty() && (p->begin < open || p->end > end)) return;
  // Only the two: no series, volumes or year with them ("(2 vols.;
  // Cambridge: Cambridge University Press, 1985)").
  const std::u16string_view inside = text.substr(open + 1, end - 1 - open - 1);
  if (inside.find(u';') != std::u16string_view::npos || std::any_of(inside.begin(), inside.end(), IsDigit)) return;
  const size_t colon = inside.find(u": ");
  if (colon == std::u16string_view::npos || colon == 0 || inside.find(u": ", colon + 1) != std::u16string_view::npos) return;
  // (A space before the colon too, as French typesetting puts it.)
  const size_t firstEnd = BeforeSpaces(inside, colon, 0);
  if (firstEnd == 0) return;
  const bool firstNames = NamesPublisher(inside.substr(0, firstEnd)), secondNames = NamesPublisher(inside.substr(colon + 2));
  if (firstNames == secondNames) return;
  const Piece first{open + 1, open + 1 + firstEnd}, second{open + 1 + colon + 2, end - 1};
  r.publisher = firstNames ? first : second;
  r.place = firstNames ? second : first;
}

// A chapter cited by its book alone, as physics journals print it: "H.
// Jenkins, in Critical Approaches to Comics, edited by M. J. Smith
// (Routledge, New York, 2012), pp. 1-14." The small "in" right after the
// names brings the book; the labels took the book for the title (and a
// second sentence of its name for the container). No title is written.
void ChapterByItsBook(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  // "in" at the end of the names, between them and the title, or opening it.
  size_t namesEnd = r.authors.end, bookBegin = r.title.begin;
  const std::u16string_view names = r.Text(r.authors);
  const std::u16string_view gap = Trim(text.substr(r.authors.end, r.title.begin - r.authors.end));
  const std::u16string_view title = r.Text(r.title);
  if (gap.empty() && (names.ends_with(u", in") || names.ends_with(u", in:"))) {
    namesEnd = r.authors.begin + names.rfind(u", in");
  } else if (gap == u"in" || gap == u"in:") {
  } else if (gap.empty() && (title.starts_with(u"in ") || title.starts_with(u"in: "))) {
    bookBegin = r.title.begin + title.find(u' ') + 1;
  } else {
    return;
  }
  if (bookBegin >= r.title.end || !u_isupper(text[bookBegin])) return;
  // A book's marks after it: its editors, publisher, place or pages.
  if (r.editors.Empty() && r.publisher.Empty() && r.place.Empty() && r.pages.Empty()) return;
  size_t bookEnd = r.title.end;
  // The book's second sentence the labels gave to the container ("The
  // Dialogical Self in Psychotherapy. | An Introduction, edited by").
  if (!r.container.Empty()) {
    if (r.container.begin < r.title.end || !Trim(text.substr(r.title.end, r.container.begin - r.title.end)).empty()) return;
    bookEnd = r.container.end;
  }
  r.authors.end = namesEnd;
  while (r.authors.end > r.authors.begin && (text[r.authors.end - 1] == u' ' || text[r.authors.end - 1] == u',')) --r.authors.end;
  r.container = {bookBegin, bookEnd};
  r.title = {};
  r.journal = false;
}

// An article cited by its journal alone, as physics and chemistry
// journals print it: "M. Von Smoluchowski, Rozprawy Wydzialu 3, 257
// (1906).", "Blair, M. ABR 2007, 55, 1-12." Where the labels took the
// journal's name for a title, the volume and pages right after it, and no
// book's marks anywhere, the name is the journal's.
void JournalWithNoTitle(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.volume.Empty() || r.pages.Empty()) return;
  if (!r.editors.Empty() || !r.publisher.Empty() || !r.place.Empty() || !r.edition.Empty()) return;
  const std::u16string_view text = r.text;
  if (r.title.begin < r.authors.end || r.volume.begin < r.title.end || r.pages.begin < r.volume.end) return;
  if (!Trim(text.substr(r.authors.end, r.title.begin - r.authors.end)).empty()) return;
  // The name's halves the labels gave to the title and the journal ("Glob
  // | Ecol Biogeogr"): a title ends with a mark, a name's half does not.
  Piece name = r.title;
  if (!r.container.Empty()) {
    if (r.container.begin < r.title.end || r.container.end > r.volume.begin) return;
    const std::u16string_view gap = Trim(text.substr(r.title.end, r.container.begin - r.title.end));
    const std::u16string_view title = r.Text(r.title);
    // (Only a word or two: a title the styles print with no mark after it
    // runs into the journal's name as well, "A randomized trial ... Diabetes
    // Care, 26 (2003)".)
    if (!(gap.empty() || gap == u"in") || std::u16string_view(u".?!,;:").find(title.back()) != std::u16string_view::npos ||
        std::any_of(title.begin(), title.end(), IsQuote) || Words(title).size() > 2)
      return;
    name.end = r.container.end;
  }
  // The volume right after it, or ACS's year between ("Environment and
  // Planning D: Society and Space 2007, 39, 590-608").
  const std::u16string_view before = Trim(text.substr(name.end, r.volume.begin - name.end));
  if (!before.empty()) {
    std::u16string_view year = before;
    if (year.ends_with(u',')) year.remove_suffix(1);
    if (year.size() != 4 || FirstYear(year) != year || r.date.begin < name.end || r.date.end > r.volume.begin) return;
  }
  // One name: no sentence's end, comma or quotation inside it.
  std::u16string_view words = text.substr(name.begin, name.end - name.begin);
  while (!words.empty() && (words.back() == u' ' || words.back() == u',')) words.remove_suffix(1);
  if (words.empty() || IsQuote(words.front()) || IsQuote(words.back()) || (words.back() == u'.' && Words(words).size() > 6)) return;
  for (std::u16string_view mark : {u", ", u"? ", u"! ", u"; ", u". "})
    if (words.find(mark) != std::u16string_view::npos) return;
  // A journal's name is short, and a colon in it comes before a capital
  // ("Environment and Planning D: Society and Space"), a title's subtitle
  // may not ("Genetic diversity ...: a survey of ...").
  if (Words(words).size() > 10) return;
  for (size_t colon = words.find(u": "); colon != std::u16string_view::npos; colon = words.find(u": ", colon + 1))
    if (colon + 2 >= words.size() || !u_isupper(words[colon + 2])) return;
  // The volume a bare number, its issue in a bracket at most ("3,", "79 (2),").
  const std::u16string_view volume = Trim(r.Text(r.volume));
  if (volume.empty() || !IsDigit(volume[0]) || Numbers(volume).size() > 2 || volume.find(u' ') != volume.rfind(u' ')) return;
  r.container = {name.begin, name.begin + words.size()};
  r.title = {};
  r.journal = true;
}

// "s.l." ("sine loco"), which French styles print for a place not known
// ("Robot Vision, s.l., MIT Press, 1986.", "dans British Cinema in the
// 90s, [s.l.], 2000"), "[place unknown]" and German's "o. O." ("ohne Ort"), where the
// labels ran the title or the book's name on into it: the place's, after a
// comma or full stop (botany's "Phytolaccaceae s.l.", "in the wide sense",
// has none). The publisher not known, "s.e." or "s.n." after it ("In
// Proceedings of SIGIR. s.l., s.e."), is no part of the name either; it
// names no publisher, so no part takes it.
void NoPlaceEnds(Reference& r, Piece& piece) {
  if (piece.Empty()) return;
  std::u16string_view name = r.Text(piece);
  const auto trim = [&name] {
    while (!name.empty() && (name.back() == u',' || name.back() == u' ')) name.remove_suffix(1);
    while (!name.empty() && (name.back() == u';' || name.back() == u':')) name.remove_suffix(1);
  };
  trim();
  const std::u16string_view whole = name;
  static constexpr std::array<std::u16string_view, 6> kNoPublisher = {u" s.e.", u" s.n.", u" [s.n.]",
                                                                      u" S.e.", u" S.n.", u" o. V."};
  for (std::u16string_view mark : kNoPublisher) {
    if (!name.ends_with(mark) || name.size() <= mark.size() + 1) continue;
    name.remove_suffix(mark.size());
    if (name.back() != u',' && name.back() != u':') {
      name = whole;
      break;
    }
    trim();
    break;
  }
  for (std::u16string_view place : {u" s.l.", u" s. l.", u" S.l.", u" S. l.", u" [s.l.]", u" [s. l.]", u" [S.l.]",
                                    u" [place unknown]", u" o. O.", u" o.O."}) {
    if (!name.ends_with(place) || name.size() <= place.size() + 1) continue;
    const char16_t before = name[name.size() - place.size() - 1];
    if (before != u',' && !(before == u'.' && place[1] != u'o')) continue;
    const size_t markBegin = piece.begin + name.size() - place.size() + 1;
    std::u16string_view placed = r.Text(r.place);
    while (!placed.empty() && (placed.back() == u',' || placed.back() == u' ' || placed.back() == u':')) placed.remove_suffix(1);
    const bool noPublisher = std::any_of(kNoPublisher.begin(), kNoPublisher.end(),
                                         [placed](std::u16string_view m) { return m.substr(1) == placed; });
    if (r.place.Empty() || noPublisher) r.place = {markBegin, piece.begin + name.size()};
    piece.end = markBegin - 2;
    return;
  }
}

// McGill's chapter, "\u201CTitle\u201D in Editors, eds, Book (Place:
// Publisher, Year) pages": the names up to the role, the book from after
// it to the bracket.
void McGillChapter(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  size_t in = r.title.end;
  while (in < text.size() && (text[in] == u' ' || text[in] == u',')) ++in;
  if (text.substr(in, 3) != u"in ") return;
  const size_t namesBegin = in + 3;
  const MarkAt found = FirstMark(text, namesBegin, {u", eds, ", u", ed, "});
  if (found.at == std::u16string_view::npos || found.at - namesBegin >= 160) return;
  const size_t role = found.at, roleEnd = found.end - 2;
  const std::u16string_view names = text.substr(namesBegin, role - namesBegin);
  if (std::any_of(names.begin(), names.end(), IsDigit) || names.find_first_of(u"()\u201C\u201D\"") != std::u16string_view::npos)
    return;
  bool more = false;
  if (Names(names, more).empty()) return;
  const size_t bookBegin = roleEnd + 2;
  size_t bookEnd = std::min(text.find(u" (", bookBegin), text.size());
  while (bookEnd > bookBegin && (text[bookEnd - 1] == u' ' || text[bookEnd - 1] == u',' || text[bookEnd - 1] == u'.')) --bookEnd;
  if (bookEnd <= bookBegin || !u_isupper(text[bookBegin])) return;
  for (Piece* p : {&r.container, &r.editors, &r.date, &r.volume, &r.pages, &r.publisher, &r.place, &r.note, &r.edition})
    if (!p->Empty() && p->begin >= in && p->end <= bookEnd + 1) *p = {};
  r.editors = {namesBegin, roleEnd};
  r.container = {bookBegin, bookEnd};
  r.journal = false;
}

// The book's editors and their role run into its name, where the labels
// found no editors ("in R. Murphy (dir.), British Cinema in the 90s"): the
// names up to the role are the editors, the book starts after it.
void EditorsOpenContainer(Reference& r) {
  if (r.container.Empty() || !r.editors.Empty()) return;
  const std::u16string_view name = r.Text(r.container);
  const std::u16string lower = LCase(name);
  for (std::u16string_view role : {u" (dir.), ", u" (eds.), ", u" (ed.), ", u" (hrsg.), ", u" (\u00E9d.), ", u" (eds), "}) {
    const size_t at = lower.find(role);
    if (at == std::u16string::npos || at == 0) continue;
    const std::u16string_view names = name.substr(0, at);
    if (std::any_of(names.begin(), names.end(), IsDigit) || Words(names).size() > 12) return;
    bool more = false;
    if (Names(names, more).empty()) return;
    const size_t book = r.container.begin + at + role.size();
    if (book >= r.container.end || !u_isupper(r.text[book])) return;
    r.editors = {r.container.begin, r.container.begin + at + role.size() - 2};
    r.container.begin = book;
    return;
  }
}

// A journal's volume after its name with no word before it, where the
// labels ran the name on into it ("Progress in Theoretical Biology 5,
// 1978, pp. 233-374"): a number of up to three digits that ends the name,
// where no volume was found and nothing of a book's is there.
void VolumeEndsJournalName(Reference& r) {
  if (r.container.Empty() || !r.volume.Empty() || !r.editors.Empty() || !r.publisher.Empty()) return;
  std::u16string_view name = r.Text(r.container);
  while (!name.empty() && (name.back() == u',' || name.back() == u' ')) name.remove_suffix(1);
  const size_t space = name.rfind(u' ');
  if (space == std::u16string_view::npos || space + 4 < name.size() || Words(name).size() < 3) return;
  const std::u16string_view number = name.substr(space + 1);
  if (number.empty() || !std::all_of(number.begin(), number.end(), IsDigit)) return;
  // After a word, not a comma (a page: "..., 66(1-B), 549"), nor an
  // abbreviation ("Nr. 80", an issue) or a series' word ("Special Paper 29").
  const size_t wordBegin = name.rfind(u' ', space - 1);
  const std::u16string word = LCase(name.substr(wordBegin == std::u16string_view::npos ? 0 : wordBegin + 1,
                                                space - (wordBegin == std::u16string_view::npos ? 0 : wordBegin + 1)));
  if (word.empty() || !std::all_of(word.begin(), word.end(), [](char16_t c) { return u_isalpha(c) != 0; })) return;
  for (std::u16string_view series : {u"paper", u"papers", u"report", u"series", u"bulletin", u"circular", u"memoir",
                                     u"publication", u"volume", u"vol", u"band", u"tome", u"part", u"no", u"nr"})
    if (word == series) return;
  // A meeting's number is its name's ("Proceedings of CHI 90").
  const std::u16string lower = LCase(name);
  for (std::u16string_view w : lexicon::kMeetingWords)
    if (lower.find(w) != std::u16string::npos) return;
  r.volume = {r.container.begin + space + 1, r.container.begin + name.size()};
  r.container.end = r.container.begin + space;
  r.journal = true;
}

// The last author's last initial the labels gave to the journal's name
// right after the names, no title between ("Amit, R.; Shoemaker, P. | J.
// Strategic Management Journal 1993, 14, 33-46"): the name's, unless the
// name goes on abbreviated ("Len, C. J. Org. Chem.").
void InitialOpensJournal(Reference& r) {
  if (r.authors.Empty() || r.container.Empty() || !r.title.Empty() || r.container.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  if (!Trim(text.substr(r.authors.end, r.container.begin - r.authors.end)).empty()) return;
  const std::u16string_view names = r.Text(r.authors);
  if (!names.ends_with(u'.') || names.find(u',') == std::u16string_view::npos) return;
  const std::vector<std::u16string_view> words = Words(r.Text(r.container));
  if (words.size() < 3 || words[0].size() != 2 || words[0][1] != u'.' || !u_isupper(words[0][0]) || words[1].ends_with(u'.'))
    return;
  r.authors.end = r.container.begin + 2;
  r.container.begin = static_cast<size_t>(words[1].data() - text.data());
}

// AMA's book with no full stop after it, "In: Editors, eds. Book Place:
// Publisher; Year:pages", where the book's span ran on over the place and
// publisher the labels found: the book ends before them.
void BookRunsIntoPlace(Reference& r, const std::vector<Token>& tokens, const std::vector<Label>& labels) {
  if (r.container.Empty()) return;
  size_t first = 0;
  while (first < tokens.size() && tokens[first].begin < r.container.begin) ++first;
  size_t last = first;
  while (last < tokens.size() && tokens[last].end <= r.container.end) ++last;
  if (last <= first + 1) return;
  // From the first place's word inside it to its end: place and publisher
  // only, the place's last word with a colon.
  size_t at = first + 1;
  while (at < last && labels[at] != Label::Location) ++at;
  if (at >= last) return;
  size_t colon = SIZE_MAX;
  for (size_t k = at; k < last; ++k) {
    if (labels[k] != Label::Location && labels[k] != Label::Publisher) return;
    if (colon == SIZE_MAX && tokens[k].text.ends_with(u':')) colon = k;
  }
  // (The place may end after the book's span: "... disorders Detroit, | MI:".)
  for (size_t k = last; colon == SIZE_MAX && k < std::min(tokens.size(), last + 3) && labels[k] == Label::Location; ++k)
    if (tokens[k].text.ends_with(u':')) colon = k;
  if (colon == SIZE_MAX || labels[colon] != Label::Location) return;
  // After the book's full stop, a place of a word or two only ("Gravimetry
  // and Geodesy. M.: Nauchnyi mir"): the book's second sentence may hold
  // words the labels took for a place ("Open Source Systems. Long-Term
  // Sustainability, Berlin:").
  if (tokens[at - 1].text.ends_with(u'.') && colon - at >= 2) return;
  r.place = {tokens[at].begin, tokens[colon].end};
  if (colon + 1 < last && (r.publisher.Empty() || r.publisher.begin >= tokens[last - 1].end))
    r.publisher = {tokens[colon + 1].begin, tokens[last - 1].end};
  r.container.end = tokens[at - 1].end;
  // A book, not a journal, where a place and its publisher follow.
  r.journal = false;
}

// A suffix after the first name's initials where the labels ended the
// names ("King, D. T. | Jr., Nethery, T.L., Petruny, L.W., Evidence of
// ..."): the suffix is the name's, and the "Family, Initials," pairs after
// it are names too; the title starts after the last.
void SuffixOpensTitle(Reference& r) {
  if (r.authors.Empty() || r.title.Empty() || r.title.begin < r.authors.end) return;
  const std::u16string_view text = r.text;
  if (!Trim(text.substr(r.authors.end, r.title.begin - r.authors.end)).empty()) return;
  const std::u16string_view title = r.Text(r.title);
  size_t at = 0;
  for (std::u16string_view suffix : {u"Jr., ", u"Jr, ", u"Sr., ", u"Sr, "})
    if (title.starts_with(suffix)) at = suffix.size();
  if (at == 0) return;
  size_t namesEnd = at - 2;  // after the suffix's comma... before it
  // Pairs of a family name and its initials, each with its comma.
  for (;;) {
    const size_t familyEnd = title.find(u',', at);
    if (familyEnd == std::u16string_view::npos) break;
    const std::u16string_view family = Trim(title.substr(at, familyEnd - at));
    if (!IsCapitalised(family) || family.find(u' ') != std::u16string_view::npos) break;
    size_t initialsBegin = familyEnd + 1;
    while (initialsBegin < title.size() && title[initialsBegin] == u' ') ++initialsBegin;
    size_t initialsEnd = initialsBegin;
    while (initialsEnd < title.size() && title[initialsEnd] != u',' && title[initialsEnd] != u' ') ++initialsEnd;
    if (!IsInitials(title.substr(initialsBegin, initialsEnd - initialsBegin))) break;
    namesEnd = initialsEnd;
    at = initialsEnd;
    while (at < title.size() && (title[at] == u',' || title[at] == u' ')) ++at;
  }
  const size_t begin = r.title.begin + std::max(at, namesEnd);
  if (begin >= r.title.end) return;
  r.authors.end = r.title.begin + namesEnd;
  r.title.begin = begin;
}

// "City, ST: Publisher" where the labels gave the city to the title before
// it, no mark between ("... of electronic media Cresskill, | NJ: Hampton
// Press"): the city is the place's, where the place is a region or a
// state's code and the title's last word, capitalised, ends with a comma.
void CityEndsTitle(Reference& r) {
  if (r.title.Empty() || r.place.Empty() || r.place.begin < r.title.end) return;
  const std::u16string_view text = r.text;
  if (!Trim(text.substr(r.title.end, r.place.begin - r.title.end)).empty()) return;
  std::u16string_view region = Trim(r.Text(r.place));
  if (!region.ends_with(u':')) return;
  region.remove_suffix(1);
  const bool code = region.size() == 2 && u_isupper(region[0]) && u_isupper(region[1]);
  if (!code && !lexicon::HasSorted(lexicon::kRegions, region)) return;
  std::u16string_view title = r.Text(r.title);
  while (!title.empty() && title.back() == u' ') title.remove_suffix(1);
  if (!title.ends_with(u',')) return;
  const size_t space = title.rfind(u' ');
  if (space == std::u16string_view::npos) return;
  const std::u16string_view city = title.substr(space + 1, title.size() - space - 2);
  if (city.size() < 3 || !u_isupper(city[0]) || !std::all_of(city.begin() + 1, city.end(), [](char16_t c) {
        return u_islower(c) || c == u'-';
      }))
    return;
  // A region's name only after a title written in sentence case, its word
  // before the city in small letters: in a title-case title the last word
  // may be the title's ("the Life Course, | New Brunswick:"); a state's
  // code follows a city ("Robot Vision Cambridge, | MA:").
  const size_t end = space;
  if (end == 0 || text[r.title.begin + end - 1] == u',' || text[r.title.begin + end - 1] == u'.') return;
  const size_t before = title.rfind(u' ', end - 1);
  const size_t wordBegin = before == std::u16string_view::npos ? 0 : before + 1;
  if (!u_islower(title[wordBegin]) && !code) return;
  r.place.begin = r.title.begin + space + 1;
  r.title.end = r.title.begin + end;
}

// The journal's name the labels gave to the volume after it, with no
// journal found ("M. Blair, ABR, 55 (2007) 1-12."): the words before the
// number's comma are the journal's.
void JournalInVolume(Reference& r) {
  if (!r.container.Empty() || r.volume.Empty()) return;
  const std::u16string_view volume = r.Text(r.volume);
  if (volume.empty() || !u_isupper(volume[0])) return;
  const size_t comma = volume.rfind(u", ");
  if (comma == std::u16string_view::npos || comma == 0 || comma + 2 >= volume.size() || !IsDigit(volume[comma + 2])) return;
  const std::u16string_view name = volume.substr(0, comma);
  if (std::any_of(name.begin(), name.end(), IsDigit) || Words(name).size() > 8) return;
  // Not a volume in Roman numerals ("II, 1"), nor a volume's own word
  // ("Vol., 3", "Band, 5").
  if (std::all_of(name.begin(), name.end(), [](char16_t c) { return std::u16string_view(u"IVXLCDM").find(c) != std::u16string_view::npos; }))
    return;
  std::u16string first = LCase(Words(name)[0]);
  if (first.ends_with(u'.')) first.pop_back();
  if (IsVolumeWord(first)) return;
  r.container = {r.volume.begin, r.volume.begin + comma};
  r.volume.begin += comma + 2;
  r.journal = true;
}

// No title found, the container right after the names, and a volume that
// holds words before its number ("Turing, Alan, | Computing Machinery
// and Intelligence, | Mind 59, | pp 433\u2013460"): the container is the
// title, and the volume's words are the journal's name.
void JournalNameInVolume(Reference& r) {
  if (!r.title.Empty() || r.authors.Empty() || r.container.Empty() || r.volume.Empty()) return;
  const std::u16string_view text = r.text;
  if (r.container.begin < r.authors.end || r.volume.begin < r.container.end) return;
  if (Trim(text.substr(r.authors.end, r.container.begin - r.authors.end)).find_first_not_of(u".,:") != std::u16string_view::npos ||
      Trim(text.substr(r.container.end, r.volume.begin - r.container.end)).find_first_not_of(u".,") != std::u16string_view::npos)
    return;
  const std::u16string_view volume = r.Text(r.volume);
  const size_t space = volume.rfind(u' ');
  if (space == std::u16string_view::npos || space == 0 || space + 1 >= volume.size() || !IsDigit(volume[space + 1])) return;
  const std::u16string_view name = Trim(volume.substr(0, space));
  if (name.empty() || !u_isupper(name[0]) || std::any_of(name.begin(), name.end(), IsDigit) || Words(name).size() > 6) return;
  std::u16string first = LCase(Words(name)[0]);
  if (first.ends_with(u'.')) first.pop_back();
  if (IsVolumeWord(first)) return;
  r.title = r.container;
  r.container = {r.volume.begin, r.volume.begin + space};
  r.volume.begin += space + 1;
  r.journal = true;
}

// No title found, and a place that runs from the names over a bracket
// to the place in it ("(eds.), | Tannh\u00E4user: Texte, Materialien,
// Kommentare (Hamburg: | Rowohlt, 1986)"), as Chicago's notes put the
// place, publisher and year in brackets: the words before the bracket are
// the title.
void TitleBeforePlaceBracket(Reference& r) {
  if (!r.title.Empty() || r.place.Empty()) return;
  const std::u16string_view place = r.Text(r.place);
  const size_t open = place.rfind(u" (");
  if (open == std::u16string_view::npos || open == 0 || place.find(u')', open) != std::u16string_view::npos) return;
  const std::u16string_view inside = Trim(place.substr(open + 2));
  if (inside.empty() || !u_isupper(inside[0]) || Words(inside).size() > 4) return;
  size_t begin = r.place.begin;
  while (begin < r.place.end && !u_isalnum(r.text[begin]) && !IsQuote(r.text[begin])) ++begin;
  if (begin >= r.place.begin + open) return;
  r.title = {begin, r.place.begin + open};
  r.place.begin += open + 2;
}

// The AMS's chapter, "Title. Book, Editors, Ed., Publisher, pages." (no
// "In", the editors' role after their names and a comma): the book runs
// from the title's full stop to the editors' names, which run to the role.
void BookBeforeEditorsRole(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  // The title's full stop: its end, or the last inside it (the labels may
  // run the title on into the book).
  const MarkAt found = FirstMark(text, r.title.begin, {u", Eds., ", u", Ed., ", u", eds., ", u", ed., "});
  if (found.at == std::u16string_view::npos || found.at - r.title.begin > 400) return;
  const size_t role = found.at, roleEnd = found.end - 2;
  // The names: parts between commas and "and" of initials and a family name.
  const auto isName = [](std::u16string_view part) {
    part = Trim(part);
    if (part.starts_with(u"and ")) part.remove_prefix(4);
    const std::vector<std::u16string_view> words = Words(part);
    if (words.size() < 2 || words.size() > 5) return false;
    for (size_t k = 0; k + 1 < words.size(); ++k)
      if (!IsInitials(words[k])) return false;
    return u_isupper(words.back()[0]) && !IsInitials(words.back()) &&
           std::none_of(words.back().begin(), words.back().end(), IsDigit);
  };
  size_t namesBegin = role;
  for (;;) {
    if (namesBegin < 3) break;
    const size_t comma = text.rfind(u", ", namesBegin - 3);
    if (comma == std::u16string_view::npos || comma <= r.title.begin) break;
    std::u16string_view part = text.substr(comma + 2, namesBegin - comma - 2);
    // "P. Ng and R. Ho": the last two names with no comma between.
    bool all = false;
    if (const size_t andAt = part.find(u" and "); andAt != std::u16string_view::npos)
      all = isName(part.substr(0, andAt)) && isName(part.substr(andAt + 5));
    else
      all = isName(part);
    if (!all) break;
    namesBegin = comma + 2;
  }
  if (namesBegin == role) return;
  const size_t bookEnd = namesBegin - 2;
  size_t bookBegin = r.title.end;
  size_t titleEnd = r.title.end;
  size_t titleBegin = r.title.begin;
  // (Or its question mark and a comma, as styles that part everything by
  // commas write it: "Why Did American Businesses Get So Big?, Major
  // Problems in American Business History, R. Blaszczyk and P. Scranton,
  // Eds.".)
  bool asked = false;
  size_t labelledEnd = r.title.end;
  while (labelledEnd > r.title.begin && (text[labelledEnd - 1] == u' ' || text[labelledEnd - 1] == u',')) --labelledEnd;
  // The labels took the book for the title, the title before it left in
  // no part, a comma after it ("P. Ford-Martin, Cognitive-Behavioral
  // Therapy, Gale encyclopedia of mental disorders, E. Thackery and M.
  // Harris, Eds.").
  bool bookForTitle = false;
  if (!r.authors.Empty() && r.authors.end < r.title.begin && labelledEnd <= bookEnd) {
    const size_t gap = BeforeSpaces(text, r.title.begin, r.authors.end);
    size_t from = r.authors.end;
    while (from < gap && text[from] == u' ') ++from;
    bookForTitle = gap > from + 3 && text[gap - 1] == u',' && text[BeforeSpaces(text, r.authors.end, 0) - 1] == u',' &&
                   u_isupper(text[from]) && text[r.title.end - 1] == u',';
    for (const Piece* p : PiecesOf(r))
      bookForTitle = bookForTitle && (p->Empty() || p->end <= from || p->begin >= gap);
    if (bookForTitle) {
      titleBegin = from;
      titleEnd = gap - 1;
      bookBegin = r.title.begin;
      asked = true;
    }
  }
  if (!bookForTitle && labelledEnd >= bookEnd) {
    size_t stop = text.substr(0, bookEnd).rfind(u". ");
    if (stop == std::u16string_view::npos || stop <= r.title.begin) {
      stop = text.substr(0, bookEnd).rfind(u"?, ");
      if (stop == std::u16string_view::npos || stop <= r.title.begin) return;
      asked = true;
      bookBegin = stop + 3;
    } else {
      bookBegin = stop + 2;
    }
    titleEnd = stop + 1;
  }
  while (bookBegin < bookEnd && text[bookBegin] == u' ') ++bookBegin;
  // ("In" that brings it is not the book's.)
  for (std::u16string_view in : {u"In ", u"in "})
    if (text.substr(bookBegin, 3) == in) bookBegin += 3;
  if (bookBegin >= bookEnd || !u_isupper(text[bookBegin]) || (text[titleEnd - 1] != u'.' && !asked)) return;
  // Only words between: no date, volume or pages there.
  for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.doi, &r.url})
    if (!p->Empty() && p->begin < roleEnd && p->end > bookBegin) return;
  for (Piece* p : {&r.container, &r.editors, &r.publisher, &r.place, &r.note, &r.edition})
    if (!p->Empty() && p->begin < roleEnd && p->end > bookBegin) *p = {};
  r.title = {titleBegin, titleEnd};
  r.container = {bookBegin, bookEnd};
  r.editors = {namesBegin, roleEnd};
  r.journal = false;
}

// Where the editors' names that end the words begin, read back from their
// end: each initials, then a family name, parted by commas and "and"
// ("R. Moodley, C. Lago, and A. Talahite"). words.size() when the last
// words are no name; nullopt when the names take all of them, or the
// words before them are no name's though they seem to go on.
std::optional<size_t> EditorNamesBegin(const std::vector<std::pair<size_t, std::u16string_view>>& words) {
  const auto isFamily = [](std::u16string_view w) {
    return w.size() >= 2 && u_isupper(w[0]) && !IsInitials(w) && std::none_of(w.begin(), w.end(), IsDigit) &&
           std::any_of(w.begin(), w.end(), [](char16_t c) { return u_islower(c); });
  };
  size_t k = words.size();  // the names begin at words[k]
  for (;;) {
    if (k < 2) return std::nullopt;
    std::u16string_view family = words[k - 1].second;
    if (family.ends_with(u',')) family.remove_suffix(1);
    if (!isFamily(family)) break;
    size_t j = k - 1;
    while (j > 0 && IsInitials(words[j - 1].second)) --j;
    if (j == k - 1) break;  // no initials before it: no name
    k = j;
    // Another name before this one: after "and", or after a comma.
    if (k > 0 && words[k - 1].second == u"and") {
      if (k < 2) return std::nullopt;
      --k;
      const std::u16string_view before = words[k - 1].second;
      if (!before.ends_with(u',') && !isFamily(before)) return std::nullopt;
      continue;
    }
    if (k > 0 && words[k - 1].second.ends_with(u',')) {
      std::u16string_view before = words[k - 1].second;
      before.remove_suffix(1);
      if (isFamily(before) && k >= 2 && IsInitials(words[k - 2].second)) continue;
    }
    break;
  }
  if (k == 0) return std::nullopt;
  return k;
}

// Gives the book and its editors to a chapter: the book's piece, the
// editors' from their names to their role's end. Not where a date, volume,
// pages or a link stand there; the parts the labels put there are
// cleared from `clearFrom` on.
bool GiveBookAndEditors(Reference& r, Piece book, Piece editors, size_t clearFrom) {
  for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.doi, &r.url})
    if (!p->Empty() && p->begin < editors.end && p->end > book.begin) return false;
  for (Piece* p : {&r.container, &r.editors, &r.publisher, &r.place, &r.note, &r.edition})
    if (!p->Empty() && p->begin < editors.end && p->end > clearFrom) *p = {};
  r.container = book;
  r.editors = editors;
  r.journal = false;
  return true;
}

// A chapter whose book, after ", in", runs straight into its editors'
// names, their role after them in brackets: "..., in Elements of Grammar
// L. Haegeman (Editor), Kluwer, 73\u2013137.", "in The Culture of National
// Security P. J. Katzenstein, and R. Moodley (Editors), ...". The names
// are read back from the role; the book is what stands between "in" and
// them.
void BookRunsIntoEditors(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  const MarkAt found = FirstMark(text, r.title.begin, {u" (Editors)", u" (Editor)", u" (Eds.)", u" (Ed.)"});
  if (found.at == std::u16string_view::npos) return;
  const size_t role = found.at, roleEnd = found.end;
  const size_t comma = text.find(u", in ", r.title.begin);
  if (comma == std::u16string_view::npos || comma >= role || role - comma > 400) return;
  const size_t in = comma + 1;
  const auto words = WordsAt(text, in + 4, role);
  const auto k = EditorNamesBegin(words);
  // A book of one word at least before the names, not ended by a comma
  // (the AMS's "Book, L. Haegeman, Ed." is read elsewhere).
  if (!k || *k == words.size() || words[*k - 1].second.ends_with(u',')) return;
  const size_t bookBegin = words[0].first, bookEnd = words[*k - 1].first + words[*k - 1].second.size();
  if (!u_isupper(text[bookBegin])) return;
  // The title ends before ", in".
  const Piece title = r.title;
  if (!GiveBookAndEditors(r, {bookBegin, bookEnd}, {words[*k].first, roleEnd}, in)) return;
  if (title.end > in) {
    size_t end = in;
    while (end > title.begin && (text[end - 1] == u',' || text[end - 1] == u' ')) --end;
    r.title.end = end;
  }
}

// A chapter with "In" before its book and the editors after it, each
// name family first with its initials, their role in brackets: "Title? In
// Major Problems in American Business History, Blaszczyk R & Scranton P
// (eds) pp 257\u2013263.", "In: Geothermal Energy, Jones K, Brown P (eds)".
void InBookThenEditors(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  size_t in = std::u16string_view::npos, bookBegin = 0;
  for (size_t at = text.find(u" In", r.title.begin); at != std::u16string_view::npos; at = text.find(u" In", at + 1)) {
    if (at == 0 || std::u16string_view(u".?!").find(text[at - 1]) == std::u16string_view::npos) continue;
    if (text.substr(at, 4) == u" In ") in = at, bookBegin = at + 4;
    else if (text.substr(at, 5) == u" In: ") in = at, bookBegin = at + 5;
    else continue;
    break;
  }
  if (in == std::u16string_view::npos || in > r.title.end + 2) return;
  const size_t comma = text.find(u", ", bookBegin);
  if (comma == std::u16string_view::npos || comma == bookBegin || !u_isupper(text[bookBegin])) return;
  const MarkAt found = FirstMark(text, comma, {u" (eds)", u" (ed)", u" (Eds.)", u" (Ed.)", u" (eds.)", u" (ed.)"});
  if (found.at == std::u16string_view::npos || found.at - comma > 120) return;
  const size_t role = found.at, roleEnd = found.end;
  // Every name a family name and its initials with no full stops, as
  // Vancouver writes them (APA's "In Cowan, J. D., & Tesauro, G. (Eds.),
  // Book" and "In L. R. Bergman, ... (Eds.)" name the editors first); the
  // book of two words at least, none of them initials.
  const std::u16string_view names = text.substr(comma + 2, role - comma - 2);
  if (std::any_of(names.begin(), names.end(), [](char16_t c) { return IsDigit(c) || c == u'.'; })) return;
  const auto bookWords = WordsAt(text, bookBegin, comma);
  if (bookWords.size() < 2 || std::any_of(bookWords.begin(), bookWords.end(), [](const auto& w) {
        return IsInitials(w.second) && w.second.find(u'.') != std::u16string_view::npos;
      }))
    return;
  // Nor a name, the editors first with the book after their role (ASM's
  // "In Beran GW, Steele JH (ed), Handbook of Zoonoses").
  const std::u16string_view lastWord = bookWords.back().second;
  if ((lastWord.size() <= 3 && std::all_of(lastWord.begin(), lastWord.end(), [](char16_t c) { return u_isupper(c); })) ||
      (roleEnd < text.size() && text[roleEnd] == u','))
    return;
  bool more = false;
  if (!AllWithInitials(Names(names, more))) return;
  for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.doi, &r.url})
    if (!p->Empty() && p->begin < roleEnd && p->end > in) return;
  for (Piece* p : {&r.container, &r.editors, &r.publisher, &r.place, &r.note, &r.edition})
    if (!p->Empty() && p->begin < roleEnd && p->end > in) *p = {};
  if (r.title.end > in) r.title.end = in;
  r.container = {bookBegin, comma};
  r.editors = {comma + 2, roleEnd};
  r.journal = false;
}

// ACM's chapter, "Title. Book. J. Marques-Teixeira and S. Antunes, eds.
// Publisher. 113\u2013118.": the editors' names after the book's full stop,
// their role after a comma; the title ends at its first full stop.
void AcmChapter(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view text = r.text;
  const MarkAt found = FirstMark(text, r.title.begin, {u", eds. ", u", ed. "});
  if (found.at == std::u16string_view::npos) return;
  const size_t role = found.at, roleEnd = found.end - 1;
  if (role - r.title.begin > 500 || roleEnd + 1 >= text.size() || !u_isupper(text[roleEnd + 1])) return;
  const auto words = WordsAt(text, r.title.begin, role);
  const auto k = EditorNamesBegin(words);
  if (!k || *k == words.size() || *k < 2 || !words[*k - 1].second.ends_with(u'.')) return;
  // The title's full stop: the first after a word that is no initial,
  // before a capital.
  size_t titleEnd = 0, bookBegin = 0;
  for (size_t i = 0; i + 1 < *k; ++i) {
    const std::u16string_view w = words[i].second;
    if (w.size() >= 3 && w.back() == u'.' && !IsInitials(w) && u_isupper(words[i + 1].second[0])) {
      titleEnd = words[i].first + w.size() - 1;
      bookBegin = words[i + 1].first;
      break;
    }
  }
  if (bookBegin == 0) return;
  // ("In" that brings it, as American Anthropologist writes it, is not the
  // book's.)
  if (text.substr(bookBegin, 3) == u"In " || text.substr(bookBegin, 3) == u"in ") bookBegin += 3;
  const size_t bookEnd = words[*k - 1].first + words[*k - 1].second.size() - 1;
  if (bookEnd <= bookBegin) return;
  if (!GiveBookAndEditors(r, {bookBegin, bookEnd}, {words[*k].first, roleEnd}, bookBegin)) return;
  r.title.end = titleEnd;
}

// ABNT's "[s. l.]" (no place known) after a journal's name, where the
// labels took the mark for the journal and gave its name to no part
// ("Title? Recherches qualitatives, [s. l.], v. 5"): the mark is the
// place, the words before it the journal.
void NoPlaceIsNoContainer(Reference& r) {
  if (r.container.Empty()) return;
  std::u16string_view mark = Trim(r.Text(r.container));
  while (!mark.empty() && (mark.back() == u',' || mark.back() == u'.')) mark.remove_suffix(1);
  if (mark != u"[s. l.]" && mark != u"[S. l.]" && mark != u"[s.l.]" && mark != u"[S.l.]") return;
  const std::u16string_view text = r.text;
  const size_t markBegin = r.container.begin, markEnd = markBegin + mark.size();
  if (r.place.Empty()) r.place = {markBegin, markEnd};
  r.container = {};
  // The words between the part before and the mark.
  size_t from = 0;
  for (const Piece* p : {&r.authors, &r.title, &r.date, &r.editors})
    if (!p->Empty() && p->end <= markBegin) from = std::max(from, p->end);
  while (from < markBegin && (text[from] == u' ' || text[from] == u'.')) ++from;
  size_t to = markBegin;
  while (to > from && (text[to - 1] == u' ' || text[to - 1] == u',')) --to;
  if (to <= from || !u_isupper(text[from]) || text.substr(from, to - from).find(u". ") != std::u16string_view::npos) return;
  for (const Piece* p : {&r.volume, &r.pages, &r.publisher, &r.note, &r.doi, &r.url})
    if (!p->Empty() && p->begin < to && p->end > from) return;
  r.container = {from, to};
}

// A date bracket with the letter that tells two works of a year apart
// after it ("(1989)b An Overview of ..."), which the labels gave to the
// title: the date's.
void YearLetterAfterBracket(Reference& r) {
  if (r.title.Empty()) return;
  const std::u16string_view title = r.Text(r.title);
  // "(1989)b " opening the title, or "b " right after the date's bracket.
  size_t letter = std::u16string_view::npos;
  if (title.size() > 9 && title[0] == u'(' && title[5] == u')' && FirstYear(title.substr(1, 4)) == title.substr(1, 4))
    letter = 6;
  else if (!r.date.Empty() && r.date.end == r.title.begin && r.Text(r.date).ends_with(u')'))
    letter = 0;
  if (letter == std::u16string_view::npos || letter + 2 >= title.size() || title[letter] < u'a' || title[letter] > u'z' ||
      title[letter + 1] != u' ')
    return;
  if (letter == 6) r.date = {r.title.begin, r.title.begin + 7};
  else r.date.end = r.title.begin + 1;
  r.title.begin += letter + 2;
}

// A German edition's number set before the year as a superscript, which
// the extracted text joins to it ("Harlow, England 22008.", "London
// 21871."): the year is the last four digits, where five digits end the
// reference and no year was found.
void EditionBeforeYear(Reference& r) {
  if (!FirstYear(r.Text(r.date)).empty()) return;
  const std::u16string_view text = r.text;
  size_t end = text.size();
  while (end > 0 && (text[end - 1] == u'.' || text[end - 1] == u' ')) --end;
  if (end < 6) return;
  const size_t begin = end - 5;
  if ((begin > 0 && text[begin - 1] != u' ') || !std::all_of(text.begin() + static_cast<long>(begin), text.begin() + static_cast<long>(end), IsDigit) ||
      text[begin] == u'0' || text[begin] == u'1')
    return;
  if (FirstYear(text.substr(begin + 1, 4)) != text.substr(begin + 1, 4)) return;
  // After a place's word, not a number's.
  if (begin < 2 || !IsLetterUnit(text[begin - 2])) return;
  for (Piece* p : {&r.volume, &r.pages, &r.note, &r.number})
    if (!p->Empty() && p->begin < end && p->end > begin) *p = {};
  r.date = {begin + 1, end};
  if (r.edition.Empty()) r.edition = {begin, begin + 1};
}

Reference Parse(std::u16string_view pasted, const smart::Dictionary& dictionary) {
  return Parse(pasted, dictionary, Model::BuiltIn());
}

Reference Parse(std::u16string_view pasted, const smart::Dictionary& dictionary, const Model& model) {
  Reference r;
  r.text = TrimmedLine(smart::RepairText(pasted, dictionary));
  // A list's number glued to the first initial ("10.A. Paquette",
  // "[151]S. S. Abbas"), as some extractors and styles leave it: a space
  // between them, so that the number is read as one.
  {
    size_t digits = r.text.starts_with(u'[') ? 1 : 0;
    const size_t from = digits;
    while (digits < r.text.size() && IsDigit(r.text[digits])) ++digits;
    const bool closed = from == 1 ? digits < r.text.size() && r.text[digits] == u']' : digits < r.text.size() && r.text[digits] == u'.';
    if (digits > from && digits - from <= 3 && closed && digits + 2 < r.text.size() && u_isupper(r.text[digits + 1]) &&
        (r.text[digits + 2] == u'.' || u_islower(r.text[digits + 2])))
      r.text.insert(digits + 1, 1, u' ');
  }
  // No reference is this long: the labeller reads the first words only
  // (its memory and time grow with what it reads), and the writers keep
  // the rest in the note, so that nothing is lost.
  // The editors' role glued to the book's name after it ("eds.The Politics
  // of ..."): a space between, so that the name is a word of its own. (Not
  // "Ed.", which also shortens a publisher's "\u00C9ditions": "Ed.Alternatives".)
  for (std::u16string_view role : {u" eds.", u" Eds.", u" ed."})
    for (size_t at = r.text.find(role); at != std::u16string::npos; at = r.text.find(role, at + role.size())) {
      const size_t next = at + role.size();
      if (next + 1 < r.text.size() && u_isupper(r.text[next]) && u_islower(r.text[next + 1])) r.text.insert(next, 1, u' ');
    }
  // A year's bracket glued to the title after it ("(1997)Cybertext", as
  // some styles print it): a space between, so that the year is a word of
  // its own and the title's first word is not lost to it.
  for (size_t at = r.text.find(u')'); at != std::u16string::npos; at = r.text.find(u')', at + 1)) {
    // (Not a year's letter after its bracket, "(1989)b Title".)
    if (at + 2 >= r.text.size() || !(u_isalpha(r.text[at + 1]) || IsQuote(r.text[at + 1])) || !u_isalpha(r.text[at + 2]))
      continue;
    size_t open = at;
    if (open > 0 && u_islower(r.text[open - 1])) --open;  // "(1984b)"
    if (open < 5 || r.text[open - 5] != u'(' || !std::all_of(r.text.begin() + static_cast<long>(open) - 4,
                                                           r.text.begin() + static_cast<long>(open), IsDigit))
      continue;
    if (FirstYear(std::u16string_view(r.text).substr(open - 4, 4)).empty()) continue;
    r.text.insert(at + 1, 1, u' ');
  }
  // A year after a word's comma with no space, as Chinese typesetting
  // writes GB/T 7714 ("Glob Ecol Biogeogr,2011, 20(1):170\u2013180"): a
  // space after the comma, so that the year is a word of its own.
  for (size_t at = r.text.find(u','); at != std::u16string::npos; at = r.text.find(u',', at + 1)) {
    if (at == 0 || at + 5 > r.text.size() || !(u_isalpha(r.text[at - 1]) || r.text[at - 1] == u'.')) continue;
    const std::u16string_view four = std::u16string_view(r.text).substr(at + 1, 4);
    if (FirstYear(four) != four || (at + 5 < r.text.size() && IsDigit(r.text[at + 5]))) continue;
    // (Not inside a bracket, a date's own: "(Summer,1994)".)
    const std::u16string_view before = std::u16string_view(r.text).substr(0, at);
    if (std::count(before.begin(), before.end(), u'(') > std::count(before.begin(), before.end(), u')')) continue;
    r.text.insert(at + 1, 1, u' ');
  }
  const std::vector<Token> tokens = Tokenize(r.text, kMostWords);
  if (tokens.empty()) return r;
  if (!model.Valid()) return r;
  // A list's number as "5)" or bare "15" reads as the "5." that numbered
  // styles print, which the labels learnt.
  std::u16string listNumber;
  std::vector<Token> renumbered;
  if (tokens.size() > 1) {
    std::u16string_view t = tokens[0].text;
    const bool bracket = t.size() >= 2 && t.back() == u')' && t.front() != u'(';
    if (bracket) t.remove_suffix(1);
    // Not a year that opens the reference ("2001 Susan Schech and ...").
    if (!t.empty() && t.size() <= (bracket ? 4u : 3u) && std::all_of(t.begin(), t.end(), IsDigit) &&
        (bracket || u_isupper(tokens[1].text[0]))) {
      listNumber = std::u16string(t) + u".";
      renumbered = tokens;
      renumbered[0].text = listNumber;
    }
  }
  const Analysis a = Analyse(renumbered.empty() ? tokens : renumbered);
  const Look look = model.Tag(a, Features(a));
  const auto run = [&](Label want) -> Piece {
    size_t i = 0;
    while (i < tokens.size() && look.labels[i] != want) ++i;
    if (i == tokens.size()) return {};
    size_t j = i;
    while (j + 1 < tokens.size() && look.labels[j + 1] == want) ++j;
    return {tokens[i].begin, tokens[j].end};
  };
  const auto chosen = [&](Label want) -> Piece {
    const auto span = model.Choose(a, look, want);
    if (!span) return {};
    return {tokens[span->first].begin, tokens[span->last].end};
  };
  r.citationNumber = run(Label::CitationNumber);
  r.authors = chosen(Label::Author);
  r.title = chosen(Label::Title);
  QuotedTitleWhole(r);
  QuotationInsideTitle(r, tokens, look.labels);
  r.editors = run(Label::Editor);
  r.date = run(Label::Date);
  r.container = chosen(Label::Journal);
  r.journal = !r.container.Empty();
  if (r.container.Empty()) r.container = chosen(Label::Container);
  // The words right before it that the labels gave to a journal or a book
  // are the name's too, where the chooser took its end only, or the labels
  // gave its halves two labels ("2010 Annual Conference and Exhibit of |
  // the American Water Works Association", "Foundations of Probability
  // Theory, | Statistical Inference and ...").
  if (!r.container.Empty()) {
    size_t i = 0;
    while (i < tokens.size() && tokens[i].begin < r.container.begin) ++i;
    const size_t first = i;
    // No number but a year alone, where the date holds one too (a volume
    // or a date the labels ran on into the name stays out), no bracket.
    const auto joins = [&](size_t k) {
      if (look.labels[k] != Label::Journal && look.labels[k] != Label::Container) return false;
      const std::u16string_view t = tokens[k].text;
      if (t.front() == u'(' || t.front() == u'[') return false;
      if (std::none_of(t.begin(), t.end(), IsDigit)) return true;
      return t.size() == 4 && std::all_of(t.begin(), t.end(), IsDigit) && !FirstYear(r.Text(r.date)).empty();
    };
    while (i > 0 && joins(i - 1)) --i;
    if (i < first && i < tokens.size()) r.container.begin = tokens[i].begin;
  }
  // A meeting's name that opens with its year ("2013 IEEE international
  // conference on ...", "2010 Annual Conference ..."), the year taken for
  // the date: it is the name's where a date after the name holds the year.
  if (const std::u16string_view year = r.Text(r.date);
      !r.container.Empty() && r.date.end < r.container.begin && year.size() == 4 && FirstYear(year) == year &&
      Trim(std::u16string_view(r.text).substr(r.date.end, r.container.begin - r.date.end)).empty()) {
    size_t k = 0;
    while (k < tokens.size() && tokens[k].begin < r.container.end) ++k;
    while (k < tokens.size() && !(look.labels[k] == Label::Date && !FirstYear(tokens[k].text).empty())) ++k;
    if (k < tokens.size()) {
      size_t last = k;
      while (last + 1 < tokens.size() && look.labels[last + 1] == Label::Date) ++last;
      r.container.begin = r.date.begin;
      r.date = {tokens[k].begin, tokens[last].end};
    }
  }
  r.volume = run(Label::Volume);
  r.pages = run(Label::Pages);
  r.publisher = run(Label::Publisher);
  r.place = run(Label::Location);
  r.edition = run(Label::Edition);
  r.doi = run(Label::Doi);
  r.url = run(Label::Url);
  r.note = run(Label::Note);
  // An editor's role right after the names in the author's place
  // ("Browne PRL, editor."): the names' own, so that they become editors.
  if (!r.authors.Empty()) {
    size_t i = r.authors.end;
    while (i < r.text.size() && (r.text[i] == u' ' || r.text[i] == u',')) ++i;
    size_t j = i;
    while (j < r.text.size() && r.text[j] != u' ') ++j;
    if (j > i && IsEditorRoleWord(LCase(std::u16string_view(r.text).substr(i, j - i)))) r.authors.end = j;
  }
  RoleEndsLeadingNames(r);

  // The title, the authors and the journal or book are chosen among spans
  // that may reach into the parts around them: those parts give way, so
  // no two pieces overlap.
  const auto giveWay = [&](Piece& p, const Piece& to) {
    if (p.Empty() || to.Empty() || p.end <= to.begin || to.end <= p.begin) return;
    if (p.begin >= to.begin) p.begin = std::min(p.end, to.end);
    else p.end = to.begin;
    while (p.begin < p.end && (r.text[p.begin] == u' ' || r.text[p.begin] == u',')) ++p.begin;
    while (p.end > p.begin && r.text[p.end - 1] == u' ') --p.end;
    if (p.begin == p.end) p = {};
  };
  giveWay(r.title, r.authors);
  AuthorsMeetTitle(r, dictionary);
  NamesEndAtColon(r);
  VancouverNamesColon(r);
  DashBeforeTitle(r);
  GermanEtAl(r);
  QuoteOpensTitle(r);
  DashIsTheNames(r);
  DateBracketOpensTitle(r);
  NamesRunIntoTitle(r);
  TitleInNoPiece(r);
  VancouverMeetsTitle(r);
  VancouverAuthorsEnd(r);
  OscolaNamesEnd(r);
  GivenFirstMeetsTitle(r);
  for (Piece* p : {&r.citationNumber, &r.editors, &r.date, &r.container, &r.volume, &r.pages, &r.publisher,
                   &r.place, &r.edition, &r.doi, &r.url, &r.note}) {
    giveWay(*p, r.authors);
    giveWay(*p, r.title);
  }
  // The journal's or book's name gives way to the numbers and links the
  // labels found around it; the other parts give way to it.
  for (const Piece* p : {&r.date, &r.volume, &r.pages, &r.doi, &r.url}) giveWay(r.container, *p);
  for (Piece* p : {&r.citationNumber, &r.editors, &r.publisher, &r.place, &r.edition, &r.note}) giveWay(*p, r.container);
  ConferenceMeeting(r);
  StandardFirst(r, giveWay);
  BracketAfterTitle(r, giveWay);
  TitleBeforeDoubleSlash(r);
  BookTitleAsContainer(r);
  GenreAfterTitle(r);
  ContainerAfterIn(r);
  ContainerBeforeEditedBy(r);
  ContainerAfterQuotedTitle(r);
  NatureEditorsBracket(r, giveWay);
  BookAfterEditorsRole(r);
  PublisherEndsBookName(r);
  PublisherColonPlace(r);
  PublisherInPlace(r);
  PublisherInBracket(r);
  TranslatorBeforePublisher(r);
  EditionBeforePublisher(r);
  AcronymAfterContainer(r, giveWay);
  ContainerBeforeStopSemicolon(r);
  MeetingNameWithNumbers(r);
  PublisherEndsContainerMla(r);
  NatureTail(r);
  EndsBeforeDateBracket(r, &Reference::title);
  EndsBeforeDateBracket(r, &Reference::container);
  OscolaChapter(r, giveWay);
  ScienceBookTitle(r);
  GsaTitleColon(r);
  KargerChapter(r);
  TitleAloneAfterYear(r);
  BookBeforeEditorsNoIn(r);
  // "In:" that brings the journal or book is no part of the title before
  // it ("A Critical Review. In: Journal of Economic Literature").
  for (std::u16string_view in : {u" In:", u" in:"})
    if (!r.title.Empty() && r.Text(r.title).ends_with(in) && r.title.end - r.title.begin > in.size() + 1)
      r.title.end -= in.size();
  LawJournalNumbers(r);
  TitleRunsIntoBook(r);
  BookInNoPiece(r);
  // "In: Proceedings of ...": the word that introduces the container is
  // not part of it.
  // (And "In:, " where a style printed no editors between.)
  for (std::u16string_view in : {u"In:, ", u"In. ", u"In: ", u"In ", u"in: ", u"in ", u"dans ", u"Dans ", u"Em: ", u"En: ",
                                  u"i ", u"in, "})
    if (r.Text(r.container).starts_with(in) && r.container.end - r.container.begin > in.size()) r.container.begin += in.size();
  // Nor is the word that introduces the volume right after it ("...
  // Linguistics Volume 22", "Vol."): it goes to the volume.
  if (!r.volume.Empty() && !r.container.Empty()) {
    size_t end = r.container.end;
    while (end > r.container.begin && r.text[end - 1] == u' ') --end;
    const size_t space = r.text.rfind(u' ', end - 1);
    if (space != std::u16string::npos && space > r.container.begin && r.volume.begin >= end &&
        Trim(r.text.substr(end, r.volume.begin - end)).empty()) {
      std::u16string word = LCase(r.text.substr(space + 1, end - space - 1));
      // Turkish styles' "C." (cilt) after a comma: "Zoologischer Anzeiger,
      // C. 23 (1900)"; not a section's letter ("J. Phys. C 12").
      const bool cilt = word == u"c." && r.text[space - 1] == u',';
      if (word.ends_with(u'.')) word.pop_back();
      if (IsVolumeWord(word) || cilt) {
        r.volume.begin = space + 1;
        r.container.end = space;
        while (r.container.end > r.container.begin && r.text[r.container.end - 1] == u' ') --r.container.end;
      }
    }
  }
  // The same word and its number at the end of the container, with no
  // volume after it ("In Japanese/Korean Linguistics Volume 22."): they
  // are the volume.
  if (r.volume.Empty() && !r.container.Empty()) {
    const std::u16string_view c = r.Text(r.container);
    const size_t lastSpace = c.rfind(u' ');
    const size_t wordSpace = lastSpace == std::u16string_view::npos || lastSpace == 0 ? lastSpace : c.rfind(u' ', lastSpace - 1);
    if (wordSpace != std::u16string_view::npos && wordSpace > 0) {
      const std::u16string_view number = c.substr(lastSpace + 1);
      std::u16string word = LCase(c.substr(wordSpace + 1, lastSpace - wordSpace - 1));
      if (word.ends_with(u'.')) word.pop_back();
      if (!number.empty() && IsDigit(number[0]) && Numbers(number).size() == 1 && IsVolumeWord(word)) {
        r.volume = {r.container.begin + wordSpace + 1, r.container.end};
        r.container.end = r.container.begin + wordSpace;
        while (r.container.end > r.container.begin && (r.text[r.container.end - 1] == u' ' || r.text[r.container.end - 1] == u','))
          --r.container.end;
      }
    }
  }
  NumbersAfterBook(r);
  PublisherAfterBook(r);
  CompactNumbers(r, tokens);
  ContainerEndsAcs(r);
  BookBeforeAcsEditors(r);
  JournalBeforeYear(r);
  ProceedingsMarkEndsContainer(r);
  TitleEndsInLeadWord(r, giveWay);
  RegionEndsTitle(r, giveWay);
  ContainerEndsBeforeItsNotes(r);
  SuffixEndsTitle(r);
  BracketClosesInTitle(r, giveWay);
  TitleInAuthorsPlace(r);
  DinPublisherAfterTitle(r);
  TitleBeforeLastPlace(r, tokens, look.labels);
  TitleTakenForPlace(r, tokens, look.labels);
  NamesRunOnIntoTitle(r);
  CapitalNamesEndBeforeTitle(r);
  SuffixOpensTitle(r);
  CityEndsTitle(r);
  NamesEndBeforeTitleComma(r);
  PublisherEndsTitle(r);
  TitleGoesOnAfterQuote(r, tokens, look.labels);
  ColonAfterQuotedTitle(r, tokens, look.labels);
  BookAfterTitleStop(r);
  QuotedBookAfterTitle(r);
  ChapterByItsBook(r);
  JournalWithNoTitle(r);
  JournalInVolume(r);
  JournalNameInVolume(r);
  TitleBeforePlaceBracket(r);
  InitialOpensJournal(r);
  BookRunsIntoPlace(r, tokens, look.labels);
  McGillChapter(r);
  BookBeforeEditorsRole(r);
  BookRunsIntoEditors(r);
  AcmChapter(r);
  InBookThenEditors(r);
  LabelBeforeNames(r);
  EditorsOpenContainer(r);
  VolumeEndsJournalName(r);
  YearLetterAfterBracket(r);
  EditionBeforeYear(r);
  NoPlaceIsNoContainer(r);
  NoPlaceEnds(r, r.title);
  NoPlaceEnds(r, r.container);
  SlashNamesRunOn(r);
  PublisherAndPlaceInBracket(r);
  GbMarkEndsTitle(r);
  DashEndsTitle(r);
  GbMarkEndsContainer(r);
  YearTakenForVolume(r);
  JournalYearVolumeNoTitle(r);
  InitialsAfterTitleStop(r);
  ReportNumberAfterTitle(r);
  PublisherEndsWithItsBracket(r);
  MeetingPlaceAfterProceedings(r);
  SeriesWordsInVolume(r);
  JournalBeforePlaceIsPublisher(r);
  DaysAreNoPublisher(r);
  ArxivIsNoNumbers(r);
  TitleLeadBeforeColon(r);
  SoftwareVersionAndGenre(r);
  DaysAreNoPages(r);
  EditionBetweenTitleAndPublisher(r);
  EditionLeftOver(r);
  BookStartsAfterEditorsRole(r);
  ItalianBookAfterTitle(r);
  JournalBeforeRepeatedYear(r);
  YearOpensVolume(r);
  NamesEndAtOthersWord(r);
  BookAloneAfterYear(r);
  UnknownPlaceBracket(r);
  BookStartsAfterIn(r);
  ChapterWithoutTitle(r);
  GivenFirstNamesRunToYear(r);
  TitleStartLeftOut(r);
  BracketedVolumeOfBook(r);
  PlaceEndsBeforePublisher(r);
  JournalInsideVolume(r);
  PageAfterVolumeComma(r);
  CollaborationBeforeTitle(r);
  OrganisationBeforeYear(r);
  PagesAfterVolumeSpace(r);
  UndottedInitialsFirst(r);
  VancouverNamesAfterNames(r);
  NamesBeforeBareYear(r);
  BareNumbersBeforeYear(r);
  JournalRightAfterNames(r);
  SentenceCaseTitleRunsIntoName(r);
  WordOpensName(r);
  TitleWordsBeforeQuotation(r);
  BookRightAfterYear(r);
  JournalRightAfterYear(r);

  // A bullet that opens the reference marks it in a list, as a number
  // would: no part of the names after it ("\u2022 Helliwell, J.F.", and
  // the symbol fonts' bullets PDF text keeps in the private use area).
  if (const std::u16string_view first = tokens[0].text; first.size() == 1 && IsBullet(first[0]))
    r.citationNumber = {tokens[0].begin, tokens[0].end};
  // No two parts share a character, whatever the rules above did to each
  // other's: where two still overlap, the one later in this order gives
  // way (the parts checked by rule first, the text parts last).
  {
    Piece* const order[] = {&r.citationNumber, &r.doi, &r.url, &r.date, &r.volume, &r.pages, &r.authors, &r.editors,
                            &r.title, &r.container, &r.publisher, &r.place, &r.edition, &r.number, &r.note};
    for (size_t k = 1; k < std::size(order); ++k)
      for (size_t j = 0; j < k; ++j) giveWay(*order[k], *order[j]);
  }
  LetteredNumberIsNoPages(r);
  // ACS's "Journal 2012, 21 (1), 137-163" where the labels gave the year
  // to the volume with it: the year before the comma is the date.
  if (const std::u16string_view v = r.Text(r.volume);
      r.date.Empty() && v.size() > 6 && FirstYear(v.substr(0, 4)) == v.substr(0, 4) && v[4] == u',' && v[5] == u' ' &&
      IsDigit(v[6])) {
    r.date = {r.volume.begin, r.volume.begin + 5};
    r.volume.begin += 6;
  }
  // Or inside it, Czech and Slovak styles' "24, 2007, 3, s. 45-77" (the
  // volume, the year, the issue): the volume ends before the year.
  if (const std::u16string_view v = r.Text(r.volume); r.date.Empty() && v.size() > 8) {
    const size_t comma = v.find(u", ");
    if (comma != std::u16string_view::npos && comma > 0 && comma + 7 <= v.size() &&
        std::all_of(v.begin(), v.begin() + static_cast<long>(comma), IsDigit) &&
        FirstYear(v.substr(comma + 2, 4)) == v.substr(comma + 2, 4) && v[comma + 6] == u',') {
      r.date = {r.volume.begin + comma + 2, r.volume.begin + comma + 7};
      r.volume.end = r.volume.begin + comma;
    }
  }
  // Or after it, MLA's "Vol. 12, 1792, pp. 273-91".
  if (const std::u16string_view v = r.Text(r.volume); r.date.Empty() && v.size() > 6) {
    const size_t comma = v.rfind(u", ");
    std::u16string_view last = comma == std::u16string_view::npos ? std::u16string_view() : v.substr(comma + 2);
    while (!last.empty() && (last.back() == u',' || last.back() == u'.')) last.remove_suffix(1);
    if (last.size() == 4 && FirstYear(last) == last && std::any_of(v.begin(), v.begin() + static_cast<long>(comma), IsDigit)) {
      r.date = {r.volume.begin + comma + 2, r.volume.begin + comma + 6};
      r.volume.end = r.volume.begin + comma;
    }
  }
  // Or where the pages were found, before them, Czech and Slovak styles'
  // "Journal. 12, 1792, s. 273-91": a year alone, and the pages after it.
  if (const std::u16string_view p = r.Text(r.pages); r.date.Empty() && p.size() >= 4 && FirstYear(p.substr(0, 4)) == p.substr(0, 4) &&
                                                    (p.size() == 4 || p[4] == u',')) {
    const size_t after = std::u16string_view(r.text).find_first_not_of(u", ", r.pages.begin + 4);
    if (after != std::u16string_view::npos) {
      size_t end = r.text.size();
      while (end > after && (r.text[end - 1] == u'.' || r.text[end - 1] == u' ')) --end;
      const std::u16string_view rest = std::u16string_view(r.text).substr(after, end - after);
      if ((rest.starts_with(u"s. ") || rest.starts_with(u"S. ") || rest.starts_with(u"p. ") || rest.starts_with(u"pp. ")) &&
          rest.size() <= 20 && std::any_of(rest.begin(), rest.end(), IsDigit)) {
        r.date = {r.pages.begin, r.pages.begin + (p.size() > 4 ? 5 : 4)};
        r.pages = {after, end};
        for (Piece* q : {&r.note, &r.number, &r.edition, &r.place, &r.publisher})
          if (!q->Empty() && q->begin < end && q->end > after) *q = {};
      }
    }
  }
  r.year = FirstYear(r.Text(r.date));
  if (r.year.empty()) {
    // No date part: a year elsewhere, but not in the pages or the volume;
    // there only a year in a bracket of its own, with the letter that
    // tells two works of a year apart ("Bd. 5 (1988a), Nr. 5").
    const auto bracketedYear = [](std::u16string_view t) {
      while (!t.empty() && (t.back() == u',' || t.back() == u'.' || t.back() == u';')) t.remove_suffix(1);
      return (t.size() == 6 || (t.size() == 7 && IsLetterUnit(t[5]))) && t.front() == u'(' && t.back() == u')' &&
             !FirstYear(t).empty();
    };
    // A year inside the title is the title's ("Les pratiques culturelles
    // des Fran\u00E7ais en 2008, Paris, 2009."), where there is another.
    const auto inTitle = [&](size_t i) { return tokens[i].begin >= r.title.begin && tokens[i].end <= r.title.end; };
    for (bool titleToo : {false, true})
      for (size_t i = 0; i < tokens.size() && r.year.empty(); ++i)
        if (((look.labels[i] != Label::Pages && look.labels[i] != Label::Volume) || bracketedYear(tokens[i].text)) &&
            (titleToo || r.title.Empty() || !inTitle(i)))
          r.year = FirstYear(tokens[i].text);
    // Or the letter that tells two works of a year apart written before it
    // ("p. 29-41, b1989.", as some styles print it).
    for (size_t i = tokens.size(); i-- > 0 && r.year.empty();) {
      std::u16string_view t = tokens[i].text;
      while (!t.empty() && (t.back() == u'.' || t.back() == u',' || t.back() == u';' || t.back() == u')')) t.remove_suffix(1);
      // Glued to the mark of proceedings before it ("Anais...a1996.", and
      // without the letter, "Anais...1984.").
      bool glued = false;
      for (std::u16string_view dots : {u"...", u"\u2026"})
        if (const size_t at = t.rfind(dots); at != std::u16string_view::npos) t.remove_prefix(at + dots.size()), glued = true;
      std::u16string_view year;
      if (t.size() == 5 && t[0] >= u'a' && t[0] <= u'z' && FirstYear(t.substr(1)) == t.substr(1)) year = t.substr(1);
      else if (glued && t.size() == 4 && FirstYear(t) == t) year = t;
      if (year.empty()) continue;
      r.year = year;
      // The pages or the volume it was taken with end before it.
      for (Piece* p : {&r.pages, &r.volume}) {
        if (p->Empty() || tokens[i].begin < p->begin || p->end <= tokens[i].begin) continue;
        p->end = tokens[i].begin;
        while (p->end > p->begin && (r.text[p->end - 1] == u' ' || r.text[p->end - 1] == u',')) --p->end;
        if (p->end == p->begin) *p = {};
      }
    }
  }
  VolumeAndIssue(r);
  IssueInNoPiece(r, tokens);
  Pages(r);
  DoiAndUrl(r, tokens);
  // China's GB/T 7714 writes every name family first, its kind marks
  // ("[M]", "[J]") tell the style.
  const bool familyFirst = FindGbMark(r.text, 0).at != std::u16string_view::npos || VancouverYear(r.text);
  r.authorList = Names(r.Text(r.authors), r.moreAuthors, familyFirst);
  std::u16string editors(r.Text(r.editors));
  const std::u16string translators = TakeTranslators(editors);
  r.editorList = Names(editors, r.moreEditors);
  r.translatorList = Names(translators, r.moreTranslators);
  // An editor in the author's place ("Stober, I. (Ed.),", "Browne PRL,
  // editor.", "Müller, K. (Hrsg.)"): the names are the editors.
  if (r.editorList.empty() && HasEditorRole(r.Text(r.authors))) {
    std::swap(r.authorList, r.editorList);
    std::swap(r.moreAuthors, r.moreEditors);
  }

  const bool bookByItsName = NameEndsBook(r);
  r.type = KindOfWork(r);
  if (bookByItsName && (r.type == Type::Other || r.type == Type::Article)) r.type = Type::Book;
  return r;
}

}  // namespace tf::reference
