// Rule 4: title case that knows acronyms, mixed-case words, Roman numerals,
// shouting, and every letter beyond A-Z.
#include <algorithm>
#include <array>

#include "smart/characters.h"
#include "smart/dictionary.h"
#include "text/lexicon.h"
#include "smart/rules.h"
#include "text/text.h"

namespace tf::smart {
namespace {

using namespace detail;

using lexicon::kAcronyms;
using lexicon::kSmallWords;

// The Roman numerals from 2 to 39.
constexpr std::array<std::u16string_view, 38> kRomans = {
    u"ii", u"iii", u"iv", u"v", u"vi", u"vii", u"viii", u"ix", u"x", u"xi", u"xii", u"xiii", u"xiv",
    u"xv", u"xvi", u"xvii", u"xviii", u"xix", u"xx", u"xxi", u"xxii", u"xxiii", u"xxiv", u"xxv",
    u"xxvi", u"xxvii", u"xxviii", u"xxix", u"xxx", u"xxxi", u"xxxii", u"xxxiii", u"xxxiv", u"xxxv",
    u"xxxvi", u"xxxvii", u"xxxviii", u"xxxix"};

// A letter counts as a capital (or as small) only when the case mapping
// title case uses can turn it into the other case: a letter that cannot be
// changed (U+212D, or a mapping that would change the text's length) has
// no case here, so that title case's own result reads as it meant it.
bool Changes(UChar32 c, UChar32 mapped) { return mapped != c && (mapped >= 0x10000) == (c >= 0x10000); }
bool IsCapital(UChar32 c) { return u_isupper(c) && Changes(c, u_tolower(c)); }
bool IsSmallLetter(UChar32 c) { return u_islower(c) && Changes(c, u_toupper(c)); }

// The letters of a text, as case goes.
struct Letters {
  int count = 0, capitals = 0;
  bool upper = false, lower = false;
  bool upperAfterFirst = false;

  explicit Letters(std::u16string_view s) {
    for (size_t i = 0; i < s.size();) {
      size_t units;
      const UChar32 c = CodePointAt(s, i, &units);
      i += units;
      if (!IsLetter(c)) continue;
      const bool isUpper = IsCapital(c);
      upper |= isUpper;
      lower |= IsSmallLetter(c);
      upperAfterFirst |= isUpper && count > 0;
      capitals += isUpper;
      ++count;
    }
  }
  // Upper and lower case with a capital after the first letter: pH, TiO2,
  // iPhone, McDonald.
  bool Mixed() const { return upper && lower && upperAfterFirst; }
  // Every letter a capital (a letter without case is none).
  bool AllCapitals() const { return count >= 2 && capitals == count; }
};

template <size_t N>
bool InList(const std::array<std::u16string_view, N>& list, std::u16string_view w) {
  return std::find(list.begin(), list.end(), w) != list.end();
}

bool IsRoman(std::u16string_view core) {
  const std::u16string lower = LCase(core);
  return InList(kRomans, lower) && (lower == core || UCase(core) == core);
}

// A word cut into what stands before it, its core and what stands after.
struct CutWord {
  std::u16string_view lead, core, trail;
  size_t part = 0;
};

CutWord Cut(std::u16string_view w) {
  size_t a = 0, b = w.size();
  while (a < b && IsOpening(w[a])) ++a;
  while (b > a && IsClosing(w[b - 1])) --b;
  return {w.substr(0, a), w.substr(a, b - a), w.substr(b)};
}

// What separates words, as classic splits them.
bool IsBreakUnit(char16_t c) { return c == u' ' || c == u'\r' || c == u'\n' || c == u'\t'; }

class TitleCaser {
 public:
  explicit TitleCaser(const TitleLists& lists) : m_lists(lists) {}

  // The acronym as its list writes it, or empty.
  std::u16string_view Acronym(std::u16string_view core) const {
    const std::u16string upper = UCase(core);
    if (const std::u16string* own = m_lists.Acronym(upper)) return *own;
    for (const auto a : kAcronyms)
      if (a == upper) return a;
    return {};
  }

