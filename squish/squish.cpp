#include "squish/squish.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <optional>
#include <stdexcept>

#include "squish/index.h"
#include "squish/successor.h"
#include "text/text.h"

namespace tf {
namespace {

using Node = SquishIndex::Node;
using Spelling = SquishIndex::Spelling;
constexpr std::uint32_t kNone = SquishIndex::kNone;

// A letter position: one character with a space on either side, the only
// place a letter of a letter-spaced word can stand. Replacing a word of two
// or more letters never makes one; it only takes some away.
bool IsLetterPosition(std::u16string_view t, size_t k) {
  return k >= 1 && k + 1 < t.size() && t[k] != u' ' && t[k - 1] == u' ' && t[k + 1] == u' ';
}

// Calls f(j, k, continues) for the letter positions of the text in order:
// j numbers them 0, 1, ..., k is the text index, and `continues` says that
// the one before stood two characters back, in the same run (a spelling
// can only occur inside a run). Returns how many there are.
template <typename F>
size_t ForEachLetter(std::u16string_view t, F&& f) {
  size_t j = 0, previous = 0;
  for (size_t k = 1; k + 1 < t.size(); ++k) {
    if (!IsLetterPosition(t, k)) continue;
    f(j, k, j > 0 && previous + 2 == k);
    previous = k;
    ++j;
  }
  return j;
}

// A map from nodes to numbers: the pass keeps a few of them, sized by what
// its text meets, never by the vocabulary. When the vocabulary's nodes are
// few next to the text, a plain array indexed by node is cheaper; otherwise
// open addressing.
class NodeMap final {
 public:
  NodeMap(size_t nodes, size_t letters) {
    if (nodes <= 4 * letters + 4096) m_dense.assign(nodes, kNone);
  }

  // The value of `key`, made `fresh` when the key is new. The reference
  // holds until the next insertion.
  std::uint32_t& At(std::uint32_t key, std::uint32_t fresh = 0) {
    if (!m_dense.empty()) {
      std::uint32_t& v = m_dense[key];
      if (v == kNone) v = fresh, m_touched.push_back(key);
      return v;
    }
    if (2 * (m_used + 1) > m_keys.size()) Grow();
    const size_t s = Slot(key);
    if (m_keys[s] == kNone) m_keys[s] = key, m_values[s] = fresh, ++m_used;
    return m_values[s];
  }
  // The value of `key`, or kNone when it has none.
  std::uint32_t Get(std::uint32_t key) const {
    if (!m_dense.empty()) return m_dense[key];
    if (m_keys.empty()) return kNone;
    const size_t s = Slot(key);
    return m_keys[s] == kNone ? kNone : m_values[s];
  }
  // f(key, value) for every key given a value, in no particular order.
  template <typename F>
  void ForEach(F&& f) const {
    if (!m_dense.empty()) {
      for (const auto key : m_touched) f(key, m_dense[key]);
      return;
    }
    for (size_t s = 0; s < m_keys.size(); ++s)
      if (m_keys[s] != kNone) f(m_keys[s], m_values[s]);
  }

 private:
  // Fibonacci hashing: the top bits of the product are the well-mixed ones.
  size_t Slot(std::uint32_t key) const {
    const size_t mask = m_keys.size() - 1;
    size_t s = static_cast<size_t>((std::uint64_t{key} * 0x9E3779B97F4A7C15ull) >> m_shift);
    while (m_keys[s] != kNone && m_keys[s] != key) s = (s + 1) & mask;
    return s;
  }
  void Grow() {
    std::vector<std::uint32_t> keys(std::max<size_t>(16, 2 * m_keys.size()), kNone), values(keys.size(), 0);
    m_shift = 64 - std::countr_zero(keys.size());
    m_keys.swap(keys);
    m_values.swap(values);
    for (size_t s = 0; s < keys.size(); ++s) {
      if (keys[s] == kNone) continue;
      const size_t d = Slot(keys[s]);
      m_keys[d] = keys[s];
      m_values[d] = values[s];
    }
  }
  std::vector<std::uint32_t> m_dense, m_touched;
  std::vector<std::uint32_t> m_keys, m_values;
  size_t m_used = 0;
  int m_shift = 64;
};

// For the states a text reaches: the nearest node at or above each in the
// failure tree where a spelling ends, worked out once per state (a chain
// can be as long as a word, and a long word has as many states).
class NearestSpellings final {
 public:
  NearestSpellings(const SquishIndex& index, size_t letters) : m_index(index), m_known(index.NumNodes(), letters) {}

