#include "smart/word_trie.h"

#include "squish/breadth_first.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cstring>

namespace tf::smart {
namespace {

constexpr char kMagic[8] = {'T', 'F', 'W', 'O', 'R', 'D', 'S', '1'};

size_t Align8(size_t n) { return (n + 7) & ~size_t{7}; }

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
  return t;
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
  return t;
}

std::uint32_t WordTrie::Child(std::uint32_t node, char16_t c) const {
  const auto begin = m_chars.begin() + m_firstChild[node];
  const auto end = m_chars.begin() + m_firstChild[node + 1];
  const auto it = std::lower_bound(begin, end, c);
  return it != end && *it == c ? static_cast<std::uint32_t>(it - m_chars.begin()) : kNone;
}

std::uint8_t WordTrie::SizeOf(std::u16string_view lower) const {
  std::uint8_t size = kNoWord;
  Prefixes(lower, lower.size(), [&](size_t length, std::uint8_t s) {
    if (length == lower.size()) size = s;
  });
  return size;
}

}  // namespace tf::smart
