// Two successor structures the fast squish pass leans on; internal to
// squish/. Both answer "the first one at or after i" in time independent of
// how far away it is.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

namespace tf::detail {

// Ones in a word, without relying on a popcount instruction the target may
// lack (the generic x86-64 build would call into libgcc for each).
inline unsigned Ones(std::uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555ull);
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<unsigned>((x * 0x0101010101010101ull) >> 56);
}

// A set of positions 0..size-1 that only grows, answering "the first member
// at or after i" and "the first non-member at or after i" through 64-way
// summary trees (four levels cover 2^24 positions, five 2^30): one of words
// that hold a member, one of words that are full.
class GrowingSet final {
 public:
  explicit GrowingSet(size_t size) : m_size(size) {
    size_t words = size / 64 + 1;
    do {
      m_any.emplace_back(words, 0);
      m_full.emplace_back(words / 64 + 1, 0);
      words = words / 64 + 1;
    } while (m_any.back().size() > 1);
  }

  size_t size() const { return m_size; }

  void Insert(size_t i) {
    for (size_t level = 0, k = i; level < m_any.size(); ++level, k /= 64)
      m_any[level][k / 64] |= std::uint64_t{1} << (k % 64);
    // A word that became full marks its summary bit, and so on up.
    if (~m_any[0][i / 64]) return;
    for (size_t level = 0, w = i / 64; level < m_full.size(); ++level, w /= 64) {
      m_full[level][w / 64] |= std::uint64_t{1} << (w % 64);
      if (~m_full[level][w / 64]) return;
    }
  }

  // The first member >= i, or size() when there is none.
  size_t NextMember(size_t i) const { return std::min(m_size, Next(m_any, i, false)); }

  // The first position >= i that is not a member, or size() when there is
  // none.
  size_t NextAbsent(size_t i) const {
    if (i >= m_size) return m_size;
    const auto& words = m_any[0];
    const std::uint64_t bits = ~words[i / 64] & (~std::uint64_t{0} << (i % 64));
    if (bits) return std::min(m_size, (i / 64) * 64 + static_cast<size_t>(std::countr_zero(bits)));
    // The next level-0 word that is not full.
    const size_t w = Next(m_full, i / 64 + 1, true);
    if (w >= words.size()) return m_size;
    return std::min(m_size, w * 64 + static_cast<size_t>(std::countr_zero(~words[w])));
  }

 private:
  using Levels = std::vector<std::vector<std::uint64_t>>;

  // The first position >= i whose bit at the bottom of `levels` is set (or,
  // with `clear`, is not set), climbing while the summaries allow.
  static size_t Next(const Levels& levels, size_t i, bool clear) {
    const auto word = [&](size_t level, size_t w) { return clear ? ~levels[level][w] : levels[level][w]; };
    size_t level = 0;
    for (;; ++level) {
      if (level == levels.size()) return SIZE_MAX;
      if (i / 64 >= levels[level].size()) return SIZE_MAX;
      const std::uint64_t bits = word(level, i / 64) & (~std::uint64_t{0} << (i % 64));
      if (bits) {
        i = (i / 64) * 64 + static_cast<size_t>(std::countr_zero(bits));
        break;
      }
      i = i / 64 + 1;
    }
    while (level-- > 0) i = i * 64 + static_cast<size_t>(std::countr_zero(word(level, i)));
    return i;
  }

  size_t m_size;
  Levels m_any;   // level 0: the members; above: words holding one
  Levels m_full;  // level 0: full words of m_any[0]; above: full words below
};

