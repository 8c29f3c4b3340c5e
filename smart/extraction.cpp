// Rule 0: what PDF text extractors make of accents, ligatures and justified
// links. Each repair looks at a few characters around one place, so the
// pass is linear.
#include <unicode/unorm2.h>

#include <algorithm>

#include "smart/characters.h"
#include "smart/rules.h"
#include "text/text.h"

namespace tf::smart {
namespace {

using namespace detail;
using std::u16string;
using std::u16string_view;

// An accent printed on its own (as TeX draws it, before its letter) and
// the combining mark it stands for; 0 when it is none.
char16_t CombiningFor(char16_t c) {
  switch (c) {
    case u'\u00A8': return u'\u0308';  // diaeresis
    case u'\u00B4': return u'\u0301';  // acute
    case u'`': return u'\u0300';       // grave
    case u'\u02C6': return u'\u0302';  // circumflex
    case u'\u02DC': return u'\u0303';  // tilde
    case u'\u00B8': return u'\u0327';  // cedilla
    case u'\u02C7': return u'\u030C';  // caron
    case u'\u02D8': return u'\u0306';  // breve
    case u'\u02DA': return u'\u030A';  // ring
    case u'\u02D9': return u'\u0307';  // dot above
    case u'\u02DD': return u'\u030B';  // double acute
    case u'\u02DB': return u'\u0328';  // ogonek
    case u'\u00AF': return u'\u0304';  // macron
    default: return 0;
  }
}

// The letter with the mark on it, as one character, or 0: only where the
// letter in the other case takes the mark as well ('t' does, 'T' does
// not), for title case may change the case later, and the mark must not
// come loose then.
char16_t OnLetter(char16_t letter, char16_t mark);

// No mark comes before U+0300, and most text is all below it: those
// characters are answered without asking ICU.
bool IsCombining(UChar32 c) {
  return c >= 0x300 && (u_getCombiningClass(c) != 0 || u_charType(c) == U_NON_SPACING_MARK);
}

// A letter and its marks as one character where Unicode has one ('o' and
// U+0308 give 'ö'); as they were otherwise.
u16string Composed(u16string_view cluster) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
  if (U_FAILURE(status)) return u16string(cluster);
  u16string out(cluster.size(), u'\0');
  const int32_t n = unorm2_normalize(nfc, cluster.data(), static_cast<int32_t>(cluster.size()), out.data(),
                                     static_cast<int32_t>(out.size()), &status);
  if (U_FAILURE(status)) return u16string(cluster);
  out.resize(static_cast<size_t>(n));
  return out;
}

char16_t OnLetter(char16_t letter, char16_t mark) {
  const u16string composed = Composed(u16string{letter, mark});
  const char16_t other = u_isupper(letter) ? static_cast<char16_t>(u_tolower(letter)) : static_cast<char16_t>(u_toupper(letter));
  return composed.size() == 1 && Composed(u16string{other, mark}).size() == 1 ? composed[0] : 0;
}

u16string_view LigatureLetters(char16_t c) {
  switch (c) {
    case 0xFB00: return u"ff";
    case 0xFB01: return u"fi";
    case 0xFB02: return u"fl";
    case 0xFB03: return u"ffi";
    case 0xFB04: return u"ffl";
    case 0xFB05: case 0xFB06: return u"st";
    default: return {};
  }
}

bool IsLetterUnit(char16_t c) { return u_isalpha(c) && LigatureLetters(c).empty(); }

// Characters that a link is made of besides letters and digits, where
// justification puts spaces around them.
bool IsLinkMark(char16_t c) { return u16string_view(u"./:-_?=&#%~+").find(c) != u16string_view::npos; }

// What a link is written with: ASCII letters and digits and the marks
// RFC 3986 allows.
bool IsUrlCharacter(char16_t c) {
  return (c < 0x80 && u_isalnum(c)) || u16string_view(u"-._~:/?#[]@!$&'()*+,;=%").find(c) != u16string_view::npos;
}

// Spaces, tabs and line breaks: a link spaced out may be broken over lines
// too.
bool IsGap(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// "https : / / doi . org / 10.1000 / xyz" from `at` (which starts "http"):
// how far the spaced link reaches, and the link closed up; 0 when it is none.
size_t SpacedLink(u16string_view s, size_t at, u16string& link) {
  size_t i = at + 4;
  link = u16string(s.substr(at, 4));
  if (i < s.size() && (s[i] == u's' || s[i] == u'S')) link += s[i++];
  // The scheme's "://", spaced or not.
  for (char16_t want : {u':', u'/', u'/'}) {
    while (i < s.size() && IsGap(s[i])) ++i;
    if (i >= s.size() || s[i] != want) return 0;
    link += s[i++];
  }
  // Only a link whose "://" was spaced out is taken for one that
  // justification spaced: a link written close is left as it is (so that
  // the repair finds nothing more to do in its own result).
  const bool schemeSpaced = std::any_of(s.begin() + static_cast<long>(at), s.begin() + static_cast<long>(i), IsGap);
  if (!schemeSpaced) return 0;
  bool spaced = schemeSpaced;
  // Then: a space goes when a link mark stands on its other side with a
  // space of its own before it (" / "), or right after it. A full stop
  // with spaces around it ends a sentence, unless the whole link was
  // spaced out.
  // The host starts with a letter or digit.
  size_t host = i;
  while (schemeSpaced && host < s.size() && IsGap(s[host])) ++host;
  if (host >= s.size() || !u_isalnum(s[host])) return 0;
  bool markAlone = schemeSpaced;  // the last mark written had a space before it
  while (i < s.size()) {
    if (!IsGap(s[i]) && !IsUrlCharacter(s[i])) break;  // the link ends there
    if (!IsGap(s[i])) {
      if (!IsLinkMark(s[i])) markAlone = false;
      link += s[i++];
      continue;
    }
    size_t j = i;
    while (j < s.size() && IsGap(s[j])) ++j;
    if (j == s.size()) break;
    const char16_t before = link.back(), after = s[j];
    if (IsLinkMark(after) && (after != u'.' || schemeSpaced)) {
      markAlone = true;
    } else if (!(IsLinkMark(before) && markAlone)) {
      break;
    }
    spaced = true;
    i = j;
  }
  return spaced ? i : 0;
}

// Accents and ligatures as extractors leave them, repaired; the ligatures
// stay ligatures.
u16string RepairAccentsAndLigatures(u16string_view text, const Dictionary& dictionary) {
  u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    size_t units = 1;
    // An accent on its own before its letter: "Schr¨odinger", "G´omez".
    if (const char16_t mark = CombiningFor(c); mark != 0 && i + 1 < text.size() && u_isalpha(text[i + 1]) &&
                                               (c != u'`' || (!out.empty() && u_isalpha(out.back())))) {
      // TeX puts a dotless i under an accent; on a ligature, the accent
      // belongs to its first letter.
      const u16string_view ligature = LigatureLetters(text[i + 1]);
      const char16_t letter = text[i + 1] == u'\u0131' ? u'i' : ligature.empty() ? text[i + 1] : ligature[0];
      if (char16_t composed = OnLetter(letter, mark); composed != 0) {
        // Accents stacked before the letter ("´¨I"): each the one before.
        while (!out.empty() && CombiningFor(out.back()) != 0 && (out.back() != u'`' || out.size() > 1)) {
          const char16_t more = OnLetter(composed, CombiningFor(out.back()));
          if (more == 0) break;
          composed = more;
          out.pop_back();
        }
        out += composed;
        if (!ligature.empty()) out += ligature.substr(1);
        i += 2;
        continue;
      }
    }
    // A letter with combining marks after it: as one character where
    // Unicode has one.
    if (!out.empty() && IsCombining(CodePointAt(text, i, &units))) {
      size_t base = out.size() - 1;
      if (base > 0 && U16_IS_TRAIL(out[base]) && U16_IS_LEAD(out[base - 1])) --base;
      size_t end = i;
      while (end < text.size()) {
        size_t n;
        if (!IsCombining(CodePointAt(text, end, &n))) break;
        end += n;
      }
      // On a ligature, the marks belong to its last letter; on a dotless
      // i, to an i (as TeX sets one under an accent).
      u16string cluster(LigatureLetters(out[base]));
      if (cluster.empty()) cluster = out[base] == u'\u0131' ? u16string(u"i") : out.substr(base);
      cluster += text.substr(i, end - i);
      out.resize(base);
      // Composed only as far as the letter in the other case composes too
      // (see OnLetter): a change of case later must leave it as it is.
      u16string other = cluster;
      if (!other.empty()) other[0] = u_isupper(other[0]) ? static_cast<char16_t>(u_tolower(other[0])) : static_cast<char16_t>(u_toupper(other[0]));
      const u16string composed = Composed(cluster);
      out += composed.size() == Composed(other).size() ? composed : cluster;
      i = end;
      continue;
    }
    // A ligature with a space on either side that a word was broken
    // around: "e ﬃ cient", "de ﬁ ned".
    if (const u16string_view letters = LigatureLetters(c); !letters.empty()) {
      size_t left = out.size();
      const bool spaceBefore = left > 0 && out[left - 1] == u' ';
      size_t wordBegin = spaceBefore ? left - 1 : left;
      while (wordBegin > 0 && IsLetterUnit(out[wordBegin - 1])) --wordBegin;
      const size_t leftWordEnd = spaceBefore ? left - 1 : left;
      const bool spaceAfter = i + 1 < text.size() && text[i + 1] == u' ';
      size_t rightBegin = spaceAfter ? i + 2 : i + 1, rightEnd = rightBegin;
      while (rightEnd < text.size() && IsLetterUnit(text[rightEnd])) ++rightEnd;
      if ((spaceBefore || spaceAfter) && (wordBegin < leftWordEnd || rightBegin < rightEnd)) {
        u16string word = out.substr(wordBegin, leftWordEnd - wordBegin);
        word += letters;
        word += text.substr(rightBegin, rightEnd - rightBegin);
        if (dictionary.IsWord(LCase(word))) {
          // The spaces go only where a piece of the word stands beyond them.
          if (wordBegin < leftWordEnd) out.resize(leftWordEnd);
          out += c;
          if (rightBegin < rightEnd) {
            out += text.substr(rightBegin, rightEnd - rightBegin);
            i = rightEnd;
          } else {
            i += 1;
          }
          continue;
        }
      }
    }
    out += c;
    ++i;
  }
  return out;
}

// "https://apps.who.int/iris/" + line break + "handle/10665/331685" from
// `at` (which starts "http"): a link written close that the layout broke
// at a line's end, after one of its marks, the rest on the next line (its
// indent aside); how far it reaches and the link joined, 0 when it is not
// broken so. The rest must read as a link's (a slash, a full stop, a digit
// or an equals sign in it), so that a sentence after a link at a line's
// end stays a sentence ("https://a.org/" + break + "Accessed 2 May").
size_t BrokenLink(u16string_view s, size_t at, u16string& link) {
  const auto run = [&](size_t from) {
    size_t end = from;
    while (end < s.size() && !IsGap(s[end]) && IsUrlCharacter(s[end])) ++end;
    return end;
  };
  size_t i = run(at);
  link = u16string(s.substr(at, i - at));
  bool broken = false;
  while (i < s.size() && !link.empty() && u16string_view(u"/-_.=&?#%~").find(link.back()) != u16string_view::npos) {
    size_t j = i;
    while (j < s.size() && (s[j] == u' ' || s[j] == u'\t')) ++j;
    if (j < s.size() && s[j] == u'\r') ++j;
    if (j < s.size() && s[j] == u'\n') ++j;
    if (j == i || (s[j - 1] != u'\n' && s[j - 1] != u'\r')) break;
    while (j < s.size() && (s[j] == u' ' || s[j] == u'\t')) ++j;
    const size_t end = run(j);
    if (end == j || (end < s.size() && !IsGap(s[end]))) break;
    const u16string_view rest = s.substr(j, end - j);
    // Its own full stop at the end is the sentence's ("2019/x.").
    const u16string_view inner = rest.ends_with(u'.') ? rest.substr(0, rest.size() - 1) : rest;
    if (rest[0] >= 0x80 || !u_isalnum(rest[0])) break;  // "[40]", "(2020)": the next thing
    if (LCase(rest).find(u"http") != u16string::npos) break;  // another link
    if (inner.find_first_of(u"/.=") == u16string_view::npos && std::none_of(inner.begin(), inner.end(), IsDigit)) break;
    // After a full stop, a capital opens a sentence, and a year or a
    // number alone is the reference's, not the link's.
    if (link.back() == u'.' && (u_isupper(rest[0]) || inner.find_first_of(u"/.") == u16string_view::npos)) break;
    link += rest;
    i = end;
    broken = true;
  }
  return broken ? i : 0;
}

// Links that justification spaced out, closed up.
// "10.1021/ es030360x", "10.1016/ j.envsci. 2009.09.007" from `at` (which
// starts "10."): justification's spaces in a DOI, after its prefix's slash
// (no DOI ends there) and, while the part after the slash holds no digit
// yet, after a full stop before digits ("10.1002/ ldr. 1091"). How far
// the DOI reaches and the DOI closed up; 0 when nothing was spaced.
size_t SpacedDoi(u16string_view s, size_t at, u16string& doi) {
  size_t i = at + 3;
  while (i < s.size() && (IsDigit(s[i]) || s[i] == u'.')) ++i;
  if (i - at < 7 || i >= s.size() || s[i] != u'/') return 0;
  size_t j = ++i;
  while (j < s.size() && IsGap(s[j])) ++j;
  if (j == i || j >= s.size() || !u_isalnum(s[j]) || s[j] >= 0x80) return 0;
  doi = u16string(s.substr(at, i - at));
  i = j;
  bool digit = false;
  while (i < s.size()) {
    if (!IsGap(s[i]) && IsUrlCharacter(s[i])) {
      digit = digit || IsDigit(s[i]);
      doi += s[i++];
      continue;
    }
    if (!IsGap(s[i]) || digit || doi.back() != u'.') break;
    j = i;
    while (j < s.size() && IsGap(s[j])) ++j;
    if (j >= s.size() || !IsDigit(s[j])) break;
    i = j;
  }
  return i;
}

// Whether a link starts at text[i]: "http" in any case, not inside a word
// (what is written before it so far being `out`).
bool LinkStartsAt(u16string_view text, size_t i, const u16string& out) {
  return (text[i] == u'h' || text[i] == u'H') && (out.empty() || !u_isalnum(out.back())) && i + 4 <= text.size() &&
         LCase(text.substr(i, 4)) == u"http";
}

u16string CloseSpacedLinks(u16string_view text) {
  u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    if (c == u'1' && (out.empty() || !u_isalnum(out.back())) && text.substr(i).starts_with(u"10.")) {
      u16string doi;
      if (const size_t end = SpacedDoi(text, i, doi); end != 0) {
        out += doi;
        i = end;
        continue;
      }
    }
    if (LinkStartsAt(text, i, out)) {
      u16string link;
      if (const size_t end = SpacedLink(text, i, link); end != 0) {
        out += link;
        i = end;
        continue;
      }
    }
    out += c;
    ++i;
  }
  return out;
}

