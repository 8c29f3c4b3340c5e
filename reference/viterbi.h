// The best label sequence under a first-order model: a score for each
// token and label, and one for each pair of labels in a row.
#pragma once

#include <array>
#include <limits>
#include <vector>

#include "reference/tokens.h"

namespace tf::reference {

// emission(i, label) scores token i; transition(from, to) two labels in a
// row, with from == kLabels standing for the start. Where mayBegin[i] is 0,
// token i keeps the label of the token before it.
template <typename Emission, typename Transition>
std::vector<Label> Viterbi(size_t n, const std::vector<std::uint8_t>& mayBegin, Emission&& emission,
                           Transition&& transition) {
  std::vector<Label> labels(n);
  if (n == 0) return labels;
  std::vector<std::array<float, kLabels>> score(n);
  std::vector<std::array<std::uint8_t, kLabels>> from(n);
  for (size_t y = 0; y < kLabels; ++y) score[0][y] = transition(kLabels, y) + emission(0, y);
  for (size_t i = 1; i < n; ++i) {
    for (size_t y = 0; y < kLabels; ++y) {
      float best = -std::numeric_limits<float>::infinity();
      size_t arg = 0;
      if (!mayBegin[i]) {
        best = score[i - 1][y] + transition(y, y);
        arg = y;
      } else {
        for (size_t x = 0; x < kLabels; ++x) {
          const float s = score[i - 1][x] + transition(x, y);
          if (s > best) best = s, arg = x;
        }
      }
      score[i][y] = best + emission(i, y);
      from[i][y] = static_cast<std::uint8_t>(arg);
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