// A sequence of values under 2^bits that answers, for any index range, the
// smallest value at least y in it: a wavelet matrix (F. Claude, G. Navarro
// and A. Ordóñez, "The wavelet matrix: An efficient wavelet tree for large
// alphabets", Information Systems 47, 2015), whose range-next-value query
// costs a few rank operations per bit.
class RangeSuccessor final {
 public:
  RangeSuccessor(std::vector<std::uint32_t> values, int bits) : m_bits(bits), m_size(values.size()) {
    std::vector<std::uint32_t> next(values.size());
    for (int level = 0; level < bits; ++level) {
      const int shift = bits - 1 - level;
      Bits& b = m_levels.emplace_back(values.size());
      // A word of bits at a time, and the stable split into zeros then ones.
      size_t zeros = 0;
      for (size_t w = 0; w * 64 < values.size(); ++w) {
        std::uint64_t word = 0;
        const size_t end = std::min(values.size(), w * 64 + 64);
        for (size_t i = w * 64; i < end; ++i) word |= std::uint64_t{(values[i] >> shift) & 1} << (i % 64);
        b.SetWord(w, word);
        zeros += (end - w * 64) - Ones(word);
      }
      b.Finish();
      m_zeros.push_back(zeros);
      size_t z = 0, o = zeros;
      for (const std::uint32_t v : values) {
        const bool one = (v >> shift) & 1;
        next[one ? o : z] = v;
        o += one;
        z += !one;
      }
      values.swap(next);
    }
  }

  static constexpr std::uint32_t kNone = UINT32_MAX;

  // The smallest value >= y among values[lo, hi), or kNone.
  std::uint32_t NextValue(size_t lo, size_t hi, std::uint64_t y) const {
    if (lo >= hi || y >> m_bits) return kNone;
    const size_t less = CountLess(lo, hi, y);
    return less == hi - lo ? kNone : KthSmallest(lo, hi, less);
  }

 private:
  class Bits {
   public:
    explicit Bits(size_t n) : m_words(n / 64 + 1, 0), m_before(n / 64 + 2, 0) {}
    void SetWord(size_t w, std::uint64_t bits) { m_words[w] = bits; }
    void Finish() {
      for (size_t w = 0; w < m_words.size(); ++w)
        m_before[w + 1] = m_before[w] + static_cast<std::uint32_t>(Ones(m_words[w]));
    }
    // Ones before position i.
    size_t Rank1(size_t i) const {
      const std::uint64_t mask = (std::uint64_t{1} << (i % 64)) - 1;
      return m_before[i / 64] + static_cast<size_t>(Ones(m_words[i / 64] & mask));
    }

   private:
    std::vector<std::uint64_t> m_words;
    std::vector<std::uint32_t> m_before;
  };

  size_t CountLess(size_t lo, size_t hi, std::uint64_t y) const {
    size_t count = 0;
    for (int level = 0; level < m_bits; ++level) {
      const size_t lo1 = m_levels[level].Rank1(lo), hi1 = m_levels[level].Rank1(hi);
      const size_t lo0 = lo - lo1, hi0 = hi - hi1;
      if ((y >> (m_bits - 1 - level)) & 1) {
        count += hi0 - lo0;
        lo = m_zeros[level] + lo1;
        hi = m_zeros[level] + hi1;
      } else {
        lo = lo0;
        hi = hi0;
      }
    }
    return count;
  }

  std::uint32_t KthSmallest(size_t lo, size_t hi, size_t k) const {
    std::uint32_t value = 0;
    for (int level = 0; level < m_bits; ++level) {
      const size_t lo1 = m_levels[level].Rank1(lo), hi1 = m_levels[level].Rank1(hi);
      const size_t lo0 = lo - lo1, hi0 = hi - hi1;
      if (k < hi0 - lo0) {
        lo = lo0;
        hi = hi0;
      } else {
        k -= hi0 - lo0;
        value |= std::uint32_t{1} << (m_bits - 1 - level);
        lo = m_zeros[level] + lo1;
        hi = m_zeros[level] + hi1;
      }
    }
    return value;
  }

  int m_bits;
  size_t m_size;
  std::vector<Bits> m_levels;
  std::vector<size_t> m_zeros;
};

}  // namespace tf::detail
