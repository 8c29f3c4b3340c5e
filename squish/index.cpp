#include "squish/index.h"

#include <algorithm>

#include "text/text.h"

namespace tf {
namespace {

using Node = SquishIndex::Node;
constexpr Node kNone = SquishIndex::kNone;

// The trie while it is being built: an open-addressing map from (parent,
// character) to child, nodes numbered as they are made.
class TrieBuilder {
 public:
  TrieBuilder() : m_keys(1024, 0), m_values(1024, kNone), m_mask(1023), m_shift(64 - 10) {}

  size_t NumNodes() const { return m_numNodes; }

  Node Insert(Node node, char16_t c) {
    const std::uint64_t key = Key(node, c);
    size_t s = Slot(key);
    for (; m_values[s] != kNone; s = (s + 1) & m_mask)
      if (m_keys[s] == key) return m_values[s];
    if (2 * (m_size + 1) > m_values.size()) {
      Grow();
      s = Slot(key);
      while (m_values[s] != kNone) s = (s + 1) & m_mask;
    }
    m_keys[s] = key;
    m_values[s] = static_cast<Node>(m_numNodes++);
    ++m_size;
    return m_values[s];
  }

  // Calls f(parent, character, child) for every edge.
  template <typename F>
  void ForEachEdge(F&& f) const {
    for (size_t s = 0; s < m_values.size(); ++s)
      if (m_values[s] != kNone)
        f(static_cast<Node>(m_keys[s] >> 16), static_cast<char16_t>(m_keys[s] & 0xFFFF), m_values[s]);
  }

 private:
  static std::uint64_t Key(Node node, char16_t c) { return (std::uint64_t{node} << 16) | c; }
  size_t Slot(std::uint64_t key) const {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> m_shift);
  }
  void Grow() {
    std::vector<std::uint64_t> keys(m_keys.size() * 2, 0);
    std::vector<Node> values(m_values.size() * 2, kNone);
    m_keys.swap(keys);
    m_values.swap(values);
    m_mask = m_values.size() - 1;
    --m_shift;
    for (size_t s = 0; s < keys.size(); ++s) {
      if (values[s] == kNone) continue;
      size_t d = Slot(keys[s]);
      while (m_values[d] != kNone) d = (d + 1) & m_mask;
      m_keys[d] = keys[s];
      m_values[d] = values[s];
    }
  }

  std::vector<std::uint64_t> m_keys;
  std::vector<Node> m_values;
  size_t m_mask;
  int m_shift;
  size_t m_size = 0;
  size_t m_numNodes = 1;  // the root
};

// Children lists in compressed form: the children of n are
// [first[n], first[n + 1]) of the edge arrays.
struct Edges {
  std::vector<std::uint32_t> first;
  std::vector<char16_t> chars;
  std::vector<Node> nodes;
};

Edges SortedEdges(const TrieBuilder& trie) {
  const size_t n = trie.NumNodes();
  Edges e;
  e.first.assign(n + 1, 0);
  trie.ForEachEdge([&](Node parent, char16_t, Node) { ++e.first[parent + 1]; });
  for (size_t i = 0; i < n; ++i) e.first[i + 1] += e.first[i];
  e.chars.resize(n - 1);
  e.nodes.resize(n - 1);
  std::vector<std::uint32_t> fill(e.first.begin(), e.first.end() - 1);
  trie.ForEachEdge([&](Node parent, char16_t c, Node child) {
    e.chars[fill[parent]] = c;
    e.nodes[fill[parent]++] = child;
  });
  std::vector<std::pair<char16_t, Node>> scratch;
  for (size_t v = 0; v < n; ++v) {
    scratch.clear();
    for (auto k = e.first[v]; k < e.first[v + 1]; ++k) scratch.emplace_back(e.chars[k], e.nodes[k]);
    std::sort(scratch.begin(), scratch.end());
    for (size_t k = 0; k < scratch.size(); ++k) {
      e.chars[e.first[v] + k] = scratch[k].first;
      e.nodes[e.first[v] + k] = scratch[k].second;
    }
  }
  return e;
}

Node FindChild(const Edges& e, Node node, char16_t c) {
  const auto begin = e.chars.begin() + e.first[node], end = e.chars.begin() + e.first[node + 1];
  const auto it = std::lower_bound(begin, end, c);
  return it != end && *it == c ? e.nodes[static_cast<size_t>(it - e.chars.begin())] : kNone;
}

}  // namespace