  // The node, or kNone.
  Node Of(Node v) {
    m_chain.clear();
    Node answer = kNone;
    for (Node x = v;; x = m_index.Fail(x)) {
      if (const Node known = m_known.Get(x); known != kNone) {
        answer = known == SquishIndex::kRoot ? kNone : known;  // the root stands for none
        break;
      }
      if (m_index.SpellingAt(x) != kNone) {
        answer = x;
        break;
      }
      m_chain.push_back(x);
      if (x == SquishIndex::kRoot) break;
    }
    for (const Node y : m_chain) m_known.At(y) = answer == kNone ? SquishIndex::kRoot : answer;
    if (answer != kNone) m_known.At(answer) = answer;
    return answer;
  }

  // The nearest such node strictly above v.
  Node Above(Node v) { return v == SquishIndex::kRoot ? kNone : Of(m_index.Fail(v)); }

 private:
  const SquishIndex& m_index;
  NodeMap m_known;
  std::vector<Node> m_chain;
};

// Where each spelling that occurs in the text ends: the letter positions
// whose state has the spelling at or above it in the failure tree. The
// positions are kept in runs, one per state, each in position order; the
// states are ordered so that a spelling's states are consecutive, and its
// ends are one block [begin, end) of `ends`.
struct Occurrences {
  std::vector<std::uint32_t> ends;
  // Where each run begins in `ends`, and ends.size() last.
  std::vector<std::uint32_t> runStarts;
  struct Block {
    Spelling spelling;
    std::uint32_t begin, end, length;
    bool sorted;  // all one state: the block is in position order
  };
  std::vector<Block> blocks;
  NodeMap blockOf;  // spelling -> its block

  Occurrences(size_t spellings, size_t letters) : blockOf(spellings, letters) {}
};

// A state some letter stands at and where some spelling ends.
bool IsOccupied(const NodeMap& counts, Node n) {
  const std::uint32_t count = counts.Get(n);
  return count != kNone && count != 0;
}

Occurrences FindOccurrences(std::u16string_view t, size_t letters, const SquishIndex& index) {
  NearestSpellings nearest(index, letters);
  // One walk: the state at each letter (kNone at the root), and how many
  // letters each state has; then, once per state, whether a spelling ends
  // there at all (a useless state's count becomes kNone).
  std::vector<Node> stateAt(letters, kNone);
  NodeMap counts(index.NumNodes(), letters);
  {
    Node state = SquishIndex::kRoot;
    ForEachLetter(t, [&](size_t j, size_t k, bool continues) {
      state = index.Step(continues ? state : SquishIndex::kRoot, t[k]);
      if (state == SquishIndex::kRoot) return;
      stateAt[j] = state;
      ++counts.At(state);
    });
  }
  std::vector<Node> useless;
  size_t states = 0;
  counts.ForEach([&](Node state, std::uint32_t) {
    ++states;
    if (nearest.Of(state) == kNone) useless.push_back(state);
  });
  if (useless.size() == states) return Occurrences(0, 0);  // nothing to replace
  for (const Node state : useless) counts.At(state) = kNone;

  // The forest of the occupied states and the spellings above them: a
  // spelling's parent is the nearest spelling above it, a state's the
  // nearest at or above it. Numbered depth first, a spelling's states are
  // consecutive.
  std::vector<Node> nodes;
  std::vector<std::uint32_t> up;  // parent's place in `nodes`, or kNone
  NodeMap place(index.NumNodes(), letters);
  const auto add = [&](Node n) {
    std::uint32_t& at = place.At(n, kNone);
    if (at != kNone) return at;
    at = static_cast<std::uint32_t>(nodes.size());
    nodes.push_back(n);
    up.push_back(kNone);
    return static_cast<std::uint32_t>(nodes.size() - 1);
  };
  counts.ForEach([&](Node state, std::uint32_t count) {
    if (count != kNone) add(state);
  });
  for (size_t i = 0; i < nodes.size(); ++i) {
    const Node n = nodes[i];
    const Node parent = index.SpellingAt(n) != kNone ? nearest.Above(n) : nearest.Of(n);
    if (parent != kNone) up[i] = add(parent);
  }
  std::vector<std::uint32_t> kidsFirst(nodes.size() + 1, 0), kids;
  for (const auto u : up)
    if (u != kNone) ++kidsFirst[u + 1];
  for (size_t i = 0; i < nodes.size(); ++i) kidsFirst[i + 1] += kidsFirst[i];
  kids.resize(kidsFirst.back());
  {
    std::vector<std::uint32_t> fill(kidsFirst.begin(), kidsFirst.end() - 1);
    for (size_t i = 0; i < nodes.size(); ++i)
      if (up[i] != kNone) kids[fill[up[i]]++] = static_cast<std::uint32_t>(i);
  }

  Occurrences occ(index.NumSpellings(), letters);
  std::vector<std::uint32_t> firstRun(nodes.size()), endRun(nodes.size());
  std::vector<Node> runState;  // the state of each run
  {
    struct Frame {
      std::uint32_t node, next;
    };
    std::vector<Frame> stack;
    for (size_t root = 0; root < nodes.size(); ++root) {
      if (up[root] != kNone) continue;
      stack.push_back({static_cast<std::uint32_t>(root), kidsFirst[root]});
      firstRun[root] = static_cast<std::uint32_t>(runState.size());
      if (IsOccupied(counts, nodes[root])) runState.push_back(nodes[root]);
      while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == kidsFirst[top.node + 1]) {
          endRun[top.node] = static_cast<std::uint32_t>(runState.size());
          stack.pop_back();
          continue;
        }
        const std::uint32_t child = kids[top.next++];
        firstRun[child] = static_cast<std::uint32_t>(runState.size());
        if (IsOccupied(counts, nodes[child])) runState.push_back(nodes[child]);
        stack.push_back({child, kidsFirst[child]});
      }
    }
  }
  kids = {};
  kidsFirst = {};

