// The trained reference model: a byte a weight, read in place from the
// bytes built into the program (or any bytes in its format).
//
// Format, little-endian: "TFREF01\0"; u32 feature bits; u32 labels; f32
// token scale; f32 span scale; i8 token weights [buckets x labels]; f32
// transitions [(labels + 1) x labels], the start first; i8 span weights
// [buckets].
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "reference/features.h"
#include "reference/span.h"

namespace tf::reference {

class Model final {
 public:
  // The model built into the program.
  static const Model& BuiltIn();
  // A model over bytes in the format above; Valid() is false when they are
  // not one.
  explicit Model(std::span<const unsigned char> bytes);
  bool Valid() const { return m_valid; }

  // The labels of the tokens, and for the title and the authors the
  // token scores behind them.
  struct Look {
    std::vector<Label> labels;
    std::vector<float> titleMargins, authorMargins;
  };
  Look Tag(const Analysis& a, const TokenFeatures& f) const;
  // The title's (or the authors') span, chosen among candidates; nullopt
  // when the labels hold none.
  std::optional<Span> Choose(const Analysis& a, const Look& look, Label field) const;

  // Writes a model in the format above.
  static std::vector<unsigned char> Write(const std::vector<float>& tokenWeights, const std::vector<float>& transitions,
                                          const std::vector<float>& spanWeights);

 private:
  bool m_valid = false;
  float m_tokenScale = 1, m_spanScale = 1;
  const std::int8_t* m_token = nullptr;
  const float* m_transitions = nullptr;
  const std::int8_t* m_span = nullptr;
};

}  // namespace tf::reference