SquishIndex::SquishIndex(const std::vector<std::u16string>& words) {
  TrieBuilder trie;
  std::vector<Spelling> spellingOf;  // by build-order node
  m_exact.assign(words.size(), kNone);
  m_upper.assign(words.size(), kNone);
  const auto insert = [&](const std::u16string& w) {
    Node node = kRoot;
    for (char16_t c : w) node = trie.Insert(node, c);
    if (spellingOf.size() < trie.NumNodes()) spellingOf.resize(trie.NumNodes(), kNone);
    if (spellingOf[node] == kNone) {
      spellingOf[node] = static_cast<Spelling>(m_spellingNode.size());
      m_spellingNode.push_back(node);
      m_spellingLength.push_back(static_cast<std::uint32_t>(w.size()));
    }
    return spellingOf[node];
  };
  std::u16string upper;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::u16string& w = words[i];
    if (w.size() < 2) continue;
    upper.resize(w.size());
    for (size_t k = 0; k < w.size(); ++k) upper[k] = UpperUnit(w[k]);
    m_exact[i] = insert(w);
    m_upper[i] = insert(upper);
  }
  spellingOf.resize(trie.NumNodes(), kNone);
  const size_t n = trie.NumNodes();
  Edges edges = SortedEdges(trie);
  trie = TrieBuilder();

  // Failure links, breadth first.
  std::vector<Node> fail(n, kRoot), bfs;
  bfs.reserve(n);
  bfs.push_back(kRoot);
  for (size_t head = 0; head < bfs.size(); ++head) {
    const Node v = bfs[head];
    for (auto k = edges.first[v]; k < edges.first[v + 1]; ++k) {
      const Node w = edges.nodes[k];
      const char16_t c = edges.chars[k];
      bfs.push_back(w);
      if (v == kRoot) continue;
      for (Node f = fail[v];; f = fail[f]) {
        if (const Node to = FindChild(edges, f, c); to != kNone) {
          fail[w] = to;
          break;
        }
        if (f == kRoot) break;
      }
    }
  }
  std::vector<Node> nearest(n, kNone);
  for (const Node v : bfs)
    nearest[v] = spellingOf[v] != kNone ? v : v == kRoot ? kNone : nearest[fail[v]];
  bfs = {};

  // Number the nodes in preorder of the failure tree, so that a subtree is
  // an interval of numbers.
  std::vector<std::uint32_t> kidsFirst(n + 1, 0), kids(n > 0 ? n - 1 : 0);
  for (Node v = 1; v < n; ++v) ++kidsFirst[fail[v] + 1];
  for (size_t v = 0; v < n; ++v) kidsFirst[v + 1] += kidsFirst[v];
  {
    std::vector<std::uint32_t> fill(kidsFirst.begin(), kidsFirst.end() - 1);
    for (Node v = 1; v < n; ++v) kids[fill[fail[v]]++] = v;
  }
  std::vector<Node> number(n);
  std::vector<std::uint32_t> end(n);
  {
    struct Frame {
      Node node;
      std::uint32_t next;
    };
    std::vector<Frame> stack = {{kRoot, kidsFirst[kRoot]}};
    std::uint32_t counter = 0;
    number[kRoot] = counter++;
    while (!stack.empty()) {
      Frame& top = stack.back();
      if (top.next == kidsFirst[top.node + 1]) {
        end[top.node] = counter;
        stack.pop_back();
        continue;
      }
      const Node child = kids[top.next++];
      number[child] = counter++;
      stack.push_back({child, kidsFirst[child]});
    }
  }
  kids = {};
  kidsFirst = {};

  // Everything renumbered.
  const auto renumber = [&](Node v) { return v == kNone ? kNone : number[v]; };
  m_fail.resize(n);
  m_subtreeEnd.resize(n);
  m_nearestSpelling.resize(n);
  m_spellingAt.resize(n);
  m_firstEdge.assign(n + 1, 0);
  for (Node v = 0; v < n; ++v) {
    const Node to = number[v];
    m_fail[to] = number[fail[v]];
    m_subtreeEnd[to] = end[v];
    m_nearestSpelling[to] = renumber(nearest[v]);
    m_spellingAt[to] = spellingOf[v];
    m_firstEdge[to + 1] = edges.first[v + 1] - edges.first[v];
  }
  for (size_t v = 0; v < n; ++v) m_firstEdge[v + 1] += m_firstEdge[v];
  m_edgeChar.resize(edges.chars.size());
  m_edgeNode.resize(edges.nodes.size());
  for (Node v = 0; v < n; ++v) {
    const std::uint32_t from = edges.first[v], to = m_firstEdge[number[v]];
    for (std::uint32_t k = 0; k < edges.first[v + 1] - from; ++k) {
      m_edgeChar[to + k] = edges.chars[from + k];
      m_edgeNode[to + k] = number[edges.nodes[from + k]];
    }
  }
  for (Node& s : m_spellingNode) s = number[s];

  // Entries by spelling, ascending within each (counting sort).
  m_entriesBegin.assign(m_spellingNode.size() + 1, 0);
  for (size_t i = 0; i < words.size(); ++i) {
    if (m_exact[i] == kNone) continue;
    ++m_entriesBegin[m_exact[i] + 1];
    if (m_upper[i] != m_exact[i]) ++m_entriesBegin[m_upper[i] + 1];
  }
  for (size_t s = 0; s < m_spellingNode.size(); ++s) m_entriesBegin[s + 1] += m_entriesBegin[s];
  m_entries.resize(m_entriesBegin.back());
  std::vector<std::uint32_t> fill(m_entriesBegin.begin(), m_entriesBegin.end() - 1);
  for (size_t i = 0; i < words.size(); ++i) {
    if (m_exact[i] == kNone) continue;
    m_entries[fill[m_exact[i]]++] = static_cast<std::uint32_t>(i);
    if (m_upper[i] != m_exact[i]) m_entries[fill[m_upper[i]]++] = static_cast<std::uint32_t>(i);
  }
}

SquishIndex::Node SquishIndex::Child(Node node, char16_t c) const {
  const auto begin = m_edgeChar.begin() + m_firstEdge[node];
  const auto end = m_edgeChar.begin() + m_firstEdge[node + 1];
  const auto it = std::lower_bound(begin, end, c);
  return it != end && *it == c ? m_edgeNode[static_cast<size_t>(it - m_edgeChar.begin())] : kNone;
}

SquishIndex::Node SquishIndex::Step(Node node, char16_t c) const {
  for (;;) {
    if (const Node child = Child(node, c); child != kNone) return child;
    if (node == kRoot) return kRoot;
    node = m_fail[node];
  }
}

}  // namespace tf
