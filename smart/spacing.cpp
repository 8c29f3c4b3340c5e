// Rule 3: letter-spaced words.
//
// A line is read token by token (a token: the text between spaces and
// tabs), and each run of letter-spaced characters is repaired as soon as it
// ends, so that only one run is held at a time; a run may be a whole line
// of a pasted page, and the split below keeps a few bytes a character.
#include <algorithm>
#include <array>
#include <optional>

#include "smart/characters.h"
#include "smart/rules.h"
#include "text/text.h"

namespace tf::smart {
namespace {

using namespace detail;

// The cost of a split, compared in this order: one-character pieces that
// are not words, pieces, total size. The first piece's length rides along:
// among equal costs the longer first piece is better.
struct Cost {
  std::int32_t nonWords = 0, pieces = 0, size = 0;
  auto operator<=>(const Cost&) const = default;
  Cost operator+(const Cost& o) const { return {nonWords + o.nonWords, pieces + o.pieces, size + o.size}; }
};
constexpr Cost kInfinite{INT32_MAX / 2, 0, 0};

// The best split of a run's characters (lower-cased in `lower`; character
// k starts at unit at[k]): fewest one-character non-words, then fewest
// pieces, then least size; then the longest last piece, then the longest
// first piece. Returns the pieces' lengths in characters, last first.
//
// Pieces are at most 60 characters long, so the costs of the last 61
// boundaries are all it keeps; for each boundary, one byte for the last
// piece of its best split and one for that split's first piece.
std::vector<std::uint8_t> BestSplit(std::u16string_view lower, const std::vector<std::uint32_t>& at,
                                    const Dictionary& dictionary) {
  constexpr size_t kWindow = Dictionary::kLongestPiece + 1;
  const size_t m = at.size() - 1;
  std::array<Cost, kWindow> cost;
  std::vector<std::uint8_t> back(m + 1, 0), first(m + 1, 0);
  struct Ending {
    size_t from;
    Cost total;  // of the best split through this last piece
  };
  std::vector<Ending> endings;  // the pieces that end the run
  for (size_t b = 0; b < kWindow; ++b) cost[b] = kInfinite;
  cost[0] = {};
  for (size_t j = 0; j < m; ++j) {
    cost[(j + kWindow - 1) % kWindow] = kInfinite;  // boundary j + 60 comes into view
    const Cost here = cost[j % kWindow];
    const auto relax = [&](size_t to, Cost piece) {
      const Cost c = here + piece;
      const auto firstPiece = static_cast<std::uint8_t>(j == 0 ? to : first[j]);
      Cost& there = cost[to % kWindow];
      if (c < there || (c == there && firstPiece > first[to])) {
        there = c;
        first[to] = firstPiece;
        back[to] = static_cast<std::uint8_t>(to - j);
      }
      if (to == m) endings.push_back({j, c});
    };
    bool singleIsWord = false;
    size_t to = j;
    const size_t limit = at[std::min(m, j + Dictionary::kLongestPiece)] - at[j];
    dictionary.Prefixes(lower.substr(at[j]), limit, [&](size_t units, std::uint8_t size) {
      while (to < m && at[to] < at[j] + units) ++to;
      if (at[to] != at[j] + units) return;  // not on a character boundary
      if (to == j + 1) singleIsWord = true;
      relax(to, {0, 1, size});
    });
    if (!singleIsWord) relax(j + 1, {1, 1, 0});
  }
  // The longest last piece an optimal split ends with; before it, the best
  // split of the rest, which has the longest first piece.
  const Cost best = cost[m % kWindow];
  size_t lastFrom = m;
  for (const auto& e : endings)
    if (e.total == best) lastFrom = std::min(lastFrom, e.from);
  std::vector<std::uint8_t> pieces = {static_cast<std::uint8_t>(m - lastFrom)};
  for (size_t b = lastFrom; b > 0; b -= back[b]) pieces.push_back(back[b]);
  return pieces;
}

// The most letters one run of letter-spaced characters is repaired as.
constexpr size_t kLongestRun = 4096;

// A word put together from spaced letters, in one case when its letters
// mix them past the first: extractors lose the case of single letters
// ('L a B O R a T O R Y' gives 'LABORATORY'), so the majority decides.
std::u16string OneCase(std::u16string_view piece) {
  size_t upper = 0, lower = 0, upperAfterFirst = 0;
  for (size_t i = 0; i < piece.size();) {
    const size_t at = i;
    UChar32 c;
    U16_NEXT(piece.data(), i, piece.size(), c);
    if (u_isupper(c)) ++upper, upperAfterFirst += at > 0;
    else if (u_islower(c)) ++lower;
  }
  if (upperAfterFirst == 0 || lower == 0) return std::u16string(piece);
  return upper >= lower ? UCase(piece) : LCase(piece);
}

// The repair of a run of letter-spaced characters (`characters`: each one
// as it stands, code point by code point), or nothing when it stays.
std::optional<std::u16string> RepairRun(const std::u16string& joined, const std::vector<std::uint32_t>& at,
                                        const Dictionary& dictionary) {
  const std::u16string lower = LCase(joined);
  if (dictionary.IsWord(lower)) return OneCase(joined);
  const std::vector<std::uint8_t> lengths = BestSplit(lower, at, dictionary);
  std::u16string out;
  out.reserve(joined.size() + lengths.size());
  size_t from = 0;
  bool previousLoose = false;
  for (auto it = lengths.rbegin(); it != lengths.rend(); ++it) {
    const size_t to = from + *it;
    const std::u16string_view piece = std::u16string_view(joined).substr(at[from], at[to] - at[from]);
    // Two characters side by side that are no words: nothing to gain.
    const bool loose = *it == 1 && !dictionary.IsWord(std::u16string_view(lower).substr(at[from], at[to] - at[from]));
    if (loose && previousLoose) return std::nullopt;
    previousLoose = loose;
    if (!out.empty()) out += u' ';
    out += loose ? std::u16string(piece) : OneCase(piece);
    from = to;
  }
  return out;
}

// A token: one letter or digit, perhaps with brackets or quotes before it
// and punctuation after it, or anything else.
struct Token {
  size_t begin = 0, end = 0;  // in the line
  size_t gapBefore = 0;       // spaces before it (a tab counts two); SIZE_MAX first in the line
  bool single = false;        // one letter or digit
  size_t core = 0, coreEnd = 0;
  bool opens = false, closes = false;
};

// The tokens of a line, one after another.
class TokenReader {
 public:
  explicit TokenReader(std::u16string_view line) : m_line(line) {}