  // Through capitals, so that a dotless i reads as an i ("ıs" is "is"), as
  // the capital it becomes will read next time.
  bool IsSmall(std::u16string_view core) const {
    const std::u16string lower = LCase(UCase(core));
    return InList(kSmallWords, lower) || m_lists.IsSmall(lower);
  }

  // A part of a word that tells whether its text is shouting: not in mixed
  // case, not an acronym, not a Roman numeral.
  bool Plain(std::u16string_view part) const {
    return !Letters(part).Mixed() && Acronym(part).empty() && !IsRoman(part);
  }

  // How a word weighs when deciding whether its part of the text is
  // shouting: it counts when a plain part of it has two letters or more,
  // and is in capitals when every such part is. Title case leaves a word's
  // weight as it was, so that it decides the same way on its own result.
  struct Weight {
    bool counts = false, capitals = true;
  };
  Weight Weigh(std::u16string_view core) const {
    Weight w;
    ForEachPart(core, [&](std::u16string_view part) {
      if (!Plain(part)) return;
      const Letters letters(part);
      if (letters.count < 2) return;
      w.counts = true;
      w.capitals &= letters.AllCapitals();
    });
    w.capitals &= w.counts;
    return w;
  }

  // The word with its plain parts in lower case.
  std::u16string Lowered(std::u16string_view core) const {
    std::u16string out;
    ForEachPart(core, [&](std::u16string_view part) {
      if (!out.empty() || part.data() != core.data()) out += u'-';
      out += Plain(part) ? LCase(part) : std::u16string(part);
    });
    return out;
  }

  template <typename F>
  static void ForEachPart(std::u16string_view core, F&& f) {
    for (size_t from = 0;;) {
      const size_t hyphen = core.find(u'-', from);
      f(core.substr(from, hyphen == std::u16string_view::npos ? hyphen : hyphen - from));
      if (hyphen == std::u16string_view::npos) return;
      from = hyphen + 1;
    }
  }

  // One word, or one part of a hyphenated word, by the first rule that fits.
  std::u16string Case(std::u16string_view part, bool shouting, bool mayBeSmall) const {
    const Letters letters(part);
    if (letters.Mixed()) return std::u16string(part);
    if (!shouting && letters.AllCapitals()) return std::u16string(part);
    if (const auto acronym = Acronym(part); !acronym.empty()) return std::u16string(acronym);
    if (IsRoman(part)) return UCase(part);
    if (mayBeSmall && IsSmall(part)) return LCase(part);
    size_t units;
    if (part.empty() || !IsLetter(CodePointAt(part, 0, &units))) return std::u16string(part);
    std::u16string out = LCase(part);
    const std::u16string first = UCase(part.substr(0, units));
    out.replace(0, units, first);
    return out;
  }

