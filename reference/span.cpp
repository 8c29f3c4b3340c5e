#include "reference/span.h"

#include <algorithm>
#include <array>
#include <bit>

namespace tf::reference {
namespace {

// Candidate starts and ends before and after the guess's: the title and
// the authors reach further than the journal or book, whose name the
// labels mostly get whole.
int StartsAround(Label field) { return field == Label::Title || field == Label::Author ? 3 : 2; }
int EndsAround(Label field) { return field == Label::Title || field == Label::Author ? 4 : 2; }

bool IsQuoteMark(char16_t c) {
  return c == u'"' || c == u'\u201C' || c == u'\u201D' || c == u'\u2018' || c == u'\u2019' || c == u'\'' ||
         c == u'\u00AB' || c == u'\u00BB';
}

// Where a part may end: before a place where one may begin, or at the end.
bool MayEnd(const Analysis& a, size_t j) { return j + 1 == a.words.size() || a.mayBegin[j + 1]; }

// The number of places of a kind between two tokens, signed and clamped.
std::int64_t Steps(const Analysis& a, size_t from, size_t to, bool ends, int limit) {
  std::int64_t steps = 0;
  const auto counts = [&](size_t k) { return ends ? MayEnd(a, k) : a.mayBegin[k] != 0; };
  if (to > from) {
    for (size_t k = from + 1; k <= to && steps < limit; ++k) steps += counts(k);
  } else {
    for (size_t k = to; k < from && steps > -limit; ++k) steps -= counts(k);
  }
  return steps;
}

}  // namespace

std::vector<Span> SpanCandidates(const Analysis& a, const std::vector<Label>& labels, Label field) {
  const size_t n = labels.size();
  size_t first = 0;
  while (first < n && labels[first] != field) ++first;
  if (first == n) return {};
  size_t last = first;
  while (last + 1 < n && labels[last + 1] == field) ++last;
  const Span guess{first, last};
  std::vector<size_t> starts, ends;
  const auto startsAround = static_cast<size_t>(StartsAround(field)), endsAround = static_cast<size_t>(EndsAround(field));
  starts.reserve(2 * startsAround + 1);
  ends.reserve(2 * endsAround + 1);
  for (size_t k = first, found = 0; k-- > 0 && found < startsAround;)
    if (a.mayBegin[k]) starts.push_back(k), ++found;
  starts.push_back(first);
  for (size_t k = first + 1, found = 0; k < n && found < startsAround; ++k)
    if (a.mayBegin[k]) starts.push_back(k), ++found;
  for (size_t k = last, found = 0; k-- > 0 && found < endsAround;)
    if (MayEnd(a, k)) ends.push_back(k), ++found;
  ends.push_back(last);
  for (size_t k = last + 1, found = 0; k < n && found < endsAround; ++k)
    if (MayEnd(a, k)) ends.push_back(k), ++found;
  std::vector<Span> out;
  out.reserve(starts.size() * ends.size());
  out.push_back(guess);
  for (const size_t s : starts)
    for (const size_t e : ends)
      if (s <= e && !(Span{s, e} == guess)) out.push_back({s, e});
  return out;
}

namespace {

std::uint64_t MarginBucket(float m) {
  constexpr float kBounds[] = {-8, -4, -2, -1, 0, 1, 2, 4, 8};
  std::uint64_t b = 0;
  for (const float bound : kBounds) b += m >= bound;
  return b;
}

}  // namespace

namespace {

const Word kNone;
constexpr std::uint64_t kNoSegment = 1ull << 40;
constexpr std::uint64_t kNoLabel = 99;

std::uint64_t FieldBits(Label field) { return static_cast<std::uint64_t>(field) << 56; }

std::uint64_t LabelAt(const std::vector<Label>& labels, size_t k) {
  return k < labels.size() ? static_cast<std::uint64_t>(labels[k]) : kNoLabel;
}

}  // namespace

using S = SpanTemplate;

template <typename Out>
void StartFeatures(const SpanInput& in, size_t first, Out& out) {
  Hasher<Out> h(out);
  const Analysis& a = in.a;
  const auto f = FieldBits(in.field);
  const Word& before = first > 0 ? a.words[first - 1] : kNone;
  const std::uint64_t previousSegment = first > 0 ? a.segments[a.segmentOf[first - 1]].summary : kNoSegment;
  const std::int64_t dStart = Steps(a, in.guess.first, first, false, 3);
  h.Add(S::StartMarks, f | std::uint64_t{before.lastChar} << 16 | a.words[first].firstChar);
  h.Add(S::StretchBefore, f | previousSegment);
  h.Add(S::StartMoved, f | static_cast<std::uint64_t>(dStart + 8) << 16 | std::uint64_t{before.lastChar});
}

template <typename Out>
void EndFeatures(const SpanInput& in, size_t last, Out& out) {
  Hasher<Out> h(out);
  const Analysis& a = in.a;
  const size_t n = in.labels.size();
  const auto f = FieldBits(in.field);
  const Word& lastWord = a.words[last];
  const Word& after = last + 1 < n ? a.words[last + 1] : kNone;
  const std::uint64_t labelAfter = LabelAt(in.labels, last + 1);
  const std::uint64_t nextSegment = last + 1 < n ? a.segments[a.segmentOf[last + 1]].summary : kNoSegment;
  const std::int64_t dEnd = Steps(a, in.guess.last, last, true, 4);
  h.Add(S::EndMarks, f | std::uint64_t{lastWord.lastChar} << 16 | after.firstChar);
  h.Add(S::StretchAfter, f | nextSegment);
  h.Add(S::MarkStretchAfter, f | std::uint64_t{lastWord.lastChar} << 48 | (nextSegment & 0xFFFFFF));
  h.Add(S::WordAfter, after.lower);
  h.Add(S::FlagsKindAfter, f | Flags(after) << 8 | static_cast<std::uint64_t>(after.kind));
  h.Add(S::EndMoved, f | static_cast<std::uint64_t>(dEnd + 8) << 16 | std::uint64_t{lastWord.lastChar});
  h.Add(S::LabelMarkAfter, f | labelAfter << 16 | std::uint64_t{lastWord.lastChar});
  h.Add(S::LabelStretchAfter, f | labelAfter << 16 | (nextSegment & 0xFFFF));
  h.Add(S::LabelsAfter, f | labelAfter << 8 | LabelAt(in.labels, last + 2));
  // What the span would leave behind: ", United States, 1964-2004." after
  // a title cut at a comma.
  const size_t nextStretch = last + 1 < n ? a.segmentOf[last + 1] : a.segments.size();
  const std::uint64_t secondSegment = nextStretch + 1 < a.segments.size() ? a.segments[nextStretch + 1].summary : kNoSegment;
  h.Add(S::StretchesAfter, f | (nextSegment & 0xFFFFFF) << 24 | (secondSegment & 0xFFFFFF));
  h.Add(S::EndKinds, f | static_cast<std::uint64_t>(lastWord.kind) << 24 | static_cast<std::uint64_t>(after.kind) << 16 |
                         std::uint64_t{lastWord.lastChar});
}

void SpanCounts::Extend(const SpanInput& in, size_t first, size_t k) {
  const Analysis& a = in.a;
  const Label label = in.labels[k];
  inField += label == in.field;
  if (k > first && !a.words[k].lower.empty()) {
    ++withLetters;
    capitalized += a.words[k].capitalized;
  }
  segmentsInside += k > first && a.segmentOf[k] != a.segmentOf[k - 1];
  years += a.words[k].year;
  insideMargin += in.margins[k], lowest = std::min(lowest, in.margins[k]);
  ++inside[static_cast<size_t>(label)];
  labelsInside |= 1u << static_cast<unsigned>(label);
  // Counted one word behind, so that the span's own last mark is not.
  if (k > first) {
    commas += a.words[k - 1].lastChar == u',';
    colons += a.words[k - 1].lastChar == u':';
  }
}

SpanBound StartBound(const SpanInput& in, size_t first) {
  const auto& margins = in.margins;
  float outsideBefore = 0;
  for (size_t k = first, c = 0; k-- > 0 && c < 4; ++c) outsideBefore += std::max(0.0f, margins[k]);
  return {Steps(in.a, in.guess.first, first, false, 3), MarginBucket(outsideBefore),
          MarginBucket(first > 0 ? margins[first - 1] : -100), MarginBucket(margins[first])};
}

SpanBound EndBound(const SpanInput& in, size_t last) {
  const auto& margins = in.margins;
  const size_t n = in.labels.size();
  float outsideAfter = 0;
  for (size_t k = last + 1; k < n && k <= last + 4; ++k) outsideAfter += std::max(0.0f, margins[k]);
  return {Steps(in.a, in.guess.last, last, true, 4), MarginBucket(outsideAfter),
          MarginBucket(last + 1 < n ? margins[last + 1] : -100), MarginBucket(margins[last])};
}

void JointFeatures(const SpanInput& in, const Span& span, std::vector<std::uint32_t>& out) {
  SpanCounts counts;
  for (size_t k = span.first; k <= span.last; ++k) counts.Extend(in, span.first, k);
  JointFeatures(in, span, counts, StartBound(in, span.first), EndBound(in, span.last), out);
}

template <typename Out>
void JointFeatures(const SpanInput& in, const Span& span, const SpanCounts& counts, const SpanBound& start,
                   const SpanBound& end, Out& out) {
  Hasher<Out> h(out);
  const Analysis& a = in.a;
  const auto& labels = in.labels;
  const Label field = in.field;
  const size_t n = labels.size();
  const auto f = FieldBits(field);
  const Word& first = a.words[span.first];
  const Word& last = a.words[span.last];
  const Word& before = span.first > 0 ? a.words[span.first - 1] : kNone;
  const Word& after = span.last + 1 < n ? a.words[span.last + 1] : kNone;
  const std::uint64_t labelBefore = span.first > 0 ? static_cast<std::uint64_t>(labels[span.first - 1]) : kNoLabel;
  const std::uint64_t labelAfter = LabelAt(labels, span.last + 1);
  const size_t inField = counts.inField, capitalized = counts.capitalized, withLetters = counts.withLetters;
  const size_t segmentsInside = counts.segmentsInside, years = counts.years;
  const float insideMargin = counts.insideMargin, lowest = counts.lowest;
  const auto& inside = counts.inside;
  const size_t length = span.last - span.first + 1;
  const std::uint64_t moved = static_cast<std::uint64_t>(start.moved + 8) << 8 | static_cast<std::uint64_t>(end.moved + 8);
  const bool quoted = IsQuoteMark(first.firstChar) &&
                      (IsQuoteMark(last.lastChar) || (last.shape.size() > 1 && IsQuoteMark(last.shape[last.shape.size() - 2])));
  const bool guessed = span == in.guess;

  h.Add(S::Moved, f | moved);
  h.Add(S::Guessed, f | std::uint64_t{guessed});
  h.Add(S::ShareInField, f | Bucket(inField * 4 / length, {1, 2, 3, 4}) << 8 | Bucket(length - inField, {1, 2, 3, 4}));
  h.Add(S::LabelsAround, f | labelBefore << 8 | labelAfter);
  h.Add(S::QuotedEnd, f | std::uint64_t{quoted} << 8 | std::uint64_t{last.lastChar});
  h.Add(S::LengthStretches, f | Bucket(length, {2, 3, 5, 8, 13, 21}) << 8 | Bucket(segmentsInside, {1, 2, 3, 4}));
  h.Add(S::CapitalsKindAfter, f | Bucket(withLetters ? capitalized * 4 / withLetters : 0, {1, 2, 3, 4}) << 8 |
               static_cast<std::uint64_t>(after.kind));
  h.Add(S::DateBefore, f | std::uint64_t{before.year} << 1 | std::uint64_t{years > 0} << 2 | std::uint64_t{labelBefore == static_cast<std::uint64_t>(Label::Date)});
  // What the token model thinks, inside and around.
  h.Add(S::InsideMargin, f | MarginBucket(insideMargin / static_cast<float>(length)));
  h.Add(S::LowestMargin, f | MarginBucket(lowest));
  h.Add(S::OutsideMargins, f | end.outside << 8 | start.outside);
  h.Add(S::NeighbourMargins, f | end.neighbour << 8 | start.neighbour);
  h.Add(S::EdgeMargins, f | end.edge << 8 | start.edge);
  // Whether it begins and ends where parts do.
  const bool begins = a.mayBegin[span.first] != 0, ends = MayEnd(a, span.last);
  h.Add(S::BeginsEnds, f | std::uint64_t{begins} << 1 | std::uint64_t{ends});
  h.Add(S::BeginsEndsGuessed, f | std::uint64_t{begins} << 9 | std::uint64_t{ends} << 8 | std::uint64_t{guessed});
  h.Add(S::CommasColons, f | Bucket(counts.commas, {1, 2, 3, 5}) << 8 | Bucket(counts.colons, {1, 2}) << 4 |
                             Bucket(length, {3, 6, 10, 16}));
  // Which other parts the token model saw inside it.
  for (std::uint32_t bits = counts.labelsInside & ~(1u << static_cast<unsigned>(field)); bits != 0; bits &= bits - 1) {
    const auto y = static_cast<size_t>(std::countr_zero(bits));
    h.Add(S::LabelsInside, f | y << 8 | Bucket(inside[y], {2, 3, 5}) << 4 | std::uint64_t{labels[span.first] == static_cast<Label>(y)});
  }
}

#define TF_SPAN_FEATURES_FOR(Out)                                                                                  \
  template void StartFeatures<Out>(const SpanInput&, size_t, Out&);                                                \
  template void EndFeatures<Out>(const SpanInput&, size_t, Out&);                                                  \
  template void JointFeatures<Out>(const SpanInput&, const Span&, const SpanCounts&, const SpanBound&, const SpanBound&, \
                                   Out&);
TF_SPAN_FEATURES_FOR(std::vector<std::uint32_t>)
TF_SPAN_FEATURES_FOR(WeightSum<std::int8_t>)
TF_SPAN_FEATURES_FOR(WeightSum<float>)
#undef TF_SPAN_FEATURES_FOR

void SpanFeatures(const Analysis& a, const std::vector<Label>& labels, const std::vector<float>& margins,
                  Label field, const Span& guess, const Span& span, std::vector<std::uint32_t>& out) {
  const SpanInput in{a, labels, margins, field, guess};
  StartFeatures(in, span.first, out);
  EndFeatures(in, span.last, out);
  JointFeatures(in, span, out);
}

}  // namespace tf::reference