  // The ends, run by run.
  std::uint32_t total = 0;
  for (size_t r = 0; r < runState.size(); ++r) {
    std::uint32_t& count = counts.At(runState[r]);
    occ.runStarts.push_back(total);
    total += count;
    count = static_cast<std::uint32_t>(r);  // from here on: the state's run
  }
  occ.runStarts.push_back(total);
  occ.ends.resize(total);
  {
    std::vector<std::uint32_t> fill(occ.runStarts.begin(), occ.runStarts.end() - 1);
    Node last = kNone;
    std::uint32_t run = 0;
    for (size_t j = 0; j < letters; ++j) {
      if (stateAt[j] == kNone) continue;
      if (stateAt[j] != last) last = stateAt[j], run = counts.Get(last);
      if (run != kNone) occ.ends[fill[run]++] = static_cast<std::uint32_t>(j);
    }
  }
  stateAt = {};

  for (size_t i = 0; i < nodes.size(); ++i) {
    const Spelling s = index.SpellingAt(nodes[i]);
    if (s == kNone) continue;
    occ.blockOf.At(s) = static_cast<std::uint32_t>(occ.blocks.size());
    occ.blocks.push_back({s, occ.runStarts[firstRun[i]], occ.runStarts[endRun[i]], index.SpellingLength(s),
                          endRun[i] - firstRun[i] == 1});
  }
  return occ;
}

struct Replacement {
  std::uint32_t start;  // the letter position of the word's first letter
  std::uint32_t entry;
};

// The replacement passes, played out on letter positions instead of by
// rebuilding the text. Each pass visits the entries in vocabulary order and
// each takes the first usable place of its exact spelling, else of its
// upper-case one. A place is usable until one of its letters is taken by a
// replacement, and letters are never given back; so a spelling's first
// usable place only moves forward (one cursor each), and an entry that finds
// nothing in a pass finds nothing later and leaves the passes for good.
class Passes final {
 public:
  Passes(size_t letters, Occurrences occ, const detail::PassLimits& limits)
      : m_limits(limits),
        m_occ(std::move(occ)),
        m_cursor(m_occ.blocks.size(), 0),
        m_walk(m_occ.blocks.size()),
        m_taken(letters) {}

