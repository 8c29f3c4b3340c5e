#include "reference/export.h"
#include "text/lexicon.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/unorm2.h>
#include <unicode/utrans.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "reference/tokens.h"
#include "smart/dictionary.h"
#include "text/text.h"

namespace tf::reference {
namespace {

using std::u16string;
using std::u16string_view;

// Characters a one-line field must not hold: controls and the Unicode line
// and paragraph separators, any of which a reader could take as a line end.
bool BreaksLine(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029; }

// A field never breaks a line: each such character as a space.
u16string NoLineBreaks(u16string_view s) {
  u16string out(s);
  for (auto& c : out)
    if (BreaksLine(c)) c = u' ';
  return out;
}

// Whether any code point of `s` is one `is` says yes to.
template <typename Is>
bool Any(u16string_view s, Is&& is) {
  for (size_t i = 0; i < s.size();) {
    UChar32 c;
    U16_NEXT(s.data(), i, s.size(), c);
    if (is(c)) return true;
  }
  return false;
}

bool HasLowerCase(u16string_view s) { return Any(s, [](UChar32 c) { return u_islower(c); }); }
bool HasLetterOrDigit(u16string_view s) { return Any(s, [](UChar32 c) { return u_isalnum(c); }); }

u16string Number(int n) {
  u16string out;
  for (char c : std::to_string(n)) out += static_cast<char16_t>(c);
  return out;
}

// An edition as its number, as styles want it ("2nd ed." and "(2nd
// ed.)" give 2, "third edition" 3); an edition named otherwise ("Rev.
// ed.") stays as written.
u16string EditionNumber(u16string_view edition) {
  static constexpr std::array<u16string_view, 10> kOrdinals = {u"first", u"second", u"third", u"fourth", u"fifth",
                                                               u"sixth", u"seventh", u"eighth", u"ninth", u"tenth"};
  u16string lower = LCase(edition);
  for (char16_t& c : lower)
    if (c == u'(' || c == u')' || c == u'.' || c == u',') c = u' ';
  while (!lower.empty() && lower.back() == u' ') lower.pop_back();
  size_t i = lower.find_first_not_of(u' ');
  if (i == u16string::npos) return u16string(edition);
  const size_t end = std::min(lower.find(u' ', i), lower.size());
  const u16string_view word = u16string_view(lower).substr(i, end - i);
  const u16string_view rest = u16string_view(lower).substr(end);
  // What may follow the number: "ed", "edn", "edition", "éd", "Aufl."
  // and the words for an edition of other languages (Czech and Slovak
  // "vyd.", Serbian and Croatian "izd.", Russian "изд.", Polish "wyd.",
  // Swedish "utg.", Danish "udg.", Hungarian "kiad.", Dutch "druk",
  // Finnish "painos"), or nothing.
  static constexpr u16string_view kMarks[] = {u"ed",  u"\u00E9d", u"aufl", u"vyd",  u"izd",  u"\u0438\u0437\u0434",
                                              u"wyd", u"utg",      u"udg",  u"kiad", u"druk", u"painos"};
  const auto isMark = [&](u16string_view w) {
    return std::any_of(std::begin(kMarks), std::end(kMarks), [&](u16string_view m) { return w.starts_with(m); });
  };
  const size_t more = rest.find_first_not_of(u' ');
  const u16string_view tail = more == u16string_view::npos ? u16string_view() : rest.substr(more);
  // The word first, then the number alone ("Vyd. 1.", "Wyd. 2").
  if (isMark(word) && !tail.empty() && tail.size() <= 3 &&
      std::all_of(tail.begin(), tail.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
    return u16string(tail);
  const bool marked = tail.empty() || isMark(tail);
  if (!marked || tail.find(u' ') != u16string_view::npos) return u16string(edition);
  size_t digits = 0;
  while (digits < word.size() && word[digits] >= u'0' && word[digits] <= u'9') ++digits;
  const u16string_view suffix = word.substr(digits);
  if (digits > 0 && digits <= 3 && (suffix.empty() || suffix == u"st" || suffix == u"nd" || suffix == u"rd" ||
                                    suffix == u"th" || suffix == u"e" || suffix == u"er" || suffix == u"\u00E8me" ||
                                    suffix == u"-\u0435"))
    return u16string(word.substr(0, digits));
  for (size_t k = 0; k < kOrdinals.size(); ++k)
    if (word == kOrdinals[k]) return Number(static_cast<int>(k) + 1);
  return u16string(edition);
}

// The fields as the formats write them.
struct Fields {
  u16string title, container, publisher, place, edition, pages, doi, url, year, note, number;
  u16string genre;  // a report's series ("Scientific Investigations Report"), its number apart
  int month = 0, day = 0;  // from the date, when it names them
};

// A report's number as written ("Scientific Investigations Report
// 2015-5102", "Report No.: 2015-5102", "Tech Report #296") in its two
// parts, the series and the number, as the formats keep them: BibTeX
// prints its own "Technical Report" before a number with no type, and APA
// the genre before the number.
void SplitReportNumber(Fields& f) {
  const size_t space = f.number.rfind(u' ');
  if (space == u16string::npos) return;
  u16string number = f.number.substr(space + 1);
  if (number.starts_with(u'#')) number.erase(0, 1);
  if (number.empty() || std::none_of(number.begin(), number.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
    return;
  u16string genre = f.number.substr(0, space);
  for (u16string_view no : {u" No.:", u" No.", u" No", u" no.", u" Number", u" n\u00B0"})
    if (genre.ends_with(no)) {
      genre.resize(genre.size() - no.size());
      break;
    }
  while (!genre.empty() && (genre.back() == u' ' || genre.back() == u',' || genre.back() == u':')) genre.pop_back();
  if (genre.empty()) return;
  f.genre = std::move(genre);
  f.number = std::move(number);
}


// The words of the reference that no part of it holds: they go to the
// note, so that nothing of the reference is lost on the way. The word
// that introduces a container ("In:") is no loss. The date's month and day
// are read on the way; its other words go to the note as well.
u16string Unplaced(const Reference& r, Fields& f) {
  std::vector<Piece> pieces;
  for (const Piece* p : {&r.citationNumber, &r.authors, &r.editors, &r.title, &r.container, &r.volume,
                         &r.pages, &r.publisher, &r.place, &r.edition, &r.doi, &r.url, &r.note, &r.number})
    if (!p->Empty()) pieces.push_back(*p);
  u16string out;
  const auto keep = [&](u16string_view word) {
    if (!out.empty()) out += u' ';
    out += word;
  };
  // The words one by one, as Tokenize cuts them, without keeping them all
  // (a pasted text may be long).
  const u16string_view text = r.text;
  for (size_t i = 0; i < text.size();) {
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\r' || text[i] == u'\n')) ++i;
    size_t j = i;
    while (j < text.size() && text[j] != u' ' && text[j] != u'\t' && text[j] != u'\r' && text[j] != u'\n') ++j;
    if (j == i) break;
    const Token t{text.substr(i, j - i), i, j};
    i = j;
    if (!HasLetterOrDigit(t.text)) continue;
    const bool placed = std::any_of(pieces.begin(), pieces.end(), [&](const Piece& p) {
      return t.begin < p.end && p.begin < t.end;
    });
    if (placed) continue;
    if (!r.date.Empty() && t.begin >= r.date.begin && t.end <= r.date.end) {
      // The year, a month, a day: the date's own.
      if (t.text.find(r.year) != u16string_view::npos && !r.year.empty()) continue;
      if (const int month = MonthOf(t.text); month != 0 && f.month == 0) {
        f.month = month;
        continue;
      }
      u16string digits;
      for (char16_t c : t.text)
        if (c >= u'0' && c <= u'9') digits += c;
      if (!digits.empty() && digits.size() <= 2 && digits.size() + 2 >= t.text.size() && f.day == 0) {
        f.day = std::stoi(std::string(digits.begin(), digits.end()));
        if (f.day >= 1 && f.day <= 31) continue;
        f.day = 0;
      }
      // A season, or what else the date holds, without the bracket the
      // date stands in ("(Summer 1990)").
      u16string_view word = t.text;
      while (!word.empty() && (word.front() == u'(' || word.front() == u'[')) word.remove_prefix(1);
      for (;;) {
        if (!word.empty() && u16string_view(u")],;").find(word.back()) != u16string_view::npos) {
          word.remove_suffix(1);
        } else if (word.size() >= 2 && word.back() == u'.' && (u_isdigit(word[word.size() - 2]) || word[word.size() - 2] == u')' || word[word.size() - 2] == u']')) {
          word.remove_suffix(1);  // a full stop after the date, not an abbreviation's ("cop.")
        } else {
          break;
        }
      }
      if (!word.empty()) keep(word);
      continue;
    }
    // Nor is the word that introduces the editors of the book it is in
    // ("In O. Ashenfelter & D. Card (Eds.), Handbook of ...").
    const auto rightBefore = [&](const Piece& p) { return !p.Empty() && t.end <= p.begin && t.end + 2 >= p.begin; };
    if (rightBefore(r.container) || (rightBefore(r.editors) && !r.container.Empty())) {
      const u16string lower = LCase(t.text);
      if (lower == u"in" || lower == u"in:" || lower == u"dans") continue;
    }
    // Nor the pages' word right before them ("pp 73-137").
    if (rightBefore(r.pages)) {
      const u16string lower = LCase(t.text);
      if (lower == u"pp" || lower == u"pp." || lower == u"p" || lower == u"p.") continue;
    }
    keep(t.text);
  }
  if (f.month == 0) f.day = 0;  // a day is a day of a month
  return out;
}

// Words that only lead to a link ("Retrieved from", "Available at:"), in
// any case, a colon or full stop after them.
bool IsLinkLead(u16string_view words) {
  static constexpr std::array<u16string_view, 12> kLeads = {
      u"retrieved from", u"retrieved", u"available from", u"available at", u"available online", u"available online at",
      u"available", u"online", u"url", u"disponible en", u"dispon\u00EDvel em", u"verf\u00FCgbar unter"};
  const u16string trimmed = Trimmed(words, false);
  words = trimmed;
  while (!words.empty() && (words.back() == u':' || words.back() == u'.')) words.remove_suffix(1);
  // ("publisher Available at", as a part left unplaced is named.)
  if (const size_t space = words.find(u' '); space != u16string_view::npos && words.substr(0, space) == u"publisher")
    words.remove_prefix(space + 1);
  const u16string lower = LCase(words);
  return std::find(kLeads.begin(), kLeads.end(), lower) != kLeads.end();
}

Fields FieldsOf(const Reference& r, const smart::TitleLists& lists) {
  Fields f;
  f.title = NoLineBreaks(Trimmed(r.Text(r.title), true));
  // A title copied in capitals reads better in title case; otherwise it
  // stays as the paper wrote it.
  if (!f.title.empty() && !HasLowerCase(f.title)) f.title = smart::TitleCase(f.title, lists);
  f.container = NoLineBreaks(Trimmed(r.Text(r.container), true));
  // An abbreviated journal ("Phys. Rev.") keeps the full stop of its last
  // word.
  const u16string_view pasted = r.Text(r.container);
  if (!f.container.empty() && f.container.find(u". ") != u16string::npos && pasted.size() > f.container.size() &&
      pasted.substr(0, f.container.size()) == f.container && pasted[f.container.size()] == u'.')
    f.container += u'.';
  f.publisher = NoLineBreaks(Trimmed(r.Text(r.publisher), false));
  f.place = NoLineBreaks(Trimmed(r.Text(r.place), false));
  // ("Available at:" taken for the publisher, before the link.)
  if (!r.doiName.empty() || !r.urlText.empty()) {
    if (IsLinkLead(f.publisher)) f.publisher.clear();
    if (IsLinkLead(f.place)) f.place.clear();
  }
  f.edition = EditionNumber(NoLineBreaks(Trimmed(r.Text(r.edition), false)));
  f.doi = NoLineBreaks(r.doiName);
  f.url = NoLineBreaks(r.urlText);
  // A link that only leads to the DOI says nothing the DOI does not.
  if (!f.doi.empty() && !f.url.empty()) {
    const u16string url = LCase(f.url), doi = LCase(f.doi);
    if (url.ends_with(doi) && (url.find(u"doi.org/") != u16string::npos || url.starts_with(u"doi:"))) f.url.clear();
  }
  f.year = r.year;
  f.number = NoLineBreaks(r.Text(r.number));
  if (r.type == Type::Report) SplitReportNumber(f);
  f.note = NoLineBreaks(Trimmed(r.Text(r.note), false));
  if (const u16string unplaced = NoLineBreaks(Unplaced(r, f)); !unplaced.empty())
    f.note = f.note.empty() ? unplaced : f.note + u"; " + unplaced;
  // Without the brackets and marks it was cut with at its ends ("[Master's
  // thesis," of "[Master's thesis, University of Auckland]").
  f.note = Trimmed(f.note, false);
  // Words that only lead to the link ("Retrieved from", "Available at")
  // say nothing the link does not: not as the note, nor as one of its
  // parts ("Available at; [Accessed 5 May 2015]").
  if (!f.url.empty() || !f.doi.empty()) {
    u16string kept;
    for (size_t from = 0; from <= f.note.size();) {
      const size_t end = std::min(f.note.find(u"; ", from), f.note.size());
      const u16string_view part = u16string_view(f.note).substr(from, end - from);
      if (!IsLinkLead(part)) kept += (kept.empty() ? u"" : u"; ") + u16string(part);
      from = end + 2;
    }
    f.note = kept;
  }
  // The year said again at the end, as some styles print it after the
  // place ("Baltimore, MD 1997."), says nothing the date does not.
  if (!f.year.empty() && Trimmed(f.note, false) == f.year) f.note.clear();
  // Nothing recognised: the record keeps the whole text, so that no
  // reference is lost on its way into a reference manager.
  if (f.title.empty() && r.authorList.empty() && r.editorList.empty() && f.container.empty()) f.note = NoLineBreaks(r.text);
  return f;
}

// Whether a name holds anything to write: a letter or a digit.
bool HasName(const Person& p) {
  for (const u16string* part : {&p.literal, &p.family, &p.given, &p.particle})
    if (HasLetterOrDigit(*part)) return true;
  return false;
}

u16string FamilyName(const Person& p) {
  if (!p.literal.empty()) return NoLineBreaks(p.literal);
  return NoLineBreaks(p.particle.empty() ? p.family : p.particle + u' ' + p.family);
}

// ---- CSL-JSON ----------------------------------------------------------------------------

void JsonString(u16string& out, u16string_view s) {
  static constexpr char16_t kHex[] = u"0123456789abcdef";
  out += u'"';
  for (const char16_t c : s) {
    if (c == u'"' || c == u'\\') {
      out += u'\\', out += c;
    } else if (c < 0x20 || c == 0x2028 || c == 0x2029) {
      out += u"\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
    } else {
      out += c;
    }
  }
  out += u'"';
}

class JsonObject {
 public:
  explicit JsonObject(u16string& out, u16string_view indent) : m_out(out), m_indent(indent) { m_out += u'{'; }
  void Key(u16string_view key) {
    m_out += m_first ? u"\n" : u",\n";
    m_first = false;
    m_out += m_indent;
    m_out += u"  ";
    JsonString(m_out, key);
    m_out += u": ";
  }
  void Field(u16string_view key, u16string_view value) {
    if (value.empty()) return;
    Key(key);
    JsonString(m_out, value);
  }
  void Close() {
    if (!m_first) m_out += u'\n', m_out += m_indent;
    m_out += u'}';
  }

 private:
  u16string& m_out;
  u16string m_indent;
  bool m_first = true;
};

// `more` ("et al.") is written as pandoc writes BibTeX's "and others": a
// last name {"literal": "others"}, which its citeproc prints as the style's
// "et al."; CSL itself has no way to say it.
void JsonNames(JsonObject& item, u16string& out, u16string_view key, const std::vector<Person>& people,
               bool more = false) {
  if (std::none_of(people.begin(), people.end(), HasName)) return;
  item.Key(key);
  out += u'[';
  bool firstName = true;
  for (const Person& p : people) {
    if (!HasName(p)) continue;
    if (!firstName) out += u", ";
    firstName = false;
    out += u'{';  // a name on one line
    bool first = true;
    const auto field = [&](u16string_view n, const u16string& v) {
      if (v.empty()) return;
      out += first ? u"" : u", ";
      first = false;
      JsonString(out, n);
      out += u": ";
      JsonString(out, v);
    };
    if (!p.literal.empty()) {
      field(u"literal", NoLineBreaks(p.literal));
    } else {
      field(u"family", FamilyName(p));
      field(u"given", NoLineBreaks(p.given));
      field(u"suffix", NoLineBreaks(p.suffix));
    }
    out += u'}';
  }
  if (more) out += u", {\"literal\": \"others\"}";
  out += u']';
}

// A kind of work's name in each format.
struct TypeNames {
  u16string_view csl, bibtex, ris;
};
TypeNames NamesOf(Type t) {
  switch (t) {
    case Type::Article: return {u"article-journal", u"article", u"JOUR"};
    case Type::Chapter: return {u"chapter", u"incollection", u"CHAP"};
    case Type::Paper: return {u"paper-conference", u"inproceedings", u"CONF"};
    case Type::Book: return {u"book", u"book", u"BOOK"};
    case Type::Thesis: return {u"thesis", u"phdthesis", u"THES"};
    case Type::Report: return {u"report", u"techreport", u"RPRT"};
    case Type::Web: return {u"webpage", u"misc", u"ELEC"};
    case Type::Dataset: return {u"dataset", u"misc", u"DATA"};
    case Type::Standard: return {u"standard", u"misc", u"STAND"};
    case Type::Other: break;
  }
  return {u"document", u"misc", u"GEN"};
}

u16string CslItem(const Reference& r, const Fields& f, u16string_view key) {
  u16string out = u"  ";
  JsonObject item(out, u"  ");
  item.Field(u"id", key);
  item.Field(u"type", NamesOf(r.type).csl);
  JsonNames(item, out, u"author", r.authorList, r.moreAuthors);
  JsonNames(item, out, u"editor", r.editorList, r.moreEditors);
  JsonNames(item, out, u"translator", r.translatorList, r.moreTranslators);
  if (!f.year.empty()) {
    item.Key(u"issued");
    out += u"{\"date-parts\": [[" + f.year;
    if (f.month) out += u", " + Number(f.month);
    if (f.day) out += u", " + Number(f.day);
    out += u"]]}";
  }
  item.Field(u"title", f.title);
  // What a book came out in is its series.
  item.Field(r.type == Type::Book ? u"collection-title" : u"container-title", f.container);
  item.Field(u"genre", f.genre);
  item.Field(u"number", f.number);
  item.Field(u"volume", r.volumeNumber);
  item.Field(u"issue", r.issueNumber);
  if (r.pageCount) item.Field(u"number-of-pages", r.firstPage);
  else item.Field(u"page", r.lastPage.empty() ? r.firstPage : r.firstPage + u'-' + r.lastPage);
  item.Field(u"publisher", f.publisher);
  item.Field(u"publisher-place", f.place);
  item.Field(u"edition", f.edition);
  item.Field(u"DOI", f.doi);
  item.Field(u"URL", f.url);
  item.Field(u"note", f.note);
  item.Close();
  return out;
}

// ---- BibTeX ------------------------------------------------------------------------------

// A value for a braced BibTeX field: the special characters as commands,
// so that braces always balance and nothing is read as markup.
void BibEscape(u16string& out, u16string_view s) {
  for (const char16_t c : s) {
    switch (c) {
      case u'\\': out += u"\\textbackslash{}"; break;
      case u'{': out += u"\\textbraceleft{}"; break;
      case u'}': out += u"\\textbraceright{}"; break;
      case u'~': out += u"\\textasciitilde{}"; break;
      case u'^': out += u"\\textasciicircum{}"; break;
      case u'&': case u'%': case u'$': case u'#': case u'_': out += u'\\', out += c; break;
      default: out += BreaksLine(c) ? u' ' : c;
    }
  }
}

// A DOI or URL, kept as it is except for what would break the field.
u16string BibLink(u16string_view s) {
  u16string out;
  for (const char16_t c : s) {
    if (c == u'{') out += u"%7B";
    else if (c == u'}') out += u"%7D";
    else if (c == u'\\') out += u"%5C";
    else if (c == u' ' || BreaksLine(c)) out += u"%20";
    else out += c;
  }
  return out;
}

// Capitals past the first letter of a part of a word (between hyphens):
// an acronym or a mixed-case word, which a style must not lower-case.
bool KeepsItsCapitals(u16string_view word) {
  size_t letterInPart = 0;
  for (size_t i = 0; i < word.size();) {
    UChar32 c;
    U16_NEXT(word.data(), i, word.size(), c);
    if (c == u'-' || c == u'/') {
      letterInPart = 0;
      continue;
    }
    if (!u_isalpha(c)) continue;
    if (letterInPart > 0 && u_isupper(c)) return true;
    if (letterInPart == 0 && u_islower(c)) {
      // 'pH', 'mRNA', 'iPhone': a small letter before a capital.
      for (size_t j = i; j < word.size() && word[j] != u'-' && word[j] != u'/';) {
        UChar32 d;
        U16_NEXT(word.data(), j, word.size(), d);
        if (u_isupper(d)) return true;
      }
    }
    ++letterInPart;
  }
  return false;
}

// A comma inside a part (a misread name, "Scorrano1,2,5,6") would split
// it: BibTeX takes it in braces, but biber stops at it even there and
// skips the entry, so it is written as a space.
void BibNamePart(u16string& out, u16string_view part) {
  u16string spaced;
  for (char16_t c : part) {
    if (c == u',') c = u' ';
    if (c == u' ' && (spaced.empty() || spaced.back() == u' ')) continue;
    spaced += c;
  }
  while (!spaced.empty() && spaced.back() == u' ') spaced.pop_back();
  BibEscape(out, spaced);
}

u16string BibNames(const std::vector<Person>& people, bool more) {
  u16string out;
  for (const Person& p : people) {
    if (!HasName(p)) continue;
    if (!out.empty()) out += u" and ";
    if (!p.literal.empty()) {
      out += u'{';
      BibEscape(out, p.literal);
      out += u'}';
      continue;
    }
    u16string name;
    BibNamePart(name, p.particle.empty() ? p.family : p.particle + u' ' + p.family);
    if (!p.suffix.empty()) name += u", ", BibNamePart(name, p.suffix);
    if (!p.given.empty()) name += u", ", BibNamePart(name, p.given);
    // A word "and" inside a name would split it: the whole name in braces
    // (around what is escaped already, so they stay braces).
    if (name.find(u" and ") != u16string::npos) name = u'{' + name + u'}';
    out += name;
  }
  if (more && !out.empty()) out += u" and others";
  return out;
}

// The type an entry can be written as: the kind of work when the entry
// has what BibTeX styles require of that type (plain.bst, and pybtex after
// it, stop on a missing one), else misc, which requires nothing.
Type BibKind(const Reference& r, const Fields& f) {
  const bool authors = std::any_of(r.authorList.begin(), r.authorList.end(), HasName);
  const bool editors = std::any_of(r.editorList.begin(), r.editorList.end(), HasName);
  const bool base = authors && !f.title.empty() && !f.year.empty();
  switch (r.type) {
    case Type::Article: return base && !f.container.empty() ? Type::Article : Type::Other;
    case Type::Chapter: return base && !f.container.empty() ? Type::Chapter : Type::Other;
    case Type::Paper: return base && !f.container.empty() ? Type::Paper : Type::Other;
    case Type::Book:
      return (authors || editors) && !f.title.empty() && !f.year.empty() && !f.publisher.empty() ? Type::Book
                                                                                                 : Type::Other;
    case Type::Thesis:
    case Type::Report: return base && !f.publisher.empty() ? r.type : Type::Other;
    case Type::Web:
    case Type::Dataset:
    case Type::Standard:
    case Type::Other: break;
  }
  return Type::Other;
}

u16string_view BibType(const Reference& r, Type kind) {
  // BibTeX tells a master's thesis from a doctor's.
  if (kind == Type::Thesis && LCase(r.text).find(u"master") != u16string::npos) return u"mastersthesis";
  return NamesOf(kind).bibtex;
}

// The fields an entry type does not take, as biblatex's data model has
// them (what BibTeX styles would ignore): those the reference gives go
// into the note instead, so that nothing is lost.
bool Refuses(Type kind, u16string_view field) {
  static constexpr std::array<u16string_view, 10> kMisc = {u"booktitle", u"edition",   u"institution", u"journal",
                                                           u"number",    u"pages",     u"publisher",   u"translator",
                                                           u"volume",    u"pagetotal"};
  static constexpr std::array<u16string_view, 6> kArticle = {u"booktitle", u"edition",   u"institution",
                                                             u"address",   u"publisher", u"pagetotal"};
  static constexpr std::array<u16string_view, 4> kCollection = {u"institution", u"journal", u"organization",
                                                                u"pagetotal"};
  static constexpr std::array<u16string_view, 4> kProceedings = {u"edition", u"institution", u"journal", u"pagetotal"};
  static constexpr std::array<u16string_view, 7> kThesis = {u"booktitle", u"edition", u"editor", u"journal",
                                                            u"number",    u"publisher", u"volume"};
  static constexpr std::array<u16string_view, 6> kReport = {u"booktitle", u"edition", u"editor", u"journal",
                                                            u"publisher", u"volume"};
  static constexpr std::array<u16string_view, 4> kBook = {u"booktitle", u"institution", u"journal", u"organization"};
  const auto in = [&](const auto& list) { return std::find(list.begin(), list.end(), field) != list.end(); };
  switch (kind) {
    case Type::Article: return in(kArticle);
    case Type::Chapter: return in(kCollection);
    case Type::Paper: return in(kProceedings);
    case Type::Book: return in(kBook);
    case Type::Thesis: return in(kThesis);
    case Type::Report: return in(kReport);
    case Type::Web:
    case Type::Dataset:
    case Type::Standard:
    case Type::Other: break;
  }
  return in(kMisc);
}

u16string BibEntry(const Reference& r, const Fields& f, u16string_view key, const smart::TitleLists& lists) {
  const Type kind = BibKind(r, f);
  u16string out = u"@";
  out += BibType(r, kind);
  out += u'{';
  out += key;
  u16string aside;  // what the type does not take, for the note
  const auto field = [&](u16string_view name, const u16string& value, bool escaped) {
    if (value.empty()) return;
    if (Refuses(kind, name)) {
      if (!aside.empty()) aside += u"; ";
      // A length reads as one: "402 pages".
      const bool length = name == u"pagetotal";
      if (!length) aside += name, aside += u' ';
      if (escaped) aside += value;
      else BibEscape(aside, value);
      if (length) aside += u" pages";
      return;
    }
    out += u",\n  ";
    out += name;
    out += u" = {";
    if (escaped) out += value;
    else BibEscape(out, value);
    out += u'}';
  };
  field(u"author", BibNames(r.authorList, r.moreAuthors), true);
  field(u"editor", BibNames(r.editorList, r.moreEditors), true);
  field(u"translator", BibNames(r.translatorList, r.moreTranslators), true);
  field(u"title", BibTeXTitle(f.title, lists), true);
  // A misc entry says where the work appeared, and who issued it, in its
  // own fields.
  field(kind == Type::Other     ? u"howpublished"
        : kind == Type::Article ? u"journal"
        : kind == Type::Book    ? u"series"
                                : u"booktitle",
        f.container, false);
  field(u"year", f.year, false);
  if (f.month && !f.year.empty()) {
    // BibTeX's own month macros, which every style prints in its language.
    static constexpr u16string_view kMonths[] = {u"jan", u"feb", u"mar", u"apr", u"may", u"jun",
                                                 u"jul", u"aug", u"sep", u"oct", u"nov", u"dec"};
    out += u",\n  month = ";
    out += kMonths[f.month - 1];
  }
  field(u"volume", r.volumeNumber, false);
  // The series apart only in a report's entry; elsewhere the number
  // stays whole.
  if (kind == Type::Report) field(u"type", f.genre, false);
  const u16string number = kind == Type::Report || f.genre.empty() ? f.number : f.genre + u' ' + f.number;
  field(u"number", r.issueNumber.empty() ? number : r.issueNumber, false);
  // biblatex's field for a book's length; BibTeX's styles pass it by.
  if (r.pageCount) field(u"pagetotal", r.firstPage, false);
  else field(u"pages", r.lastPage.empty() ? r.firstPage : r.firstPage + u"--" + r.lastPage, false);
  field(kind == Type::Thesis   ? u"school"
        : kind == Type::Report ? u"institution"
        : kind == Type::Other  ? u"organization"
                               : u"publisher",
        f.publisher, false);
  field(u"address", f.place, false);
  field(u"edition", f.edition, false);
  field(u"doi", BibLink(f.doi), true);
  field(u"url", BibLink(f.url), true);
  u16string note;
  BibEscape(note, f.note);
  if (!aside.empty()) note += (note.empty() ? u"" : u"; ") + aside;
  field(u"note", note, true);
  if (out.back() == u'{' || out.ends_with(key)) out += u",\n  note = {}";  // an entry needs a field
  out += u"\n}\n";
  return out;
}

// ---- RIS ---------------------------------------------------------------------------------

u16string RisRecord(const Reference& r, const Fields& f) {
  u16string out;
  const auto tag = [&](u16string_view name, const u16string& value) {
    if (value.empty()) return;
    out += name;
    out += u"  - ";
    out += value;
    out += u'\n';
  };
  tag(u"TY", u16string(NamesOf(r.type).ris));
  const auto people = [&](u16string_view name, const std::vector<Person>& list) {
    for (const Person& p : list) {
      if (!HasName(p)) continue;
      u16string n = FamilyName(p);
      if (p.literal.empty() && !p.given.empty()) n += u", " + NoLineBreaks(p.given);
      if (p.literal.empty() && !p.suffix.empty()) n += u", " + NoLineBreaks(p.suffix);
      tag(name, n);
    }
  };
  people(u"AU", r.authorList);
  people(u"ED", r.editorList);
  people(u"A4", r.translatorList);
  tag(u"PY", f.year);
  if (f.month && !f.year.empty()) {
    u16string date = f.year + u'/' + (f.month < 10 ? u"0" : u"") + Number(f.month) + u'/';
    if (f.day) date += (f.day < 10 ? u"0" : u"") + Number(f.day);
    tag(u"DA", date + u'/');
  }
  tag(u"TI", f.title);
  tag(r.type == Type::Book ? u"T3" : u"T2", f.container);
  tag(u"M1", f.number);
  tag(u"M3", f.genre);
  tag(u"VL", r.volumeNumber);
  tag(u"IS", r.issueNumber);
  tag(u"SP", r.firstPage);
  tag(u"EP", r.lastPage);
  tag(u"PB", f.publisher);
  tag(u"CY", f.place);
  tag(u"ET", f.edition);
  tag(u"DO", f.doi);
  tag(u"UR", f.url);
  tag(u"N1", f.note);
  out += u"ER  - \n";
  return out;
}

// ---- keys --------------------------------------------------------------------------------

// The Latin letters that no decomposition brings to ASCII, and the
// Cyrillic and Greek alphabets, the scripts other than Latin that
// references most often use, in the spelling of English-language
// catalogues; by lower-case code point. Empty: no ASCII letter (the hard
// and soft signs).
std::optional<std::u16string_view> InAscii(UChar32 c) {
  static constexpr std::array<std::u16string_view, 32> kRussian = {
      u"a", u"b", u"v", u"g", u"d", u"e", u"zh", u"z", u"i", u"y", u"k",  u"l",    u"m", u"n", u"o", u"p",
      u"r", u"s", u"t", u"u", u"f", u"kh", u"ts", u"ch", u"sh", u"shch", u"", u"y", u"", u"e", u"yu", u"ya"};
  // ѐ ё ђ ѓ є ѕ і ї ј љ њ ћ ќ ѝ ў џ
  static constexpr std::array<std::u16string_view, 16> kOtherCyrillic = {
      u"e", u"e", u"dj", u"g", u"ye", u"dz", u"i", u"yi", u"j", u"lj", u"nj", u"c", u"k", u"i", u"u", u"dz"};
  // α to ω, final sigma at its place
  static constexpr std::array<std::u16string_view, 25> kGreek = {
      u"a", u"b", u"g", u"d", u"e", u"z", u"e", u"th", u"i", u"k", u"l", u"m", u"n",
      u"x", u"o", u"p", u"r", u"s", u"s", u"t", u"y", u"ph", u"ch", u"ps", u"o"};
  if (c >= 0x0430 && c <= 0x044F) return kRussian[static_cast<size_t>(c - 0x0430)];
  if (c >= 0x0450 && c <= 0x045F) return kOtherCyrillic[static_cast<size_t>(c - 0x0450)];
  if (c >= 0x03B1 && c <= 0x03C9) return kGreek[static_cast<size_t>(c - 0x03B1)];
  switch (c) {
    case 0x0491: return u"g";    // ґ
    case 0x00DF: return u"ss";   // ß
    case 0x00E6: return u"ae";   // æ
    case 0x0153: return u"oe";   // œ
    case 0x00F8: return u"o";    // ø
    case 0x0142: return u"l";    // ł
    case 0x0111: return u"d";    // đ
    case 0x00F0: return u"d";    // ð
    case 0x00FE: return u"th";   // þ
    case 0x0131: return u"i";    // dotless i
    case 0x0127: return u"h";    // ħ
    case 0x0167: return u"t";    // ŧ
    case 0x014B: return u"ng";   // ŋ
    case 0x017F: return u"s";    // long s
    default: return std::nullopt;
  }
}

// A Korean syllable in Latin letters, by the sounds its letters stand for
// ('김' gives 'gim', '영' 'yeong'): the syllable's code point is made of its
// first consonant, its vowel and its last consonant, if any.
u16string Hangul(UChar32 c) {
  static constexpr std::array<std::u16string_view, 19> kFirst = {
      u"g", u"kk", u"n", u"d", u"tt", u"r", u"m", u"b", u"pp", u"s", u"ss", u"", u"j", u"jj", u"ch", u"k", u"t", u"p", u"h"};
  static constexpr std::array<std::u16string_view, 21> kVowel = {
      u"a", u"ae", u"ya", u"yae", u"eo", u"e", u"yeo", u"ye", u"o", u"wa", u"wae",
      u"oe", u"yo", u"u", u"wo", u"we", u"wi", u"yu", u"eu", u"ui", u"i"};
  static constexpr std::array<std::u16string_view, 28> kLast = {
      u"", u"k", u"k", u"k", u"n", u"n", u"n", u"t", u"l", u"k", u"m", u"l", u"l", u"l",
      u"p", u"l", u"m", u"p", u"p", u"t", u"t", u"ng", u"t", u"t", u"k", u"t", u"p", u"t"};
  const auto n = static_cast<size_t>(c - 0xAC00);
  return u16string(kFirst[n / 588]) + u16string(kVowel[n % 588 / 28]) + u16string(kLast[n % 28]);
}

// Other scripts in Latin letters through ICU's transliterator ('ひらがな'
// gives 'hiragana'); made once for each thread,
// for it is not to be shared. Making it costs as much as taking apart a few
// hundred references, so the scripts that references use most are
// romanised by the tables above instead.
u16string InLatin(u16string_view s) {
  struct Closer {
    void operator()(UTransliterator* t) const { utrans_close(t); }
  };
  thread_local std::unique_ptr<UTransliterator, Closer> latin = [] {
    UErrorCode status = U_ZERO_ERROR;
    static constexpr char16_t kId[] = u"Any-Latin; Latin-ASCII";
    UTransliterator* t = utrans_openU(kId, -1, UTRANS_FORWARD, nullptr, 0, nullptr, &status);
    return std::unique_ptr<UTransliterator, Closer>(U_SUCCESS(status) ? t : nullptr);
  }();
  if (!latin || s.empty()) return u16string(s);
  u16string out(s);
  int32_t length = static_cast<int32_t>(out.size()), limit = length;
  out.resize(out.size() * 4 + 16);
  UErrorCode status = U_ZERO_ERROR;
  utrans_transUChars(latin.get(), out.data(), &length, static_cast<int32_t>(out.size()), 0, &limit, &status);
  if (U_FAILURE(status)) return u16string(s);
  out.resize(static_cast<size_t>(length));
  return out;
}

// A word's letters and digits for a key: in ASCII and lower case, accents
// dropped ('Müller' gives 'muller', 'Łukasz' 'lukasz', 'Иванов' 'ivanov',
// 'Ａ' 'a', '김종영' 'gimjongyeong'); nullopt when a letter is of a script
// the tables lack.
std::optional<u16string> AsciiKeyPart(u16string_view s) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfkd = unorm2_getNFKDInstance(&status);
  if (U_FAILURE(status)) return std::nullopt;
  u16string out;
  const auto add = [&](UChar32 c) {
    if (c < 0x80) {
      if (c >= u'A' && c <= u'Z') c += u'a' - u'A';
      if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')) out += static_cast<char16_t>(c);
      return true;
    }
    if (const auto ascii = InAscii(u_tolower(c))) return out += *ascii, true;
    if (!u_isalnum(c)) return true;  // a combining accent, a sign
    const UScriptCode script = uscript_getScript(c, &status);
    // A letter of no script in particular (the modifier letter in
    // "ʻʻMake") is left out, and so are Chinese characters: they have no
    // one reading (pinyin misreads a Japanese name), as reference managers
    // know, whose own keys leave them out. A letter of a script the table
    // lacks goes to the transliterator.
    return script == USCRIPT_COMMON || script == USCRIPT_INHERITED || script == USCRIPT_LATIN ||
           script == USCRIPT_HAN;
  };
  for (size_t i = 0; i < s.size();) {
    UChar32 c;
    U16_NEXT(s.data(), i, s.size(), c);
    if (c < 0x80) {
      add(c);
      continue;
    }
    if (c >= 0xAC00 && c <= 0xD7A3) {  // before decomposing it into its letters
      out += Hangul(c);
      continue;
    }
    std::array<UChar, 32> parts;
    const int32_t n = unorm2_getDecomposition(nfkd, c, parts.data(), static_cast<int32_t>(parts.size()), &status);
    if (U_FAILURE(status)) return std::nullopt;
    if (n < 0) {
      if (!add(c)) return std::nullopt;
      continue;
    }
    for (int32_t k = 0; k < n;) {
      UChar32 d;
      U16_NEXT(parts.data(), k, n, d);
      if (!add(d)) return std::nullopt;
    }
  }
  return out;
}

u16string KeyPart(u16string_view s) {
  if (auto ascii = AsciiKeyPart(s)) return std::move(*ascii);
  // Other scripts through the transliterator, then as above.
  const u16string latin = InLatin(s);
  return AsciiKeyPart(latin).value_or(u16string());
}

// A key takes the title's first word that is no small word.
bool IsMinorWord(u16string_view lower) { return lexicon::Has(lexicon::kSmallWords, lower); }

}  // namespace

namespace {

std::vector<u16string_view> SpaceSeparated(u16string_view s) {
  std::vector<u16string_view> out;
  for (size_t i = 0; i <= s.size();) {
    const size_t end = std::min(s.find(u' ', i), s.size());
    out.push_back(s.substr(i, end - i));
    i = end + 1;
  }
  return out;
}

// The word's letters and digits, in lower case ("Zealand," is "zealand").
u16string Core(u16string_view word) {
  u16string out;
  for (size_t i = 0; i < word.size();) {
    UChar32 c;
    U16_NEXT(word.data(), i, word.size(), c);
    if (u_isalnum(c)) {
      c = u_tolower(c);
      if (U_IS_BMP(c)) out += static_cast<char16_t>(c);
      else out += U16_LEAD(c), out += U16_TRAIL(c);
    }
  }
  return out;
}

// The word's first letter, or 0 when it has none.
UChar32 FirstLetter(u16string_view word) {
  for (size_t i = 0; i < word.size();) {
    UChar32 c;
    U16_NEXT(word.data(), i, word.size(), c);
    if (u_isalpha(c)) return c;
  }
  return 0;
}
bool StartsUpper(u16string_view word) { return u_isupper(FirstLetter(word)); }
bool StartsLower(u16string_view word) { return u_islower(FirstLetter(word)); }

// Whether the word opens a sentence of the title: the first, or one after
// a colon, a full stop, a question or an exclamation mark.
bool OpensSentence(const std::vector<u16string_view>& words, size_t k) {
  if (k == 0) return true;
  const u16string_view before = words[k - 1];
  return before.ends_with(u':') || before.ends_with(u'.') || before.ends_with(u'?') || before.ends_with(u'!');
}

// How a title reads: in English (most of its words are English words), and
// whether written in sentence case (a word that opens no sentence in small
// letters, small words aside).
struct TitleReading {
  bool english = true, sentenceCase = false;
};
TitleReading Read(const std::vector<u16string_view>& words) {
  size_t letters = 0, known = 0, small = 0, smallEnglish = 0, smallOther = 0;
  std::uint32_t englishKinds = 0;  // bit i: the i-th of English's small words seen
  static_assert(lexicon::kSmallWords.size() <= 32);
  for (size_t k = 0; k < words.size(); ++k) {
    const u16string core = Core(words[k]);
    if (core.empty() || (!StartsUpper(words[k]) && !StartsLower(words[k]))) continue;
    // Small words as running text writes them, in small letters ("Camp
    // Del Mar" is a name).
    if (StartsLower(words[k])) {
      for (size_t i = 0; i < lexicon::kSmallWords.size(); ++i)
        if (lexicon::kSmallWords[i] == core) ++smallEnglish, englishKinds |= 1u << i;
      smallOther += lexicon::Has(lexicon::kOtherSmallWords, core);
    }
    // A word that begins with a digit ("12th", "3rd", "1990s") is no word
    // of any language, and says nothing of the case the title is written in.
    if (u_isdigit(core[0])) continue;
    // Words of one or two letters are words in too many languages to tell.
    if (core.size() > 2) {
      ++letters;
      known += smart::Dictionary::English().SizeOf(core) != smart::Dictionary::kNoWord;
    }
    if (OpensSentence(words, k) || lexicon::Has(lexicon::kSmallWords, core)) continue;
    small += StartsLower(words[k]);
  }
  TitleReading r;
  // Too few words to count tell nothing, unless none of them is English
  // ("Salud pública", "Svensk historia").
  // Two of English's small words in running text say so too, where the
  // dictionary knows few of the others ("Time-series analysis of six
  // whale-fall communities in Monterey Canyon"); one word twice may be
  // another language's ("Vojska in Nasilje ... in Koncem").
  const bool englishWords = letters == 0 || known * 2 > letters || (letters < 3 && known > 0);
  r.english = (englishWords || (std::popcount(englishKinds) >= 2 && smallOther == 0)) && smallOther <= smallEnglish;
  // Title case leaves no other word in small letters: one is enough to tell.
  r.sentenceCase = small > 0;
  return r;
}

void BibWord(u16string& out, u16string_view word, bool braced) {
  if (braced) out += u'{';
  BibEscape(out, word);
  if (braced) out += u'}';
}

// The word without the marks around it.
u16string_view Bare(u16string_view w) {
  size_t a = 0, b = w.size();
  while (a < b && !u_isalnum(w[a])) ++a;
  while (b > a && !u_isalnum(w[b - 1]) && !U16_IS_TRAIL(w[b - 1])) --b;
  return w.substr(a, b - a);
}

// How many words, from the k-th, name a country or region as
// lexicon::kRegions has it (three at most, none marked inside); 0 for none.
size_t RegionAt(const std::vector<u16string_view>& words, size_t k) {
  if (!StartsUpper(words[k])) return 0;
  for (size_t n = std::min<size_t>(3, words.size() - k); n > 0; --n) {
    u16string name;
    bool whole = true;
    for (size_t j = k; j < k + n && whole; ++j) {
      const u16string_view bare = Bare(words[j]);
      // Marks may stand before the first word and after the last only.
      whole = !bare.empty() && (j == k || bare.data() == words[j].data()) &&
              (j + 1 == k + n || bare.size() + (bare.data() - words[j].data()) == words[j].size());
      if (j > k) name += u' ';
      name += bare;
    }
    if (whole && lexicon::HasSorted(lexicon::kRegions, name)) return n;
  }
  return 0;
}

// A word in braces, the marks around it outside them: "{Trough},".
void BracedWord(u16string& out, u16string_view w) {
  const u16string_view bare = Bare(w);
  const size_t a = static_cast<size_t>(bare.data() - w.data());
  BibWord(out, w.substr(0, a), false);
  BibWord(out, bare, true);
  BibWord(out, w.substr(a + bare.size()), false);
}

}  // namespace

// An English title in title case, as BibTeX styles expect it. A word whose
// capitals title casing does not explain keeps them in braces, which the
// styles' own casing leaves alone: acronyms and mixed case, and in a title
// written in sentence case its capitalised words (proper nouns, such as
// "New Zealand"). A title in another language is kept as written, its
// capitalised words braced.
u16string BibTeXTitle(u16string_view title, const smart::TitleLists& lists) {
  const std::vector<u16string_view> source = SpaceSeparated(title);
  const TitleReading reading = Read(source);
  u16string out;
  if (!reading.english) {
    for (size_t k = 0; k < source.size(); ++k) {
      if (k > 0) out += u' ';
      if (StartsUpper(source[k]) || KeepsItsCapitals(source[k])) BracedWord(out, source[k]);
      else BibWord(out, source[k], false);
    }
    return out;
  }
  const u16string cased = smart::TitleCase(title, lists);
  const std::vector<u16string_view> words = SpaceSeparated(cased);
  const bool aligned = words.size() == source.size();
  for (size_t k = 0; k < words.size(); ++k) {
    if (k > 0) out += u' ';
    // A country's or region's name is a proper noun in any title, one in
    // title case too ("Social Capital in {Italy}", "{New} {Zealand}").
    if (const size_t n = aligned ? RegionAt(source, k) : 0; n > 0) {
      for (size_t j = k; j < k + n; ++j) {
        if (j > k) out += u' ';
        BracedWord(out, source[j]);
      }
      k += n - 1;
      continue;
    }
    // A proper noun as its author wrote it ("Tohoku-oki", not "Tohoku-Oki").
    if (reading.sentenceCase && aligned && !OpensSentence(source, k) && StartsUpper(source[k])) {
      BracedWord(out, source[k]);
      continue;
    }
    BibWord(out, words[k], KeepsItsCapitals(words[k]));
  }
  return out;
}

u16string Writer::Key(const Reference& r) {
  u16string family;
  // The first author's family name; for a book of editors, the first
  // editor's, as reference managers key it.
  const std::vector<Person>& names = r.authorList.empty() ? r.editorList : r.authorList;
  if (!names.empty()) {
    const Person& p = names.front();
    family = KeyPart(p.literal.empty() ? p.family : p.literal.substr(0, p.literal.find(u' ')));
  }
  u16string word;
  const u16string title = Trimmed(r.Text(r.title), true);
  for (size_t i = 0; i < title.size() && word.empty();) {
    const size_t end = std::min(title.find(u' ', i), title.size());
    const u16string part = KeyPart(u16string_view(title).substr(i, end - i));
    if (!IsMinorWord(part)) word = part;
    i = end + 1;
  }
  // Short enough to type; a "word" of thousands of letters makes no key.
  constexpr size_t kLongestPart = 20;
  u16string key = family.substr(0, kLongestPart) + r.year + word.substr(0, kLongestPart);
  if (key.empty()) key = u"reference";
  // The same key again in one run takes a, b, ... z, aa, ab ... as
  // reference managers do. Each key counts its own repeats, so a run of
  // equal keys costs one look-up each; a suffixed key that another
  // reference already took is skipped.
  size_t& repeats = m_repeats[key];
  u16string unique = key;
  while (m_keys.contains(unique)) {
    ++repeats;
    unique = key;
    u16string suffix;
    for (size_t n = repeats; n > 0; n = (n - 1) / 26) suffix.insert(suffix.begin(), static_cast<char16_t>(u'a' + (n - 1) % 26));
    unique += suffix;
  }
  m_keys.insert(unique);
  return unique;
}

u16string Writer::Begin() const { return m_format == Format::CslJson ? u"[" : u""; }

namespace {
// Whether the reference opens with a repeated-author dash ("———.", "---,",
// "____"), which bibliographies write for the names of the reference
// before. (Not a year's bracket first, as some styles leave the names out
// for a repeat: cut-off entries open the same way, and names given to them
// by guess would be wrong names.)
bool OpensWithDash(std::u16string_view text) {
  size_t dashes = 0;
  while (dashes < text.size() && (text[dashes] == u'\u2014' || text[dashes] == u'\u2013' || text[dashes] == u'-' ||
                                  text[dashes] == u'_' || text[dashes] == u'\u2012' || text[dashes] == u'\u2015'))
    ++dashes;
  // (One long dash or bar alone: "\u2015 1984a, Title".)
  const bool bar = dashes == 1 && (text[0] == u'\u2014' || text[0] == u'\u2015');
  return (dashes >= 2 || bar) && (dashes == text.size() || text[dashes] == u'.' || text[dashes] == u',' ||
                                  text[dashes] == u' ' || text[dashes] == u':' || text[dashes] == u';');
}

// Whether the reference opens with Latin's "id." ("idem", "eadem"), which
// humanities styles write as the dash, for the names of the reference
// before ("id., The authentic heart (New York 2001)"). The parser reads
// the word as a name, one at most.
bool OpensWithIdem(const Reference& r) {
  if (r.authorList.size() > 1) return false;
  for (std::u16string_view mark : {u"id.", u"Id.", u"idem", u"Idem", u"eadem", u"Eadem", u"ead.", u"Ead."}) {
    const std::u16string_view text = r.text;
    if (text.starts_with(mark) && text.size() > mark.size() &&
        (text[mark.size()] == u',' || text[mark.size()] == u' ' || text[mark.size()] == u'.'))
      return true;
  }
  return false;
}
}  // namespace

u16string Writer::Add(const Reference& given) {
  // A repeated-author dash (or "id.") takes the names of the reference
  // before it, in this run; "id." with none before names no one.
  std::optional<Reference> named;
  if (OpensWithIdem(given)) {
    named = given;
    named->authorList = m_lastAuthors;
    named->moreAuthors = m_lastMore;
  } else if (std::none_of(given.authorList.begin(), given.authorList.end(), HasName) && !m_lastAuthors.empty() &&
             OpensWithDash(given.text)) {
    named = given;
    named->authorList = m_lastAuthors;
    named->moreAuthors = m_lastMore;
  }
  const Reference& r = named ? *named : given;
  if (std::any_of(r.authorList.begin(), r.authorList.end(), HasName)) {
    m_lastAuthors = r.authorList;
    m_lastMore = r.moreAuthors;
  }
  const Fields f = FieldsOf(r, *m_lists);
  const u16string key = Key(r);
  u16string out;
  switch (m_format) {
    case Format::CslJson:
      out = (m_count ? u",\n" : u"\n") + CslItem(r, f, key);
      break;
    case Format::BibTeX:
      out = (m_count && !m_null ? u"\n" : u"") + BibEntry(r, f, key, *m_lists);
      break;
    case Format::Ris:
      out = (m_count && !m_null ? u"\n" : u"") + RisRecord(r, f);
      break;
  }
  if (m_null && m_format != Format::CslJson) out += u'\0';
  ++m_count;
  return out;
}

u16string Writer::End() const {
  if (m_format != Format::CslJson) return {};
  u16string out = m_count ? u"\n]" : u"]";
  out += m_null ? u'\0' : u'\n';
  return out;
}

u16string Writer::One(Format format, const Reference& r, const smart::TitleLists& lists) {
  Writer w(format, false, lists);
  u16string out = w.Begin();
  out += w.Add(r);
  out += w.End();
  return out;
}

}  // namespace tf::reference
