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
#include "io/preferences.h"
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
      {"\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC"},  // nor anything above U+10FFFF
      {"a\xE2\x82", u"a\u00E2\u201A"},          // nor a sequence cut short
      // Long texts go through in pieces of 65,536 bytes: a sequence across
      // the cut stays whole, and a fault after it still counts.
      {std::string(65535, 'x') + "\xE2\x82\xAC", S(65535, u'x') + u"\u20AC"},
      {std::string(65534, 'x') + "\xF0\x9F\x98\x80", S(65534, u'x') + u"\U0001F600"},
      {std::string(70000, 'x') + "\xE9", S(70000, u'x') + u"\u00E9"},
      {std::string("a\0b", 3), S(u"a\0b", 3)},
      {std::string("\xFF\xFE" "c\0\xE9\0\x01\xD8\x28\xDC", 10), u"c\u00E9\U00010428"},  // UTF-16 LE
      {std::string("\xFE\xFF\0c\0\xE9", 6), u"c\u00E9"},                                  // UTF-16 BE
      {std::string("\xFF\xFE" "c", 3), u"\uFFFD"},  // half a unit
  };
  for (const auto& r : rows) EXPECT_EQ(DecodeText(r.bytes), r.text) << Printable(r.bytes);
  EXPECT_EQ(EncodeUtf8(u"é\U00010428"), "\xC3\xA9\xF0\x90\x90\xA8");
  EXPECT_EQ(EncodeUtf8(S(1, u'\xDC00')), "\xEF\xBF\xBD");
  EXPECT_EQ(EncodeUtf8(u"a\xD800"), "a\xEF\xBF\xBD");  // a lead at the very end
  // A pair across the pieces' cut stays a pair.
  EXPECT_EQ(EncodeUtf8(S(65535, u'x') + u"\U0001F600"), std::string(65535, 'x') + "\xF0\x9F\x98\x80");
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

std::string Contents(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Saving one preference changes that key's line and nothing else.
TEST_F(Files, PreferencesSavedInPlace) {
  SetEnv("XDG_CONFIG_HOME", (Dir() / "config").string());
  const fs::path conf = Dir() / "config" / "titlefixer" / "titlefixer.conf";
  struct Row {
    const char* name;
    const char* before;  // nullptr: no file
    Preference preference;
    bool value;
    const char* after;
  };
  const std::vector<Row> rows = {
      {"no file: made with its folder", nullptr, Preference::Smart, true, "[General]\nsmart=true\n"},
      {"the key replaced where it stands, comments and other keys kept",
       "; mine\n[General]\nfont=big\nsmart=false\n\n[Other]\nsmart=x\n", Preference::Smart, true,
       "; mine\n[General]\nfont=big\nsmart=true\n\n[Other]\nsmart=x\n"},
      {"a new key after the group's header", "[General]\nsmart=true\n", Preference::Shortcuts, true,
       "[General]\nshortcuts=true\nsmart=true\n"},
      {"no [General] group: one made at the top", "[Other]\na=b\n", Preference::Smart, false,
       "[General]\nsmart=false\n\n[Other]\na=b\n"},
      {"keys before any group are [General]'s", "smart=true\r\n[Other]\n", Preference::Smart, false,
       "smart=false\n[Other]\n"},
  };
  for (const auto& r : rows) {
    fs::remove_all(Dir() / "config");
    if (r.before) Write(conf, r.before);
    EXPECT_EQ(SavePreference(r.preference, r.value), "") << r.name;
    EXPECT_EQ(Contents(conf), r.after) << r.name;
    EXPECT_EQ(LoadPreferences().values.Get(r.preference), std::optional<bool>(r.value)) << r.name;
  }
  // No temporary file is left behind.
  size_t files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(conf.parent_path())) ++files;
  EXPECT_EQ(files, 1u);
}

// A settings file that is no regular file, or is too large, is left alone
// (read and written), with a message; nothing ever blocks or writes
// through a link to anything but a regular file.
TEST_F(Files, PreferencesLeaveOddFilesAlone) {
  SetEnv("XDG_CONFIG_HOME", (Dir() / "config").string());
  const fs::path folder = Dir() / "config" / "titlefixer", conf = folder / "titlefixer.conf";
  fs::create_directories(folder);
  struct Row {
    const char* name;
    void (*make)(const fs::path& conf);
    const char* said;  // in the messages
  };
  const std::vector<Row> rows = {
      {"a FIFO", [](const fs::path& c) { ASSERT_EQ(::mkfifo(c.c_str(), 0600), 0); }, "not a regular file"},
      {"a folder", [](const fs::path& c) { fs::create_directory(c); }, "not a regular file"},
      {"a link to a FIFO",
       [](const fs::path& c) {
         ASSERT_EQ(::mkfifo((c.parent_path() / "fifo").c_str(), 0600), 0);
         fs::create_symlink(c.parent_path() / "fifo", c);
       },
       "not a regular file"},
      {"a link to a device", [](const fs::path& c) { fs::create_symlink("/dev/null", c); }, "not a regular file"},
      {"over 1 MB", [](const fs::path& c) { std::ofstream(c) << "[General]\nsmart=true\n" << std::string(1 << 20, '#'); },
       "larger than 1 MB"},
  };
  for (const auto& r : rows) {
    r.make(conf);
    const LoadedPreferences loaded = LoadPreferences();
    EXPECT_FALSE(loaded.values.smart.has_value()) << r.name;
    ASSERT_EQ(loaded.warnings.size(), 1u) << r.name;
    EXPECT_NE(loaded.warnings[0].find(r.said), std::string::npos) << r.name << ": " << loaded.warnings[0];
    const std::string error = SavePreference(Preference::Smart, true);
    EXPECT_NE(error.find("not saved"), std::string::npos) << r.name << ": " << error;
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  // A link to a regular file: the file it leads to is written, the link stays.
  Write(Dir() / "elsewhere.conf", "# kept\n");
  fs::create_symlink(Dir() / "elsewhere.conf", conf);
  EXPECT_EQ(SavePreference(Preference::Smart, true), "");
  EXPECT_TRUE(fs::is_symlink(conf));
  EXPECT_EQ(Contents(Dir() / "elsewhere.conf"), "[General]\nsmart=true\n\n# kept\n");
}

}  // namespace
}  // namespace tf
