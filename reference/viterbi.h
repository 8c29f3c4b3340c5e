// The best label sequence under a first-order model: a score for each
// token and label, and one for each pair of labels in a row.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "reference/tokens.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tf::reference {

// emission(i, label) scores token i; transition(from, to) two labels in a
// row, with from == kLabels standing for the start. Of equal scores, the
// lower label wins, at every step.
template <typename Emission, typename Transition>
std::vector<Label> Viterbi(size_t n, Emission&& emission, Transition&& transition) {
  std::vector<Label> labels(n);
  if (n == 0) return labels;
  // Rows of 16, the last lane unused, so that four SSE registers hold one.
  constexpr size_t kLanes = 16;
  static_assert(kLabels < kLanes);
  using Row = std::array<float, kLanes>;
  std::array<Row, kLabels> trans{};
  for (size_t x = 0; x < kLabels; ++x)
    for (size_t y = 0; y < kLabels; ++y) trans[x][y] = transition(x, y);
  std::vector<Row> score(n);
  std::vector<std::array<std::uint8_t, kLanes>> from(n);
  for (size_t y = 0; y < kLabels; ++y) score[0][y] = transition(kLabels, y) + emission(0, y);
  for (size_t i = 1; i < n; ++i) {
    Row best;
    std::array<std::int32_t, kLanes> arg;
#ifdef __SSE2__
    // For every label at once, the best label before it: lanes take a
    // later x only when it scores strictly more, as the loop below does.
    __m128i argv[4];
    __m128 bestv[4];
    for (size_t b = 0; b < 4; ++b) bestv[b] = _mm_set1_ps(-std::numeric_limits<float>::infinity()), argv[b] = _mm_setzero_si128();
    for (size_t x = 0; x < kLabels; ++x) {
      const __m128 s = _mm_set1_ps(score[i - 1][x]);
      const __m128i xv = _mm_set1_epi32(static_cast<int>(x));
      for (size_t b = 0; b < 4; ++b) {
        const __m128 candidate = _mm_add_ps(s, _mm_loadu_ps(trans[x].data() + 4 * b));
        const __m128 more = _mm_cmpgt_ps(candidate, bestv[b]);
        bestv[b] = _mm_or_ps(_mm_and_ps(more, candidate), _mm_andnot_ps(more, bestv[b]));
        const __m128i m = _mm_castps_si128(more);
        argv[b] = _mm_or_si128(_mm_and_si128(m, xv), _mm_andnot_si128(m, argv[b]));
      }
    }
    for (size_t b = 0; b < 4; ++b) {
      _mm_storeu_ps(best.data() + 4 * b, bestv[b]);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(arg.data() + 4 * b), argv[b]);
    }
#else
    for (size_t y = 0; y < kLabels; ++y) {
      best[y] = -std::numeric_limits<float>::infinity();
      arg[y] = 0;
      for (size_t x = 0; x < kLabels; ++x) {
        const float s = score[i - 1][x] + trans[x][y];
        if (s > best[y]) best[y] = s, arg[y] = static_cast<std::int32_t>(x);
      }
    }
#endif
    for (size_t y = 0; y < kLabels; ++y) {
      score[i][y] = best[y] + emission(i, y);
      from[i][y] = static_cast<std::uint8_t>(arg[y]);
    }
  }
  size_t y = 0;
  for (size_t k = 1; k < kLabels; ++k)
    if (score[n - 1][k] > score[n - 1][y]) y = k;
  for (size_t i = n; i-- > 0;) {
    labels[i] = static_cast<Label>(y);
    y = from[i][y];
  }
  return labels;
}

}  // namespace tf::reference
