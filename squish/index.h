// The lookup structure behind the fast squish pass; internal to squish/.
//
// A letter-spaced word can only stand on a run of "letter positions": one
// character with a space on either side, every other character of the
// text ('x h e a t y' has letter positions at h, e, a and t between x and
// y, which are letter positions too). Along such a run the pass looks for
// the spellings it may replace: each vocabulary entry's exact spelling, and
// its spelling in upper case (a word already in upper case has one).
//
// The index is an Aho-Corasick automaton over all those spellings. Walking
// a run through it gives, at each letter position, a state: the longest
// spelling prefix that ends there. A spelling ends at a position exactly
// when that state lies in the spelling's subtree of the failure tree; the
// states are numbered so that every such subtree is one interval of
// numbers. The pass then asks, per spelling, "where is your next
// occurrence?" without ever listing every occurrence of every spelling,
// which for a list of nested words ('aa', 'aaa', ... ) against 'a a a ...'
// would be text length times list length.
//
// Worked example, entries "heat" and "heated": the spellings are heat,
// HEAT, heated, HEATED. In 'x h e a t e d y' the run h-e-a-t-e-d walks
// h, he, hea, heat, heate, heated; "heat" ends at the fourth letter
// (state heat) and "heated" at the sixth (state heated).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tf {

class SquishIndex final {
 public:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  using Node = std::uint32_t;
  using Spelling = std::uint32_t;

  // Entries of one letter get no spellings: their replacement would
  // reproduce them, and the passes would never end.
  explicit SquishIndex(const std::vector<std::u16string>& words);
  // The index is big, and the pass keeps references into it: copying one
  // by mistake would double the memory of a large word list for nothing.
  SquishIndex(const SquishIndex&) = delete;
  SquishIndex& operator=(const SquishIndex&) = delete;

  static constexpr Node kRoot = 0;
  // The state after `node` on character `c`: the automaton's step, with the
  // failure links followed as far as needed.
  Node Step(Node node, char16_t c) const;

  // The failure-tree number of a state, and the first number past its
  // subtree: a spelling ending at node n ends wherever the state's number
  // lies in [Number(n), SubtreeEnd(n)).
  std::uint32_t Number(Node n) const { return n; }
  std::uint32_t SubtreeEnd(Node n) const { return m_subtreeEnd[n]; }
  // The nearest node at or above `n` in the failure tree where a spelling
  // ends (kNone when there is none); Above(n) is the one strictly above.
  Node NearestSpelling(Node n) const { return m_nearestSpelling[n]; }
  Node Above(Node n) const { return n == kRoot ? kNone : m_nearestSpelling[m_fail[n]]; }
  Spelling SpellingAt(Node n) const { return m_spellingAt[n]; }

  size_t NumSpellings() const { return m_spellingNode.size(); }
  Node SpellingNode(Spelling s) const { return m_spellingNode[s]; }
  std::uint32_t SpellingLength(Spelling s) const { return m_spellingLength[s]; }
  // The entries (ascending) that have spelling s, exactly or in upper case.
  const std::uint32_t* EntriesBegin(Spelling s) const { return m_entries.data() + m_entriesBegin[s]; }
  const std::uint32_t* EntriesEnd(Spelling s) const { return m_entries.data() + m_entriesBegin[s + 1]; }

  // Entry i's exact spelling and its upper-case one (equal for a word in
  // upper case; kNone for one-letter words).
  Spelling Exact(size_t entry) const { return m_exact[entry]; }
  Spelling Upper(size_t entry) const { return m_upper[entry]; }

 private:
  Node Child(Node node, char16_t c) const;

  // The trie, its nodes numbered in failure-tree preorder; the children of
  // node n are m_edgeChar/m_edgeNode[m_firstEdge[n] .. m_firstEdge[n + 1]),
  // sorted by character.
  std::vector<std::uint32_t> m_firstEdge;
  std::vector<char16_t> m_edgeChar;
  std::vector<Node> m_edgeNode;
  std::vector<Node> m_fail;
  std::vector<std::uint32_t> m_subtreeEnd;
  std::vector<Node> m_nearestSpelling;
  std::vector<Spelling> m_spellingAt;

  std::vector<Node> m_spellingNode;
  std::vector<std::uint32_t> m_spellingLength;
  std::vector<std::uint32_t> m_entriesBegin;
  std::vector<std::uint32_t> m_entries;
  std::vector<Spelling> m_exact;
  std::vector<Spelling> m_upper;
};

}  // namespace tf
