#include "squish/index.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "squish/breadth_first.h"
#include "squish/successor.h"
#include "text/text.h"

namespace tf {

// The trie as the sorted spellings make it: node by node in preorder.
struct SquishIndex::PreorderTrie {
  std::vector<Node> parent;
  std::vector<char16_t> character;
  std::vector<std::uint32_t> depth;
};

SquishIndex::SquishIndex(const std::vector<std::u16string>& words) {
  m_exact.assign(words.size(), kNone);
  m_upper.assign(words.size(), kNone);
  const std::vector<Node> parent = MakeBreadthFirst(BuildPreorder(words));
  LinkFailures(parent);
  MarkSpellingEnds();
  ListEntriesBySpelling(words.size());
}

// Every spelling, exact and in upper case, sorted, then the trie of them in
// preorder: each spelling shares its first characters with the one before
// it. Records each spelling's end node (in preorder numbers, for now) and
// length, and each entry's two spellings.
SquishIndex::PreorderTrie SquishIndex::BuildPreorder(const std::vector<std::u16string>& words) {
  // The upper-case spellings live in one buffer, each at the offset of its
  // entry.
  std::vector<std::uint32_t> upperAt(words.size(), 0);
  std::u16string upperPool;
  {
    size_t size = 0;
    for (const auto& w : words)
      if (w.size() >= 2) size += w.size();
    upperPool.reserve(size);
  }
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i].size() < 2) continue;
    upperAt[i] = static_cast<std::uint32_t>(upperPool.size());
    for (char16_t c : words[i]) upperPool += UpperUnit(c);
  }
  // A reference to a spelling, with its first four characters' bytes
  // riding along so that most compares never touch the strings.
  struct Ref {
    std::uint64_t head;
    std::uint32_t entry;
    bool upper;
  };
  const auto textOf = [&](const Ref& r) {
    const std::u16string& w = words[r.entry];
    return r.upper ? std::u16string_view(upperPool).substr(upperAt[r.entry], w.size()) : std::u16string_view(w);
  };
  const auto headOf = [](std::u16string_view w) {
    unsigned char bytes[8] = {};
    std::memcpy(bytes, w.data(), std::min<size_t>(w.size(), 4) * sizeof(char16_t));
    std::uint64_t head = 0;
    for (unsigned char b : bytes) head = (head << 8) | b;
    return head;
  };
  std::vector<Ref> refs;
  refs.reserve(2 * words.size());
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i].size() < 2) continue;
    for (const bool upper : {false, true}) {
      Ref r{0, static_cast<std::uint32_t>(i), upper};
      r.head = headOf(textOf(r));
      refs.push_back(r);
    }
  }
  // Sorted by bytes, which memcmp compares fast: that orders characters by
  // KeyOf (low byte first), the order the children are searched in.
  std::sort(refs.begin(), refs.end(), [&](const Ref& a, const Ref& b) {
    if (a.head != b.head) return a.head < b.head;
    const std::u16string_view x = textOf(a), y = textOf(b);
    const int order = std::memcmp(x.data(), y.data(), std::min(x.size(), y.size()) * sizeof(char16_t));
    return order < 0 || (order == 0 && x.size() < y.size());
  });

  // Counted first, so that the arrays are made at their size.
  size_t nodes = 1;
  {
    std::u16string_view before;
    for (const Ref& r : refs) {
      const std::u16string_view text = textOf(r);
      size_t common = 0;
      while (common < before.size() && common < text.size() && before[common] == text[common]) ++common;
      nodes += text.size() - common;
      before = text;
    }
  }
  PreorderTrie pre{{kNone}, {0}, {0}};
  pre.parent.reserve(nodes);
  pre.character.reserve(nodes);
  pre.depth.reserve(nodes);
  std::vector<Node> path = {kRoot};  // the nodes of the previous spelling
  std::u16string_view previous;
  for (const Ref& r : refs) {
    const std::u16string_view text = textOf(r);
    if (m_spellingNode.empty() || text != previous) {
      size_t common = 0;
      while (common < previous.size() && common < text.size() && previous[common] == text[common]) ++common;
      path.resize(common + 1);
      for (size_t k = common; k < text.size(); ++k) {
        pre.parent.push_back(path.back());
        pre.character.push_back(text[k]);
        pre.depth.push_back(static_cast<std::uint32_t>(k + 1));
        path.push_back(static_cast<Node>(pre.parent.size() - 1));
      }
      m_spellingNode.push_back(path.back());
      m_spellingLength.push_back(static_cast<std::uint32_t>(text.size()));
      previous = text;
    }
    (r.upper ? m_upper : m_exact)[r.entry] = static_cast<Spelling>(m_spellingNode.size() - 1);
  }
  return pre;
}

