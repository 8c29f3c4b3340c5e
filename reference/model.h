// The trained reference model: a byte a weight, read in place from the
// bytes built into the program (or any bytes in its format).
//
// The file says what it holds, and a model is used only when every part
// agrees with this program. Format (integers and floats little-endian):
//   "TFREFMDL"                      magic
//   u32 format version              kFormatVersion
//   u32 token template set          kTokenTemplateSet
//   u32 span template set           kSpanTemplateSet
//   u32 feature bits                kFeatureBits
//   u32 label count L, then L names (u8 length, bytes), in the Label enum's
//     order; zeros up to a multiple of four bytes
//   f32 token scale, f32 span scale (a weight is its byte times the scale)
//   u32 token weights (buckets x L), u32 transitions ((L + 1) x L),
//   u32 span weights (buckets)
//   i8 token weights, row by bucket; f32 transitions, the start row first;
//   i8 span weights.
// Reordering the labels, renumbering a template or another hashing gives a
// model this program refuses, naming why, instead of one that tags garbage.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <array>
#include <vector>

#include "reference/features.h"
#include "reference/scoring.h"
#include "reference/span.h"

namespace tf::reference {

class Model final {
 public:
  // The model built into the program.
  static const Model& BuiltIn();
  // A model over bytes in the format above; Valid() is false when they are
  // not one.
  explicit Model(std::span<const unsigned char> bytes);
  bool Valid() const { return m_problem.empty(); }
  // Why the bytes are no model for this program; empty when Valid().
  const std::string& Problem() const { return m_problem; }
  static constexpr std::uint32_t kFormatVersion = 2;

  // The labels of the tokens and the scores behind them, as scoring.h
  // computes them with this model's weights.
  Look Tag(const Analysis& a, const TokenFeatures& f) const;
  // The title's (or the authors') span, chosen among candidates; nullopt
  // when the labels hold none.
  std::optional<Span> Choose(const Analysis& a, const Look& look, Label field) const;

  // The scale that makes each weight the nearest of 255 steps of the
  // largest: the trainer measures with the weights as they will be held.
  static float WeightScale(const std::vector<float>& weights);

  // Writes a model in the format above.
  static std::vector<unsigned char> Write(const std::vector<float>& tokenWeights, const std::vector<float>& transitions,
                                          const std::vector<float>& spanWeights);

 private:
  // Reads the format; returns why the bytes are no model, or nothing.
  std::string Read(std::span<const unsigned char> bytes);

  std::string m_problem;
  float m_tokenScale = 1, m_spanScale = 1;
  const std::int8_t* m_token = nullptr;
  std::array<float, (kLabels + 1) * kLabels> m_transitions{};
  const std::int8_t* m_span = nullptr;
};

}  // namespace tf::reference
