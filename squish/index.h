// The lookup structure behind the squish pass; internal to squish/.
//
// A letter-spaced word can only stand in a chain of single characters each
// with a space on both sides, and the pass must know, for every vocabulary
// entry, where in such chains its letters (exactly, or in upper case) stand.
// The index is a trie over the upper-cased words: walking it with the
// upper-cased chain characters finds every place where either form of any
// entry starts, in one walk per chain position. Each entry then belongs to
// two groups, its exact spelling and its upper-case form, which the pass
// tells apart by comparing the text itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

class SquishIndex final {
 public:
  static constexpr std::uint32_t kNone = UINT32_MAX;

  explicit SquishIndex(const std::vector<std::u16string>& words);

  // The child of `node` for the (upper-cased) character, or kNone.
  std::uint32_t Child(std::uint32_t node, char16_t c) const;
  // The terminal number of `node` (a complete upper-cased word) or kNone.
  std::uint32_t Terminal(std::uint32_t node) const { return m_terminalOf[node]; }
  size_t NumTerminals() const { return m_numTerminals; }

  struct Group {
    std::uint32_t terminal;     // whose occurrences this group looks at
    std::u16string_view chars;  // what the text must hold there
  };
  const std::vector<Group>& Groups() const { return m_groups; }
  // The groups of entry i (kNone for one-letter words, which are never
  // searched: their own replacement would reproduce them forever).
  std::uint32_t ExactGroup(size_t entry) const { return m_exactGroup[entry]; }
  std::uint32_t UpperGroup(size_t entry) const { return m_upperGroup[entry]; }
  // The entries (ascending) whose upper-cased word is terminal t.
  const std::uint32_t* EntriesBegin(std::uint32_t t) const {
    return m_entries.data() + m_entriesBegin[t];
  }
  const std::uint32_t* EntriesEnd(std::uint32_t t) const {
    return m_entries.data() + m_entriesBegin[t + 1];
  }

 private:
  std::uint32_t Insert(std::uint32_t node, char16_t c);
  void Grow();
  size_t Slot(std::uint64_t key) const;

  // Open-addressing map (parent node, character) -> child node.
  std::vector<std::uint64_t> m_keys;
  std::vector<std::uint32_t> m_values;
  size_t m_mask = 0;
  size_t m_size = 0;
  int m_shift = 64;

  std::vector<std::uint32_t> m_terminalOf;
  size_t m_numTerminals = 0;
  std::vector<std::u16string> m_upperForms;  // owned storage of group chars
  std::vector<Group> m_groups;
  std::vector<std::uint32_t> m_exactGroup;
  std::vector<std::uint32_t> m_upperGroup;
  std::vector<std::uint32_t> m_entriesBegin;
  std::vector<std::uint32_t> m_entries;
};

}  // namespace tf
