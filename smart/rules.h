// The repairs of smart mode, one function a rule, for text copied from
// today's PDFs. Each takes time linear in its text.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "smart/dictionary.h"

namespace tf::smart {

// What PDF text extractors leave, repaired before the rules: an accent
// printed on its own before its letter put on it ('Schr¨odinger' gives
// 'Schrödinger', 'G´omez' 'Gómez'; a dotless i under an accent is an i); a
// letter and the combining marks after it composed where Unicode has one
// character for them; a ligature with a space on either side joined to the
// word around it when the whole is a word ('e ﬃ cient' gives 'eﬃcient',
// which rule 1 spells out); a link that justification spaced out closed
// up ('https : / / doi . org / 10.1000 / xyz'), and one the layout broke
// after a slash or another of its marks at a line's end joined to its rest
// on the next line.
std::u16string RepairExtraction(std::u16string_view text, const Dictionary& dictionary);

// Rule 1, characters: the ligatures U+FB00-U+FB06 spelled out (ff fi fl ffi
// ffl st st); no-break and other wide spaces (U+00A0, U+2000-U+200A,
// U+202F, U+205F, U+3000) and the vertical tab as a space; U+200B, U+2060
// and U+FEFF removed; U+2010 and U+2011 as '-'; a soft hyphen removed, and
// the line break right after it too; a form feed, NEL (U+0085) and the
// line and paragraph separators (U+2028, U+2029) as a line break (LF).
// Nothing else changes. The ligatures stay as they are when not
// `spellLigatures`.
std::u16string RepairCharacters(std::u16string_view text, bool spellLigatures = true);
// Rule 1 with the repairs of what extractors leave.
std::u16string RepairCharacters(std::u16string_view text, const Dictionary& dictionary);

// Everything smart mode repairs in the characters of a text: rule 1 with
// the repairs of what extractors leave, then rule 2.
std::u16string RepairText(std::u16string_view text, const Dictionary& dictionary);

// Rule 2, line-end hyphens: letters or digits, '-', blanks, one line
// break, blanks, a letter. When the two fragments joined are a word, the
// hyphen, the blanks and the break go ('frac-' + break + 'tured' gives
// 'fractured'); otherwise only the blanks and the break ('self-consistent').
std::u16string JoinLineEndHyphens(std::u16string_view text, const Dictionary& dictionary);

// Rule 3 on one line (no line breaks in it): every letter-spaced word
// ('l a b o r a t o r y') joined, and split into words where it holds
// several ('t h e r m a l c o n d u c t i v i t y' gives 'thermal
// conductivity').
std::u16string RepairSpacedWords(std::u16string_view line, const Dictionary& dictionary);
// Rule 3 line by line, the line breaks kept as they are.
std::u16string RepairSpacedLines(std::u16string_view text, const Dictionary& dictionary);

// The user's additions to the title caser's lists, looked up in constant
// time whatever their size (a list of 100,000 acronyms costs no more a
// word than one of ten).
class TitleLists final {
 public:
  TitleLists() = default;
  // Acronyms as the user writes them ("MeV"); small words in any case.
  TitleLists(std::vector<std::u16string> acronyms, std::vector<std::u16string> smallWords);

  // The acronym as the user wrote it, for a word in capitals; nullptr when
  // it is none.
  const std::u16string* Acronym(const std::u16string& upper) const;
  // Whether a word in lower case is one of the user's small words.
  bool IsSmall(const std::u16string& lower) const { return m_small.contains(lower); }

 private:
  std::vector<std::u16string> m_acronyms;
  std::unordered_map<std::u16string, size_t> m_acronymIndex;  // in capitals: its place in m_acronyms
  std::unordered_set<std::u16string> m_small;                // in lower case
};

// Rule 4: the words (split as classic splits them) in title case, joined by
// single spaces; applied to its own result it changes nothing.
std::u16string TitleCase(std::u16string_view text, const TitleLists& lists);

// Rule 5: every run of blank lines (line breaks with nothing but spaces
// and tabs between them, in any convention) as one paragraph break, CR CR.
std::u16string MarkParagraphs(std::u16string_view text);

}  // namespace tf::smart
