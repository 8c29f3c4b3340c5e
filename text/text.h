// The classic text operations: pure functions on UTF-16 text, no Qt, no
// state, no I/O (the README's folder table shows where they sit). Every one
// takes time linear in its input and has no limit on the length of a text
// or the number of its words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tf {

// ---- primitives -----------------------------------------------------------

// The text without its leading and trailing U+0020 spaces; TAB, CR, LF and
// other blanks are kept.
std::u16string_view Trim(std::u16string_view s);

// Upper/lower case per code point with the simple one-to-one mappings,
// independent of the locale. Surrogate pairs are mapped as one code point;
// a mapping that would change the number of UTF-16 units is not applied, so
// the length never changes. Lone surrogates are left alone.
std::u16string UCase(std::u16string_view s);
std::u16string LCase(std::u16string_view s);
// One UTF-16 unit upper-cased on its own (a surrogate is returned as it is).
char16_t UpperUnit(char16_t c);

// True when the word's first character, upper-cased, is one of A to Z:
// the test that decides whether the title caser touches a word at all.
bool StartsWithTitleLetter(std::u16string_view w);

// ---- word splitting -------------------------------------------------------

// The words of `a`: CR, LF and TAB count as spaces, runs of them give no
// empty word, except that a (space-trimmed) text beginning with CR, LF or
// TAB yields an empty first word. The views point into `a`.
std::vector<std::u16string_view> BreakWords(std::u16string_view a);

// ---- title casing ---------------------------------------------------------

// One word (trimmed first) in title case: the small words in lower case, the
// acronyms in upper case, any other word starting with A-Z capitalised with
// the letter after its first hyphen upper-cased; other words unchanged.
std::u16string FirstLetterUpper(std::u16string_view w);
// As FirstLetterUpper but without the two lists (for a title's first word).
std::u16string CapitaliseFirstWord(std::u16string_view w);
// The text as one title-cased line with single spaces between words.
std::u16string CleanTitle(std::u16string_view in);

// ---- line joining ---------------------------------------------------------

// The words joined by single spaces; no word is changed.
std::u16string JustLineBreaks(std::u16string_view in);
// As JustLineBreaks, but every blank line becomes CR CR glued to the words
// on both sides (classic mode's own paragraph break, kept on purpose; smart
// mode writes the input's convention).
std::u16string JustLineBreaksKeepingParagraphs(std::u16string_view in);

// ---- authors and title ----------------------------------------------------

struct AuthorsTitle {
  std::u16string Authors;
  std::u16string Title;
  bool operator==(const AuthorsTitle&) const = default;
};

// Splits a reference at its first ';' (title before, authors after) or, when
// there is none, at its first ':' (authors before, title after), and
// upper-cases every character that follows a '.' in the authors.
AuthorsTitle GetAuthorsTitle(std::u16string_view a);

}  // namespace tf
