#include "reference/model.h"

#include <algorithm>
#include <cmath>
#include <bit>
#include <cstring>
#include <string>
#include <optional>

#include "reference/scoring.h"

namespace tf::reference {
namespace {

constexpr char kMagic[8] = {'T', 'F', 'R', 'E', 'F', 'M', 'D', 'L'};
constexpr size_t kTokenWeights = size_t{kFeatureBuckets} * kLabels;
constexpr size_t kTransitions = (kLabels + 1) * kLabels;
static_assert(static_cast<size_t>(Label::Note) + 1 == kLabels, "the label count follows the enum");


// Reads the format's parts in order, little-endian whatever the host.
class Reader final {
 public:
  explicit Reader(std::span<const unsigned char> bytes) : m_bytes(bytes) {}
  bool Has(size_t n) const { return m_bytes.size() - m_at >= n; }
  size_t At() const { return m_at; }
  std::uint32_t U32() {
    std::uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v |= std::uint32_t{m_bytes[m_at + i]} << (8 * i);
    m_at += 4;
    return v;
  }
  float F32() { return std::bit_cast<float>(U32()); }
  std::string_view Text(size_t n) {
    const std::string_view t(reinterpret_cast<const char*>(m_bytes.data() + m_at), n);
    m_at += n;
    return t;
  }
  const std::int8_t* Bytes(size_t n) {
    const auto* p = reinterpret_cast<const std::int8_t*>(m_bytes.data() + m_at);
    m_at += n;
    return p;
  }
  void Skip(size_t n) { m_at += n; }

 private:
  std::span<const unsigned char> m_bytes;
  size_t m_at = 0;
};

class Writer final {
 public:
  void U32(std::uint32_t v) {
    for (size_t i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
  }
  void F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }
  std::vector<unsigned char> out;
};

}  // namespace

float Model::WeightScale(const std::vector<float>& w) {
  float top = 0;
  for (const float x : w) top = std::max(top, std::abs(x));
  return top > 0 ? top / 127 : 1;
}

Model::Model(std::span<const unsigned char> bytes) { m_problem = Read(bytes); }

std::string Model::Read(std::span<const unsigned char> bytes) {
  Reader r(bytes);
  if (!r.Has(8) || r.Text(8) != std::string_view(kMagic, 8)) return ("not a model file (no magic)");
  if (!r.Has(20)) return ("the header is cut short");
  if (const auto v = r.U32(); v != kFormatVersion)
    return ("format version " + std::to_string(v) + ", not " + std::to_string(kFormatVersion));
  if (const auto v = r.U32(); v != kTokenTemplateSet)
    return ("token template set " + std::to_string(v) + ", not " + std::to_string(kTokenTemplateSet));
  if (const auto v = r.U32(); v != kSpanTemplateSet)
    return ("span template set " + std::to_string(v) + ", not " + std::to_string(kSpanTemplateSet));
  if (const auto v = r.U32(); v != kFeatureBits)
    return (std::to_string(v) + " feature bits, not " + std::to_string(kFeatureBits));
  if (const auto v = r.U32(); v != kLabels)
    return (std::to_string(v) + " labels, not " + std::to_string(kLabels));
  for (size_t y = 0; y < kLabels; ++y) {
    if (!r.Has(1)) return ("the label names are cut short");
    const size_t n = static_cast<unsigned char>(*r.Bytes(1));
    if (!r.Has(n)) return ("the label names are cut short");
    if (const std::string_view name = r.Text(n); name != NameOf(static_cast<Label>(y)))
      return ("label " + std::to_string(y) + " is \"" + std::string(name) + "\", not \"" +
                  NameOf(static_cast<Label>(y)) + "\"");
  }
  r.Skip((4 - r.At() % 4) % 4);
  if (!r.Has(20)) return ("the sizes are cut short");
  m_tokenScale = r.F32();
  m_spanScale = r.F32();
  if (r.U32() != kTokenWeights || r.U32() != kTransitions || r.U32() != kFeatureBuckets)
    return ("the weight tables' sizes do not match the header");
  if (!r.Has(kTokenWeights + kTransitions * 4 + kFeatureBuckets)) return ("the weights are cut short");
  m_token = r.Bytes(kTokenWeights);
  for (float& t : m_transitions) t = r.F32();
  m_span = r.Bytes(kFeatureBuckets);
  if (r.Has(1)) return "bytes beyond the weights";
  return {};
}

Look Model::Tag(const Analysis& a, const TokenFeatures& f) const {
  return reference::Tag(a, f, m_token, m_tokenScale,
                        [this](size_t x, size_t y) { return m_transitions[x * kLabels + y]; });
}

std::optional<Span> Model::Choose(const Analysis& a, const Look& look, Label field) const {
  return ChooseSpan(a, look, field, m_span);
}

std::vector<unsigned char> Model::Write(const std::vector<float>& tokenWeights, const std::vector<float>& transitions,
                                        const std::vector<float>& spanWeights) {
  Writer w;
  w.out.assign(kMagic, kMagic + 8);
  w.U32(kFormatVersion);
  w.U32(kTokenTemplateSet);
  w.U32(kSpanTemplateSet);
  w.U32(kFeatureBits);
  w.U32(static_cast<std::uint32_t>(kLabels));
  for (size_t y = 0; y < kLabels; ++y) {
    const std::string_view name = NameOf(static_cast<Label>(y));
    w.out.push_back(static_cast<unsigned char>(name.size()));
    w.out.insert(w.out.end(), name.begin(), name.end());
  }
  while (w.out.size() % 4 != 0) w.out.push_back(0);
  const float tokenScale = WeightScale(tokenWeights), spanScale = WeightScale(spanWeights);
  w.F32(tokenScale);
  w.F32(spanScale);
  w.U32(static_cast<std::uint32_t>(kTokenWeights));
  w.U32(static_cast<std::uint32_t>(kTransitions));
  w.U32(kFeatureBuckets);
  for (size_t k = 0; k < kTokenWeights; ++k)
    w.out.push_back(static_cast<unsigned char>(static_cast<std::int8_t>(std::lround(tokenWeights[k] / tokenScale))));
  for (size_t k = 0; k < kTransitions; ++k) w.F32(transitions[k]);
  for (size_t k = 0; k < kFeatureBuckets; ++k)
    w.out.push_back(static_cast<unsigned char>(static_cast<std::int8_t>(std::lround(spanWeights[k] / spanScale))));
  return std::move(w.out);
}

}  // namespace tf::reference
