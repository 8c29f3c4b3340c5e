// A compact trie of lower-cased words, each with a size (its rarity: 10 for
// the most common English words, 0 for the user's own), that the letter-
// spacing repair walks from every starting point. Its arrays are laid out
// so that a trie can be written to a file and used again straight from the
// bytes: the English dictionary is built that way when the program is, and
// its bytes are part of the program.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tf::smart {

class WordTrie final {
 public:
  static constexpr std::uint8_t kNoWord = 0xFF;

  // An empty trie.
  WordTrie();
  // Moved, not copied: a view over outside bytes or its own arrays, which
  // a move keeps in place.
  WordTrie(WordTrie&&) noexcept = default;
  WordTrie& operator=(WordTrie&&) noexcept = default;
  WordTrie(const WordTrie&) = delete;
  WordTrie& operator=(const WordTrie&) = delete;
  // The trie of the (already lower-cased) words; a word given twice keeps
  // its smallest size.
  static WordTrie Build(std::vector<std::pair<std::u16string, std::uint8_t>> words);
  // A trie over bytes made by Serialize(), used in place: the bytes must
  // outlive it. An empty trie when they are not a serialized trie.
  static WordTrie View(std::span<const unsigned char> bytes);
  std::vector<unsigned char> Serialize() const;

  size_t NumNodes() const { return m_chars.size(); }

  // Calls f(length, size) for every word that `lower` begins with, shortest
  // first, looking at no more than `limit` characters.
  template <typename F>
  void Prefixes(std::u16string_view lower, size_t limit, F&& f) const {
    std::uint32_t node = 0;
    const size_t n = lower.size() < limit ? lower.size() : limit;
    for (size_t k = 0; k < n; ++k) {
      node = Child(node, lower[k]);
      if (node == kNone) return;
      if (m_sizes[node] != kNoWord) f(k + 1, m_sizes[node]);
    }
  }
  // The size of `lower` as a whole word, or kNoWord. Asked of every word
  // of every reference, so it asks a hash table of the words (one memory
  // fetch, where the walk down the trie takes two a letter, most of them
  // outside the caches) and walks only a trie without one.
  std::uint8_t SizeOf(std::u16string_view lower) const;

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  std::uint32_t Child(std::uint32_t node, char16_t c) const;

  // Nodes breadth first: the children of n are [firstChild[n],
  // firstChild[n + 1]), by character. Spans over either the owned vectors
  // or outside bytes.
  std::vector<std::uint32_t> m_ownFirstChild;
  std::vector<char16_t> m_ownChars;
  std::vector<std::uint8_t> m_ownSizes;
  std::span<const std::uint32_t> m_firstChild;
  std::span<const char16_t> m_chars;
  std::span<const std::uint8_t> m_sizes;
  // The whole words again, open-addressed (linear probing, at most half
  // full, so a probe always meets an empty slot): a slot is 0 when empty,
  // else 56 bits of the word's hash (not the bits that chose the slot) and
  // its size in the low byte. Two words of a trie with the same 56 bits
  // (for all of SCOWL, about one chance in a million) leave it
  // without a table rather than answer wrong; a word that is not in the
  // trie matches a slot's bits by chance about once in 10^16 look-ups.
  std::vector<std::uint64_t> m_ownSlots;
  std::span<const std::uint64_t> m_slots;
  void IndexWords(const std::vector<std::pair<std::u16string, std::uint8_t>>& sortedWords);
};

// Whether a word may stand in a dictionary at all: letters only, and of
// one letter only "a" or "i" (lower-cased).
bool AcceptableWord(std::u16string_view lower);

}  // namespace tf::smart
