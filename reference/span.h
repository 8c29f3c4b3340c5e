// The second look at a part of a reference whose exact bounds matter most
// (the title, the authors): the token labels give a first guess of where
// it begins and ends; nearby places where a part may begin or end are the
// other candidates, and a linear scorer with features of the whole span
// (how it ends, what follows it, whether it is quoted, its capitals...)
// picks one.
#pragma once

#include <utility>
#include <vector>

#include "reference/features.h"

namespace tf::reference {

struct Span {
  size_t first = 0, last = 0;  // tokens, both included
  bool operator==(const Span&) const = default;
};

// The first run of `field` in the labels, and the candidates around it (the
// run itself first); none when the labels have no such run.
std::vector<Span> SpanCandidates(const Analysis& a, const std::vector<Label>& labels, Label field);

// What the features of a candidate are computed from. `margins` are the
// token model's scores for the field less its best other label's, token by
// token; `guess` is the first candidate.
struct SpanInput {
  const Analysis& a;
  const std::vector<Label>& labels;
  const std::vector<float>& margins;
  Label field;
  Span guess;
};

// The features of a candidate span for the field, hashed like the token
// features: those that depend only on where it begins, only on where it
// ends, and on both. A scorer can add up the first two once for each
// beginning and each end instead of once for each candidate.
void StartFeatures(const SpanInput& in, size_t first, std::vector<std::uint32_t>& out);
void EndFeatures(const SpanInput& in, size_t last, std::vector<std::uint32_t>& out);
void JointFeatures(const SpanInput& in, const Span& span, std::vector<std::uint32_t>& out);

// All the features of a candidate span.
void SpanFeatures(const Analysis& a, const std::vector<Label>& labels, const std::vector<float>& margins,
                  Label field, const Span& guess, const Span& span, std::vector<std::uint32_t>& out);

}  // namespace tf::reference
