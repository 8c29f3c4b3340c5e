#include "reference/model.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "reference/viterbi.h"

namespace tf::reference {
namespace {

constexpr char kMagic[8] = {'T', 'F', 'R', 'E', 'F', '0', '1', '\0'};
constexpr size_t kHeader = 8 + 4 + 4 + 4 + 4;
constexpr size_t kTokenWeights = size_t{kFeatureBuckets} * kLabels;
constexpr size_t kTransitions = (kLabels + 1) * kLabels;

float ScaleOf(const std::vector<float>& w) {
  float top = 0;
  for (const float x : w) top = std::max(top, std::abs(x));
  return top > 0 ? top / 127 : 1;
}

}  // namespace

Model::Model(std::span<const unsigned char> bytes) {
  const size_t need = kHeader + kTokenWeights + kTransitions * 4 + kFeatureBuckets;
  if (bytes.size() < need || std::memcmp(bytes.data(), kMagic, 8) != 0) return;
  std::uint32_t bits = 0, labels = 0;
  std::memcpy(&bits, bytes.data() + 8, 4);
  std::memcpy(&labels, bytes.data() + 12, 4);
  if (bits != kFeatureBits || labels != kLabels) return;
  std::memcpy(&m_tokenScale, bytes.data() + 16, 4);
  std::memcpy(&m_spanScale, bytes.data() + 20, 4);
  m_token = reinterpret_cast<const std::int8_t*>(bytes.data() + kHeader);
  m_transitions = reinterpret_cast<const float*>(bytes.data() + kHeader + kTokenWeights);
  m_span = reinterpret_cast<const std::int8_t*>(bytes.data() + kHeader + kTokenWeights + kTransitions * 4);
  m_valid = reinterpret_cast<std::uintptr_t>(m_transitions) % alignof(float) == 0;
}

Model::Look Model::Tag(const Analysis& a, const TokenFeatures& f) const {
  Look look;
  const size_t n = a.words.size();
  std::vector<std::array<float, kLabels>> emission(n);
  // The weights are read at random places of a table larger than the
  // caches: ask for all of a reference's rows before adding any up, so the
  // memory fetches overlap instead of waiting in turn.
  for (const auto k : f.features) {
    const std::int8_t* row = m_token + size_t{k} * kLabels;
    __builtin_prefetch(row);
    __builtin_prefetch(row + kLabels - 1);
  }
  for (size_t i = 0; i < n; ++i) {
    std::array<std::int32_t, kLabels> sum{};
    for (auto k = f.first[i]; k < f.first[i + 1]; ++k) {
      const std::int8_t* row = m_token + size_t{f.features[k]} * kLabels;
      for (size_t y = 0; y < kLabels; ++y) sum[y] += row[y];
    }
    for (size_t y = 0; y < kLabels; ++y) emission[i][y] = static_cast<float>(sum[y]) * m_tokenScale;
  }
  look.labels = Viterbi(
      n, std::vector<std::uint8_t>(n, 1), [&](size_t i, size_t y) { return emission[i][y]; },
      [&](size_t x, size_t y) { return m_transitions[x * kLabels + y]; });
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

std::optional<Span> Model::Choose(const Analysis& a, const Look& look, Label field) const {
  const auto candidates = SpanCandidates(a, look.labels, field);
  if (candidates.empty()) return std::nullopt;
  const SpanInput in{a, look.labels, field == Label::Title ? look.titleMargins : look.authorMargins, field,
                     candidates[0]};
  std::vector<std::uint32_t> f;
  const auto score = [&] {
    std::int32_t sum = 0;
    for (const auto k : f) sum += m_span[k];
    f.clear();
    return sum;
  };
  // The candidates share a few beginnings and ends: what depends on one
  // alone is scored once for it.
  std::vector<std::pair<size_t, std::int32_t>> starts, ends;
  const auto part = [&](std::vector<std::pair<size_t, std::int32_t>>& known, size_t at, bool start) {
    for (const auto& [k, s] : known)
      if (k == at) return s;
    (start ? StartFeatures : EndFeatures)(in, at, f);
    known.emplace_back(at, score());
    return known.back().second;
  };
  Span best = candidates[0];
  std::int32_t bestScore = INT32_MIN;
  for (const Span& c : candidates) {
    JointFeatures(in, c, f);
    const std::int32_t s = score() + part(starts, c.first, true) + part(ends, c.last, false);
    if (s > bestScore) bestScore = s, best = c;
  }
  return best;
}

std::vector<unsigned char> Model::Write(const std::vector<float>& tokenWeights, const std::vector<float>& transitions,
                                        const std::vector<float>& spanWeights) {
  std::vector<unsigned char> out(kHeader + kTokenWeights + kTransitions * 4 + kFeatureBuckets);
  std::memcpy(out.data(), kMagic, 8);
  const std::uint32_t bits = kFeatureBits, labels = kLabels;
  const float tokenScale = ScaleOf(tokenWeights), spanScale = ScaleOf(spanWeights);
  std::memcpy(out.data() + 8, &bits, 4);
  std::memcpy(out.data() + 12, &labels, 4);
  std::memcpy(out.data() + 16, &tokenScale, 4);
  std::memcpy(out.data() + 20, &spanScale, 4);
  for (size_t k = 0; k < kTokenWeights; ++k)
    out[kHeader + k] = static_cast<unsigned char>(static_cast<std::int8_t>(std::lround(tokenWeights[k] / tokenScale)));
  std::memcpy(out.data() + kHeader + kTokenWeights, transitions.data(), kTransitions * 4);
  for (size_t k = 0; k < kFeatureBuckets; ++k)
    out[kHeader + kTokenWeights + kTransitions * 4 + k] =
        static_cast<unsigned char>(static_cast<std::int8_t>(std::lround(spanWeights[k] / spanScale)));
  return out;
}

}  // namespace tf::reference