  std::vector<Replacement> Run(const SquishIndex& index) {
    // Only the entries with a spelling that occurs take part; everything
    // here is sized by the text, never by the vocabulary.
    struct Active {
      std::uint32_t entry, exact, upper, length;  // blocks, or kNone
    };
    std::vector<Active> active;
    for (const auto& block : m_occ.blocks)
      for (auto e = index.EntriesBegin(block.spelling); e != index.EntriesEnd(block.spelling); ++e)
        active.push_back({*e, BlockOf(index.Exact(*e)), BlockOf(index.Upper(*e)),
                          index.SpellingLength(index.Exact(*e))});
    std::sort(active.begin(), active.end(), [](const Active& a, const Active& b) { return a.entry < b.entry; });
    active.erase(std::unique(active.begin(), active.end(),
                             [](const Active& a, const Active& b) { return a.entry == b.entry; }),
                 active.end());

    std::vector<Replacement> done;
    while (!active.empty()) {
      size_t kept = 0;
      for (const Active& a : active) {
        std::uint32_t s = a.exact == kNone ? kNone : FirstUsable(a.exact);
        if (s == kNone && a.upper != kNone) s = FirstUsable(a.upper);
        if (s == kNone) continue;  // nothing now, nothing ever
        Take(s, a.length);
        done.push_back({s, a.entry});
        active[kept++] = a;
      }
      active.resize(kept);
    }
    std::sort(done.begin(), done.end(),
              [](const Replacement& a, const Replacement& b) { return a.start < b.start; });
    return done;
  }

 private:
  std::uint32_t BlockOf(Spelling s) const {
    if (s == kNone) return kNone;
    return m_occ.blockOf.Get(s);
  }

  // How a block's next end is found. Its ends are the runs of the states
  // in the spelling's failure subtree, each run in position order:
  //   InOrder   one run: walked forward;
  //   Runs      a few runs: the least head among them, each run skipped
  //             forward as far as asked (most nested words: the runs of all
  //             but the deepest state soon run out);
  //   Successor the wavelet matrix over all ends, O(log n) a question.
  // A block leaves Runs when it costs more than a few steps a question.
  struct RunHead {
    std::uint32_t head, at, end;  // ends[at] == head; the run is [at, end)
    bool operator>(const RunHead& o) const { return head > o.head; }
  };
  struct Walk {
    enum class Mode { Unset, InOrder, Runs, Successor } mode = Mode::Unset;
    std::uint32_t next = 0, last = 0;  // InOrder
    std::vector<RunHead> heap;             // Runs: a min-heap by head
    size_t questions = 0, steps = 0, runs = 0;
  };

  void Choose(std::uint32_t b) {
    const auto& block = m_occ.blocks[b];
    Walk& w = m_walk[b];
    if (block.sorted) {
      w.mode = Walk::Mode::InOrder;
      w.next = block.begin;
      w.last = block.end;
      return;
    }
    const auto& starts = m_occ.runStarts;
    const auto first = std::lower_bound(starts.begin(), starts.end(), block.begin);
    const auto last = std::lower_bound(starts.begin(), starts.end(), block.end);
    if (static_cast<size_t>(last - first) <= m_limits.mostRuns) {
      w.mode = Walk::Mode::Runs;
      for (auto it = first; it != last; ++it) w.heap.push_back({m_occ.ends[*it], *it, *(it + 1)});
      std::make_heap(w.heap.begin(), w.heap.end(), std::greater<>());
      w.runs = w.heap.size();
      return;
    }
    Leave(b);
  }

  // From Runs (or straight away): the successor structure. (A sorted copy
  // of the block's ends was a fourth way; on the hostile shapes and the
  // large texts it saved no time, so it went.)
  void Leave(std::uint32_t b) {
    Walk& w = m_walk[b];
    w.heap = {};
    w.mode = Walk::Mode::Successor;
    if (!m_successor) {
      int bits = 1;
      while ((std::uint64_t{1} << bits) <= m_taken.size()) ++bits;
      m_successor.emplace(m_occ.ends, bits);
    }
  }

  // The first index of ends[at, end) holding a value >= y, or `end`.
  std::uint32_t Gallop(std::uint32_t at, std::uint32_t end, std::uint32_t y) const {
    std::uint32_t step = 1;
    std::uint32_t lo = at;
    while (lo + step < end && m_occ.ends[lo + step] < y) {
      lo += step;
      step *= 2;
    }
    const auto first = m_occ.ends.begin() + lo, last = m_occ.ends.begin() + std::min(end, lo + step + 1);
    return static_cast<std::uint32_t>(std::lower_bound(first, last, y) - m_occ.ends.begin());
  }

