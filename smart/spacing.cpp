// Rule 3: letter-spaced words.
#include <algorithm>
#include <array>
#include <span>

#include "smart/characters.h"
#include "smart/rules.h"
#include "text/text.h"

namespace tf::smart {
namespace {

using namespace detail;

// A token of a line: the text between gaps of spaces and tabs.
struct Token {
  size_t begin, end;       // in the line
  size_t gapBefore;        // in spaces (a tab counts two); SIZE_MAX at the line's start
  // When the token is one letter or digit with brackets, quotes or
  // punctuation around it: where that character is.
  bool single = false;
  size_t core = 0, coreEnd = 0;
  bool opens = false, closes = false;
};

std::vector<Token> Tokens(std::u16string_view line) {
  std::vector<Token> tokens;
  size_t gap = SIZE_MAX;  // before the first token: the line's edge
  size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      if (gap != SIZE_MAX) gap += line[i] == u'\t' ? 2 : 1;
      ++i;
      continue;
    }
    Token t{i, i, gap};
    while (i < line.size() && !IsBlank(line[i])) ++i;
    t.end = i;
    size_t a = t.begin, b = t.end;
    while (a < b && IsOpening(line[a])) ++a;
    while (b > a && IsClosing(line[b - 1])) --b;
    size_t units = 0;
    if (a < b && IsLetterOrDigit(CodePointAt(line, a, &units)) && a + units == b) {
      t.single = true;
      t.core = a;
      t.coreEnd = b;
      t.opens = a > t.begin;
      t.closes = b < t.end;
    }
    tokens.push_back(t);
    gap = 0;
  }
  return tokens;
}

// The cost of a split, compared in this order: one-character pieces that
// are not words, pieces, total size.
struct Cost {
  int nonWords = 0, pieces = 0, size = 0;
  auto operator<=>(const Cost&) const = default;
  Cost operator+(const Cost& o) const { return {nonWords + o.nonWords, pieces + o.pieces, size + o.size}; }
};
constexpr Cost kInfinite{INT32_MAX / 4, 0, 0};

struct Piece {
  size_t from, to;  // in characters
  Cost cost;
};

// The best split of the characters (whose lower-case text is `lower`, the
// k-th character starting at unit at[k]): fewest non-word characters,
// then fewest pieces, then least size; then the longest last piece, then
// the longest first piece. Returns the pieces' ends.
std::vector<size_t> BestSplit(const std::u16string& lower, const std::vector<size_t>& at,
                              const Dictionary& dictionary) {
  const size_t m = at.size() - 1;  // characters
  // Every piece that may stand: dictionary words of up to 60 characters,
  // and any single character (a word or not); by where they start.
  std::vector<Piece> pieces;
  std::vector<size_t> firstPiece(m + 1, 0);
  for (size_t j = 0; j < m; ++j) {
    firstPiece[j] = pieces.size();
    const size_t limitUnits = at[std::min(m, j + Dictionary::kLongestPiece)] - at[j];
    bool singleIsWord = false;
    size_t to = j;
    dictionary.Prefixes(std::u16string_view(lower).substr(at[j]), limitUnits, [&](size_t units, std::uint8_t size) {
      while (to < m && at[to] < at[j] + units) ++to;
      if (at[to] != at[j] + units) return;  // not on a character boundary
      if (to == j + 1) singleIsWord = true;
      pieces.push_back({j, to, {0, 1, size}});
    });
    if (!singleIsWord) pieces.push_back({j, j + 1, {1, 1, 0}});
  }
  firstPiece[m] = pieces.size();
  const auto startingAt = [&](size_t j) {
    return std::span<const Piece>(pieces.data() + firstPiece[j], firstPiece[j + 1] - firstPiece[j]);
  };
  // Best costs of every prefix and of every suffix.
  std::vector<Cost> prefix(m + 1, kInfinite), suffix(m + 1, kInfinite);
  prefix[0] = {};
  for (size_t j = 0; j < m; ++j)
    for (const Piece& p : startingAt(j)) prefix[p.to] = std::min(prefix[p.to], prefix[j] + p.cost);
  suffix[m] = {};
  for (size_t j = m; j-- > 0;)
    for (const Piece& p : startingAt(j)) suffix[j] = std::min(suffix[j], p.cost + suffix[p.to]);
  const Cost best = prefix[m];
  // The longest last piece that an optimal split can end with.
  size_t lastFrom = m;
  for (size_t j = 0; j < m && lastFrom == m; ++j)
    for (const Piece& p : startingAt(j))
      if (p.to == m && prefix[j] + p.cost == best) {
        lastFrom = j;
        break;
      }
  // Before it, the longest first piece, then the longest pieces in turn:
  // among the optimal splits of [0, lastFrom), which need the best cost of
  // every stretch ending there.
  std::vector<Cost> toLast(lastFrom + 1, kInfinite);
  toLast[lastFrom] = {};
  for (size_t j = lastFrom; j-- > 0;)
    for (const Piece& p : startingAt(j))
      if (p.to <= lastFrom) toLast[j] = std::min(toLast[j], p.cost + toLast[p.to]);
  std::vector<size_t> ends;
  for (size_t j = 0; j < lastFrom;) {
    size_t next = j;
    for (const Piece& p : startingAt(j))
      if (p.to <= lastFrom && p.cost + toLast[p.to] == toLast[j]) next = std::max(next, p.to);
    ends.push_back(next);
    j = next;
  }
  ends.push_back(m);
  return ends;
}

