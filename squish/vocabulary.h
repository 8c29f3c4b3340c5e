// The vocabulary of the letter-spacing repair: the built-in words of the
// geothermal literature followed by the words of the user's word list,
// longest first, and the index the squish pass looks words up in.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

// The built-in vocabulary, joined end to end with nothing in between.
extern const std::array<std::u16string_view, 41> kBuiltInPieces;

class SquishIndex;

class Vocabulary final {
 public:
  // The built-in words only.
  Vocabulary();
  // No words at all: what the window holds until its vocabulary is built.
  static Vocabulary Empty();
  // StartWords: the built-in words, then the words of `wordListText` (any
  // run of characters other than space, CR, LF and TAB is a word), ordered
  // longest first; words of equal length keep their order.
  static Vocabulary StartWords(std::u16string_view wordListText);

  // Moved, never copied: its index may be large.
  Vocabulary(const Vocabulary&) = delete;
  Vocabulary& operator=(const Vocabulary&) = delete;
  Vocabulary(Vocabulary&&) noexcept;
  Vocabulary& operator=(Vocabulary&&) noexcept;
  ~Vocabulary();

  size_t NumWords() const { return m_wordList.size(); }
  // Entries are numbered from 0 here.
  const std::vector<std::u16string>& WordList() const { return m_wordList; }
  // The word letter-spaced: ' h e a t ' for "heat". Made on demand: the
  // squish pass never needs it, and a large list would double in memory.
  std::u16string SpacedWords(size_t i) const;

  // The lookup structure of the squish pass, built on first use (it costs
  // more than the list itself, and a run that never squishes never pays);
  // safe to call from several threads.
  const SquishIndex& Index() const;

 private:
  explicit Vocabulary(std::vector<std::u16string> words);

  std::vector<std::u16string> m_wordList;
  struct Lazy;
  std::unique_ptr<Lazy> m_lazy;
};

}  // namespace tf
