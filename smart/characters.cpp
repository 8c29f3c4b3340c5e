// Rules 1, 2 and 5: characters, line-end hyphens, blank lines.
#include "smart/characters.h"
#include "smart/rules.h"
#include "text/lexicon.h"
#include "text/text.h"

namespace tf::smart {

using namespace detail;

std::u16string RepairCharacters(std::u16string_view text, bool spellLigatures) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (!spellLigatures && c >= 0xFB00 && c <= 0xFB06) {
      out += c;
      continue;
    }
    switch (c) {
      case 0xFB00: out += u"ff"; break;
      case 0xFB01: out += u"fi"; break;
      case 0xFB02: out += u"fl"; break;
      case 0xFB03: out += u"ffi"; break;
      case 0xFB04: out += u"ffl"; break;
      case 0xFB05: case 0xFB06: out += u"st"; break;
      case 0x00A0: case 0x202F: case 0x205F: case 0x3000: case 0x000B: out += u' '; break;
      case 0x000C: case 0x0085: case 0x2028: case 0x2029: out += u'\n'; break;
      case 0x200B: case 0x2060: case 0xFEFF: break;
      case 0x2010: case 0x2011: out += u'-'; break;
      case 0x00AD: i += LineBreakAt(text, i + 1); break;  // with the line break after it
      default:
        out += c >= 0x2000 && c <= 0x200A ? u' ' : c;
    }
  }
  return out;
}

std::u16string JoinLineEndHyphens(std::u16string_view text, const Dictionary& dictionary) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c != u'-' || out.empty()) {
      out += c;
      ++i;
      continue;
    }
    // The fragment before the hyphen: letters or digits back to the start.
    size_t left = out.size();
    while (left > 0) {
      size_t at = left - 1;
      if (at > 0 && U16_IS_TRAIL(out[at]) && U16_IS_LEAD(out[at - 1])) --at;
      size_t units;
      if (!IsLetterOrDigit(CodePointAt(out, at, &units))) break;
      left = at;
    }
    size_t j = i + 1;
    while (j < text.size() && IsBlank(text[j])) ++j;
    const size_t lineBreak = LineBreakAt(text, j);
    size_t k = j + lineBreak;
    while (k < text.size() && IsBlank(text[k])) ++k;
    size_t units = 0;
    const bool letterAfter = k < text.size() && IsLetter(CodePointAt(text, k, &units));
    if (left == out.size() || lineBreak == 0 || !letterAfter) {
      out += c;
      ++i;
      continue;
    }
    size_t right = k;
    while (right < text.size() && IsLetterOrDigit(CodePointAt(text, right, &units))) right += units;
    const std::u16string whole = out.substr(left) + std::u16string(text.substr(k, right - k));
    // A place's name counts as a word ("Califor-|nia"), as the dictionary
    // holds no names.
    if (!dictionary.IsWord(LCase(whole)) && !lexicon::HasSorted(lexicon::kRegions, whole)) out += u'-';
    i = k;  // the blanks and the break go
  }
  return out;
}

std::u16string MarkParagraphs(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const size_t first = LineBreakAt(text, i);
    if (first == 0) {
      out += text[i++];
      continue;
    }
    // After a line break: blanks and another break make a blank line; take
    // every one that follows.
    size_t end = i + first;
    bool blankLine = false;
    for (;;) {
      size_t j = end;
      while (j < text.size() && IsBlank(text[j])) ++j;
      const size_t next = LineBreakAt(text, j);
      if (next == 0) break;
      end = j + next;
      blankLine = true;
    }
    if (blankLine) {
      out += u"\r\r";
    } else {
      out.append(text.substr(i, first));
    }
    i = end;
  }
  return out;
}

}  // namespace tf::smart