// A run of letter-spaced characters: tokens [first, last] of the line.
struct Run {
  size_t first, last;
  std::u16string replacement;  // opening marks, the pieces, closing marks
  bool changed = false;
};

// The repair of a run, or nothing when it stays as it stood.
void Repair(std::u16string_view line, const std::vector<Token>& tokens, Run& run, const Dictionary& dictionary) {
  std::u16string joined;
  std::vector<size_t> at;  // where each character starts in `joined`
  for (size_t k = run.first; k <= run.last; ++k) {
    at.push_back(joined.size());
    joined.append(line.substr(tokens[k].core, tokens[k].coreEnd - tokens[k].core));
  }
  at.push_back(joined.size());
  const std::u16string lower = LCase(joined);
  std::u16string pieces;
  if (dictionary.IsWord(lower)) {
    pieces = joined;
  } else {
    const std::vector<size_t> ends = BestSplit(lower, at, dictionary);
    // Two characters side by side that are no words: nothing to gain.
    size_t from = 0;
    bool previousLoose = false;
    for (const size_t to : ends) {
      const bool loose = to == from + 1 && !dictionary.IsWord(std::u16string_view(lower).substr(at[from], at[to] - at[from]));
      if (loose && previousLoose) return;
      previousLoose = loose;
      if (!pieces.empty()) pieces += u' ';
      pieces.append(std::u16string_view(joined).substr(at[from], at[to] - at[from]));
      from = to;
    }
  }
  const Token& first = tokens[run.first];
  const Token& last = tokens[run.last];
  run.replacement.assign(line.substr(first.begin, first.core - first.begin));
  run.replacement += pieces;
  run.replacement.append(line.substr(last.coreEnd, last.end - last.coreEnd));
  run.changed = run.replacement != line.substr(first.begin, last.end - first.begin);
}

}  // namespace

std::u16string RepairSpacedWords(std::u16string_view line, const Dictionary& dictionary) {
  const std::vector<Token> tokens = Tokens(line);
  // The runs: single-character tokens one space apart; only the first may
  // open with brackets or quotes, only the last close with punctuation.
  std::vector<Run> runs;
  for (size_t k = 0; k < tokens.size();) {
    if (!tokens[k].single) {
      ++k;
      continue;
    }
    size_t last = k;
    while (last + 1 < tokens.size() && !tokens[last].closes && tokens[last + 1].single && !tokens[last + 1].opens &&
           tokens[last + 1].gapBefore == 1)
      ++last;
    const size_t characters = last - k + 1;
    const size_t before = tokens[k].gapBefore;
    const size_t after = last + 1 < tokens.size() ? tokens[last + 1].gapBefore : SIZE_MAX;
    if (characters >= 3 || (characters == 2 && before >= 2 && after >= 2)) {
      Run run{k, last, {}};
      Repair(line, tokens, run, dictionary);
      if (run.changed) runs.push_back(std::move(run));
    }
    k = last + 1;
  }
  if (runs.empty()) return std::u16string(line);
  std::u16string out;
  out.reserve(line.size());
  size_t from = 0;
  for (size_t r = 0; r < runs.size(); ++r) {
    const Token& first = tokens[runs[r].first];
    // Two changed runs with nothing but a gap between them: one space.
    if (r > 0 && runs[r - 1].last + 1 == runs[r].first) {
      out += u' ';
    } else {
      out.append(line.substr(from, first.begin - from));
    }
    out += runs[r].replacement;
    from = tokens[runs[r].last].end;
  }
  out.append(line.substr(from));
  return out;
}

std::u16string RepairSpacedLines(std::u16string_view text, const Dictionary& dictionary) {
  std::u16string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i <= text.size()) {
    size_t j = i;
    while (j < text.size() && LineBreakAt(text, j) == 0) ++j;
    out += RepairSpacedWords(text.substr(i, j - i), dictionary);
    if (j == text.size()) break;
    const size_t lineBreak = LineBreakAt(text, j);
    out.append(text.substr(j, lineBreak));
    i = j + lineBreak;
  }
  return out;
}

}  // namespace tf::smart
