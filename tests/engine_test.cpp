// The engine the window and the command line share: what each command does
// to the texts being worked on, and how the words are loaded.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tests/scratch.h"

namespace tf::engine {
namespace {

using S = std::u16string;

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { m_words = Words(Vocabulary(), smart::TitleLists()); }
  Words m_words;
};

// Start-up splits too, so that the authors and title never hold anything
// but the clipboard's own text.
TEST_F(SessionTest, StartUpTitleCasesAndSplits) {
  Session session(m_words);
  session.StartUp(u"the geology of\r\n\tnew zealand; smith, j.r.");
  EXPECT_EQ(session.Raw(), u"the geology of\r\n\tnew zealand; smith, j.r.");
  EXPECT_EQ(session.Working(), u"The Geology of New Zealand; Smith, J.r.");
  EXPECT_EQ(session.Authors(), u"Smith, J.R.");
  EXPECT_EQ(session.Title(), u"The Geology of New Zealand");
  EXPECT_TRUE(session.HasSplit());
}

TEST_F(SessionTest, RefreshSplitsTheTitleCasedText) {
  Session session(m_words);
  session.Refresh(u"a study of\r\nheat flow; smith, j.r. and jones, a.");
  EXPECT_EQ(session.Working(), u"A Study of Heat Flow; Smith, J.r. and Jones, A.");
  EXPECT_EQ(session.Authors(), u"Smith, J.R. and Jones, A.");
  EXPECT_EQ(session.Title(), u"A Study of Heat Flow");
  EXPECT_TRUE(session.HasSplit());
  session.Refresh(u"");
  EXPECT_EQ(session.Working(), u"");
  EXPECT_EQ(session.Authors(), u"");
  EXPECT_EQ(session.Title(), u"");
}

TEST_F(SessionTest, JoiningLeavesThePartsAndTheCase) {
  Session session(m_words);
  session.Refresh(u"title; author");
  struct Row {
    const char* name;
    bool paragraphs;
    S joined, squished;
  };
  const std::vector<Row> rows = {
      {"lines", false, u"THE h e a t e d w e l l , done", u"THE heated well, done"},
      {"paragraphs", true, u"THE h e a t e d\r\rw e l l , done", u"THE heat e d\r\rw e l l, done"},
  };
  for (const auto& r : rows) {
    session.JoinLines(u"THE h e a t e d\r\n\r\nw e l l , done", r.paragraphs);
    EXPECT_EQ(session.Working(), r.joined) << r.name;
    session.Squish();
    EXPECT_EQ(session.Working(), r.squished) << r.name;
    EXPECT_EQ(session.Authors(), u"Author") << r.name;
    EXPECT_EQ(session.Title(), u"Title") << r.name;
  }
  session.SetWorking(u"edited s t u d y ok  ");
  session.Squish();
  EXPECT_EQ(session.Working(), u"edited study ok");
}

using LoadingTest = test::ScratchTest;

TEST_F(LoadingTest, WordListChoices) {
  SetEnv("XDG_CONFIG_HOME", (Dir() / "config").string());
  Write("wordlist.txt", "tuff\n");
  Write("other.txt", "basalt\n");
  const auto squish = [](const LoadedWords& loaded, std::u16string_view text) {
    return Engine(Mode::Classic, loaded.words).Squish(text);
  };
  EXPECT_EQ(squish(LoadWords({}), u"x t u f f y"), u"x tuff y");
  EXPECT_EQ(squish(LoadWords({true, "other.txt"}), u"x t u f f b a s a l t y"), u"x t u f f basalt y");
  EXPECT_EQ(squish(LoadWords({false, {}}), u"x t u f f y"), u"x t u f f y");
  EXPECT_EQ(MissingNamedList({true, "nope.txt"}).value_or(""), "nope.txt: No such file or directory");
  EXPECT_EQ(MissingNamedList({true, "other.txt"}), std::nullopt);
  EXPECT_EQ(MissingNamedList({false, "nope.txt"}), std::nullopt);
  // A list that cannot be read: a warning naming it, and the built-in words.
  std::filesystem::remove("wordlist.txt");
  std::filesystem::create_symlink("wordlist.txt", "wordlist.txt");
  const LoadedWords loaded = LoadWords({});
  ASSERT_EQ(loaded.warnings.size(), 1u);
  EXPECT_NE(loaded.warnings[0].find("wordlist.txt"), std::string::npos) << loaded.warnings[0];
  EXPECT_EQ(squish(loaded, u"x h e a t y"), u"x heat y");
}

}  // namespace
}  // namespace tf::engine
