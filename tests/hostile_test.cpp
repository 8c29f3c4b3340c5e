// Hostile input through the command line, as a user's script would feed it:
// the results are checked, not only survival.
#include <sys/stat.h>

#include <algorithm>

#include "tests/binary_test.h"

namespace tf {
namespace {

namespace fs = std::filesystem;
using Hostile = test::BinaryTest;

std::string Repeat(const std::string& s, size_t times) {
  std::string out;
  out.reserve(s.size() * times);
  for (size_t i = 0; i < times; ++i) out += s;
  return out;
}

TEST_F(Hostile, NulAndControlCharacters) {
  using namespace std::string_literals;
  // "the\0" is not the small word "the": it is capitalised like any word.
  const std::string in = "heat\0flow\r\n\x01\x1f the\0 of\0 \x7f"s;
  EXPECT_EQ(Run({"clean"}, in).out, "Heat\0flow \x01\x1f The\0 Of\0 \x7f\n"s);
  EXPECT_EQ(Run({"join", "--no-squish"}, in).out, "heat\0flow \x01\x1f the\0 of\0 \x7f\n"s);
}

TEST_F(Hostile, InvalidUtf8AndEncodedSurrogates) {
  // An encoded surrogate half is not UTF-8: every byte is read as Windows-1252.
  const auto got = Run({"clean"}, "x \xED\xA0\x80 y \xFF");
  EXPECT_EQ(got.status, 0);
  EXPECT_EQ(got.out, "X \xC3\xAD\xC2\xA0\xE2\x82\xAC Y \xC3\xBF\n");
}

TEST_F(Hostile, TenMegabytesWithoutASpace) {
  const std::string big(10 << 20, 'a');
  const auto clean = Run({"clean"}, big);
  ASSERT_EQ(clean.status, 0);
  ASSERT_EQ(clean.out.size(), big.size() + 1);
  EXPECT_EQ(clean.out.substr(0, 3), "Aaa");
  EXPECT_EQ(clean.out.find_first_not_of('a', 1), big.size());
  EXPECT_EQ(Run({"squish", "--no-wordlist"}, big).out, big + "\n");
  EXPECT_EQ(Run({"title"}, big).out, "\n");
}

TEST_F(Hostile, TenMegabytesOfLetterSpacedText) {
  // "zq" is no part of any built-in word, so the expected result is exact:
  // every spaced copy re-joined but the last, which touches the text's end.
  const auto list = File("list.txt", "zq\n");
  const size_t copies = (10 << 20) / 5;
  std::string in = "a ";
  in += Repeat("z q  ", copies);
  in += "z q";
  const auto got = Run({"squish", "--wordlist", list}, in);
  ASSERT_EQ(got.status, 0);
  std::string expected = "a ";
  expected += Repeat("zq  ", copies);
  expected += "z q\n";
  EXPECT_TRUE(got.out == expected);
  EXPECT_EQ(got.out.size(), 2 + 4 * copies + 4);
}

TEST_F(Hostile, HundredThousandLines) {
  std::string in, expected, joined;
  for (int i = 0; i < 100000; ++i) {
    in += "the line " + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
    expected += "The Line " + std::to_string(i) + "\n";
    joined += (i ? " the line " : "the line ") + std::to_string(i);
  }
  EXPECT_EQ(Run({"clean", "-l"}, in).out, expected);
  EXPECT_EQ(Run({"join", "--no-squish"}, in).out, joined + "\n");
  const auto paragraphs = Run({"join", "-p", "--no-squish"}, Repeat("a\r\n\r\n", 100000));
  EXPECT_EQ(paragraphs.out, Repeat("a\r\r", 99999) + "a\n");
}

TEST_F(Hostile, WordLists) {
  // A million words, the last of them the one the text needs.
  std::string million;
  for (int i = 0; i < 999999; ++i) {
    million += 'w';
    million += std::to_string(i);
    million += "x\n";
  }
  million += "quartzite\n";
  const auto big = File("million.txt", million);
  EXPECT_EQ(Run({"squish", "--wordlist", big}, "x q u a r t z i t e y").out, "x quartzite y\n");

  struct Row {
    std::string name, bytes, input, output;
  };
  const std::vector<Row> rows = {
      {"empty.txt", "", "x h e a t y", "x heat y\n"},
      {"letters.txt", "a\nb I x\n", "q a b I x z h e a t y", "q a b I x z heat y\n"},
      {"ansi.txt", "caf\xE9\r\nna\xEFve\r\n", "x c a f \xC3\xA9 y n a \xC3\xAF v e z",
       "x caf\xC3\xA9 y na\xC3\xAFve z\n"},
      {"utf8.txt", "\xEF\xBB\xBF" "\xC3\xA9tude\n", "x \xC3\xA9 t u d e y", "x \xC3\xA9tude y\n"},
  };
  for (const auto& r : rows) {
    const auto got = Run({"squish", "--wordlist", File(r.name, r.bytes)}, r.input);
    EXPECT_EQ(got.status, 0) << r.name;
    EXPECT_EQ(got.out, r.output) << r.name;
    EXPECT_EQ(got.err, "") << r.name;
  }
  // Exists but cannot be read (a folder; a file whose read fails even for
  // root): a message naming it, and the built-in words.
  fs::create_directory(Dir() / "folder");
  for (const std::string& path : {(Dir() / "folder").string(), std::string("/proc/self/mem")}) {
    const auto got = Run({"squish", "--wordlist", path}, "x h e a t y");
    EXPECT_EQ(got.status, 0) << path;
    EXPECT_EQ(got.out, "x heat y\n") << path;
    EXPECT_NE(got.err.find(path), std::string::npos) << got.err;
  }
}

TEST_F(Hostile, NestedWordsAndLongWords) {
  // 'aa' to a 1,001-letter word against two million spaced letters: every
  // letter ends up in some word, none is lost or doubled.
  std::string ladder;
  for (int n = 2; n <= 1001; ++n) ladder += std::string(static_cast<size_t>(n), 'a') + "\n";
  const auto list = File("ladder.txt", ladder);
  const size_t letters = 2'000'000;
  const auto got = Run({"squish", "--wordlist", list}, "x " + Repeat("a ", letters) + "y");
  ASSERT_EQ(got.status, 0) << got.err;
  EXPECT_EQ(std::count(got.out.begin(), got.out.end(), 'a'), static_cast<long>(letters));
  EXPECT_EQ(got.out.substr(0, 2), "x ");
  EXPECT_EQ(got.out.substr(got.out.size() - 3), " y\n");
  EXPECT_EQ(got.out.find("a a a"), std::string::npos);  // no three letters left spaced
  // A 200,000-letter word, letter-spaced in the text: joined whole.
  std::string word, spaced = "x ";
  for (size_t i = 0; i < 200'000; ++i) {
    const char c = static_cast<char>('a' + (i * 7 + i / 3) % 26);
    word += c;
    (spaced += c) += ' ';
  }
  const auto long_ = Run({"squish", "--wordlist", File("long.txt", word)}, spaced + "y");
  ASSERT_EQ(long_.status, 0) << long_.err;
  EXPECT_TRUE(long_.out == "x " + word + " y\n");
}

// A shell line run in the scratch folder, $T standing for the program.
test::ProcessResult Shell(const std::string& line, const std::filesystem::path& dir) {
  auto env = test::kNoDisplay;
  env["T"] = TF_BINARY;
  return test::RunProcess({"/bin/bash", "-c", line}, "", env, dir.string());
}

TEST_F(Hostile, ClosedOrFullStandardStreams) {
  struct Row {
    const char* name;
    std::string line;
    std::string inErr;
  };
  const std::vector<Row> rows = {
      {"output closed: the 8-byte result cannot go anywhere", "printf abcdefg | \"$T\" clean >&-",
       "cannot write"},
      {"output full", "printf abcdefg | \"$T\" clean >/dev/full", "cannot write"},
      {"--help into a full device", "\"$T\" --help >/dev/full", "cannot write"},
      {"--version into a full device", "\"$T\" --version >/dev/full", "cannot write"},
      {"input closed", "\"$T\" clean <&-", "standard input is closed"},
      {"input and output closed", "\"$T\" clean <&- >&-", "standard input is closed"},
  };
  for (const auto& r : rows) {
    const auto got = Shell(r.line, Dir());
    EXPECT_EQ(got.status, 1) << r.name;
    EXPECT_NE(got.err.find(r.inErr), std::string::npos) << r.name << ": " << got.err;
  }
}

TEST_F(Hostile, MemoryRunningOut) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#endif
  const auto got = Shell("ulimit -v 1000000; \"$T\" squish </dev/zero", Dir());
  EXPECT_EQ(got.status, 1);
  EXPECT_NE(got.err.find("not enough memory"), std::string::npos) << got.err;
}

TEST_F(Hostile, WordListsThatAreNotFiles) {
  // Found by itself: a FIFO with no writer is passed over with a warning
  // (never waited on); a link loop is reported like an unreadable list.
  ASSERT_EQ(::mkfifo((Dir() / "wordlist.txt").c_str(), 0600), 0);
  auto got = Run({"squish"}, "x h e a t y");
  EXPECT_EQ(got.status, 0);
  EXPECT_EQ(got.out, "x heat y\n");
  EXPECT_NE(got.err.find("wordlist.txt"), std::string::npos) << got.err;
  fs::remove(Dir() / "wordlist.txt");
  fs::create_symlink("wordlist.txt", Dir() / "wordlist.txt");
  got = Run({"squish"}, "x h e a t y");
  EXPECT_EQ(got.status, 0);
  EXPECT_EQ(got.out, "x heat y\n");
  EXPECT_NE(got.err.find("cannot read"), std::string::npos) << got.err;
  // Named: read even from a pipe.
  got = Shell("\"$T\" squish --wordlist <(printf 'tuff\\n') <<<'x t u f f y'", Dir());
  EXPECT_EQ(got.status, 0) << got.err;
  EXPECT_EQ(got.out, "x tuff y\n");
}

}  // namespace
}  // namespace tf
