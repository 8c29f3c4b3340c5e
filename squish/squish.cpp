#include <algorithm>
#include <memory>

#include "squish/index.h"
#include "squish/vocabulary.h"
#include "text/text.h"

namespace tf {

// ---- the index ------------------------------------------------------------

SquishIndex::SquishIndex(const std::vector<std::u16string>& words) {
  m_keys.assign(1024, 0);
  m_values.assign(1024, kNone);
  m_mask = 1023;
  m_shift = 64 - 10;
  m_terminalOf.push_back(kNone);  // the root
  m_upperForms.reserve(words.size());
  m_exactGroup.assign(words.size(), kNone);
  m_upperGroup.assign(words.size(), kNone);

  std::vector<std::uint32_t> upperGroupOfTerminal;
  std::vector<std::uint32_t> firstExactOfTerminal;  // chained through nextExact
  std::vector<std::uint32_t> nextExact;

  for (size_t i = 0; i < words.size(); ++i) {
    const std::u16string& w = words[i];
    if (w.size() < 2) continue;
    std::uint32_t node = 0;
    for (char16_t c : w) node = Insert(node, UpperUnit(c));
    if (m_terminalOf[node] == kNone) {
      m_terminalOf[node] = static_cast<std::uint32_t>(m_numTerminals++);
      std::u16string upper;
      upper.reserve(w.size());
      for (char16_t c : w) upper.push_back(UpperUnit(c));
      m_upperForms.push_back(std::move(upper));
      upperGroupOfTerminal.push_back(static_cast<std::uint32_t>(m_groups.size()));
      m_groups.push_back({m_terminalOf[node], m_upperForms.back()});
      firstExactOfTerminal.push_back(kNone);
    }
    const std::uint32_t t = m_terminalOf[node];
    m_upperGroup[i] = upperGroupOfTerminal[t];
    // Entries spelled alike share one exact group (and so one cursor).
    std::uint32_t g = firstExactOfTerminal[t];
    while (g != kNone && m_groups[g].chars != std::u16string_view(w)) g = nextExact[g];
    if (g == kNone) {
      g = static_cast<std::uint32_t>(m_groups.size());
      m_groups.push_back({t, w});
      nextExact.resize(m_groups.size(), kNone);
      nextExact[g] = firstExactOfTerminal[t];
      firstExactOfTerminal[t] = g;
    }
    m_exactGroup[i] = g;
  }
  // Entries by terminal, ascending within each (counting sort).
  m_entriesBegin.assign(m_numTerminals + 1, 0);
  for (size_t i = 0; i < words.size(); ++i)
    if (m_upperGroup[i] != kNone) ++m_entriesBegin[m_groups[m_upperGroup[i]].terminal + 1];
  for (size_t t = 0; t < m_numTerminals; ++t) m_entriesBegin[t + 1] += m_entriesBegin[t];
  m_entries.resize(m_entriesBegin.back());
  std::vector<std::uint32_t> fill(m_entriesBegin.begin(), m_entriesBegin.end() - 1);
  for (size_t i = 0; i < words.size(); ++i)
    if (m_upperGroup[i] != kNone)
      m_entries[fill[m_groups[m_upperGroup[i]].terminal]++] = static_cast<std::uint32_t>(i);
}

size_t SquishIndex::Slot(std::uint64_t key) const {
  return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> m_shift);
}

std::uint32_t SquishIndex::Child(std::uint32_t node, char16_t c) const {
  const std::uint64_t key = (std::uint64_t{node} << 16) | c;
  for (size_t s = Slot(key);; s = (s + 1) & m_mask) {
    if (m_values[s] == kNone) return kNone;
    if (m_keys[s] == key) return m_values[s];
  }
}

std::uint32_t SquishIndex::Insert(std::uint32_t node, char16_t c) {
  if (const auto child = Child(node, c); child != kNone) return child;
  if (2 * (m_size + 1) > m_values.size()) Grow();
  const std::uint64_t key = (std::uint64_t{node} << 16) | c;
  size_t s = Slot(key);
  while (m_values[s] != kNone) s = (s + 1) & m_mask;
  const auto child = static_cast<std::uint32_t>(m_terminalOf.size());
  m_keys[s] = key;
  m_values[s] = child;
  ++m_size;
  m_terminalOf.push_back(kNone);
  return child;
}

