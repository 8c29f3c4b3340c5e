// The lookup structure behind the fast squish pass; internal to squish/.
//
// A letter-spaced word can only stand on a run of "letter positions": one
// character with a space on either side, every other character of the
// text ('x h e a t y' has letter positions at h, e, a and t between x and
// y, which are letter positions too). Along such a run the pass looks for
// the spellings it may replace: each vocabulary entry's exact spelling, and
// its spelling in upper case (a word already in upper case has one).
//
// The index is the trie of all those spellings, numbered breadth first so
// that a node's children are neighbours, with the failure links of an
// Aho-Corasick automaton. The pass walks each run through it; at each
// letter position the walk is at a state: the longest spelling prefix that
// ends there. A spelling ends there exactly when it is that state or one
// of its failure-link ancestors.
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
  static constexpr Node kRoot = 0;

  // Entries of one letter get no spellings: their replacement would
  // reproduce them, and the passes would never end.
  explicit SquishIndex(const std::vector<std::u16string>& words);
  // The index is big, and the pass keeps references into it: copying one
  // by mistake would double the memory of a large word list for nothing.
  SquishIndex(const SquishIndex&) = delete;
  SquishIndex& operator=(const SquishIndex&) = delete;

  size_t NumNodes() const { return m_char.size(); }
  // The child of `node` on character `c`, or kNone.
  Node Child(Node node, char16_t c) const { return ChildByKey(node, KeyOf(c)); }
  // The longest proper suffix of the node's prefix that is a node too.
  Node Fail(Node node) const { return m_fail[node]; }
  // The automaton's step: the child on `c`, after following failure links
  // as far as needed.
  Node Step(Node node, char16_t c) const {
    for (;;) {
      if (const Node child = Child(node, c); child != kNone) return child;
      if (node == kRoot) return kRoot;
      node = m_fail[node];
    }
  }
  // The spelling that ends at `node`, or kNone.
  Spelling SpellingAt(Node node) const;

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
  // Characters are kept, and children ordered, by their bytes in memory
  // order (low byte first), so that the spellings can be sorted with memcmp.
  static char16_t KeyOf(char16_t c) { return static_cast<char16_t>((c << 8) | (c >> 8)); }
  Node ChildByKey(Node node, char16_t key) const;

  // The build, step by step (each frees what it made once the next has it,
  // since a word list may have millions of words). Worked example, for the
  // entries "heat" and "HDR": the spellings are "heat", "HEAT" and "HDR"
  // (sorted by bytes: "HDR", "HEAT", "heat"); the preorder trie is
  // root, H, HD, HDR, HE, HEA, HEAT, h, he, hea, heat; breadth first it is
  // root, H, h, HD, HE, he, HDR, HEA, hea, HEAT, heat; the failure link of
  // "HEA" is root (no "EA" begins a spelling), and entry 0 ("heat") is found
  // at the spellings "heat" and "HEAT".
  struct PreorderTrie;
  PreorderTrie BuildPreorder(const std::vector<std::u16string>& words);
  std::vector<Node> MakeBreadthFirst(PreorderTrie pre);
  void LinkFailures(const std::vector<Node>& parent);
  void MarkSpellingEnds();
  void ListEntriesBySpelling(size_t entries);

  // Nodes breadth first: the children of n are [m_firstChild[n],
  // m_firstChild[n + 1]), in the order of their characters.
  std::vector<std::uint32_t> m_firstChild;
  std::vector<char16_t> m_char;  // the key of the character leading to the node
  std::vector<Node> m_fail;
  // Nodes where a spelling ends: one bit each, with the count of those
  // before every word of 64, and their spellings in node order.
  std::vector<std::uint64_t> m_isTerminal;
  std::vector<std::uint32_t> m_terminalsBefore;
  std::vector<Spelling> m_terminalSpelling;

  std::vector<Node> m_spellingNode;
  std::vector<std::uint32_t> m_spellingLength;
  std::vector<std::uint32_t> m_entriesBegin;
  std::vector<std::uint32_t> m_entries;
  std::vector<Spelling> m_exact;
  std::vector<Spelling> m_upper;
};

}  // namespace tf
