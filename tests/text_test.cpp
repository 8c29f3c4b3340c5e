// The text engine against the behaviour users rely on: the documented
// examples, the decisions about line breaks at the ends and typed "!@#",
// text beyond ASCII, and a differential check against the literal steps.
#include <gtest/gtest.h>

#include <random>

#include "tests/literal/literal.h"
#include "tests/printable.h"
#include "text/text.h"

namespace tf {
namespace {

using S = std::u16string;
using test::Printable;

struct Case {
  S in;
  S out;
};

TEST(Primitives, TrimOnlyRemovesSpaces) {
  const std::vector<Case> cases = {
      {u"  a b  ", u"a b"}, {u"\t\r\n", u"\t\r\n"}, {u"", u""}, {u"   ", u""},
      {u"\u00A0x\u00A0", u"\u00A0x\u00A0"}, {u" \ta\t ", u"\ta\t"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Printable(c.in));
    EXPECT_EQ(S(Trim(c.in)), c.out);
  }
}

TEST(Primitives, CaseMappingKeepsLengthAndIgnoresLocale) {
  const std::vector<std::pair<S, S>> upper = {
      {u"abc", u"ABC"}, {u"é", u"É"}, {u"ß", u"ß"},     // no one-to-one upper case
      {u"ı", u"I"},     {u"i", u"I"}, {u"\U00010428", u"\U00010400"},  // Deseret pair
      {u"\xD801", u"\xD801"},  // a lone surrogate stays
      {S(1, u'\0'), S(1, u'\0')}, {u"e\u0301", u"E\u0301"}};
  for (const auto& [in, out] : upper) {
    SCOPED_TRACE(Printable(in));
    EXPECT_EQ(UCase(in), out);
    EXPECT_EQ(UCase(in).size(), in.size());
  }
  EXPECT_EQ(LCase(u"ÉCOLE \U00010400"), u"école \U00010428");
  EXPECT_EQ(LCase(u"İ"), u"i");  // the simple mapping: one unit, no dot added
}

TEST(Primitives, UpperCaseIsIdempotentOnEveryUnit) {
  // The squish index walks upper-cased text; a text already in upper case
  // must walk the same path as the word it was made from.
  for (char32_t c = 0; c < 0x10000; ++c) {
    const auto u = static_cast<char16_t>(c);
    ASSERT_EQ(UpperUnit(UpperUnit(u)), UpperUnit(u)) << static_cast<unsigned>(c);
  }
}

std::vector<S> Words(std::u16string_view t) {
  std::vector<S> out;
  for (auto w : BreakWords(t)) out.emplace_back(w);
  return out;
}

TEST(Splitting, BreakWords) {
  const std::vector<std::pair<S, std::vector<S>>> cases = {
      {u"", {}},
      {u"    ", {}},
      {u"Title\r\n", {u"Title"}},
      {u"\tTitle", {u"", u"Title"}},
      {u"a  b", {u"a", u"b"}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a b c", {u"a", u"b", u"c"}},
      {u"  x\u00A0y\fz  ", {u"x\u00A0y\fz"}},
      {u"\r", {u""}},
      {u"!@# a", {u"!@#", u"a"}},
  };
  for (const auto& [in, words] : cases) {
    SCOPED_TRACE(Printable(in));
    EXPECT_EQ(Words(in), words);
  }
}

TEST(TitleCase, Words) {
  const std::vector<Case> first = {
      {u"THE", u"The"}, {u"GIS", u"Gis"}, {u"x-ray-based", u"X-Ray-based"},
      {u"pre-", u"Pre-"}, {u"-", u"-"}, {u"", u""}, {u"  éclair ", u"éclair"}};
  for (const auto& c : first) EXPECT_EQ(CapitaliseFirstWord(c.in), c.out) << "strict " << Printable(c.in);
  const std::vector<Case> other = {
      {u"THE", u"the"}, {u"gis", u"GIS"}, {u"Tough2", u"TOUGH2"}, {u"ın", u"in"},
      {u"2nd", u"2nd"}, {u"(in", u"(in"}, {u"Éclair", u"Éclair"}, {u"ßx", u"ßx"},
      {u"a-\U00010428x", u"A-\U00010400x"}, {u"WELL-KNOWN", u"Well-Known"}};
  EXPECT_EQ(CleanTitle(u"a-\U00010428x"), literal::CleanTitle(u"a-\U00010428x"));
  for (const auto& c : other) EXPECT_EQ(FirstLetterUpper(c.in), c.out) << Printable(c.in);
}

TEST(TitleCase, CleanTitle) {
  const std::vector<Case> cases = {
      {u"the geology of new zealand", u"The Geology of New Zealand"},
      {u"RESERVOIR ENGINEERING AND THE TOUGH2 CODE", u"Reservoir Engineering and the TOUGH2 Code"},
      {u"co2 injection at the hdr site", u"Co2 Injection at the HDR Site"},
      {u"a study of self-sealing in wells", u"A Study of Self-Sealing in Wells"},
      {u"(in press) 2nd edition", u"(in Press) 2nd Edition"},
      {u"U.S.A. AND usa", u"U.s.a. and USA"},
      {u"\theat flow\r\n\tin the\r\n\tTAUPO zone", u"Heat Flow in the Taupo Zone"},
      {u"", u""}, {u"    ", u""}, {u"\r\n\t\r", u""},
      // The ends: line breaks and tabs count as spaces there.
      {u"\tthe geology", u"The Geology"}, {u"the geology\r\n", u"The Geology"},
      {u"\r\n the end \t", u"The End"},
      // Beyond ASCII: accented first letters are not touched.
      {u"école of ÉTUDES", u"école of ÉTUDES"}, {u"straße AND", u"Straße and"},
      {S(u"a\0b c", 5), S(u"A\0b C", 5)},
      {u"x\ry", u"X Y"}, {u"x\n\ry", u"X Y"},
      {u"\U00010428ab cd", u"\U00010428ab Cd"},
  };
  for (const auto& c : cases) EXPECT_EQ(CleanTitle(c.in), c.out) << Printable(c.in);
}

TEST(Joining, BothJoiners) {
  struct Row {
    S in, one, two;
  };
  const std::vector<Row> rows = {
      {u"", u"", u""},
      {u"   ", u"", u""},
      {u"Heat flow\r\nin wells", u"Heat flow in wells", u"Heat flow in wells"},
      {u"Heat  flow\tx", u"Heat flow x", u"Heat flow x"},
      {u"  one\r\n\r\n  two  ", u"one two", u"one\r\rtwo"},
      {u"a\rb", u"a b", u"a b"},
      {u"a\r\rb", u"a b", u"a\r\rb"},
      {u"a\n\nb", u"a b", u"a b"},
      {u"a\n\rb", u"a b", u"a\r\rb"},
      {u"a\r\n\r\n\r\nb", u"a b", u"a\r\r\r\rb"},
      {u"a\r\n \r\nb", u"a b", u"a b"},
      {u"a\r\n\t\r\nb", u"a b", u"a b"},
      // The ends: no leading space, no paragraph break at either end.
      {u"\r\nabc", u"abc", u"abc"},
      {u"\tabc", u"abc", u"abc"},
      {u"\r\n\r\nabc", u"abc", u"abc"},
      {u"abc\r\n\r\n", u"abc", u"abc"},
      {u"\r\n", u"", u""},
      {u"\r\n\r\n", u"", u""},
      {u"\r\r", u"", u""},
      // A typed "!@#" is a word like any other.
      {u"a !@# b", u"a !@# b", u"a !@# b"},
      {u"x !@#", u"x !@#", u"x !@#"},
      {u"!@# b", u"!@# b", u"!@# b"},
      {u"!@#\r\r!@#", u"!@# !@#", u"!@#\r\r!@#"},
      // Words are never changed, whatever they hold.
      {u"GEOLOGY of\r\nÉTUDES \U00010428", u"GEOLOGY of ÉTUDES \U00010428",
       u"GEOLOGY of ÉTUDES \U00010428"},
      {S(u"a\0b\r\rc", 6), S(u"a\0b c", 5), S(u"a\0b\r\rc", 6)},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(Printable(r.in));
    EXPECT_EQ(JustLineBreaks(r.in), r.one);
    EXPECT_EQ(JustLineBreaksKeepingParagraphs(r.in), r.two);
  }
}

TEST(AuthorsTitle, Table) {
  struct Row {
    S a, authors, title;
  };
  const std::vector<Row> rows = {
      {u"A Study of Heat Flow; Smith, J.r. and Jones, A.", u"Smith, J.R. and Jones, A.",
       u"A Study of Heat Flow"},
      {u"Smith, J.r.: Heat flow in wells", u"Smith, J.R.", u"Heat flow in wells"},
      {u"smith, j.r.: Title", u"smith, j.R.", u"Title"},
      {u"Title;   smith", u"Smith", u"Title"},
      {u"Title ; Smith", u"Smith", u"Title "},
      {u"Title; smith, j. r.", u"Smith, j. r.", u"Title"},
      {u"Title; x.y.z", u"X.Y.Z", u"Title"},
      {u"Title; x", u"x", u"Title"},
      {u"Smith: x", u"Smith", u"x"},
      {u"Title;", u"", u"Title"},
      {u"Title;  ", u"", u"Title"},
      {u"Smith:", u"Smith", u""},
      {u"; x y", u"", u"; x y"},
      {u";", u"", u";"},
      {u": x y", u": x y", u""},
      {u"a;b:c", u"B:c", u"a"},
      {u"Heat Flow in Wells", u"Heat Flow in Wells", u""},
      {u"j.r. smith", u"j.R. smith", u""},
      {u"a.b", u"a.B", u""},
      {u"", u"", u""},
      {u"x: ébc", u"x", u"Ébc"},
      {u"t; é.é.ß", u"É.É.ß", u"t"},
      {u"t; \U00010428.\U00010428", u"\U00010400.\U00010400", u"t"},
      {u"a..b", u"a..B", u""},  // only the character after the last dot changes
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(Printable(r.a));
    const auto got = GetAuthorsTitle(r.a);
    EXPECT_EQ(got.Authors, r.authors);
    EXPECT_EQ(got.Title, r.title);
  }
}

// Random texts made of the characters that matter, compared with the
// literal step lists (on the text with its blank ends stripped, and without
// "!@#" typed in, where the two are decided to differ).
S RandomText(std::mt19937& rng, size_t maxLen) {
  // Deseret letters stand for everything beyond U+FFFF: a pair of units
  // that case mapping must treat as one character.
  static const std::vector<S> kAlphabet = {
      u"a", u"A", u"b", u"B", u"e", u"E", u" ", u" ", u"\r", u"\n", u"\t", u".", u";", u":",
      u"-", u"ı", u"ß", u"é", u"\u00A0", u"x", u"X", u"t", u"T", u"h", u"H", u"i", u"I",
      u"n", u"N", u"\U00010428", u"\U00010400", u"\xD801"};
  std::uniform_int_distribution<size_t> len(0, maxLen), pick(0, kAlphabet.size() - 1);
  S s;
  for (size_t n = len(rng); n > 0; --n) s += kAlphabet[pick(rng)];
  return s;
}

S StripEnds(const S& s) {
  const auto a = s.find_first_not_of(u" \r\n\t");
  if (a == S::npos) return {};
  return s.substr(a, s.find_last_not_of(u" \r\n\t") - a + 1);
}

TEST(Differential, AgainstTheLiteralSteps) {
  std::mt19937 rng(12345);
  for (int i = 0; i < 20000; ++i) {
    const S in = RandomText(rng, 40);
    SCOPED_TRACE(Printable(in));
    const S stripped = StripEnds(in);
    ASSERT_EQ(CleanTitle(in), literal::CleanTitle(stripped)) << i;
    ASSERT_EQ(JustLineBreaks(in), literal::JustLineBreaks(stripped)) << i;
    ASSERT_EQ(JustLineBreaksKeepingParagraphs(in), literal::JustLineBreaksKeepingParagraphs(stripped)) << i;
    S authors, title;
    literal::GetAuthorsTitle(in, authors, title);
    const auto got = GetAuthorsTitle(in);
    ASSERT_EQ(got.Authors, authors) << i;
    ASSERT_EQ(got.Title, title) << i;
    std::vector<S> words;
    for (auto w : BreakWords(in)) words.emplace_back(w);
    ASSERT_EQ(words, literal::BreakWords(in, false)) << i;
  }
}

}  // namespace
}  // namespace tf
