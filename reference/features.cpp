#include "reference/features.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "smart/dictionary.h"
#include "text/text.h"

namespace tf::reference {
namespace {

struct LexiconEntry {
  std::u16string_view word;
  Kind kind;
};
constexpr std::array<LexiconEntry, 90> kLexicon = {{
    {u"january", Kind::Month},     {u"february", Kind::Month},   {u"march", Kind::Month},
    {u"april", Kind::Month},       {u"may", Kind::Month},        {u"june", Kind::Month},
    {u"july", Kind::Month},        {u"august", Kind::Month},     {u"september", Kind::Month},
    {u"october", Kind::Month},     {u"november", Kind::Month},   {u"december", Kind::Month},
    {u"jan", Kind::Month},         {u"feb", Kind::Month},        {u"mar", Kind::Month},
    {u"apr", Kind::Month},         {u"jun", Kind::Month},        {u"jul", Kind::Month},
    {u"aug", Kind::Month},         {u"sep", Kind::Month},        {u"sept", Kind::Month},
    {u"oct", Kind::Month},         {u"nov", Kind::Month},        {u"dec", Kind::Month},
    {u"janvier", Kind::Month},     {u"février", Kind::Month},    {u"mars", Kind::Month},
    {u"avril", Kind::Month},       {u"mai", Kind::Month},        {u"juin", Kind::Month},
    {u"juillet", Kind::Month},     {u"août", Kind::Month},       {u"septembre", Kind::Month},
    {u"octobre", Kind::Month},     {u"novembre", Kind::Month},   {u"décembre", Kind::Month},
    {u"et", Kind::EtAl},           {u"al", Kind::EtAl},          {u"and", Kind::And},
    {u"&", Kind::And},             {u"und", Kind::And},          {u"in", Kind::In},
    {u"dans", Kind::In},           {u"ed", Kind::Editor},        {u"eds", Kind::Editor},
    {u"editor", Kind::Editor},     {u"editors", Kind::Editor},   {u"éd", Kind::Editor},
    {u"hrsg", Kind::Editor},       {u"dir", Kind::Editor},       {u"pp", Kind::Pages},
    {u"p", Kind::Pages},           {u"pages", Kind::Pages},      {u"s", Kind::Pages},
    {u"vol", Kind::Volume},        {u"volume", Kind::Volume},    {u"v", Kind::Volume},
    {u"no", Kind::Number},         {u"nr", Kind::Number},        {u"n°", Kind::Number},
    {u"issue", Kind::Number},      {u"doi", Kind::Doi},          {u"retrieved", Kind::Retrieved},
    {u"available", Kind::Retrieved}, {u"accessed", Kind::Retrieved}, {u"online", Kind::Retrieved},
    {u"thesis", Kind::Thesis},     {u"dissertation", Kind::Thesis}, {u"phd", Kind::Thesis},
    {u"press", Kind::Press},       {u"publishing", Kind::Press}, {u"publishers", Kind::Press},
    {u"verlag", Kind::Press},      {u"university", Kind::University}, {u"univ", Kind::University},
    {u"université", Kind::University}, {u"journal", Kind::Journal}, {u"review", Kind::Journal},
    {u"transactions", Kind::Journal}, {u"bulletin", Kind::Journal}, {u"letters", Kind::Journal},
    {u"proceedings", Kind::Proceedings}, {u"conference", Kind::Proceedings}, {u"symposium", Kind::Proceedings},
    {u"workshop", Kind::Proceedings}, {u"report", Kind::Report}, {u"technical", Kind::Report},
    {u"chapter", Kind::Chapter},   {u"edition", Kind::Edition},  {u"new", Kind::Place},
}};

constexpr size_t kLongestLexiconWord = 12;

// Every token is looked up: the entries are kept apart by their first
// letter, so a look-up reads a few of them instead of all.
size_t LexiconBucket(char16_t first) { return first >= u'a' && first <= u'z' ? first - u'a' : 26; }

}  // namespace

Kind KindOf(std::u16string_view lower) {
  if (lower.empty() || lower.size() > kLongestLexiconWord) return Kind::None;
  static const auto buckets = [] {
    std::array<std::vector<LexiconEntry>, 27> out;
    for (const auto& e : kLexicon) out[LexiconBucket(e.word[0])].push_back(e);
    return out;
  }();
  for (const auto& e : buckets[LexiconBucket(lower[0])])
    if (e.word == lower) return e.kind;
  return Kind::None;
}

namespace {

bool IsOpening(char16_t c) {
  return c == u'(' || c == u'[' || c == u'{' || c == u'"' || c == u'\'' || c == u'\u201C' || c == u'\u2018' ||
         c == u'\u00AB' || c == u'<';
}
bool IsTrailing(char16_t c) {
  return c == u'.' || c == u',' || c == u';' || c == u':' || c == u'?' || c == u'!' || c == u')' || c == u']' ||
         c == u'}' || c == u'"' || c == u'\'' || c == u'\u201D' || c == u'\u2019' || c == u'\u00BB' || c == u'>';
}
bool IsQuoteOpen(char16_t c) { return c == u'"' || c == u'\u201C' || c == u'\u00AB' || c == u'\u2018'; }
bool IsQuoteClose(char16_t c) { return c == u'"' || c == u'\u201D' || c == u'\u00BB' || c == u'\u2019'; }

Word Read(std::u16string_view t) {
  Word w;
  w.firstChar = t.front();
  w.lastChar = t.back();
  size_t a = 0, b = t.size();
  while (a < b && IsOpening(t[a])) ++a;
  while (b > a && IsTrailing(t[b - 1])) --b;
  const std::u16string_view core = t.substr(a, b - a);
  w.lower = LCase(core);
  w.length = static_cast<int>(core.size());
  int letters = 0, capitals = 0, digits = 0, dashes = 0;
  char16_t previous = 0;
  int run = 0;
  for (size_t i = 0; i < t.size();) {
    UChar32 c;
    U16_NEXT(t.data(), i, t.size(), c);
    // ASCII, most of any reference, is told apart without asking ICU (which
    // answers the same for it).
    const bool ascii = c < 0x80;
    const bool upper = ascii ? c >= u'A' && c <= u'Z' : u_isupper(c);
    char16_t s;
    if (upper) s = u'X', ++letters, ++capitals;
    else if (ascii ? c >= u'a' && c <= u'z' : u_isalpha(c)) s = u'x', ++letters;
    else if (ascii ? c >= u'0' && c <= u'9' : u_isdigit(c)) s = u'd', ++digits;
    else s = c < 0x10000 ? static_cast<char16_t>(c) : u'?';
    if (c == u'-' || c == u'\u2013' || c == u'\u2014') ++dashes;
    run = s == previous ? run + 1 : 1;
    previous = s;
    if (run <= 2) w.shape += s;
  }
  w.digits = digits > 0;
  w.number = digits > 0 && letters == 0 && dashes == 0;
  w.capitalized = letters > 0 && core.size() > 0 && u_isupper(core[0]);
  w.capitals = letters > 1 && capitals == letters;
  w.initial = letters > 0 && letters <= 2 && capitals == letters && core.size() <= 5;
  w.range = digits > 0 && dashes > 0 && letters == 0;
  if (core.size() >= 4 && core.size() <= 5) {
    const bool four = std::all_of(core.begin(), core.begin() + 4, [](char16_t c) { return c >= u'0' && c <= u'9'; });
    const int value = four ? (core[0] - u'0') * 1000 + (core[1] - u'0') * 100 + (core[2] - u'0') * 10 + (core[3] - u'0') : 0;
    w.year = four && IsYear(value) && (core.size() == 4 || u_isalpha(core[4]));
  }
  w.web = w.lower.find(u"http") != std::u16string::npos || w.lower.find(u"www.") != std::u16string::npos;
  w.doi = w.lower.starts_with(u"10.") || w.lower.find(u"doi") != std::u16string::npos;
  w.kind = KindOf(w.lower);
  w.dictionary = letters > 1 && smart::Dictionary::English().SizeOf(w.lower) != smart::Dictionary::kNoWord;
  return w;
}

}  // namespace

namespace {

constexpr std::uint64_t kFnvPrime = 1099511628211ull;

std::uint64_t Fnv(std::uint64_t h, std::u16string_view text) {
  for (char16_t c : text) {
    h ^= c;
    h *= kFnvPrime;
  }
  return h;
}

}  // namespace

std::uint32_t BucketOf(std::uint8_t templ, std::u16string_view text) {
  const std::uint64_t h = Fnv(1469598103934665603ull ^ templ, text);
  return static_cast<std::uint32_t>(h >> (64 - kFeatureBits));
}

std::uint32_t BucketOf(std::uint8_t templ, std::u16string_view a, std::u16string_view b) {
  std::uint64_t h = Fnv(1469598103934665603ull ^ templ, a);
  h = (h ^ u'|') * kFnvPrime;
  h = Fnv(h, b);
  return static_cast<std::uint32_t>(h >> (64 - kFeatureBits));
}

std::uint64_t Flags(const Word& w) {
  return std::uint64_t{w.year} | std::uint64_t{w.number} << 1 | std::uint64_t{w.digits} << 2 |
         std::uint64_t{w.capitalized} << 3 | std::uint64_t{w.capitals} << 4 | std::uint64_t{w.initial} << 5 |
         std::uint64_t{w.dictionary} << 6 | std::uint64_t{w.web} << 7 | std::uint64_t{w.doi} << 8 |
         std::uint64_t{w.range} << 9;
}

namespace {

bool EndsSegment(const Word& w) {
  const char16_t c = w.lastChar;
  if (c == u',' || c == u':' || c == u';' || c == u'?' || c == u'!') return true;
  return c == u'.' && !w.initial && w.kind != Kind::Pages && w.kind != Kind::Volume && w.kind != Kind::Number &&
         w.kind != Kind::Editor && w.kind != Kind::EtAl;
}

}  // namespace

std::uint64_t Summary(const Segment& s) {
  const auto share = [&](int k) { return static_cast<std::uint64_t>(s.words ? (k * 4) / s.words : 0); };
  return Bucket(static_cast<size_t>(s.words), {2, 3, 5, 8, 13}) | share(s.capitalized) << 4 | share(s.dictionary) << 8 |
         std::uint64_t{s.digits > 0} << 12 | std::uint64_t{s.year} << 13 | std::uint64_t{s.web} << 14 |
         static_cast<std::uint64_t>(s.kind) << 16 | std::uint64_t{s.end} << 24;
}

Analysis Analyse(const std::vector<Token>& tokens) {
  Analysis a;
  const size_t n = tokens.size();
  auto& words = a.words;
  auto& segments = a.segments;
  auto& segmentOf = a.segmentOf;
  words.reserve(n);
  for (const auto& t : tokens) words.push_back(Read(t.text));
  segmentOf.resize(n);
  for (size_t i = 0; i < n; ++i) {
    if (segments.empty() || EndsSegment(words[i - 1])) segments.push_back({i, i});
    Segment& s = segments.back();
    const Word& w = words[i];
    s.last = i;
    ++s.words;
    s.capitalized += w.capitalized;
    s.dictionary += w.dictionary;
    s.digits += w.digits;
    s.year |= w.year;
    s.web |= w.web || w.doi;
    if (s.kind == Kind::None) s.kind = w.kind;
    s.end = w.lastChar;
    segmentOf[i] = static_cast<std::uint32_t>(segments.size() - 1);
  }
  for (Segment& s : segments) s.summary = Summary(s);
  a.mayBegin.resize(n, 1);
  for (size_t i = 1; i < n; ++i) {
    const Word& p = words[i - 1];
    const Word& w = words[i];
    const bool mark = IsTrailing(p.lastChar) || IsOpening(w.firstChar);
    const bool number = p.digits || w.digits;
    const bool opener = w.kind == Kind::In || w.kind == Kind::Editor || w.kind == Kind::Retrieved || w.web || w.doi;
    a.mayBegin[i] = mark || number || opener;
  }
  return a;
}

using T = TokenTemplate;

TokenFeatures Features(const Analysis& a) {
  TokenFeatures out;
  const auto& words = a.words;
  const auto& segments = a.segments;
  const auto& segmentOf = a.segmentOf;
  const size_t n = words.size();
  out.features.reserve(n * 40);
  out.first.reserve(n + 1);
  Hasher<> h(out.features);
  const Word none;
  int quotes = 0, parens = 0, periods = 0, commas = 0, years = 0, colons = 0;
  for (size_t i = 0; i < n; ++i) {
    out.first.push_back(static_cast<std::uint32_t>(out.features.size()));
    const Word& w = words[i];
    const Word& p = i > 0 ? words[i - 1] : none;
    const Word& q = i + 1 < n ? words[i + 1] : none;
    const Word& p2 = i > 1 ? words[i - 2] : none;
    const Word& q2 = i + 2 < n ? words[i + 2] : none;
    h.Add(T::Bias, std::uint64_t{0});  // bias
    h.Add(T::Word, w.lower);
    h.Add(T::Shape, w.shape);
    h.Add(T::Prefix, std::u16string_view(w.lower).substr(0, 3));
    h.Add(T::Suffix, w.lower.size() > 3 ? std::u16string_view(w.lower).substr(w.lower.size() - 3) : std::u16string_view(w.lower));
    h.Add(T::Flags, Flags(w));
    h.Add(T::Kind, static_cast<std::uint64_t>(w.kind));
    h.Add(T::EdgeMarks, std::uint64_t{w.lastChar} << 16 | w.firstChar);
    h.Add(T::PreviousWord, p.lower);
    h.Add(T::NextWord, q.lower);
    h.Add(T::PreviousShape, p.shape);
    h.Add(T::NextShape, q.shape);
    h.Add(T::MarksBetween, std::uint64_t{p.lastChar} << 16 | q.firstChar);
    h.Add(T::NeighbourKinds, Flags(p) << 16 | static_cast<std::uint64_t>(p.kind) << 12 | static_cast<std::uint64_t>(q.kind));
    h.Add(T::NextFlags, Flags(q));
    h.Add(T::FarMarks, std::uint64_t{p2.lastChar} << 32 | std::uint64_t{q2.firstChar} << 16 | static_cast<std::uint64_t>(p2.kind));
    h.Add(T::FromStart, Bucket(i, {1, 2, 3, 4, 6, 9, 13, 20, 30}));
    h.Add(T::FromEnd, Bucket(n - 1 - i, {1, 2, 3, 4, 6, 9, 13, 20}));
    h.Add(T::Decile, (i * 10) / std::max<size_t>(n, 1));
    h.Add(T::OpenQuotesParens, std::uint64_t(std::min(quotes, 1)) << 8 | std::uint64_t(std::min(parens, 1)));
    h.Add(T::PeriodsYears, std::uint64_t(std::min(periods, 6)) << 8 | std::uint64_t(std::min(years, 2)));
    h.Add(T::CommasColons, std::uint64_t(std::min(commas, 6)) << 4 | std::uint64_t(std::min(colons, 2)));
    h.Add(T::PeriodsFlags, std::uint64_t(std::min(periods, 6)) << 16 | Flags(w));
    h.Add(T::YearsLastMark, std::uint64_t(std::min(years, 2)) << 16 | std::uint64_t{w.lastChar});
    h.Add(T::ShapePair, w.shape, p.shape);
    h.Add(T::Length, Bucket(static_cast<size_t>(w.length), {2, 3, 4, 6, 9, 13}));
    // The stretch it stands in, and the ones around it.
    h.Add(T::MayBegin, std::uint64_t{a.mayBegin[i]});
    h.Add(T::BigramBefore, p.lower, w.lower);
    h.Add(T::BigramAfter, w.lower, q.lower);
    h.Add(T::SecondWordBefore, p2.lower);
    h.Add(T::SecondWordAfter, q2.lower);
    const size_t si = segmentOf[i];
    const Segment& seg = segments[si];
    const std::uint64_t here = seg.summary;
    const std::uint64_t before = si > 0 ? segments[si - 1].summary : 1ull << 40;
    const std::uint64_t after = si + 1 < segments.size() ? segments[si + 1].summary : 1ull << 40;
    const std::uint64_t place = i == seg.first ? 0 : i == seg.last ? 1 : 2;
    h.Add(T::Stretch, here);
    h.Add(T::StretchBefore, before);
    h.Add(T::StretchAfter, after);
    h.Add(T::StretchPair, here ^ (before * 31));
    h.Add(T::StretchPlace, Bucket(si, {1, 2, 3, 4, 5, 7}) << 4 | place);
    h.Add(T::StretchSummaryPlace, (here & 0xFFFF) << 4 | place);
    h.Add(T::StretchesLeft, Bucket(segments.size() - 1 - si, {1, 2, 3, 4, 6}) << 8 | (here & 0xFF));
    // What the token ends, and what comes before it.
    if (w.lastChar == u'.' || w.lastChar == u',' || w.lastChar == u':' || w.lastChar == u';' || w.lastChar == u')')
      h.Add(T::Ending, std::uint64_t{w.lastChar} << 16 | Flags(w) << 24 | static_cast<std::uint64_t>(w.kind));
    // The state after this token.
    if (IsQuoteOpen(w.firstChar)) ++quotes;
    if (IsQuoteClose(w.lastChar) && quotes > 0) --quotes;
    if (w.firstChar == u'(') ++parens;
    if (w.lastChar == u')' || (w.lastChar == u'.' && w.shape.size() > 1 && w.shape[w.shape.size() - 2] == u')'))
      parens = std::max(0, parens - 1);
    periods += w.lastChar == u'.' && !w.initial;
    commas += w.lastChar == u',';
    colons += w.lastChar == u':';
    years += w.year;
  }
  out.first.push_back(static_cast<std::uint32_t>(out.features.size()));
  return out;
}

}  // namespace tf::reference
