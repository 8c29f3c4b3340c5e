// The dictionary of smart mode: SCOWL's English words up to size 70 (built
// into the program), plus the built-in vocabulary and the user's word list,
// which count with size 0. Look-ups ignore case; the only words of one
// letter are "a" and "I".
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "smart/word_trie.h"

namespace tf::smart {

class Dictionary final {
 public:
  static constexpr std::uint8_t kNoWord = WordTrie::kNoWord;
  // The longest piece the letter-spacing repair looks for.
  static constexpr size_t kLongestPiece = 60;

  // The English words alone.
  Dictionary();
  // The English words and these (in any case; size 0). They are put in
  // order the first time they are looked at: a paste that needs no look-up
  // costs nothing.
  explicit Dictionary(std::vector<std::u16string> ownWords);
  Dictionary(Dictionary&&) noexcept;
  Dictionary& operator=(Dictionary&&) noexcept;
  ~Dictionary();

  // The English words, as built into the program.
  static const WordTrie& English();

  // The size of a word (in lower case), or kNoWord.
  std::uint8_t SizeOf(std::u16string_view lower) const;
  bool IsWord(std::u16string_view lower) const { return SizeOf(lower) != kNoWord; }

  // Calls f(length, size) for each word that `lower` begins with, of at
  // most `limit` characters, shortest first; a word in both lists once,
  // with its smaller size.
  template <typename F>
  void Prefixes(std::u16string_view lower, size_t limit, F&& f) const {
    std::array<std::uint8_t, 2 * kLongestPiece + 2> sizes;
    sizes.fill(kNoWord);
    limit = std::min(limit, sizes.size() - 1);
    const auto note = [&](size_t length, std::uint8_t size) {
      if (size < sizes[length]) sizes[length] = size;
    };
    English().Prefixes(lower, limit, note);
    Own().Prefixes(lower, limit, note);
    for (size_t length = 1; length <= limit && length < sizes.size(); ++length)
      if (sizes[length] != kNoWord) f(length, sizes[length]);
  }

 private:
  const WordTrie& Own() const;
  struct Lazy;
  std::unique_ptr<Lazy> m_lazy;
};

}  // namespace tf::smart
