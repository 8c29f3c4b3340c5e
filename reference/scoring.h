// How the reference model scores, whatever its weights are held as: the
// program's bytes (int8, summed in int32, times a scale) and the trainer's
// floats (while it learns, and as it measures) go through these same two
// routines, so that what is measured is what ships.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "reference/features.h"
#include "reference/span.h"
#include "reference/viterbi.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tf::reference {

// The labels of the tokens, and for the fields whose bounds the span
// chooser picks (the title, the authors, the journal or the book it is in)
// the token scores behind them: the field's score less the best other
// label's.
struct Look {
  std::vector<Label> labels;
  std::vector<float> titleMargins, authorMargins, journalMargins, containerMargins;
  const std::vector<float>& Margins(Label field) const {
    switch (field) {
      case Label::Author: return authorMargins;
      case Label::Journal: return journalMargins;
      case Label::Container: return containerMargins;
      default: return titleMargins;
    }
  }
};

// Tags the tokens: `rows` holds kLabels weights a feature bucket, their sum
// times `scale` is a token's score for a label (int8 rows: the byte after
// the last row must be readable); transition(from, to) scores
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
#ifdef __SSE2__
    // The program's bytes: a row's 15 weights and one byte beyond it (the
    // next row's, or the first of the transitions that follow the table in
    // the model file) are added as 16 lanes of 16 bits at once. No sum of
    // up to 258 weights of at most 127 overflows 16 bits, so it is exact.
    if constexpr (std::is_same_v<Weight, std::int8_t> && kLabels < 16) {
      if (f.first[i + 1] - f.first[i] <= 258) {
        __m128i low = _mm_setzero_si128(), high = _mm_setzero_si128();
        for (auto k = f.first[i]; k < f.first[i + 1]; ++k) {
          const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows + size_t{f.features[k]} * kLabels));
          const __m128i sign = _mm_cmpgt_epi8(_mm_setzero_si128(), w);
          low = _mm_add_epi16(low, _mm_unpacklo_epi8(w, sign));
          high = _mm_add_epi16(high, _mm_unpackhi_epi8(w, sign));
        }
        alignas(16) std::array<std::int16_t, 16> sum;
        _mm_store_si128(reinterpret_cast<__m128i*>(sum.data()), low);
        _mm_store_si128(reinterpret_cast<__m128i*>(sum.data() + 8), high);
        for (size_t y = 0; y < kLabels; ++y) emission[i][y] = static_cast<float>(sum[y]) * scale;
        continue;
      }
    }
#endif
    std::array<Sum, kLabels> sum{};
    for (auto k = f.first[i]; k < f.first[i + 1]; ++k) {
      const Weight* row = rows + size_t{f.features[k]} * kLabels;
      for (size_t y = 0; y < kLabels; ++y) sum[y] += row[y];
    }
    for (size_t y = 0; y < kLabels; ++y) emission[i][y] = static_cast<float>(sum[y]) * scale;
  }
  look.labels = Viterbi(n, [&](size_t i, size_t y) { return emission[i][y]; }, transition);
  // Only for a field the labels hold: the span chooser looks at no other.
  const auto margins = [&](Label field) {
    if (std::find(look.labels.begin(), look.labels.end(), field) == look.labels.end()) return std::vector<float>();
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
  look.journalMargins = margins(Label::Journal);
  look.containerMargins = margins(Label::Container);
  return look;
}

// A field's span (the title's, the authors', the journal's or the book's),
// chosen among candidates by the span weights (weights[k] for bucket k);
// nullopt when the labels hold none.
// Ties go to the earlier candidate.
template <typename Weight>
std::optional<Span> ChooseSpan(const Analysis& a, const Look& look, Label field, const Weight* weights) {
  using Sum = decltype(Weight{} + Weight{});
  const auto candidates = SpanCandidates(a, look.labels, field);
  if (candidates.empty()) return std::nullopt;
  const SpanInput in{a, look.labels, look.Margins(field), field, candidates[0]};
  // The features go straight into their weights' sum: a score is all the
  // chooser needs of them.
  WeightSum<Weight> sum{weights};
  const auto score = [&] {
    const Sum s = sum.sum;
    sum.sum = 0;
    return s;
  };
  // The candidates share a few beginnings and ends: what depends on one
  // alone is scored once for it.
  struct Part {
    size_t at;
    Sum score;
    SpanBound bound;
  };
  std::vector<Part> starts, ends;
  starts.reserve(candidates.size());
  ends.reserve(candidates.size());
  const auto part = [&](std::vector<Part>& known, size_t at, bool start) -> const Part& {
    for (const Part& p : known)
      if (p.at == at) return p;
    if (start)
      StartFeatures(in, at, sum);
    else
      EndFeatures(in, at, sum);
    const Sum s = score();
    known.push_back({at, s, start ? StartBound(in, at) : EndBound(in, at)});
    return known.back();
  };
  // And the candidates that share a beginning are counted in one walk, from
  // it to their furthest end, taking each candidate's counts on the way.
  std::vector<size_t> order(candidates.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t x, size_t y) {
    return std::pair(candidates[x].first, candidates[x].last) < std::pair(candidates[y].first, candidates[y].last);
  });
  std::vector<Sum> scores(candidates.size());
  SpanCounts counts;
  size_t counted = 0;  // the next token to take into `counts`
  for (size_t j = 0; j < order.size(); ++j) {
    const Span& c = candidates[order[j]];
    if (j == 0 || c.first != candidates[order[j - 1]].first) counts = SpanCounts{}, counted = c.first;
    for (; counted <= c.last; ++counted) counts.Extend(in, c.first, counted);
    const Part& start = part(starts, c.first, true);
    const Part& end = part(ends, c.last, false);
    JointFeatures(in, c, counts, start.bound, end.bound, sum);
    scores[order[j]] = score() + start.score + end.score;
  }
  size_t best = 0;
  for (size_t i = 1; i < candidates.size(); ++i)
    if (scores[i] > scores[best]) best = i;
  return candidates[best];
}

}  // namespace tf::reference
