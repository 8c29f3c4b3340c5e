#include "smart/word_trie.h"

#include "squish/breadth_first.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cstring>

namespace tf::smart {
namespace {

constexpr char kMagic[8] = {'T', 'F', 'W', 'O', 'R', 'D', 'S', '2'};

size_t Align8(size_t n) { return (n + 7) & ~size_t{7}; }

// FNV-1a over the UTF-16 units, then two different finishes (MurmurHash3's
// 64-bit one, of the hash and of the hash with its golden-ratio bits
// flipped): the slot from one, the bits kept in the slot from the other.
std::uint64_t Fnv(std::u16string_view word) {
  std::uint64_t h = 14695981039346656037ull;
  for (const char16_t c : word) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

std::uint64_t Finish(std::uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdull;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ull;
  x ^= x >> 33;
  return x;
}

std::uint64_t SlotOf(std::uint64_t fnv) { return Finish(fnv); }

std::uint64_t CheckOf(std::uint64_t fnv) {
  const std::uint64_t check = Finish(fnv ^ 0x9e3779b97f4a7c15ull) & ~std::uint64_t{0xFF};
  return check != 0 ? check : std::uint64_t{0x100};  // 0 marks an empty slot
}

}  // namespace

bool AcceptableWord(std::u16string_view lower) {
  if (lower.empty()) return false;
  size_t letters = 0;
  for (size_t i = 0; i < lower.size();) {
    UChar32 c;
    U16_NEXT(lower.data(), i, lower.size(), c);
    if (!u_isalpha(c)) return false;
    ++letters;
  }
  return letters > 1 || lower == u"a" || lower == u"i";
}

WordTrie::WordTrie() : m_ownFirstChild{1, 1}, m_ownChars{0}, m_ownSizes{kNoWord} {
  m_firstChild = m_ownFirstChild;
  m_chars = m_ownChars;
  m_sizes = m_ownSizes;
}

WordTrie WordTrie::Build(std::vector<std::pair<std::u16string, std::uint8_t>> words) {
  std::sort(words.begin(), words.end());
  std::erase_if(words, [](const auto& w) { return w.first.empty(); });
  // Preorder from the sorted words, then breadth first (preorder stably
  // sorted by depth keeps each node's children together and in order).
  std::vector<std::uint32_t> parent = {kNone}, depth = {0};
  std::vector<char16_t> chars = {0};
  std::vector<std::uint8_t> sizes = {kNoWord};
  std::vector<std::uint32_t> path = {0};
  std::u16string_view previous;
  for (const auto& [word, size] : words) {
    if (word.empty()) continue;
    size_t common = 0;
    while (common < previous.size() && common < word.size() && previous[common] == word[common]) ++common;
    path.resize(common + 1);
    for (size_t k = common; k < word.size(); ++k) {
      parent.push_back(path.back());
      depth.push_back(static_cast<std::uint32_t>(k + 1));
      chars.push_back(word[k]);
      sizes.push_back(kNoWord);
      path.push_back(static_cast<std::uint32_t>(chars.size() - 1));
    }
    // Sorted, so a repeated word comes with its smallest size first.
    if (sizes[path.back()] == kNoWord) sizes[path.back()] = size;
    previous = word;
  }
  const size_t n = chars.size();
  const std::vector<std::uint32_t> renumber = trie::BreadthFirstNumbers(depth);

  WordTrie t;
  t.m_ownChars.assign(n, 0);
  t.m_ownSizes.assign(n, kNoWord);
  std::vector<std::uint32_t> breadthParent(n, kNone);
  for (size_t v = 0; v < n; ++v) {
    t.m_ownChars[renumber[v]] = chars[v];
    t.m_ownSizes[renumber[v]] = sizes[v];
    if (v > 0) breadthParent[renumber[v]] = renumber[parent[v]];
  }
  t.m_ownFirstChild = trie::FirstChildren(breadthParent);
  t.m_firstChild = t.m_ownFirstChild;
  t.m_chars = t.m_ownChars;
  t.m_sizes = t.m_ownSizes;
  t.IndexWords(words);
  return t;
}

void WordTrie::IndexWords(const std::vector<std::pair<std::u16string, std::uint8_t>>& sortedWords) {
  size_t slots = 16;
  while (slots < 2 * sortedWords.size()) slots *= 2;
  std::vector<std::uint64_t> table(slots, 0);
  const std::uint64_t mask = slots - 1;
  for (size_t w = 0; w < sortedWords.size(); ++w) {
    const auto& [word, size] = sortedWords[w];
    // Sorted: a word given twice comes with its smallest size first.
    if (w > 0 && sortedWords[w - 1].first == word) continue;
    const std::uint64_t fnv = Fnv(word), check = CheckOf(fnv);
    std::uint64_t at = SlotOf(fnv) & mask;
    for (; table[at] != 0; at = (at + 1) & mask)
      if ((table[at] & ~std::uint64_t{0xFF}) == check) return;  // two words alike: no table
    table[at] = check | size;
  }
  m_ownSlots = std::move(table);
  m_slots = m_ownSlots;
}

std::vector<unsigned char> WordTrie::Serialize() const {
  const std::uint64_t n = m_chars.size();
  std::vector<unsigned char> out(8 + 8);
  std::memcpy(out.data(), kMagic, 8);
  std::memcpy(out.data() + 8, &n, 8);
  const auto append = [&out](const void* data, size_t bytes) {
    const size_t at = out.size();
    out.resize(Align8(at + bytes));
    std::memcpy(out.data() + at, data, bytes);
  };
  append(m_firstChild.data(), (n + 1) * sizeof(std::uint32_t));
  append(m_chars.data(), n * sizeof(char16_t));
  append(m_sizes.data(), n);
  const std::uint64_t slots = m_slots.size();
  append(&slots, 8);
  append(m_slots.data(), slots * sizeof(std::uint64_t));
  return out;
}

WordTrie WordTrie::View(std::span<const unsigned char> bytes) {
  WordTrie t;
  std::uint64_t n = 0;
  if (bytes.size() < 16 || std::memcmp(bytes.data(), kMagic, 8) != 0) return t;
  std::memcpy(&n, bytes.data() + 8, 8);
  const size_t firstAt = 16, charsAt = Align8(firstAt + (n + 1) * 4), sizesAt = Align8(charsAt + n * 2);
  if (n == 0 || bytes.size() < sizesAt + n) return t;
  t.m_firstChild = {reinterpret_cast<const std::uint32_t*>(bytes.data() + firstAt), n + 1};
  t.m_chars = {reinterpret_cast<const char16_t*>(bytes.data() + charsAt), n};
  t.m_sizes = {bytes.data() + sizesAt, n};
  const size_t slotsAt = Align8(sizesAt + n);
  std::uint64_t slots = 0;
  if (bytes.size() >= slotsAt + 8) std::memcpy(&slots, bytes.data() + slotsAt, 8);
  // A table whose size is not a power of two, or that does not fit, is not
  // used: the trie alone answers.
  if (slots != 0 && (slots & (slots - 1)) == 0 && slots <= (bytes.size() - slotsAt - 8) / 8)
    t.m_slots = {reinterpret_cast<const std::uint64_t*>(bytes.data() + slotsAt + 8), slots};
  return t;
}

std::uint32_t WordTrie::Child(std::uint32_t node, char16_t c) const {
  const auto begin = m_chars.begin() + m_firstChild[node];
  const auto end = m_chars.begin() + m_firstChild[node + 1];
  const auto it = std::lower_bound(begin, end, c);
  return it != end && *it == c ? static_cast<std::uint32_t>(it - m_chars.begin()) : kNone;
}

std::uint8_t WordTrie::SizeOf(std::u16string_view lower) const {
  if (!m_slots.empty()) {
    if (lower.empty()) return kNoWord;
    const std::uint64_t fnv = Fnv(lower), check = CheckOf(fnv), mask = m_slots.size() - 1;
    for (std::uint64_t at = SlotOf(fnv) & mask;; at = (at + 1) & mask) {
      const std::uint64_t slot = m_slots[at];
      if (slot == 0) return kNoWord;
      if ((slot & ~std::uint64_t{0xFF}) == check) return static_cast<std::uint8_t>(slot & 0xFF);
    }
  }
  std::uint8_t size = kNoWord;
  Prefixes(lower, lower.size(), [&](size_t length, std::uint8_t s) {
    if (length == lower.size()) size = s;
  });
  return size;
}

}  // namespace tf::smart