// Breadth first is preorder sorted by depth, stably: nodes of one depth
// stay in the order of their prefixes, so each node's children follow one
// another, in the order of their characters. Returns each node's parent.
std::vector<SquishIndex::Node> SquishIndex::MakeBreadthFirst(PreorderTrie pre) {
  const size_t n = pre.parent.size();
  std::vector<Node> renumber = trie::BreadthFirstNumbers(pre.depth);
  pre.depth = {};
  m_char.resize(n);
  for (size_t v = 0; v < n; ++v) m_char[renumber[v]] = KeyOf(pre.character[v]);
  pre.character = {};
  std::vector<Node> parent(n, kNone);
  for (size_t v = 1; v < n; ++v) parent[renumber[v]] = renumber[pre.parent[v]];
  pre.parent = {};
  for (Node& node : m_spellingNode) node = renumber[node];
  renumber = {};

  m_firstChild = trie::FirstChildren(parent);
  return parent;
}

// Failure links, breadth first: a node's parent and every shallower node
// have theirs already.
void SquishIndex::LinkFailures(const std::vector<Node>& parent) {
  const size_t n = parent.size();
  m_fail.assign(n, kRoot);
  for (Node x = 1; x < n; ++x) {
    const Node p = parent[x];
    if (p == kRoot) continue;
    const char16_t key = m_char[x];
    for (Node f = m_fail[p];; f = m_fail[f]) {
      if (const Node child = ChildByKey(f, key); child != kNone) {
        m_fail[x] = child;
        break;
      }
      if (f == kRoot) break;
    }
  }
}

// Spellings at nodes: a bit each, and the spellings in node order.
void SquishIndex::MarkSpellingEnds() {
  const size_t n = m_char.size();
  std::vector<std::pair<Node, Spelling>> terminals(m_spellingNode.size());
  for (size_t s = 0; s < m_spellingNode.size(); ++s) terminals[s] = {m_spellingNode[s], static_cast<Spelling>(s)};
  std::sort(terminals.begin(), terminals.end());
  m_isTerminal.assign(n / 64 + 1, 0);
  m_terminalsBefore.assign(n / 64 + 1, 0);
  for (const auto& [node, spelling] : terminals) {
    m_isTerminal[node / 64] |= std::uint64_t{1} << (node % 64);
    m_terminalSpelling.push_back(spelling);
  }
  for (size_t w = 1; w < m_isTerminal.size(); ++w)
    m_terminalsBefore[w] = m_terminalsBefore[w - 1] + detail::Ones(m_isTerminal[w - 1]);
}

// Entries by spelling, ascending within each (counting sort).
void SquishIndex::ListEntriesBySpelling(size_t entries) {
  m_entriesBegin.assign(m_spellingNode.size() + 1, 0);
  for (size_t i = 0; i < entries; ++i) {
    if (m_exact[i] == kNone) continue;
    ++m_entriesBegin[m_exact[i] + 1];
    if (m_upper[i] != m_exact[i]) ++m_entriesBegin[m_upper[i] + 1];
  }
  for (size_t s = 0; s < m_spellingNode.size(); ++s) m_entriesBegin[s + 1] += m_entriesBegin[s];
  m_entries.resize(m_entriesBegin.back());
  std::vector<std::uint32_t> fill(m_entriesBegin.begin(), m_entriesBegin.end() - 1);
  for (size_t i = 0; i < entries; ++i) {
    if (m_exact[i] == kNone) continue;
    m_entries[fill[m_exact[i]]++] = static_cast<std::uint32_t>(i);
    if (m_upper[i] != m_exact[i]) m_entries[fill[m_upper[i]]++] = static_cast<std::uint32_t>(i);
  }
}

SquishIndex::Node SquishIndex::ChildByKey(Node node, char16_t key) const {
  const auto begin = m_char.begin() + m_firstChild[node];
  const auto end = m_char.begin() + m_firstChild[node + 1];
  const auto it = std::lower_bound(begin, end, key);
  return it != end && *it == key ? static_cast<Node>(it - m_char.begin()) : kNone;
}

SquishIndex::Spelling SquishIndex::SpellingAt(Node node) const {
  const std::uint64_t word = m_isTerminal[node / 64];
  const std::uint64_t bit = std::uint64_t{1} << (node % 64);
  if (!(word & bit)) return kNone;
  return m_terminalSpelling[m_terminalsBefore[node / 64] + detail::Ones(word & (bit - 1))];
}

}  // namespace tf
