// The command line as a script drives it: the built binary, real pipes and
// files, no display.
#include <algorithm>

#include "tests/binary_test.h"
#include "tests/printable.h"

namespace tf {
namespace {

namespace fs = std::filesystem;
using test::kNoDisplay;
using test::RunProcess;
using Cli = test::BinaryTest;

struct Row {
  std::vector<std::string> args;
  std::string input;
  std::string out;
};

TEST_F(Cli, Commands) {
  const std::vector<Row> rows = {
      {{"clean"}, "the geology of new zealand", "The Geology of New Zealand\n"},
      {{"clean"}, "\tRESERVOIR\r\n  ENGINEERING AND\r\nthe tough2 code\r\n",
       "Reservoir Engineering and the TOUGH2 Code\n"},
      {{"clean"}, "", "\n"},
      {{"join", "--no-squish"}, "  one\r\n\r\n  two  ", "one two\n"},
      {{"join", "--no-squish", "-p"}, "  one\r\n\r\n  two  ", "one\r\rtwo\n"},
      {{"join", "--keep-paragraphs", "--no-squish"}, "a !@# b\r\n\r\n", "a !@# b\n"},
      {{"join", "--no-wordlist"}, "x h e a t e d\r\ny", "x heated y\n"},
      {{"join", "-p", "--no-wordlist"}, "x g e o t h e r m a l y\r\n\r\nb . c",
       "x geothermal y\r\rb. c\n"},
      {{"squish", "--no-wordlist"}, "The s t u d y of h e a t , p o w e r . Done",
       "The study of heat, power. Done\n"},
      {{"squish", "--no-wordlist"}, "x h e a t e d y\n", "x heated y\n"},
      {{"authors"}, "a study of heat flow; smith, j.r. and jones, a.", "Smith, J.R. and Jones, A.\n"},
      {{"title"}, "a study of heat flow; smith, j.r. and jones, a.", "A Study of Heat Flow\n"},
      {{"authors", "--raw"}, "smith, j.r.: Title", "smith, j.R.\n"},
      {{"title", "--raw"}, "smith, j.r.: heat", "Heat\n"},
      {{"title"}, "no delimiter here", "\n"},
      // Input that is not UTF-8 is Windows-1252; output is always UTF-8.
      {{"clean"}, "caf\xE9 \x93quoted\x94", "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D\n"},
      {{"clean"}, "\xEF\xBB\xBF" "abc", "Abc\n"},
      {{"clean"}, std::string("a\0b", 3), std::string("A\0b\n", 4)},
      // One text per line.
      {{"clean", "-l"}, "the one\r\nthe two\n\nlast", "The One\nThe Two\n\nLast\n"},
      {{"title", "-l", "--raw"}, "a;b\nc:d\nc: de\n", "a\nd\nDe\n"},
      {{"clean", "-l", "-z"}, std::string("x y\0a\nb\0", 8), std::string("X Y\0A B\0", 8)},
      {{"clean", "-lz"}, std::string("x\0", 2), std::string("X\0", 2)},
      {{"clean", "-l"}, "", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.args[0] + " on " + test::Printable(r.input));
    const auto got = Run(r.args, r.input);
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_EQ(got.out, r.out);
  }
}

TEST_F(Cli, FilesAndStandardInput) {
  const auto a = File("a.txt", "heat flow\r\n");
  const auto b = File("b.txt", "\xEF\xBB\xBF" "in wells");
  EXPECT_EQ(Run({"clean", a, b}).out, "Heat Flow in Wells\n");
  EXPECT_EQ(Run({"clean", a, "-", b}, "of the\n").out, "Heat Flow of the in Wells\n");
  EXPECT_EQ(Run({"clean", "-"}, "x").out, "X\n");
  // Each FILE is decoded on its own: UTF-8 in one, Windows-1252 in the next.
  const auto utf8 = File("utf8.txt", "caf\xC3\xA9 ");
  const auto ansi = File("ansi.txt", "na\xEFve");
  EXPECT_EQ(Run({"join", "--no-squish", utf8, ansi}).out, "caf\xC3\xA9 na\xC3\xAFve\n");
  // File names are bytes: one that is not UTF-8 opens like any other.
  const auto latin = File("caf\xE9.txt", "tuff\n");
  EXPECT_EQ(Run({"clean", latin}).out, "Tuff\n");
  EXPECT_EQ(Run({"squish", "--wordlist", latin}, "x t u f f y").out, "x tuff y\n");
}

TEST_F(Cli, ErrorsAndExitStatus) {
  struct Err {
    std::vector<std::string> args;
    int status;
    std::string inErr;
  };
  const std::vector<Err> rows = {
      {{"frobnicate"}, 2, "frobnicate"},
      {{"clean", "--bogus"}, 2, "bogus"},
      {{"clean", "-p"}, 2, "join"},
      {{"squish", "--raw"}, 2, "raw"},
      {{"clean", "--wordlist", "a", "--no-wordlist"}, 2, "exclude"},
      // Usage errors are found before any display is looked for.
      {{"--bogus"}, 2, "bogus"},
      {{"-l"}, 2, "needs a command"},
      {{"-help"}, 2, "--help"},
      {{"clean", "-version"}, 2, "--version"},
      {{"reference", "--format", "endnote"}, 2, "endnote"},
      {{"reference", "--format"}, 2, "FORMAT"},
      {{"title", "--format", "ris"}, 2, "goes with reference"},
      {{"reference", "--raw"}, 2, "raw"},
      {{"join", "--clipboard", "a.txt"}, 2, "takes no FILE"},
      {{"--clipboard"}, 2, "needs a command"},
      {{"join", "--clipboard"}, 1, "no display"},
      {{}, 1, "no display"},  // the window, and nothing to open it on
      {{"--no-wordlist"}, 1, "no display"},
      {{"clean", (Dir() / "missing.txt").string()}, 1, "missing.txt"},
      {{"clean", Dir().string()}, 1, "directory"},
      {{"squish", "--wordlist", (Dir() / "nolist.txt").string()}, 1, "nolist.txt"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.args.empty() ? std::string("no arguments") : r.args[0] + " ... " + r.inErr);
    const auto got = Run(r.args, "x");
    EXPECT_EQ(got.status, r.status);
    EXPECT_EQ(got.out, "");
    EXPECT_NE(got.err.find(r.inErr), std::string::npos) << got.err;
  }
  const auto help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("titlefixer join"), std::string::npos);
  const std::string version = Run({"--version"}).out;
  EXPECT_EQ(version.rfind("titlefixer ", 0), 0u);
  EXPECT_NE(version.find("Copyright"), std::string::npos);
  EXPECT_NE(version.find("MIT"), std::string::npos);
}

// A copy of the program whose built-in data is damaged stops at once,
// saying what, instead of giving empty references or unrepaired text.
TEST_F(Cli, DamagedBuiltInDataStopsTheProgram) {
  std::ifstream in(TF_BINARY, std::ios::binary);
  const std::string program((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Where the data's header stands: followed by what only the data holds
  // (the code may hold the magic too).
  const auto modelAt = [&] { return program.find(std::string("TFREFMDL\x02\0\0\0\x01\0\0\0", 16)); };
  const auto dictionaryAt = [&] {
    // The magic, then a node count of a plausible size.
    for (size_t at = program.find("TFWORDS2"); at != std::string::npos; at = program.find("TFWORDS2", at + 1)) {
      std::uint64_t nodes = 0;
      for (size_t i = 0; i < 8 && at + 8 + i < program.size(); ++i)
        nodes |= std::uint64_t{static_cast<unsigned char>(program[at + 8 + i])} << (8 * i);
      if (nodes > 100'000 && nodes < 100'000'000) return at;
    }
    return std::string::npos;
  };
  struct Row {
    const char* name;
    std::function<size_t()> where;
    size_t offset;         // from the header's start
    std::string replace;   // the bytes put there
    const char* said;
  };
  const Row rows[] = {
      {"the reference model's format version", modelAt, 8, std::string("\x09", 1),
       "its reference model cannot be used (format version 9, not 2)"},
      {"the reference model's token template set", modelAt, 12, std::string("\x05", 1),
       "its reference model cannot be used (token template set 5, not 1)"},
      {"the labels in another order", modelAt, 28 + 16 + 1, "editor",
       "its reference model cannot be used (label 1 is \"editor\", not \"author\")"},
      {"the dictionary's magic", dictionaryAt, 7, "9", "its English dictionary cannot be read"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    std::string damaged = program;
    const size_t at = r.where();
    ASSERT_NE(at, std::string::npos);
    damaged.replace(at + r.offset, r.replace.size(), r.replace);
    const std::string copy = File("titlefixer-damaged", damaged);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_all);
    const auto got = RunProcess({copy, "clean"}, "heat flow", kNoDisplay, Dir().string());
    EXPECT_EQ(got.status, 70);
    EXPECT_EQ(got.out, "");
    EXPECT_EQ(got.err, std::string("titlefixer: this copy of the program is damaged: ") + r.said + "; install it again\n");
  }
}

TEST_F(Cli, WindowWithoutAUsableDisplayFailsInOneLine) {
  for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
           {"DISPLAY", ":77"}, {"QT_QPA_PLATFORM", "nonexistent"}}) {
    auto env = kNoDisplay;
    env[name] = value;
    const auto got = RunProcess({TF_BINARY}, "", env, Dir().string());
    EXPECT_EQ(got.status, 1) << name;
    EXPECT_EQ(std::count(got.err.begin(), got.err.end(), '\n'), 1) << got.err;
    EXPECT_NE(got.err.find("cannot open the window"), std::string::npos) << got.err;
  }
}

TEST_F(Cli, WordList) {
  const auto list = File("words.txt", "tuff\nbasalt");
  EXPECT_EQ(Run({"squish", "--wordlist", list}, "x t u f f y").out, "x tuff y\n");
  EXPECT_EQ(Run({"squish", "--no-wordlist"}, "x t u f f y").out, "x t u f f y\n");
  // The default list is wordlist.txt in the working directory.
  File("wordlist.txt", "b a s a l t\n basalt");
  EXPECT_EQ(Run({"squish"}, "x b a s a l t y").out, "x basalt y\n");
  // A list that exists but cannot be read: a warning, and the built-in words.
  fs::remove(Dir() / "wordlist.txt");
  fs::create_directory(Dir() / "wordlist.txt");
  const auto folder = Run({"join"}, "x h e a t y");
  EXPECT_EQ(folder.status, 0);
  EXPECT_EQ(folder.out, "x heat y\n");
  EXPECT_NE(folder.err.find("wordlist.txt"), std::string::npos) << folder.err;
}

}  // namespace
}  // namespace tf