// Links the layout broke at a line's end, joined. After the spaced links
// are closed up, so that what this joins is final: a second round of the
// repairs finds nothing more to do.
u16string JoinBrokenLinks(u16string_view text) {
  if (text.find(u'\n') == u16string_view::npos && text.find(u'\r') == u16string_view::npos) return u16string(text);
  u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    if (LinkStartsAt(text, i, out)) {
      u16string link;
      if (const size_t end = BrokenLink(text, i, link); end != 0) {
        out += link;
        i = end;
        continue;
      }
    }
    out += c;
    ++i;
  }
  return out;
}

}  // namespace

u16string RepairExtraction(u16string_view text, const Dictionary& dictionary) {
  return JoinBrokenLinks(CloseSpacedLinks(RepairAccentsAndLigatures(text, dictionary)));
}

// Rule 1 comes first, but for the ligatures, which tell where a spaced
// ligature belongs; links are closed up once rule 1 has spelled them out
// and removed what it removes, so that the repairs find on their own
// result nothing more to do.
u16string RepairCharacters(u16string_view text, const Dictionary& dictionary) {
  // Most references hold nothing the first three passes change (ASCII
  // but a grave accent, a vertical tab or a form feed; accented Latin
  // letters; dashes and curly quotes): only links may.
  const auto untouched = [](char16_t c) {
    if (c < 0x80) return c != u'`' && c != 0x0B && c != 0x0C;
    return (c >= 0xC0 && c < 0x250) || c == u'\u2013' || c == u'\u2014' || c == u'\u2018' || c == u'\u2019' ||
           c == u'\u201C' || c == u'\u201D';
  };
  if (std::all_of(text.begin(), text.end(), untouched)) return JoinBrokenLinks(CloseSpacedLinks(text));
  return JoinBrokenLinks(CloseSpacedLinks(RepairCharacters(RepairAccentsAndLigatures(RepairCharacters(text, false), dictionary))));
}

u16string RepairText(u16string_view text, const Dictionary& dictionary) {
  return JoinLineEndHyphens(RepairCharacters(text, dictionary), dictionary);
}

}  // namespace tf::smart
