#include "squish/squish.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <unordered_map>

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

// The letter positions of the text, numbered 0, 1, ... in text order. Two
// consecutive ones stand in the same run when they are two characters apart;
// a spelling can only occur inside a run.
struct Letters {
  std::vector<std::uint32_t> at;  // text index of letter position j
  bool Continues(size_t j) const { return j > 0 && at[j] == at[j - 1] + 2; }
};

Letters FindLetters(std::u16string_view t) {
  Letters letters;
  for (size_t k = 1; k + 1 < t.size(); ++k)
    if (IsLetterPosition(t, k)) letters.at.push_back(static_cast<std::uint32_t>(k));
  return letters;
}

// Where each spelling that occurs in the text ends: the letter positions
// whose state lies in the spelling's failure subtree. The positions are
// sorted by their state's number (then by position), so a spelling's ends
// are one block [begin, end) of `ends`.
struct Occurrences {
  std::vector<std::uint32_t> ends;
  struct Block {
    Spelling spelling;
    std::uint32_t begin, end, length;
    bool sorted;  // all one state: the block is in position order
  };
  std::vector<Block> blocks;
  std::unordered_map<Spelling, std::uint32_t> blockOf;
};

// Stable sort of (key, value) pairs by key, 11 bits a round.
void RadixSort(std::vector<std::pair<std::uint32_t, std::uint32_t>>& items, std::uint32_t maxKey) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> other(items.size());
  for (int shift = 0; shift < 32 && (maxKey >> shift) != 0; shift += 11) {
    std::vector<size_t> count(2049, 0);
    for (const auto& it : items) ++count[((it.first >> shift) & 2047) + 1];
    for (size_t b = 0; b < 2048; ++b) count[b + 1] += count[b];
    for (const auto& it : items) other[count[(it.first >> shift) & 2047]++] = it;
    items.swap(other);
  }
}

Occurrences FindOccurrences(std::u16string_view t, const Letters& letters, const SquishIndex& index) {
  // Walk every run through the automaton; keep the positions whose state
  // has some spelling ending there.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> keyed;  // (state number, position)
  Node state = SquishIndex::kRoot;
  std::uint32_t maxKey = 0;
  for (size_t j = 0; j < letters.at.size(); ++j) {
    if (!letters.Continues(j)) state = SquishIndex::kRoot;
    state = index.Step(state, t[letters.at[j]]);
    if (index.NearestSpelling(state) == kNone) continue;
    keyed.emplace_back(index.Number(state), static_cast<std::uint32_t>(j));
    maxKey = std::max(maxKey, index.Number(state));
  }
  RadixSort(keyed, maxKey);

  // The spellings that occur: every spelling at or above an occupied state
  // in the failure tree, each visited once.
  Occurrences occ;
  std::vector<Spelling> found;
  for (size_t k = 0; k < keyed.size(); ++k) {
    if (k > 0 && keyed[k].first == keyed[k - 1].first) continue;
    for (Node n = index.NearestSpelling(keyed[k].first); n != kNone; n = index.Above(n)) {
      const Spelling s = index.SpellingAt(n);
      if (!occ.blockOf.emplace(s, 0).second) break;  // and so is everything above
      found.push_back(s);
    }
  }
  occ.ends.resize(keyed.size());
  for (size_t k = 0; k < keyed.size(); ++k) occ.ends[k] = keyed[k].second;
  const auto firstAtLeast = [&](std::uint32_t number) {
    return static_cast<std::uint32_t>(
        std::lower_bound(keyed.begin(), keyed.end(), std::pair<std::uint32_t, std::uint32_t>(number, 0)) -
        keyed.begin());
  };
  for (const Spelling s : found) {
    const Node n = index.SpellingNode(s);
    const std::uint32_t begin = firstAtLeast(index.Number(n));
    const std::uint32_t end = firstAtLeast(index.SubtreeEnd(n));
    const bool sorted = keyed[begin].first == keyed[end - 1].first;
    occ.blockOf[s] = static_cast<std::uint32_t>(occ.blocks.size());
    occ.blocks.push_back({s, begin, end, index.SpellingLength(s), sorted});
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
  Passes(const Letters& letters, Occurrences occ)
      : m_occ(std::move(occ)),
        m_cursor(m_occ.blocks.size(), 0),
        m_taken(letters.at.size()),
        m_nextFree(letters.at.size() + 1) {
    for (size_t j = 0; j < m_nextFree.size(); ++j) m_nextFree[j] = static_cast<std::uint32_t>(j);
  }

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
    const auto it = m_occ.blockOf.find(s);
    return it == m_occ.blockOf.end() ? kNone : it->second;
  }

  // The first end of the block's spelling at or after `end`.
  std::uint32_t NextEnd(std::uint32_t b, std::uint32_t end) {
    const auto& block = m_occ.blocks[b];
    if (block.sorted) {
      // One state: the ends are in order; binary search within the block.
      const auto first = m_occ.ends.begin() + block.begin, last = m_occ.ends.begin() + block.end;
      const auto it = std::lower_bound(first, last, end);
      return it == last ? kNone : *it;
    }
    if (!m_successor) {
      int bits = 1;
      while ((std::uint64_t{1} << bits) <= m_nextFree.size()) ++bits;
      m_successor.emplace(m_occ.ends, bits);
    }
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
      const size_t taken = m_taken.NextAtOrAfter(start);
      if (taken >= start + n) {
        m_cursor[b] = start;
        return start;
      }
      // Every place that starts at or before a taken letter and reaches it
      // is gone, and so is every place starting on the taken run after it.
      m_cursor[b] = NextFree(static_cast<std::uint32_t>(taken));
    }
  }

  void Take(std::uint32_t start, std::uint32_t n) {
    for (std::uint32_t j = start; j < start + n; ++j) {
      m_taken.Insert(j);
      m_nextFree[j] = j + 1;
    }
  }

  // The first letter position at or after j that is not taken.
  std::uint32_t NextFree(std::uint32_t j) {
    std::uint32_t root = j;
    while (m_nextFree[root] != root) root = m_nextFree[root];
    while (m_nextFree[j] != root) {
      const std::uint32_t next = m_nextFree[j];
      m_nextFree[j] = root;
      j = next;
    }
    return root;
  }

  Occurrences m_occ;
  std::vector<std::uint32_t> m_cursor;  // per block: no usable place before it
  detail::GrowingSet m_taken;
  std::vector<std::uint32_t> m_nextFree;
  std::optional<detail::RangeSuccessor> m_successor;
};

}  // namespace

std::u16string SquishText(std::u16string_view text, const Vocabulary& vocabulary) {
  const std::u16string_view t = Trim(text);
  // Letter positions are numbered in 32 bits.
  if (t.size() >= UINT32_MAX / 2) throw std::length_error("the text is too long to squish");
  std::vector<Replacement> replacements;
  Letters letters = FindLetters(t);
  if (!letters.at.empty() && vocabulary.NumWords() > 0) {
    const SquishIndex& index = vocabulary.Index();
    Passes passes(letters, FindOccurrences(t, letters, index));
    replacements = passes.Run(index);
  }
  std::u16string joined;
  joined.reserve(t.size());
  size_t from = 0;
  for (const auto& r : replacements) {
    const std::u16string& word = vocabulary.WordList()[r.entry];
    const size_t at = letters.at[r.start];
    joined.append(t.substr(from, at - from));
    joined.append(word);
    from = at + 2 * word.size() - 1;  // the closing space stays
  }
  joined.append(t.substr(from));
  letters = {};
  replacements = {};
  return std::u16string(Trim(TidyPunctuation(joined)));
}

}  // namespace tf