void SquishIndex::Grow() {
  std::vector<std::uint64_t> keys(m_keys.size() * 2, 0);
  std::vector<std::uint32_t> values(m_values.size() * 2, kNone);
  m_keys.swap(keys);
  m_values.swap(values);
  m_mask = m_values.size() - 1;
  --m_shift;
  for (size_t s = 0; s < keys.size(); ++s) {
    if (values[s] == kNone) continue;
    size_t d = Slot(keys[s]);
    while (m_values[d] != kNone) d = (d + 1) & m_mask;
    m_keys[d] = keys[s];
    m_values[d] = values[s];
  }
}

// ---- the pass -------------------------------------------------------------

namespace {

// A position holding one character with a space on either side: the only
// places a letter-spaced word can stand. Replacing a word of two or more
// letters never creates such a position, it only removes them.
inline bool IsSlot(std::u16string_view t, size_t k) {
  return k >= 1 && k + 1 < t.size() && t[k] != u' ' && t[k - 1] == u' ' && t[k + 1] == u' ';
}

struct Replacement {
  size_t start;       // the word's first letter in the text
  std::uint32_t entry;
};

// Replacement passes played out on positions instead of rebuilding the text.
// Each pass visits the entries in vocabulary order and takes, for each, the
// first place where its exact spelling stands, else the first where its
// upper-case form stands. A place stays usable until one of its letters is
// taken by a replacement, and letters are never given back, so each group
// keeps one cursor that only moves forward, and an entry that finds nothing
// in a pass will find nothing later and leaves the pass for good.
std::vector<Replacement> PlayPasses(std::u16string_view t, const Vocabulary& vocabulary) {
  const SquishIndex& index = vocabulary.Index();
  const auto& words = vocabulary.WordList();

  // Every place where some upper-cased word starts, grouped by terminal
  // (counted first, then filled, so the lists need no reallocation).
  std::vector<std::uint32_t> begin(index.NumTerminals() + 1, 0);
  std::vector<std::uint32_t> places;
  const auto walk = [&](auto&& visit) {
    for (size_t s = 1; s + 1 < t.size(); ++s) {
      if (!IsSlot(t, s)) continue;
      std::uint32_t node = 0;
      for (size_t k = s; IsSlot(t, k); k += 2) {
        node = index.Child(node, UpperUnit(t[k]));
        if (node == SquishIndex::kNone) break;
        if (const auto term = index.Terminal(node); term != SquishIndex::kNone) visit(term, s);
      }
    }
  };
  walk([&](std::uint32_t term, size_t) { ++begin[term + 1]; });
  for (size_t i = 1; i < begin.size(); ++i) begin[i] += begin[i - 1];
  places.resize(begin.back());
  {
    std::vector<std::uint32_t> fill(begin.begin(), begin.end() - 1);
    walk([&](std::uint32_t term, size_t s) { places[fill[term]++] = static_cast<std::uint32_t>(s); });
  }

  // Only the entries whose word (in either form) stands somewhere in the
  // text take part; cursors are set up for their groups alone, so a short
  // text costs little whatever the size of the vocabulary.
  const auto& groups = index.Groups();
  std::unique_ptr<std::uint32_t[]> cursor(new std::uint32_t[groups.size()]);
  std::vector<std::uint32_t> active;
  for (std::uint32_t term = 0; term < index.NumTerminals(); ++term) {
    if (begin[term + 1] == begin[term]) continue;
    for (auto e = index.EntriesBegin(term); e != index.EntriesEnd(term); ++e) {
      active.push_back(*e);
      cursor[index.ExactGroup(*e)] = cursor[index.UpperGroup(*e)] = begin[term];
    }
  }
  std::sort(active.begin(), active.end());

  std::vector<bool> taken(t.size(), false);
  // The first usable place of group g at or after its cursor, or npos.
  const auto firstPlace = [&](std::uint32_t g) -> size_t {
    const auto& group = groups[g];
    const std::uint32_t end = begin[group.terminal + 1];
    const size_t n = group.chars.size();
    for (; cursor[g] < end; ++cursor[g]) {
      const size_t s = places[cursor[g]];
      bool usable = true;
      for (size_t j = 0; j < n && usable; ++j)
        usable = !taken[s + 2 * j] && t[s + 2 * j] == group.chars[j];
      if (usable) return s;
    }
    return std::u16string_view::npos;
  };

  std::vector<Replacement> done;
  while (!active.empty()) {
    size_t kept = 0;
    for (const std::uint32_t i : active) {
      size_t s = firstPlace(index.ExactGroup(i));
      if (s == std::u16string_view::npos) s = firstPlace(index.UpperGroup(i));
      if (s == std::u16string_view::npos) continue;  // nothing now, nothing ever
      for (size_t j = 0; j < words[i].size(); ++j) taken[s + 2 * j] = true;
      done.push_back({s, i});
      active[kept++] = i;
    }
    active.resize(kept);
  }
  std::sort(done.begin(), done.end(),
            [](const Replacement& a, const Replacement& b) { return a.start < b.start; });
  return done;
}

// Removes the spaces in front of " . " and " , " the way repeated rounds do:
// each round fixes the first " . ", then the first " , " of the text as it
// then stands. Fixing a mark removes the run of spaces before it, which can
// only take occurrences away (the mark before it loses its closing space),
// never create one; so the first occurrence of each kind only moves forward
// and one cursor per kind plays all the rounds.
std::u16string TidyPunctuation(std::u16string_view t) {
  struct Mark {
    size_t pos;
    bool dot;
    bool spaceBefore;  // a run of spaces stands right before the mark
    bool chained;      // the run after it is the run before the next mark
  };
  std::vector<Mark> marks;
  for (size_t j = 0; j + 1 < t.size(); ++j) {
    if ((t[j] == u'.' || t[j] == u',') && t[j + 1] == u' ')
      marks.push_back({j, t[j] == u'.', j > 0 && t[j - 1] == u' ', false});
  }
  for (size_t k = 0; k + 1 < marks.size(); ++k) {
    size_t r = marks[k].pos + 1;
    while (r < t.size() && t[r] == u' ') ++r;
    marks[k].chained = r == marks[k + 1].pos;
  }
  const auto occurs = [&](size_t k) {
    return marks[k].spaceBefore && (!marks[k].chained || marks[k + 1].spaceBefore);
  };
  std::vector<bool> fixed(marks.size(), false);
  size_t dot = 0, comma = 0;
  for (;;) {
    bool changed = false;
    while (dot < marks.size() && !(marks[dot].dot && occurs(dot))) ++dot;
    if (dot < marks.size()) {
      marks[dot].spaceBefore = false;
      fixed[dot] = changed = true;
    }
    while (comma < marks.size() && !(!marks[comma].dot && occurs(comma))) ++comma;
    if (comma < marks.size()) {
      marks[comma].spaceBefore = false;
      fixed[comma] = changed = true;
    }
    if (!changed) break;
  }
  std::u16string out;
  out.reserve(t.size());
  size_t from = 0;
  for (size_t k = 0; k < marks.size(); ++k) {
    if (!fixed[k]) continue;
    size_t runStart = marks[k].pos;
    while (runStart > from && t[runStart - 1] == u' ') --runStart;
    out.append(t.substr(from, runStart - from));
    from = marks[k].pos;
  }
  out.append(t.substr(from));
  return out;
}

}  // namespace

std::u16string SquishText(std::u16string_view text, const Vocabulary& vocabulary) {
  const std::u16string_view t = Trim(text);
  const auto replacements = PlayPasses(t, vocabulary);
  std::u16string joined;
  joined.reserve(t.size());
  size_t from = 0;
  for (const auto& r : replacements) {
    const std::u16string& word = vocabulary.WordList()[r.entry];
    joined.append(t.substr(from, r.start - from));
    joined.append(word);
    from = r.start + 2 * word.size() - 1;  // the closing space stays
  }
  joined.append(t.substr(from));
  return std::u16string(Trim(TidyPunctuation(joined)));
}

}  // namespace tf