  // The first end of the block's spelling at or after `end`, asked with
  // `end` never going down (cursors only move forward).
  std::uint32_t NextEnd(std::uint32_t b, std::uint32_t end) {
    Walk& w = m_walk[b];
    if (w.mode == Walk::Mode::Unset) Choose(b);
    if (w.mode == Walk::Mode::Runs) {
      ++w.questions;
      while (!w.heap.empty() && w.heap.front().head < end) {
        std::pop_heap(w.heap.begin(), w.heap.end(), std::greater<>());
        RunHead& r = w.heap.back();
        r.at = Gallop(r.at, r.end, end);
        ++w.steps;
        if (r.at < r.end) {
          r.head = m_occ.ends[r.at];
          std::push_heap(w.heap.begin(), w.heap.end(), std::greater<>());
        } else {
          w.heap.pop_back();
        }
      }
      if (w.steps <= m_limits.stepsPerQuestion * w.questions + 2 * w.runs)
        return w.heap.empty() ? kNone : w.heap.front().head;
      Leave(b);
    }
    if (w.mode == Walk::Mode::InOrder) {
      const std::uint32_t* ends = m_occ.ends.data();
      while (w.next < w.last && ends[w.next] < end) ++w.next;
      return w.next < w.last ? ends[w.next] : kNone;
    }
    const auto& block = m_occ.blocks[b];
    return m_successor->NextValue(block.begin, block.end, end);
  }

  // The first usable place (first letter) of the block's spelling, or kNone.
  std::uint32_t FirstUsable(std::uint32_t b) {
    const std::uint32_t n = m_occ.blocks[b].length;
    for (;;) {
      const std::uint32_t from = m_cursor[b];
      if (from == kNone) return kNone;
      const std::uint32_t end = NextEnd(b, from + n - 1);
      if (end == kNone) {
        m_cursor[b] = kNone;
        return kNone;
      }
      const std::uint32_t start = end + 1 - n;
      const size_t taken = m_taken.NextMember(start);
      if (taken >= start + n) {
        m_cursor[b] = start;
        return start;
      }
      // Every place that starts at or before a taken letter and reaches it
      // is gone, and so is every place starting on the taken run after it.
      m_cursor[b] = static_cast<std::uint32_t>(m_taken.NextAbsent(taken));
    }
  }

  void Take(std::uint32_t start, std::uint32_t n) {
    for (std::uint32_t j = start; j < start + n; ++j) m_taken.Insert(j);
  }

  detail::PassLimits m_limits;
  Occurrences m_occ;
  std::vector<std::uint32_t> m_cursor;  // per block: no usable place before it
  std::vector<Walk> m_walk;             // per block
  detail::GrowingSet m_taken;            // letters replaced so far
  std::optional<detail::RangeSuccessor> m_successor;
};

}  // namespace

std::u16string SquishText(std::u16string_view text, const Vocabulary& vocabulary) {
  return detail::SquishText(text, vocabulary, {});
}

std::u16string detail::SquishText(std::u16string_view text, const Vocabulary& vocabulary,
                                  const PassLimits& limits) {
  const std::u16string_view t = Trim(text);
  // Letter positions are numbered in 32 bits.
  if (t.size() >= UINT32_MAX / 2) throw std::length_error("the text is too long to squish");
  std::vector<Replacement> replacements;
  if (vocabulary.NumWords() > 0) {
    const SquishIndex& index = vocabulary.Index();
    const size_t letters = ForEachLetter(t, [](size_t, size_t, bool) {});
    if (letters > 0) {
      Occurrences occ = FindOccurrences(t, letters, index);
      if (!occ.blocks.empty()) replacements = Passes(letters, std::move(occ), limits).Run(index);
    }
  }
  std::u16string joined;
  joined.reserve(t.size());
  size_t from = 0;
  auto next = replacements.begin();
  ForEachLetter(t, [&](size_t j, size_t k, bool) {
    if (next == replacements.end() || next->start != j) return;
    const std::u16string& word = vocabulary.WordList()[next->entry];
    joined.append(t.substr(from, k - from));
    joined.append(word);
    from = k + 2 * word.size() - 1;  // the closing space stays
    ++next;
  });
  joined.append(t.substr(from));
  replacements = {};
  std::u16string tidy = TidyPunctuation(joined);
  joined = std::u16string();
  // Trimmed in place: the text may be large.
  const size_t last = tidy.find_last_not_of(u' ');
  tidy.erase(last == std::u16string::npos ? 0 : last + 1);
  tidy.erase(0, std::min(tidy.size(), tidy.find_first_not_of(u' ')));
  return tidy;
}

}  // namespace tf
