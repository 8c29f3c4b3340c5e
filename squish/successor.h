// Two successor structures the fast squish pass leans on; internal to
// squish/. Both answer "the first one at or after i" in time independent of
// how far away it is.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

namespace tf::detail {

// A set of positions 0..size-1 that only grows, answering "the first member
// at or after i" through a 64-way summary tree (four levels cover 2^24
// positions, five 2^30).
class GrowingSet final {
 public:
  explicit GrowingSet(size_t size) : m_size(size) {
    size_t words = size / 64 + 1;
    do {
      m_levels.emplace_back(words, 0);
      words = words / 64 + 1;
    } while (m_levels.back().size() > 1);
  }

  void Insert(size_t i) {
    for (auto& level : m_levels) {
      level[i / 64] |= std::uint64_t{1} << (i % 64);
      i /= 64;
    }
  }

  // The first member >= i, or size() when there is none.
  size_t NextAtOrAfter(size_t i) const {
    size_t level = 0;
    // Climb until a word holds a member at or after the position.
    for (;; ++level) {
      if (level == m_levels.size()) return m_size;
      const auto& words = m_levels[level];
      if (i / 64 >= words.size()) return m_size;
      const std::uint64_t bits = words[i / 64] & (~std::uint64_t{0} << (i % 64));
      if (bits) {
        i = (i / 64) * 64 + static_cast<size_t>(std::countr_zero(bits));
        break;
      }
      i = i / 64 + 1;
    }
    // Descend to the first member under that summary bit.
    while (level-- > 0) i = i * 64 + static_cast<size_t>(std::countr_zero(m_levels[level][i]));
    return i < m_size ? i : m_size;
  }

 private:
  size_t m_size;
  std::vector<std::vector<std::uint64_t>> m_levels;
};

// A sequence of values under 2^bits that answers, for any index range, the
// smallest value at least y in it (a wavelet matrix; every query costs a
// few rank operations per bit).
class RangeSuccessor final {
 public:
  RangeSuccessor(std::vector<std::uint32_t> values, int bits) : m_bits(bits), m_size(values.size()) {
    std::vector<std::uint32_t> next(values.size());
    for (int level = 0; level < bits; ++level) {
      const int shift = bits - 1 - level;
      Bits& b = m_levels.emplace_back(values.size());
      size_t zeros = 0;
      for (size_t i = 0; i < values.size(); ++i)
        if ((values[i] >> shift) & 1) b.Set(i); else ++zeros;
      b.Finish();
      m_zeros.push_back(zeros);
      size_t z = 0, o = zeros;
      for (const std::uint32_t v : values) next[(v >> shift) & 1 ? o++ : z++] = v;
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
    void Set(size_t i) { m_words[i / 64] |= std::uint64_t{1} << (i % 64); }
    void Finish() {
      for (size_t w = 0; w < m_words.size(); ++w)
        m_before[w + 1] = m_before[w] + static_cast<std::uint32_t>(std::popcount(m_words[w]));
    }
    // Ones before position i.
    size_t Rank1(size_t i) const {
      const std::uint64_t mask = (std::uint64_t{1} << (i % 64)) - 1;
      return m_before[i / 64] + static_cast<size_t>(std::popcount(m_words[i / 64] & mask));
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
