// The second look at a part of a reference whose exact bounds matter most
// (the title, the authors): the token labels give a first guess of where
// it begins and ends; nearby places where a part may begin or end are the
// other candidates, and a linear scorer with features of the whole span
// (how it ends, what follows it, whether it is quoted, its capitals...)
// picks one.
#pragma once

#include <array>
#include <cstdint>
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
// The span features' templates, numbered as the model file knows them (see
// TokenTemplate): never renumber one.
enum class SpanTemplate : std::uint8_t {
  Moved,              // 0: how far its bounds moved from the labels' guess
  Guessed,            // whether it is the guess
  ShareInField,       // how much of it the labels gave the field
  LabelsAround,       // the labels just before and after it
  EndMarks,           // its last character, the next token's first
  StartMarks,         // 5: the token before's last character, its first
  QuotedEnd,          // whether it is quoted, and its last character
  LengthStretches,    // its length, and the stretches inside it
  CapitalsKindAfter,  // its share of capitalised words, the kind of word after it
  StretchAfter,
  StretchBefore,      // 10
  MarkStretchAfter,   // its last character and the stretch after it
  WordAfter,
  FlagsKindAfter,
  DateBefore,         // a year before it, years inside it, a date label before it
  EndMoved,           // 15: how far its end moved, and its last character
  StartMoved,
  LabelMarkAfter,     // the label after it and its last character
  LabelStretchAfter,
  InsideMargin,       // the token scores inside it, and around it
  LowestMargin,       // 20
  OutsideMargins,
  NeighbourMargins,
  EdgeMargins,
  LabelsAfter,        // the two labels after it
  BeginsEnds,         // 25: whether parts may begin and end at its bounds
  BeginsEndsGuessed,
  LabelsInside,       // the other labels inside it
  StretchesAfter,     // the two stretches after it
  EndKinds,           // the kinds of its last word and the word after, its last character
  CommasColons,       // 30: the commas and colons inside it
};
constexpr std::uint32_t kSpanTemplateSet = 2;
static_assert(static_cast<int>(SpanTemplate::DateBefore) == 14 && static_cast<int>(SpanTemplate::CommasColons) == 30);

// `Out` is a list of buckets (std::vector<std::uint32_t>) or a WeightSum
// of std::int8_t or float weights: the scorer adds the weights up as the
// features come instead of listing them.
template <typename Out>
void StartFeatures(const SpanInput& in, size_t first, Out& out);
template <typename Out>
void EndFeatures(const SpanInput& in, size_t last, Out& out);
void JointFeatures(const SpanInput& in, const Span& span, std::vector<std::uint32_t>& out);

// What the joint features count inside a span. Taking one more token in at
// the end (Extend) gives exactly what a walk over the longer span gives, the
// sums added in the same order; so candidates that share a beginning can be
// counted in one walk.
struct SpanCounts {
  size_t inField = 0, capitalized = 0, withLetters = 0, segmentsInside = 0, years = 0;
  float insideMargin = 0, lowest = 1e9f;
  std::array<std::uint32_t, kLabels> inside{};
  std::uint32_t labelsInside = 0;  // bit y: a token labelled y inside
  size_t commas = 0, colons = 0;     // words inside that end with one, but the last
  void Extend(const SpanInput& in, size_t first, size_t k);
};
// What the joint features take from a beginning or an end alone: how far
// it moved from the guess's, in places where parts may begin or end
// (signed, clamped), and the token scores (bucketed) outside it, beside it
// and at it. Worked out once for each bound a scorer sees.
struct SpanBound {
  std::int64_t moved = 0;
  std::uint64_t outside = 0, neighbour = 0, edge = 0;
};
SpanBound StartBound(const SpanInput& in, size_t first);
SpanBound EndBound(const SpanInput& in, size_t last);
template <typename Out>
void JointFeatures(const SpanInput& in, const Span& span, const SpanCounts& counts, const SpanBound& start,
                   const SpanBound& end, Out& out);

// All the features of a candidate span.
void SpanFeatures(const Analysis& a, const std::vector<Label>& labels, const std::vector<float>& margins,
                  Label field, const Span& guess, const Span& span, std::vector<std::uint32_t>& out);

}  // namespace tf::reference