 private:
  const TitleLists& m_lists;
};

// Where a word ends in ':', '?' or '!', closing quotes and brackets aside.
bool EndsSentence(std::u16string_view w) {
  size_t b = w.size();
  while (b > 0 && IsClosingBracketOrQuote(w[b - 1])) --b;
  if (b > 0 && (w[b - 1] == u':' || w[b - 1] == u'?' || w[b - 1] == u'!')) return true;
  // A full stop after a whole English word ("The Authentic Heart. An
  // Eightfold Path"), not after an abbreviation ("Proc. of", "vs. the",
  // "J. of"): four letters or more, in small letters after the first, and
  // a word of the dictionary.
  if (b < 5 || w[b - 1] != u'.') return false;
  const std::u16string_view core = w.substr(0, b - 1);
  if (!std::all_of(core.begin() + 1, core.end(), [](char16_t c) { return c >= u'a' && c <= u'z'; }) ||
      !((core[0] >= u'a' && core[0] <= u'z') || (core[0] >= u'A' && core[0] <= u'Z')))
    return false;
  return Dictionary::English().SizeOf(LCase(core)) != Dictionary::kNoWord;
}

bool IsDash(std::u16string_view w) { return w == u"\u2014" || w == u"\u2013"; }

}  // namespace

TitleLists::TitleLists(std::vector<std::u16string> acronyms, std::vector<std::u16string> smallWords)
    : m_acronyms(std::move(acronyms)) {
  // The first of two spellings of one acronym wins, as the list reads.
  for (size_t i = 0; i < m_acronyms.size(); ++i) m_acronymIndex.emplace(UCase(m_acronyms[i]), i);
  for (const auto& s : smallWords) m_small.insert(LCase(s));
}

const std::u16string* TitleLists::Acronym(const std::u16string& upper) const {
  const auto it = m_acronymIndex.find(upper);
  return it == m_acronymIndex.end() ? nullptr : &m_acronyms[it->second];
}

std::u16string TitleCase(std::u16string_view text, const TitleLists& lists) {
  const TitleCaser caser(lists);
  const size_t first = text.find_first_not_of(u" \r\n\t");
  if (first == std::u16string_view::npos) return {};
  const std::u16string_view trimmed = text.substr(first, text.find_last_not_of(u" \r\n\t") - first + 1);
  // The words as classic splits them, visited twice rather than stored: a
  // pasted text may hold millions.
  const auto forEachWord = [&trimmed](auto&& visit) {
    for (size_t i = 0; i < trimmed.size();) {
      while (i < trimmed.size() && IsBreakUnit(trimmed[i])) ++i;
      const size_t begin = i;
      while (i < trimmed.size() && !IsBreakUnit(trimmed[i])) ++i;
      if (i > begin) visit(trimmed.substr(begin, i - begin));
    }
  };
  // Parts between semicolons, and whether each is shouting: more than half
  // of the words that count (two letters or more) written in capitals.
  std::vector<std::pair<int, int>> tally(1, {0, 0});  // per part: capitals, words
  size_t count = 0;
  forEachWord([&](std::u16string_view w) {
    const auto weight = caser.Weigh(Cut(w).core);
    if (weight.counts) {
      ++tally.back().second;
      if (weight.capitals) ++tally.back().first;
    }
    ++count;
    for (size_t k = static_cast<size_t>(std::count(w.begin(), w.end(), u';')); k > 0; --k) tally.emplace_back(0, 0);
  });

  std::u16string out;
  out.reserve(text.size());
  size_t i = 0, part = 0;
  std::u16string_view previous;
  forEachWord([&](std::u16string_view w) {
    const CutWord word = Cut(w);
    const bool shouting = 2 * tally[part].first > tally[part].second;
    std::u16string core(word.core);
    if (shouting && caser.Weigh(core).capitals) core = caser.Lowered(core);
    // A small word keeps its capital first and last, after ':', '?' or
    // '!', after a dash that stands alone, and as the first part of a
    // hyphenated word; a hyphenated word's other parts are inside it.
    const bool opens = i == 0 || EndsSentence(previous) || IsDash(previous);
    const bool closes = i + 1 == count;
    if (i > 0) out += u' ';
    out.append(word.lead);
    size_t from = 0;
    for (size_t k = 0;; ++k) {
      const size_t hyphen = core.find(u'-', from);
      const bool lastPart = hyphen == std::u16string::npos;
      const std::u16string_view piece =
          std::u16string_view(core).substr(from, lastPart ? std::u16string::npos : hyphen - from);
      const bool mayBeSmall = !(k == 0 && (opens || !lastPart)) && !(lastPart && closes);
      out += caser.Case(piece, shouting, mayBeSmall);
      if (lastPart) break;
      out += u'-';
      from = hyphen + 1;
    }
    out.append(word.trail);
    previous = w;
    part += static_cast<size_t>(std::count(w.begin(), w.end(), u';'));
    ++i;
  });
  return out;
}

}  // namespace tf::smart
