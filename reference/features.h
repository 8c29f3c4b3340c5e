// What the reference model knows of each token: hashed features of the
// token, its neighbours and where it stands in the reference.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include "reference/tokens.h"

namespace tf::reference {

// Words that say which part of a reference they stand in, by class.
enum class Kind : std::uint8_t {
  None, Month, EtAl, And, In, Editor, Pages, Volume, Number, Doi, Web, Retrieved, Thesis, Press,
  University, Journal, Proceedings, Report, Chapter, Edition, Place
};

// One token, read once.
struct Word {
  std::u16string lower;  // the token without the marks around it, in lower case
  std::u16string shape;  // X for a capital, x small, d digit, marks as they are; runs shortened
  char16_t firstChar = 0, lastChar = 0;
  bool year = false, number = false, digits = false, capitalized = false, capitals = false;
  bool initial = false, dictionary = false, web = false, doi = false, range = false;
  Kind kind = Kind::None;
  int length = 0;
};

// A stretch of tokens up to one that ends with punctuation: most parts of
// a reference are one or a few such stretches.
struct Segment {
  size_t first = 0, last = 0;  // tokens
  int words = 0, capitalized = 0, dictionary = 0, digits = 0;
  bool year = false, web = false;
  Kind kind = Kind::None;  // of its first token that has one
  char16_t end = 0;        // the mark it ends with
  std::uint64_t summary = 0;  // Summary() of it
};


// A reference read token by token, and cut into stretches.
struct Analysis {
  std::vector<Word> words;
  std::vector<Segment> segments;
  std::vector<std::uint32_t> segmentOf;  // by token
  // Whether a new part of the reference may begin at token i: after a
  // punctuation mark, before a bracket or quote, next to a number, before
  // words that open a part (In, Retrieved, http...). Parts almost always
  // begin there.
  std::vector<std::uint8_t> mayBegin;
};

Analysis Analyse(const std::vector<Token>& tokens);

// Features hash into this many buckets (a power of two).
constexpr std::uint32_t kFeatureBits = 19;
constexpr std::uint32_t kFeatureBuckets = 1u << kFeatureBits;

// The features of every token, token after token: features[first[i] ..
// first[i + 1]) are token i's.
struct TokenFeatures {
  std::vector<std::uint32_t> features;
  std::vector<std::uint32_t> first;
};

TokenFeatures Features(const Analysis& analysis);

// The token features' templates. A feature's bucket is hashed from its
// template's number, so the numbers are part of the model file: never
// renumber one; a new template takes the next number, and the set's
// version (kTokenTemplateSet) goes up, so that an older model is refused.
enum class TokenTemplate : std::uint8_t {
  Bias,                // 0
  Word,                // the token in lower case
  Shape,               // Xxxx, dd, X.
  Prefix,              // its first three letters
  Suffix,              // its last three
  Flags,               // 5: its yes-or-no properties
  Kind,                // the class of word it is (month, "et al.", ...)
  EdgeMarks,           // its first and last characters
  PreviousWord,
  NextWord,
  PreviousShape,       // 10
  NextShape,
  MarksBetween,        // the previous token's last character, the next one's first
  NeighbourKinds,      // the previous token's flags and kind, the next one's kind
  NextFlags,
  FarMarks,            // 15: two tokens away on either side
  FromStart,           // how many tokens before it (bucketed)
  FromEnd,
  Decile,              // where it stands, in tenths of the reference
  OpenQuotesParens,    // whether a quote or a parenthesis is open
  PeriodsYears,        // 20: full stops and years so far
  CommasColons,
  PeriodsFlags,
  YearsLastMark,
  ShapePair,           // its shape and the previous token's
  Length,              // 25
  Ending,              // the punctuation it ends with, its flags and kind
  Stretch,             // the stretch it stands in, summarised
  StretchBefore,
  StretchAfter,
  StretchPair,         // 30: this stretch and the one before
  StretchPlace,        // which stretch, and where in it
  StretchSummaryPlace,
  StretchesLeft,
  MayBegin,            // whether a part may begin at it
  BigramBefore,        // 35
  BigramAfter,
  SecondWordBefore,
  SecondWordAfter,
};
constexpr std::uint32_t kTokenTemplateSet = 1;
static_assert(static_cast<int>(TokenTemplate::Ending) == 26 && static_cast<int>(TokenTemplate::MayBegin) == 34 &&
              static_cast<int>(TokenTemplate::SecondWordAfter) == 38);

// A feature's bucket, hashed from its template's number and a text (the
// second form: the text a + u"|" + b, without making it) or a value.
std::uint32_t BucketOf(std::uint8_t templ, std::u16string_view text);
std::uint32_t BucketOf(std::uint8_t templ, std::u16string_view a, std::u16string_view b);
// Inline: the span chooser hashes hundreds of these for each reference.
inline std::uint32_t BucketOf(std::uint8_t templ, std::uint64_t value) {
  std::uint64_t h = (std::uint64_t{templ} << 56) ^ (value * 0x9E3779B97F4A7C15ull);
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  return static_cast<std::uint32_t>(h >> (64 - kFeatureBits));
}

// Where hashed features go when only their score matters: each bucket's
// weight is added up as it comes, in the order a list of the buckets
// would hold them, so the sum is the list's to the last bit.
template <typename Weight>
struct WeightSum {
  const Weight* weights;
  decltype(Weight{} + Weight{}) sum = 0;
  void push_back(std::uint32_t bucket) { sum += weights[bucket]; }
};

// Hashes features into buckets: a template's number and a text or a
// value. `Out` takes each bucket by push_back: a list of them
// (std::vector<std::uint32_t>), or a WeightSum.
template <typename Out = std::vector<std::uint32_t>>
class Hasher final {
 public:
  explicit Hasher(Out& out) : m_out(out) {}
  template <typename Template>
    requires std::is_enum_v<Template>
  void Add(Template templ, std::u16string_view text) {
    m_out.push_back(BucketOf(static_cast<std::uint8_t>(templ), text));
  }
  // The same as Add(templ, a + u"|" + b), without making that text.
  template <typename Template>
    requires std::is_enum_v<Template>
  void Add(Template templ, std::u16string_view a, std::u16string_view b) {
    m_out.push_back(BucketOf(static_cast<std::uint8_t>(templ), a, b));
  }
  template <typename Template>
    requires std::is_enum_v<Template>
  void Add(Template templ, std::uint64_t value) {
    m_out.push_back(BucketOf(static_cast<std::uint8_t>(templ), value));
  }

 private:
  Out& m_out;
};

// A number in one of the ranges the bounds make: 0 below the first, ...
inline std::uint64_t Bucket(size_t n, std::initializer_list<size_t> bounds) {
  std::uint64_t b = 0;
  for (size_t bound : bounds) {
    if (n < bound) return b;
    ++b;
  }
  return b;
}
// What the lexicon knows a word (in lower case, without its marks) for:
// a month, a role, the word before a volume...; Kind::None if nothing.
Kind KindOf(std::u16string_view lower);
// The word's yes-or-no properties as bits.
std::uint64_t Flags(const Word& w);
// A stretch's properties in one number.
std::uint64_t Summary(const Segment& s);

}  // namespace tf::reference
