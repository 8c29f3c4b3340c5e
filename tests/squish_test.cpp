// The vocabulary and the letter-spacing repair: the documented examples,
// the punctuation tidy, the shapes that once made it slow, and a
// differential check of the fast pass against the literal one on generated
// texts and word lists.
#include <gtest/gtest.h>

#include <random>

#include "squish/squish.h"
#include "squish/successor.h"
#include "squish/vocabulary.h"
#include "tests/literal/literal.h"
#include "tests/printable.h"
#include "text/text.h"

namespace tf {
namespace {

using S = std::u16string;
using test::Printable;

TEST(Vocabulary, BuiltInWords) {
  const Vocabulary v;
  ASSERT_EQ(v.NumWords(), 268u);
  EXPECT_EQ(v.WordList().front(), u"permeabilities");
  EXPECT_EQ(v.SpacedWords(0), u" p e r m e a b i l i t i e s ");
  const std::vector<S> start = {u"permeabilities", u"significantly", u"characterized",
                                u"possibilities", u"stratigraphic", u"exploitation"};
  EXPECT_EQ(std::vector<S>(v.WordList().begin(), v.WordList().begin() + 6), start);
  const std::vector<S> end = {u"by", u"to", u"of", u"is", u"at", u"in"};
  EXPECT_EQ(std::vector<S>(v.WordList().end() - 6, v.WordList().end()), end);
  EXPECT_EQ(v.SpacedWords(267), u" i n ");
  // Same order as the literal bubble sort.
  EXPECT_EQ(v.WordList(), literal::StartWords(u"").wordList);
}

TEST(Vocabulary, WordListWordsTakeTheirPlaceByLength) {
  const auto v = Vocabulary::StartWords(u"andesite  basalt\r\ntuff");
  ASSERT_EQ(v.NumWords(), 271u);
  EXPECT_EQ(v.WordList()[124], u"andesite");
  EXPECT_EQ(v.WordList()[194], u"basalt");
  EXPECT_EQ(v.WordList()[255], u"tuff");
  const auto dup = Vocabulary::StartWords(u"\theat\r\rNew\tgeothermal\n");
  EXPECT_EQ(dup.NumWords(), 271u);
  EXPECT_EQ(dup.WordList(), literal::StartWords(u"\theat\r\rNew\tgeothermal\n").wordList);
}

TEST(Squish, DocumentedExamples) {
  const Vocabulary v;
  const std::vector<std::pair<S, S>> cases = {
      {u"a g e o t h e r m a l b", u"a geothermal b"},
      {u"x G E O T H E R M A L y", u"x geothermal y"},
      {u"x C H I N A y", u"x China y"},
      {u"x C h i n a y", u"x China y"},
      {u"x G e o t h e r m a l y", u"x G e o thermal y"},
      {u"x c h i n a y", u"x c h in a y"},
      {u"x h e a t e d y", u"x heated y"},
      {u"x h e a t i n g y", u"x heat in g y"},
      {u"x r e s e r v o i r s y", u"x reservoir s y"},
      {u"a t h e r m a l b t h e r m a l c", u"a thermal b the r m a l c"},
      {u"g e o t h e r m a l b", u"g e o thermal b"},
      {u"a g e o t h e r m a l", u"a g e o the r m a l"},
      {u"The s t u d y of h e a t , p o w e r . Done", u"The study of heat, power. Done"},
      {u"A   . B", u"A. B"},
      {u"A . . B", u"A.. B"},
      {u"A , , B", u"A,, B"},
      {u"x t h e r m a l .", u"x thermal ."},
      {u"A. B", u"A. B"},
      {u"  abc  ", u"abc"},
      {u"", u""},
      {u"     ", u""},
      {u"a . , b", u"a., b"},
      {u"a , . b", u"a ,. b"},
      {u"x\r\ng e o t h e r m a l\r\ny", u"x\r\ng e o the r m a l\r\ny"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(SquishText(in, v), out) << Printable(in);
}

TEST(Squish, PunctuationTidy) {
  struct Row {
    const char* name;
    S in, out;
  };
  const std::vector<Row> rows = {
      {"full stop", u"A . B", u"A. B"},
      {"comma", u"A , B", u"A, B"},
      {"every space before the mark", u"A    . B", u"A. B"},
      {"two in a row share a space", u"A . . B", u"A.. B"},
      {"each kind once a round", u"a . b . c , d , e", u"a. b. c, d, e"},
      {"the earlier kind goes first", u"a , . b", u"a ,. b"},
      {"no space after: untouched", u"A .B", u"A .B"},
      {"a mark first in the text", u". B", u". B"},
      {"at the end: untouched", u"A .", u"A ."},
      {"other marks: untouched", u"A ; B : C", u"A ; B : C"},
      {"nothing to do", u"A. B, C", u"A. B, C"},
  };
  for (const auto& r : rows) EXPECT_EQ(TidyPunctuation(r.in), r.out) << r.name;
}

TEST(Squish, OneLetterWordsAreNeverSearched) {
  const auto v = Vocabulary::StartWords(u"a I x");
  EXPECT_EQ(SquishText(u"q a b I x z", v), u"q a b I x z");
  EXPECT_EQ(SquishText(u"q h e a t z", v), u"q heat z");
}

// ---- differential -----------------------------------------------------------

S RandomWord(std::mt19937& rng, size_t minLen, size_t maxLen) {
  // With a Deseret letter (two units, each a character of its own to the
  // pass) standing for everything beyond U+FFFF.
  static const std::vector<S> kLetters = {u"a", u"b", u"c", u"d", u"e", u"h", u"i", u"l", u"m",
                                          u"n", u"o", u"r", u"s", u"t", u"u", u"é", u"ß", u"A",
                                          u"B", u"C", u"D", u"E", u"H", u"I", u"M", u"N", u"O",
                                          u"R", u"S", u"T", u"2", u".", u"-", u"\U00010428"};
  std::uniform_int_distribution<size_t> len(minLen, maxLen), pick(0, kLetters.size() - 1);
  S w;
  for (size_t n = len(rng); n > 0; --n) w += kLetters[pick(rng)];
  return w;
}

S WordList(std::mt19937& rng, size_t count) {
  S text;
  std::uniform_int_distribution<int> kind(0, 19);
  for (size_t i = 0; i < count; ++i) {
    const int k = kind(rng);
    text += k == 0 ? RandomWord(rng, 1, 1) : RandomWord(rng, 2, k < 15 ? 6 : 14);
    text += k == 1 ? u"\r\n" : k == 2 ? u"\t" : k == 3 ? u"\r" : u"\n";
  }
  return text;
}

S Spaced(const S& w) {
  S s;
  for (char16_t c : w) (s += c) += u' ';
  if (!s.empty()) s.pop_back();
  return s;
}

S RandomText(std::mt19937& rng, const std::vector<S>& words, size_t pieces) {
  std::uniform_int_distribution<size_t> pickWord(0, words.size() - 1);
  std::uniform_int_distribution<int> kind(0, 29);
  S t;
  for (size_t i = 0; i < pieces; ++i) {
    const S& w = words[pickWord(rng)];
    switch (kind(rng)) {
      case 0: t += u"."; break;
      case 1: t += u","; break;
      case 2: t += u"\r\n"; break;
      case 3: t += u"\t"; break;
      case 4: t += u"\n"; break;
      case 5: t += w; break;
      case 6: t += Spaced(UCase(w)); break;
      case 7: t += Spaced(LCase(w)); break;
      case 8: t += RandomWord(rng, 1, 1); break;
      case 9: t += Spaced(RandomWord(rng, 1, 5)); break;
      case 10: t += u"é"; break;
      default: t += Spaced(w);
    }
    t += kind(rng) < 3 ? u"  " : u" ";
  }
  if (kind(rng) < 10) t.insert(0, u"   ");
  return t;
}

void Compare(const S& wordListText, int texts, size_t pieces, unsigned seed) {
  std::mt19937 rng(seed);
  const auto fast = Vocabulary::StartWords(wordListText);
  const auto slow = literal::StartWords(wordListText);
  ASSERT_EQ(fast.WordList(), slow.wordList);
  for (size_t i = 0; i < fast.NumWords(); i += 97) ASSERT_EQ(fast.SpacedWords(i), slow.spacedWords[i]);
  for (int i = 0; i < texts; ++i) {
    const S text = RandomText(rng, slow.wordList, pieces);
    const S expected = literal::SquishText(text, slow);
    ASSERT_EQ(SquishText(text, fast), expected) << "text " << i << ": " << Printable(text);
    if (i % 10 == 0) {  // the pass's other ways of finding places, too
      ASSERT_EQ(detail::SquishText(text, fast, {0, 8}), expected) << "successor, text " << i;
    }
  }
}

TEST(SquishDifferential, BuiltInWords) { Compare(u"", 3000, 25, 1); }
TEST(SquishDifferential, SmallGeneratedList) {
  std::mt19937 rng(2);
  Compare(WordList(rng, 400), 3000, 30, 3);
}
TEST(SquishDifferential, ThirtyThousandWords) {
  std::mt19937 rng(4);
  Compare(WordList(rng, 30000), 60, 60, 5);
}

// Word lists whose words nest in one another, against texts that hold them
// many times over: where most of the pass's places overlap.
TEST(SquishDifferential, NestedWords) {
  struct Row {
    const char* name;
    S list;
    S text;
  };
  S ladder, alternating, spacedRun;
  for (int n = 2; n <= 30; ++n) ladder += S(static_cast<size_t>(n), u'a') + u"\n";
  for (int n = 2; n <= 12; ++n) {
    S w;
    for (int k = 0; k < n; ++k) w += k % 2 ? u'b' : u'a';
    alternating += w + u"\n" + UCase(w) + u"\n";
  }
  for (int k = 0; k < 400; ++k) spacedRun += k % 37 == 36 ? u"A " : u"a ";
  S abab;
  for (int k = 0; k < 300; ++k) abab += k % 2 ? u"b " : (k % 11 ? u"a " : u"A ");
  const std::vector<Row> rows = {
      {"ladder, one long run", ladder, u"x " + spacedRun + u"y"},
      {"ladder, runs broken by punctuation", ladder, u"x " + spacedRun + u", " + spacedRun + u"y"},
      {"alternating words", alternating, u"x " + abab + u"y"},
      {"a word and its own halves", u"abab\nab\nba\naba\nbab\n", u"q " + abab + u"q"},
  };
  // Every way the pass has of finding a spelling's next place.
  struct Way {
    const char* name;
    detail::PassLimits limits;
  };
  const std::vector<Way> ways = {{"as shipped", {}},
                                 {"successor structure only", {0, 8}},
                                 {"runs giving up at once", {4096, 0}}};
  for (const auto& r : rows) {
    const auto fast = Vocabulary::StartWords(r.list);
    const S expected = literal::SquishText(r.text, literal::StartWords(r.list));
    for (const auto& way : ways)
      EXPECT_EQ(detail::SquishText(r.text, fast, way.limits), expected) << r.name << ", " << way.name;
  }
}

// The two successor structures against a plain scan.
TEST(SquishDifferential, SuccessorStructures) {
  std::mt19937 rng(9);
  for (size_t size : {1u, 63u, 64u, 65u, 1000u, 70000u}) {
    std::uniform_int_distribution<std::uint32_t> value(0, static_cast<std::uint32_t>(2 * size));
    std::vector<std::uint32_t> values(size);
    for (auto& v : values) v = value(rng);
    const detail::RangeSuccessor successor(values, 18);
    detail::GrowingSet set(size);
    std::vector<bool> member(size, false);
    std::uniform_int_distribution<size_t> index(0, size - 1);
    for (int q = 0; q < 300; ++q) {
      size_t lo = index(rng), hi = index(rng) + 1;
      if (lo > hi) std::swap(lo, hi);
      const std::uint32_t y = value(rng);
      std::uint32_t best = detail::RangeSuccessor::kNone;
      for (size_t i = lo; i < hi; ++i)
        if (values[i] >= y) best = std::min(best, values[i]);
      ASSERT_EQ(successor.NextValue(lo, hi, y), best) << size << " " << lo << " " << hi << " " << y;
      const size_t add = index(rng);
      set.Insert(add);
      member[add] = true;
      const size_t from = index(rng);
      size_t next = from, absent = from;
      while (next < size && !member[next]) ++next;
      while (absent < size && member[absent]) ++absent;
      ASSERT_EQ(set.NextMember(from), next) << size << " " << from;
      ASSERT_EQ(set.NextAbsent(from), absent) << size << " " << from;
    }
    // Long runs of members, so that whole words and summaries fill up.
    for (size_t i = size / 7; i < size - size / 9; ++i) set.Insert(i), member[i] = true;
    for (size_t from : {size_t{0}, size / 7, size / 2, size - 1}) {
      size_t absent = from;
      while (absent < size && member[absent]) ++absent;
      ASSERT_EQ(set.NextAbsent(from), absent) << size << " " << from;
    }
  }
}

}  // namespace
}  // namespace tf
