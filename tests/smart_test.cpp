// Smart mode, rule by rule and command by command, on the cases users meet
// in text copied from today's PDFs.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "smart/smart.h"
#include "smart/word_trie.h"
#include "tests/printable.h"
#include "tests/scratch.h"

namespace tf::smart {
namespace {

using S = std::u16string;
using test::Printable;

struct Row {
  S in, out;
};

const Lexicon& English() {
  static const Lexicon lexicon{Dictionary(), {}};
  return lexicon;
}

TEST(Smart, Characters) {
  const std::vector<Row> rows = {
      {u"E\uFB00ects of \uFB02uid \uFB02ow", u"Effects of fluid flow"},
      {u"\uFB01 \uFB03 \uFB04 \uFB05 \uFB06", u"fi ffi ffl st st"},
      {u"a\u00A0b\u2003c\u202Fd\u3000e\u205Ff\u2000g\u200Ah", u"a b c d e f g h"},
      {u"a\u200Bb\u2060c\uFEFFd", u"abcd"},
      {u"x\u2010y\u2011z", u"x-y-z"},
      {u"frac\u00AD\ntured", u"fractured"},
      {u"frac\u00AD\r\ntured and co\u00ADop", u"fractured and coop"},
      {u"a\u2013b\u2014c \u201Cq\u201D \u200D\u200C\u2012", u"a\u2013b\u2014c \u201Cq\u201D \u200D\u200C\u2012"},
      {u"page\fbreak", u"page\nbreak"},
      {u"a\u2028b\u2029c\u0085d\ve", u"a\nb\nc\nd e"},
  };
  for (const auto& r : rows) EXPECT_EQ(RepairCharacters(r.in), r.out) << Printable(r.in);
}

struct NamedRow {
  const char* name;
  S in, out;
};

TEST(Smart, ExtractionArtefacts) {
  const std::vector<NamedRow> rows = {
      {"diaeresis before its letter", u"Schr\u00A8odinger", u"Schr\u00F6dinger"},
      {"acute before its letter", u"G\u00B4omez and \u00B4Etude", u"G\u00F3mez and \u00C9tude"},
      {"acute over a dotless i", u"Mart\u00B4\u0131nez", u"Mart\u00EDnez"},
      {"caron, cedilla, ring", u"Dvo\u02C7r\u00B4ak, Fran\u00B8cois, \u02DAAngstr\u00F6m", u"Dvo\u0159\u00E1k, Fran\u00E7ois, \u00C5ngstr\u00F6m"},
      {"an accent with no letter after it stays", u"a \u00B4 b\u00A8", u"a \u00B4 b\u00A8"},
      {"a backquote opening a quote stays", u"`quoted' and `Etude", u"`quoted' and `Etude"},
      {"combining marks composed", u"Kova\u0301c\u030C, Schro\u0308dinger", u"Kov\u00E1\u010D, Schr\u00F6dinger"},
      {"a mark with no single character stays", u"c\u0306", u"c\u0306"},
      {"a mark on a dotless i", u"na\u0131\u0308ve", u"na\u00EFve"},
      {"a spaced ligature joined into a word", u"e \uFB03 cient, de \uFB01 ned, \uFB01 rst", u"e\uFB03cient, de\uFB01ned, \uFB01rst"},
      {"a spaced ligature that makes no word stays", u"x \uFB01 q", u"x \uFB01 q"},
      {"a spaced link closed up", u"see https : / / doi . org / 10.1000 / xyz for it",
       u"see https://doi.org/10.1000/xyz for it"},
      {"a link at a sentence's end", u"at http://a.org/b . Next", u"at http://a.org/b . Next"},
      {"a link without spaces stays", u"https://doi.org/10.1/x. Next", u"https://doi.org/10.1/x. Next"},
      {"no link", u"http is a protocol; https : no", u"http is a protocol; https : no"},
      {"a DOI spaced after its prefix closed up", u"doi: 10.1021/ es030360x.", u"doi: 10.1021/es030360x."},
      {"a DOI in a link, spaced after its prefix", u"https://doi.org/10.5942/ jawwa.2012.104.0071.",
       u"https://doi.org/10.5942/jawwa.2012.104.0071."},
      {"a DOI spaced after a full stop before its digits", u"doi: 10.1016/ j.envsci. 2009.09.007 and 10.1002/ ldr. 1091",
       u"doi: 10.1016/j.envsci.2009.09.007 and 10.1002/ldr.1091"},
      {"a full stop after a DOI's digits ends it", u"10.1038/ nature123. 2012.", u"10.1038/nature123. 2012."},
      {"a DOI with no space after its prefix stays", u"10.1000/xyz. 2009", u"10.1000/xyz. 2009"},
      {"a number and a slash that is no DOI stays", u"10.5/ 2 of them, p10.1000/ x", u"10.5/ 2 of them, p10.1000/ x"},
      {"a link broken after a slash, its rest indented on the next line",
       u"see https://apps.who.int/iris/\n     handle/10665/331685 now", u"see https://apps.who.int/iris/handle/10665/331685 now"},
      {"a DOI link broken after a full stop, over three lines", u"https://doi.org/10.1016/j.\nenvsci.2009.\r\n09.007.",
       u"https://doi.org/10.1016/j.envsci.2009.09.007."},
      {"a DOI link broken after its hyphen keeps it", u"https://doi.org/10.18653/v1/N19-\n1423", u"https://doi.org/10.18653/v1/N19-1423"},
      {"a sentence after a link at a line's end stays", u"https://a.org/\nAccessed 2 May 2020", u"https://a.org/\nAccessed 2 May 2020"},
      {"a capital after a link's full stop opens a sentence", u"http://www.r-project.org.\nVienna.2020/x",
       u"http://www.r-project.org.\nVienna.2020/x"},
      {"a blank line ends the link", u"https://a.org/b/\n\nc/d", u"https://a.org/b/\n\nc/d"},
      {"the next reference's number is no part of it", u"http://a.org/x.html.\n[40]", u"http://a.org/x.html.\n[40]"},
      {"nor a year after its full stop", u"http://a.org/report.\n2020.", u"http://a.org/report.\n2020."},
      {"nor another link", u"https://a.org/\nhttps://b.org/x", u"https://a.org/\nhttps://b.org/x"},
      {"a spaced link on the next line is closed up, not joined", u"https://a.org/\nhttps : / / b . org / x",
       u"https://a.org/\nhttps://b.org/x"},
  };
  for (const auto& r : rows) EXPECT_EQ(Printable(RepairExtraction(r.in, English().dictionary)), Printable(r.out)) << r.name;
}

// Text all of whose characters the character repairs leave alone is only
// checked for links; each row has one character that must still be
// repaired in text that is otherwise of that kind.
TEST(Smart, CharacterRepairsInPlainText) {
  const std::vector<NamedRow> rows = {
      {"a grave accent before its letter", u"Mis`ere and Fr`ere", u"Mis\u00E8re and Fr\u00E8re"},
      {"a form feed", u"page\fbreak", u"page\nbreak"},
      {"a vertical tab", u"a\vb", u"a b"},
      {"a no-break space beside accented letters", u"G\u00F3mez\u00A0and", u"G\u00F3mez and"},
      {"a soft hyphen beside dashes and curly quotes", u"\u201Cfrac\u00AD\ntured\u201D \u2013 x", u"\u201Cfractured\u201D \u2013 x"},
      {"a spaced link beside curly quotes", u"\u201Cx\u201D https : / / a . org / b", u"\u201Cx\u201D https://a.org/b"},
      {"nothing to repair", u"Gr\u00FCn, A. \u2018Heat\u2019 \u2014 1\u20132.", u"Gr\u00FCn, A. \u2018Heat\u2019 \u2014 1\u20132."},
  };
  for (const auto& r : rows)
    EXPECT_EQ(Printable(RepairCharacters(r.in, English().dictionary)), Printable(r.out)) << r.name;
}

TEST(Smart, LineEndHyphens) {
  const std::vector<Row> rows = {
      {u"frac-\ntured", u"fractured"},
      {u"GEO-\r\nTHERMAL", u"GEOTHERMAL"},
      {u"frac- \t\r  tured rock", u"fractured rock"},
      {u"self-\nconsistent", u"self-consistent"},
      {u"X-\nray", u"X-ray"},
      {u"CO2-\nrich", u"CO2-rich"},
      {u"well-\n\nknown", u"well-\n\nknown"},  // a blank line is no line end
      {u"- \nx", u"- \nx"},                     // nothing before the hyphen
      {u"a-\n1", u"a-\n1"},                     // no letter after the break
      {u"mid-line-break", u"mid-line-break"},
      {u"Califor-\nnia", u"California"},          // a region's name, which no dictionary word is
      {u"Baden-\nW\u00FCrttemberg", u"Baden-W\u00FCrttemberg"},  // not one joined
  };
  for (const auto& r : rows) EXPECT_EQ(JoinLineEndHyphens(r.in, English().dictionary), r.out) << Printable(r.in);
}

TEST(Smart, LetterSpacedWords) {
  const std::vector<Row> rows = {
      {u"l a b o r a t o r y  m e a s u r e m e n t s", u"laboratory measurements"},
      {u"t h e r m a l c o n d u c t i v i t y", u"thermal conductivity"},
      {u"x h e a t i n g y", u"x heating y"},
      {u"g e o t h e r", u"g e o t h e r"},
      {u"a b c d", u"a b c d"},
      {u"the r e v i e w: of", u"the review: of"},
      {u"(t h e r m a l)", u"(thermal)"},
      {u"G E O T H E R M A L", u"GEOTHERMAL"},
      {u"T h e r m a l", u"Thermal"},
      {u"the o f study", u"the o f study"},        // two letters between single spaces
      {u"word  o f  word", u"word  of  word"},      // two letters between wider gaps
      {u"o f study", u"o f study"},                // the line's edge on one side only
      {u"g e o\tt h e r m a l", u"g e o\tthermal"},  // a tab is a gap of two
      {u"1 9 9 8", u"1 9 9 8"},
      {u"the g e o t h e r m a l field", u"the geothermal field"},
  };
  for (const auto& r : rows) EXPECT_EQ(RepairSpacedWords(r.in, English().dictionary), r.out) << Printable(r.in);
  EXPECT_EQ(RepairSpacedLines(u"h e a t\r\nw e l l s\nx", English().dictionary), u"heat\r\nwells\nx");
}

TEST(Smart, TitleCase) {
  const std::vector<Row> rows = {
      {u"THE GEOLOGY OF THE WAIRAKEI FIELD; grindley, g.w.", u"The Geology of the Wairakei Field; Grindley, G.w."},
      {u"EFFECT OF pH ON SILICA", u"Effect of pH on Silica"},
      {u"NASA report", u"NASA Report"},
      {u"results: a review", u"Results: A Review"},
      {u"the authentic heart. an eightfold path", u"The Authentic Heart. An Eightfold Path"},
      {u"proc. of the society and j. of the field", u"Proc. of the Society and J. of the Field"},
      {u"is it? or not", u"Is It? Or Not"},
      {u"the end \u2014 of an era", u"The End \u2014 Of an Era"},
      {u"tio2 and TiO2 in iPhone cases by McDonald and DiPippo", u"Tio2 and TiO2 in iPhone Cases by McDonald and DiPippo"},
      {u"co2 at the usa: of, iv: vitamin x", u"CO2 at the USA: Of, IV: Vitamin X"},
      {u"part ii and part xiv but not Xi", u"Part II and Part XIV but Not Xi"},
      {u"state-of-the-art in-situ 3-d self-sealing", u"State-of-the-Art In-Situ 3-D Self-Sealing"},
      {u"a study of state-of-the-art methods", u"A Study of State-of-the-Art Methods"},
      {u"(in press) \u201Cgetting \u00E9tude", u"(In Press) \u201CGetting \u00C9tude"},
      {u"2nd edition of the", u"2nd Edition of The"},
      {u"\u00C9COLE ET \u00C9TUDE", u"\u00C9cole Et \u00C9tude"},
  };
  for (const auto& r : rows) {
    const S once = TitleCase(r.in, {});
    EXPECT_EQ(once, r.out) << Printable(r.in);
    EXPECT_EQ(TitleCase(once, {}), once) << "again: " << Printable(r.in);
  }
  const TitleLists lists{{u"MeV"}, {u"VIA"}};
  EXPECT_EQ(TitleCase(u"5 mev beams via pipes", lists), u"5 MeV Beams via Pipes");
}

TEST(Smart, BlankLines) {
  const std::vector<Row> rows = {
      {u"a\n\nb", u"a\r\rb"},
      {u"a\r\n \r\n\tb", u"a\r\r\tb"},
      {u"a\n\r\n\nb", u"a\r\rb"},
      {u"a\nb\r\nc\rd", u"a\nb\r\nc\rd"},
      {u"a\r\rb", u"a\r\rb"},
  };
  for (const auto& r : rows) EXPECT_EQ(MarkParagraphs(r.in), r.out) << Printable(r.in);
}

TEST(Smart, Commands) {
  const Lexicon& x = English();
  EXPECT_EQ(Clean(u"\te\uFB00ects of \uFB02uid flow in geo-\r\nthermal\r\n  reservoirs", x),
            u"Effects of Fluid Flow in Geothermal Reservoirs");
  EXPECT_EQ(Clean(u"t h e r m a l\r\nc o n d u c t i v i t y of rocks", x), u"Thermal Conductivity of Rocks");
  // Paragraph breaks as blank lines in the text's own convention.
  EXPECT_EQ(JoinLines(u"x h e a t i n g y\n\n \nl a b o r a t o r y  w o r k\r\n\r\nend", true, true, x),
            u"x heating y\r\n\r\nlaboratory work\r\n\r\nend");
  EXPECT_EQ(JoinLines(u"one\ntwo\n\nthree", true, true, x), u"one two\n\nthree");
  // Letters spaced with their case lost come out in one case.
  EXPECT_EQ(Clean(u"L a B O R a T O R Y M E a S U R E M E N T S", x), u"Laboratory Measurements");
  EXPECT_EQ(JoinLines(u"x h e a t i n g y\nnext", false, false, x), u"x h e a t i n g y next");
  EXPECT_EQ(Squish(u"  The s t u d y of h e a t , p o w e r . Done  ", x), u"The study of heat, power. Done");
  EXPECT_EQ(Squish(u"g e o t h e r m a l b", x), u"geothermal b");
  EXPECT_EQ(PrepareRaw(u"Title\n\nsmith\u00A0j", x), u"Title\r\rsmith j");
}

TEST(Smart, OwnWordsCountWithSizeZero) {
  const Dictionary own({u"Wairakei", u"x"});  // one-letter words other than a and I are none
  EXPECT_EQ(own.SizeOf(u"wairakei"), 0);
  EXPECT_FALSE(own.IsWord(u"x"));
  EXPECT_TRUE(own.IsWord(u"a"));
  EXPECT_TRUE(own.IsWord(u"i"));
  EXPECT_EQ(RepairSpacedWords(u"W a i r a k e i f i e l d", own), u"Wairakei field");
}

// Whole words are looked up in a hash table beside the trie; a trie read
// from bytes that end before the table walks instead. Both must give each
// word's smallest size and nothing for what is not a word.
TEST(Smart, WholeWordLookUps) {
  const std::vector<std::pair<S, std::uint8_t>> words = {
      {u"heat", 10}, {u"heat", 35}, {u"heath", 50}, {u"he", 20}, {u"flow", 70}, {u"g\u00E9ode", 0}, {u"\u5730\u70ED", 40}};
  const WordTrie built = WordTrie::Build(words);
  const std::vector<unsigned char> bytes = built.Serialize();
  const WordTrie viewed = WordTrie::View(bytes);
  // The table is the last thing in the bytes: 8 for its size, 8 a slot.
  const size_t slots = 16;  // at least twice the 6 words, and never fewer than 16
  ASSERT_GT(bytes.size(), 8 + 8 * slots);
  const std::vector<unsigned char> trieOnly(bytes.begin(), bytes.end() - 8 * slots - 8);
  const WordTrie walked = WordTrie::View(trieOnly);
  ASSERT_EQ(walked.NumNodes(), built.NumNodes());
  struct Look {
    const char* name;
    S word;
    std::uint8_t size;
  };
  const Look rows[] = {
      {"a word given twice keeps its smallest size", u"heat", 10},
      {"a word that extends another", u"heath", 50},
      {"a word that another extends", u"he", 20},
      {"size seventy", u"flow", 70},
      {"size zero, accented", u"g\u00E9ode", 0},
      {"not ASCII at all", u"\u5730\u70ED", 40},
      {"a prefix that is no word", u"hea", WordTrie::kNoWord},
      {"one letter more", u"flows", WordTrie::kNoWord},
      {"one letter of a word", u"h", WordTrie::kNoWord},
      {"nothing", u"", WordTrie::kNoWord},
      {"a word never given", u"rock", WordTrie::kNoWord},
      {"another case is another word", u"Heat", WordTrie::kNoWord},
  };
  for (const Look& r : rows) {
    EXPECT_EQ(built.SizeOf(r.word), r.size) << r.name;
    EXPECT_EQ(viewed.SizeOf(r.word), r.size) << r.name;
    EXPECT_EQ(walked.SizeOf(r.word), r.size) << r.name;
  }
  // And the English words as the program holds them, by both ways.
  const WordTrie& english = Dictionary::English();
  for (const S w : {u"the", u"reservoir", u"geothermal", u"permeability", u"zzzq", u"heatflows"}) {
    std::uint8_t walkedSize = WordTrie::kNoWord;
    english.Prefixes(w, w.size(), [&](size_t length, std::uint8_t size) {
      if (length == w.size()) walkedSize = size;
    });
    EXPECT_EQ(english.SizeOf(w), walkedSize) << Printable(w);
  }
  EXPECT_NE(english.SizeOf(u"reservoir"), WordTrie::kNoWord);
  EXPECT_EQ(english.SizeOf(u"zzzq"), WordTrie::kNoWord);
}

using SmartFiles = test::ScratchTest;

TEST_F(SmartFiles, UserListsAndTheSetting) {
  SetEnv("XDG_CONFIG_HOME", (Dir() / "config").string());
  Write("acronyms.txt", "MeV\r\nPWR\n");
  Write("smallwords.txt", "via");
  const engine::LoadedWords loaded = engine::LoadWords({false, {}});
  const engine::Engine e(engine::Mode::Smart, loaded.words);
  EXPECT_EQ(e.Clean(u"5 mev beams via a pwr"), u"5 MeV Beams via a PWR");
  const auto chosen = [](std::optional<engine::Mode> asked) { return engine::ChosenMode(asked, LoadPreferences().values); };
  EXPECT_EQ(chosen(std::nullopt), engine::Mode::Classic);
  Write(Dir() / "config" / "titlefixer" / "titlefixer.conf", "[General]\r\nsmart=true\r\n");
  EXPECT_EQ(chosen(std::nullopt), engine::Mode::Smart);
  EXPECT_EQ(chosen(engine::Mode::Classic), engine::Mode::Classic);
  Write(Dir() / "config" / "titlefixer" / "titlefixer.conf", "[Other]\nsmart=true\n[General]\nsmart=false\n");
  EXPECT_EQ(chosen(std::nullopt), engine::Mode::Classic);
}

}  // namespace
}  // namespace tf::smart
