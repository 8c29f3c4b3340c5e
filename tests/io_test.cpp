// Bytes to text, and the files the program reads: named ones, and the ones
// it finds by itself in the working directory or the configuration folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "io/encoding.h"
#include "io/files.h"
#include "tests/printable.h"
#include "tests/scratch.h"

namespace tf {
namespace {

using S = std::u16string;
namespace fs = std::filesystem;
using test::Printable;

TEST(Bytes, Decoding) {
  struct Row {
    std::string bytes;
    S text;
  };
  const std::vector<Row> rows = {
      {"abc", u"abc"},
      {"\xEF\xBB\xBF" "abc", u"abc"},
      {"caf\xC3\xA9", u"café"},
      {"caf\xE9", u"café"},  // not UTF-8: Windows-1252
      {"\x80\x81\x9F\xFF", u"\u20AC\u0081\u0178\u00FF"},
      {"\xF0\x90\x90\xA8", u"\U00010428"},
      {"\xED\xA0\x80", u"\u00ED\u00A0\u20AC"},  // an encoded surrogate is not UTF-8
      {"\xC0\xAF", u"\u00C0\u00AF"},            // nor is an overlong
      {std::string("a\0b", 3), S(u"a\0b", 3)},
  };
  for (const auto& r : rows) EXPECT_EQ(DecodeText(r.bytes), r.text) << Printable(r.bytes);
  EXPECT_EQ(EncodeUtf8(u"é\U00010428"), "\xC3\xA9\xF0\x90\x90\xA8");
  EXPECT_EQ(EncodeUtf8(S(1, u'\xDC00')), "\xEF\xBF\xBD");
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(DecodeText(one).size(), 1u) << b;
  }
}

using Files = test::ScratchTest;

TEST_F(Files, NamedFiles) {
  Write("utf8.txt", "\xEF\xBB\xBF" "caf\xC3\xA9\r\nna\xC3\xAFve");
  Write("ansi.txt", "caf\xE9 na\xEFve\x80");
  fs::create_directory("folder");
  const auto utf8 = ReadNamedFile("utf8.txt");
  EXPECT_EQ(utf8.status, UserFile::Status::Loaded);
  EXPECT_EQ(utf8.text, u"café\r\nnaïve");
  EXPECT_EQ(ReadNamedFile("ansi.txt").text, u"café naïve€");
  EXPECT_EQ(ReadNamedFile("nope.txt").status, UserFile::Status::Missing);
  EXPECT_EQ(PathError("nope.txt"), ENOENT);
  EXPECT_EQ(PathError("folder"), 0);
  const auto folder = ReadNamedFile("folder");
  EXPECT_EQ(folder.status, UserFile::Status::Unreadable);
  EXPECT_NE(folder.reason.find("directory"), std::string::npos) << folder.reason;
  // A pipe named by the user is read, written to meanwhile.
  ASSERT_EQ(::mkfifo("pipe", 0600), 0);
  std::thread writer([] { std::ofstream("pipe") << "basalt\n"; });
  const auto piped = ReadNamedFile("pipe");
  writer.join();
  EXPECT_EQ(piped.status, UserFile::Status::Loaded);
  EXPECT_EQ(piped.text, u"basalt\n");
}

TEST_F(Files, FoundInTheWorkingDirectoryThenTheConfigFolder) {
  const std::string config = (Dir() / "config").string();
  SetEnv("XDG_CONFIG_HOME", config);
  EXPECT_EQ(FindUserFile("wordlist.txt").status, UserFile::Status::Missing);
  Write(Dir() / "config" / "titlefixer" / "wordlist.txt", "x");
  auto found = FindUserFile("wordlist.txt");
  EXPECT_EQ(found.path, config + "/titlefixer/wordlist.txt");
  EXPECT_EQ(found.text, u"x");
  Write("wordlist.txt", "y");
  found = FindUserFile("wordlist.txt");
  EXPECT_EQ(found.path, "wordlist.txt");
  EXPECT_EQ(found.text, u"y");
  fs::remove("wordlist.txt");
  SetEnv("XDG_CONFIG_HOME", "relative");  // not absolute: ignored
  SetEnv("HOME", (Dir() / "home").string());
  Write(Dir() / "home" / ".config" / "titlefixer" / "wordlist.txt", "z");
  EXPECT_EQ(FindUserFile("wordlist.txt").text, u"z");
}

TEST_F(Files, FoundFilesThatAreNotPlainFiles) {
  SetEnv("XDG_CONFIG_HOME", (Dir() / "config").string());
  Write(Dir() / "config" / "titlefixer" / "list.txt", "from config");
  struct Row {
    const char* name;
    void (*make)();
    UserFile::Status status;
    bool skipped;  // passed over for the one in the config folder
  };
  const std::vector<Row> rows = {
      {"a FIFO with no writer is passed over, never waited on",
       [] { ASSERT_EQ(::mkfifo("list.txt", 0600), 0); }, UserFile::Status::Loaded, true},
      {"a folder is passed over", [] { fs::create_directory("list.txt"); }, UserFile::Status::Loaded, true},
      {"a link loop cannot be read", [] { fs::create_symlink("list.txt", "list.txt"); },
       UserFile::Status::Unreadable, false},
      {"a dangling link cannot be read", [] { fs::create_symlink("nowhere", "list.txt"); },
       UserFile::Status::Unreadable, false},
  };
  for (const auto& r : rows) {
    r.make();
    const UserFile found = FindUserFile("list.txt");
    EXPECT_EQ(found.status, r.status) << r.name;
    EXPECT_EQ(found.skipped.size(), r.skipped ? 1u : 0u) << r.name;
    if (r.skipped) {
      EXPECT_EQ(found.text, u"from config") << r.name;
      EXPECT_NE(found.skipped[0].find("list.txt"), std::string::npos) << r.name;
    } else {
      EXPECT_EQ(found.path, "list.txt") << r.name;
      EXPECT_FALSE(found.reason.empty()) << r.name;
    }
    fs::remove("list.txt");
  }
}

}  // namespace
}  // namespace tf
