// How the reference model scores, whatever its weights are held as: the
// program's bytes (int8, summed in int32, times a scale) and the trainer's
// floats (while it learns, and as it measures) go through these same two
// routines, so that what is measured is what ships.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "reference/features.h"
#include "reference/span.h"
#include "reference/viterbi.h"

namespace tf::reference {

// The labels of the tokens, and for the title and the authors the token
// scores behind them (the field's score less the best other label's).
struct Look {
  std::vector<Label> labels;
  std::vector<float> titleMargins, authorMargins;
};

// Tags the tokens: `rows` holds kLabels weights a feature bucket, their sum
// times `scale` is a token's score for a label; transition(from, to) scores
// two labels in a row (from == kLabels: the start).
template <typename Weight, typename Transition>
Look Tag(const Analysis& a, const TokenFeatures& f, const Weight* rows, float scale, Transition&& transition) {
  using Sum = decltype(Weight{} + Weight{});
  Look look;
  const size_t n = a.words.size();
  std::vector<std::array<float, kLabels>> emission(n);
  // The weights are read at random places of a table larger than the
  // caches: ask for all of a reference's rows before adding any up, so the
  // memory fetches overlap instead of waiting in turn.
  for (const auto k : f.features) {
    const Weight* row = rows + size_t{k} * kLabels;
    __builtin_prefetch(row);
    __builtin_prefetch(row + kLabels - 1);
  }
  for (size_t i = 0; i < n; ++i) {
    std::array<Sum, kLabels> sum{};
    for (auto k = f.first[i]; k < f.first[i + 1]; ++k) {
      const Weight* row = rows + size_t{f.features[k]} * kLabels;
      for (size_t y = 0; y < kLabels; ++y) sum[y] += row[y];
    }
    for (size_t y = 0; y < kLabels; ++y) emission[i][y] = static_cast<float>(sum[y]) * scale;
  }
  look.labels = Viterbi(
      n, std::vector<std::uint8_t>(n, 1), [&](size_t i, size_t y) { return emission[i][y]; },
      transition);
  const auto margins = [&](Label field) {
    std::vector<float> out(n);
    const auto at = static_cast<size_t>(field);
    for (size_t i = 0; i < n; ++i) {
      float other = -1e30f;
      for (size_t y = 0; y < kLabels; ++y)
        if (y != at) other = std::max(other, emission[i][y]);
      out[i] = emission[i][at] - other;
    }
    return out;
  };
  look.titleMargins = margins(Label::Title);
  look.authorMargins = margins(Label::Author);
  return look;
}

// The title's (or the authors') span, chosen among candidates by the span
// weights (weights[k] for bucket k); nullopt when the labels hold none.
// Ties go to the earlier candidate.
template <typename Weight>
std::optional<Span> ChooseSpan(const Analysis& a, const Look& look, Label field, const Weight* weights) {
  using Sum = decltype(Weight{} + Weight{});
  const auto candidates = SpanCandidates(a, look.labels, field);
  if (candidates.empty()) return std::nullopt;
  const SpanInput in{a, look.labels, field == Label::Title ? look.titleMargins : look.authorMargins, field,
                     candidates[0]};
  std::vector<std::uint32_t> f;
  const auto score = [&] {
    Sum sum = 0;
    for (const auto k : f) sum += weights[k];
    f.clear();
    return sum;
  };
  // The candidates share a few beginnings and ends: what depends on one
  // alone is scored once for it.
  std::vector<std::pair<size_t, Sum>> starts, ends;
  const auto part = [&](std::vector<std::pair<size_t, Sum>>& known, size_t at, bool start) {
    for (const auto& [k, s] : known)
      if (k == at) return s;
    (start ? StartFeatures : EndFeatures)(in, at, f);
    known.emplace_back(at, score());
    return known.back().second;
  };
  Span best = candidates[0];
  Sum bestScore = std::numeric_limits<Sum>::lowest();
  for (const Span& c : candidates) {
    JointFeatures(in, c, f);
    const Sum s = score() + part(starts, c.first, true) + part(ends, c.last, false);
    if (s > bestScore) bestScore = s, best = c;
  }
  return best;
}

}  // namespace tf::reference