  bool Next(Token& t) {
    size_t gap = m_started ? 0 : SIZE_MAX;  // before the first token: the line's edge
    while (m_at < m_line.size() && IsBlank(m_line[m_at])) {
      if (gap != SIZE_MAX) gap += m_line[m_at] == u'\t' ? 2 : 1;
      ++m_at;
    }
    if (m_at == m_line.size()) return false;
    m_started = true;
    t = Token{};
    t.begin = m_at;
    t.gapBefore = gap;
    while (m_at < m_line.size() && !IsBlank(m_line[m_at])) ++m_at;
    t.end = m_at;
    size_t a = t.begin, b = t.end;
    while (a < b && IsOpening(m_line[a])) ++a;
    while (b > a && IsClosing(m_line[b - 1])) --b;
    size_t units = 0;
    if (a < b && IsLetterOrDigit(CodePointAt(m_line, a, &units)) && a + units == b) {
      t.single = true;
      t.core = a;
      t.coreEnd = b;
      t.opens = a > t.begin;
      t.closes = b < t.end;
    }
    return true;
  }

 private:
  std::u16string_view m_line;
  size_t m_at = 0;
  bool m_started = false;
};

}  // namespace

std::u16string RepairSpacedWords(std::u16string_view line, const Dictionary& dictionary) {
  std::u16string out;
  size_t copied = 0;  // the line before this is in `out` (or replaced)
  // The last run that was changed: where its repair ends in `out`, and
  // where it ended in the line, so that a changed run right after it (with
  // nothing but a gap between) is set off by one space.
  size_t lastChangedOut = SIZE_MAX, lastChangedEnd = 0;
  bool changedAny = false;

  TokenReader reader(line);
  Token t;
  bool have = reader.Next(t);
  while (have) {
    if (!t.single) {
      have = reader.Next(t);
      continue;
    }
    // A run: single characters one space apart; only its first token may
    // open with brackets or quotes, only its last close with punctuation.
    const Token first = t;
    Token last = t;
    std::u16string joined(line.substr(t.core, t.coreEnd - t.core));
    std::vector<std::uint32_t> at = {0};
    Token next;
    have = reader.Next(next);
    // A run is cut after kLongestRun letters (no letter-spaced text runs so
    // long in earnest), so that the split's tables stay small.
    while (have && !last.closes && next.single && !next.opens && next.gapBefore == 1 && at.size() < kLongestRun) {
      at.push_back(static_cast<std::uint32_t>(joined.size()));
      joined.append(line.substr(next.core, next.coreEnd - next.core));
      last = next;
      have = reader.Next(next);
    }
    at.push_back(static_cast<std::uint32_t>(joined.size()));
    t = next;
    const size_t characters = at.size() - 1;
    const size_t after = have ? next.gapBefore : SIZE_MAX;
    if (characters < 3 && !(characters == 2 && first.gapBefore >= 2 && after >= 2)) continue;
    const auto pieces = RepairRun(joined, at, dictionary);
    if (!pieces) continue;
    std::u16string repair(line.substr(first.begin, first.core - first.begin));
    repair += *pieces;
    repair.append(line.substr(last.coreEnd, last.end - last.coreEnd));
    if (repair == line.substr(first.begin, last.end - first.begin)) continue;
    if (!changedAny) out.reserve(line.size());
    changedAny = true;
    if (lastChangedOut != SIZE_MAX && lastChangedEnd == copied && copied <= first.begin &&
        line.substr(copied, first.begin - copied).find_first_not_of(u" \t") == std::u16string_view::npos) {
      out.resize(lastChangedOut);
      out += u' ';
    } else {
      out.append(line.substr(copied, first.begin - copied));
    }
    out += repair;
    copied = last.end;
    lastChangedOut = out.size();
    lastChangedEnd = copied;
  }
  if (!changedAny) return std::u16string(line);
  out.append(line.substr(copied));
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
