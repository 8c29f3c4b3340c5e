// Measures the reference finder on reference lists made from labelled
// references, as PDF extractors give them:
//
//   reference_lists DATA_DIR [--lists N] [--seed S] [--write DIR] [--show N] [--held-out]
//   reference_lists DATA_DIR --train WEIGHTS [--lists N] [--seed S]
//
// Each list takes 10 to 60 references at random (one in five only 2 to 9),
// numbers them in one style (none, "[1]", "1.", "1)", "(1)", a bare "1"),
// wraps them at a random width (or one a line, or each line at a width of
// its own, or lines as wide on the page in a proportional font),
// hyphenates some line ends, may put a heading in front,
// blank lines between them, and at page breaks a page number, a running
// head or a form feed, also inside a reference. It prints the F1 of the
// references found (a reference counts when its first and last characters
// are found exactly) and the share of exact titles among the references of
// the lists, against the same references parsed one by one. The seed makes
// the lists again, the same every time; --write keeps them as files. Last,
// it counts how many of 300 references pasted alone, wrapped at 45, 70 and
// 100 columns, are found as more than one.
// --held-out makes the lists only of the fifth of the references that
// --train never sees.
//
// --roff writes lists as groff documents to typeset, each with the
// references it holds; --score measures the finder on the text an
// extractor made of them (typeset_lists.sh does both, with groff and
// pdftotext).
//
// --train learns the weights of the finder's decision where a reference
// of an author–year list starts (an averaged perceptron over the
// decision's features, the reference so far always the right one) and
// writes them as the C++ table the finder includes. The same data, seed
// and list count make the same bytes.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "io/encoding.h"
#include "reference/finder.h"
#include "reference/parser.h"
#include "smart/dictionary.h"
#include "reference/training/labelled.h"
#include "text/text.h"

namespace {

using namespace tf;
using namespace tf::reference;
using std::u16string;
using std::u16string_view;

struct Labelled {
  u16string text;   // the parts joined by spaces, without a citation number
  u16string title;  // the first title part
};

std::vector<Labelled> Load(const std::filesystem::path& dir) {
  std::vector<Labelled> out;
  for (const training::LabelledReference& parts : training::LoadLabelled(dir, "reference_lists")) {
    Labelled ref;
    for (const training::Part& part : parts) {
      if (part.tag == "citation-number") continue;
      if (part.tag == "title" && ref.title.empty()) ref.title = part.text;
      if (!ref.text.empty()) ref.text += u' ';
      ref.text += part.text;
    }
    // One reference is one paragraph: a reference with line breaks of its
    // own is no test of where references end.
    if (ref.text.find_first_of(u"\r\n\f") != u16string::npos) continue;
    out.push_back(std::move(ref));
  }
  return out;
}


struct Made {
  u16string text;
  std::vector<std::pair<size_t, size_t>> references;  // first and last characters (last + 1)
  std::vector<size_t> source;                         // which labelled reference
  int numbering = 0;                                  // as kNumberings
  int layout = 0;                                     // as kLayouts
};

constexpr const char* kNumberings[] = {"none", "[1]", "1.", "1)", "(1)", "1"};
constexpr const char* kLayouts[] = {"wrapped", "one a line", "ragged", "typeset"};

// Lines of at most `width` characters, no word broken.
std::vector<u16string> WrapAt(const u16string& s, size_t width) {
  std::vector<u16string> lines(1);
  for (size_t i = 0; i < s.size();) {
    const size_t end = std::min(s.find(u' ', i), s.size());
    const u16string word = s.substr(i, end - i);
    i = end + 1;
    if (!lines.back().empty() && lines.back().size() + 1 + word.size() > width) lines.emplace_back();
    lines.back() += (lines.back().empty() ? u"" : u" ") + word;
  }
  return lines;
}

class ListMaker {
 public:
  explicit ListMaker(unsigned seed) : m_random(seed) {}

  Made Make(const std::vector<Labelled>& refs) {
    Made m;
    // Mostly whole pages of a bibliography, sometimes a few references.
    const size_t count = Chance(0.2) ? Pick(2, 9) : Pick(10, 60);
    const int numbering = m.numbering = static_cast<int>(Pick(0, 5));
    const bool oneALine = Chance(0.2);
    const size_t width = Pick(45, 110);
    // Lines broken by hand or by a viewer that keeps no column: each one
    // ends anywhere short of the width.
    m_ragged = Chance(0.15);
    // Lines set in a proportional font and read back from a PDF: as wide
    // on the page, so of more or fewer characters, and hyphenated often.
    m_typeset = !m_ragged && Chance(0.3);
    m.layout = oneALine ? 1 : m_ragged ? 2 : m_typeset ? 3 : 0;
    const bool blankBetween = Chance(0.3);
    const u16string eol = Chance(0.2) ? u"\r\n" : u"\n";
    const size_t pageLines = Pick(25, 60);
    const int pageKind = static_cast<int>(Pick(0, 3));  // number, running head + number, form feed, none
    const u16string head = u"Journal of Geothermal Research " + Number(Pick(10, 99)) + u" (20" + Number(Pick(10, 23)) + u")";
    size_t linesOnPage = 0, page = Pick(2, 300);
    if (Chance(0.5)) {
      static const std::vector<u16string> kHeadings = {u"References", u"REFERENCES", u"Bibliography", u"Literature Cited",
                                                       u"Works Cited", u"7. References", u"Literatur"};
      m.text += kHeadings[Pick(0, kHeadings.size() - 1)] + eol;
      if (Chance(0.5)) m.text += eol;
    }
    const size_t first = Chance(0.8) ? 1 : Pick(2, 120);
    for (size_t k = 0; k < count; ++k) {
      const size_t which = Pick(0, refs.size() - 1);
      u16string ref = refs[which].text;
      const u16string n = Number(first + k);
      switch (numbering) {
        case 1: ref = u"[" + n + u"] " + ref; break;
        case 2: ref = n + u". " + ref; break;
        case 3: ref = n + u") " + ref; break;
        case 4: ref = u"(" + n + u") " + ref; break;
        case 5: ref = n + u" " + ref; break;
        default: break;
      }
      if (k > 0 && blankBetween) m.text += eol;
      const std::vector<u16string> lines = oneALine ? std::vector<u16string>{ref} : Wrap(ref, width);
      size_t begin = 0;
      for (size_t l = 0; l < lines.size(); ++l) {
        if (l == 0) begin = m.text.size();
        m.text += lines[l];
        const size_t end = m.text.size();
        m.text += eol;
        if (l + 1 == lines.size()) {
          m.references.push_back({begin, end});
          m.source.push_back(which);
        }
        if (++linesOnPage >= pageLines && pageKind != 3) {
          linesOnPage = 0;
          ++page;
          if (pageKind == 0) m.text += Number(page) + eol;
          if (pageKind == 1) m.text += Number(page) + eol + head + eol;
          if (pageKind == 2) m.text += u"\f";
        }
      }
    }
    return m;
  }

 private:
  size_t Pick(size_t lo, size_t hi) { return std::uniform_int_distribution<size_t>(lo, hi)(m_random); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(m_random); }
  static u16string Number(size_t n) { return DecodeText(std::to_string(n)); }

  // How wide a text is, in tenths of an average character: its length,
  // or in a proportional font, narrow and wide letters told apart.
  size_t Measure(const u16string& s) const {
    if (!m_typeset) return s.size() * 10;
    size_t w = 0;
    for (char16_t c : s) {
      if (u16string_view(u" .,;:'()[]|!ilIjtf1").find(c) != u16string_view::npos) w += 5;
      else if (u16string_view(u"mwMW@%").find(c) != u16string_view::npos) w += 15;
      else if (c >= u'A' && c <= u'Z') w += 13;
      else w += 10;
    }
    return w;
  }

  // Lines of at most `width` characters (a longer word alone), some long
  // words broken with a hyphen at the line end.
  std::vector<u16string> Wrap(const u16string& s, size_t width) {
    std::vector<u16string> lines(1);
    if (m_ragged) m_lineWidth = Pick(20, width);
    size_t i = 0;
    while (i < s.size()) {
      const size_t end = std::min(s.find(u' ', i), s.size());
      u16string word = s.substr(i, end - i);
      i = end + 1;
      u16string& line = lines.back();
      if (line.empty() || Measure(line) + Measure(u" " + word) <= (m_ragged ? m_lineWidth : width) * 10) {
        if (!line.empty()) line += u' ';
        line += word;
        continue;
      }
      const size_t used = (Measure(line) + 19) / 10;
      const size_t room = width > used ? width - used : 0;
      if (word.size() >= (m_typeset ? 6u : 8u) && room >= 4 && Chance(m_typeset ? 0.6 : 0.3)) {
        const size_t cut = std::min(room - 1, word.size() - 3);
        line += u' ' + word.substr(0, cut) + u'-';
        word = word.substr(cut);
      }
      lines.push_back(word);
      if (m_ragged) m_lineWidth = Pick(20, width);
    }
    return lines;
  }

  std::mt19937 m_random;
  bool m_ragged = false;
  bool m_typeset = false;
  size_t m_lineWidth = 0;  // the width of this line, when ragged
};

// Lists to be typeset: groff ms documents of references, each with a file
// of what it holds (one reference a line, its number as printed in front),
// so that a PDF made of it and read back by an extractor can be scored.
// Only references whose characters the standard PostScript fonts hold.
bool Typesettable(const u16string& s) {
  for (char16_t c : s)
    if (!(c >= 0x20 && c < 0x7f) && !(c >= 0xc0 && c <= 0xff && c != 0xd7 && c != 0xf7) &&
        u16string_view(u"\u2013\u2014\u2018\u2019\u201c\u201d").find(c) == u16string_view::npos)
      return false;
  return true;
}

// A line of text as groff input: a backslash printed as itself, a line
// that would open with a request or a control character kept as text.
std::string RoffText(const u16string& s) {
  std::string out = "\\&";
  for (char c : EncodeUtf8(s)) {
    if (c == '\\') out += "\\e";
    else out += c;
  }
  return out;
}

int WriteRoff(const std::vector<Labelled>& all, size_t lists, unsigned seed, const std::string& dir) {
  std::vector<const Labelled*> refs;
  for (const Labelled& r : all)
    if (Typesettable(r.text)) refs.push_back(&r);
  std::mt19937 random(seed);
  const auto pick = [&](size_t lo, size_t hi) { return std::uniform_int_distribution<size_t>(lo, hi)(random); };
  for (size_t l = 0; l < lists; ++l) {
    const int numbering = static_cast<int>(pick(0, 4));
    const bool twoColumns = pick(0, 1) == 1;
    std::string doc = ".nr PS " + std::to_string(pick(8, 11)) + "\n.nr VS " + std::to_string(pick(10, 13)) + "\n";
    // Running heads, as journals print them; ms prints none on page one.
    doc += ".ds LH Journal of Geothermal Research " + std::to_string(pick(10, 99)) + " (20" + std::to_string(pick(10, 23)) + ")\n";
    doc += pick(0, 1) ? ".ds CH\n.ds RH %\n" : ".ds CH\n.ds RH\n.ds CF %\n";
    if (twoColumns) doc += ".2C\n";
    if (pick(0, 1)) doc += ".SH\nReferences\n";
    std::string truth;
    const size_t count = pick(15, 60);
    for (size_t k = 0; k < count; ++k) {
      const Labelled& ref = *refs[pick(0, refs.size() - 1)];
      const std::string n = std::to_string(k + 1);
      const std::string label = numbering == 1 ? "[" + n + "]" : numbering == 2 ? n + "." : numbering == 3 ? n + ")" : numbering == 4 ? "(" + n + ")" : "";
      doc += label.empty() ? ".XP\n" : ".IP " + label + " 4n\n";
      doc += RoffText(ref.text) + "\n";
      truth += (label.empty() ? "" : label + " ") + EncodeUtf8(ref.text) + "\n";
    }
    const std::string name = dir + "/list" + std::to_string(l);
    std::ofstream(name + ".ms", std::ios::binary) << doc;
    std::ofstream(name + ".truth", std::ios::binary) << truth;
  }
  return 0;
}

// What is left of a reference's text to compare, whatever an extractor did
// to it: its letters and digits, small, ligatures spelt out.
std::string Letters(const u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c < 0x80) {
      if (std::isalnum(static_cast<unsigned char>(c))) out += static_cast<char>(std::tolower(c));
    } else if (c >= 0xfb00 && c <= 0xfb04) {
      static const char* const kLigatures[] = {"ff", "fi", "fl", "ffi", "ffl"};
      out += kLigatures[c - 0xfb00];
    } else if (c >= 0xc0 && c <= 0xff) {
      out += EncodeUtf8(u16string(1, c));
    }
  }
  return out;
}

// Scores the finder on the text an extractor made of each typeset list
// (listN.txt beside listN.truth): a reference counts when a record holds
// its letters and digits exactly.
int Score(const std::string& dir, size_t show) {
  size_t truthCount = 0, found = 0, right = 0, shown = 0, lists = 0;
  for (size_t l = 0;; ++l) {
    const std::string name = dir + "/list" + std::to_string(l);
    std::ifstream textFile(name + ".txt", std::ios::binary), truthFile(name + ".truth", std::ios::binary);
    if (!textFile || !truthFile) break;
    ++lists;
    const u16string text = DecodeText(std::string(std::istreambuf_iterator<char>(textFile), {}));
    // Each reference with its number, and without it: an extractor may
    // read the numbers as a column apart, and then they are left out.
    std::vector<std::string> truth, unnumbered;
    for (std::string line; std::getline(truthFile, line);) {
      truth.push_back(Letters(DecodeText(line)));
      const size_t space = line.find(' ');
      const bool label = space != std::string::npos && space > 0 &&
                         line.find_first_not_of("0123456789.()[]") == space;
      unnumbered.push_back(label ? Letters(DecodeText(line.substr(space + 1))) : truth.back());
    }
    truthCount += truth.size();
    const FoundReferences f = FindReferences(text);
    found += f.references.size();
    size_t t = 0;
    for (const FoundReference& r : f.references) {
      const u16string piece = r.Text(text);
      const std::string letters = Letters(piece);
      size_t at = t;
      while (at < truth.size() && truth[at] != letters && unnumbered[at] != letters) ++at;
      if (at < truth.size()) {
        ++right;
        t = at + 1;
      } else if (shown < show) {
        ++shown;
        std::printf("---- %s: found\n%s\n", name.c_str(), EncodeUtf8(piece).c_str());
      }
    }
  }
  if (lists == 0) return std::fprintf(stderr, "reference_lists: no listN.txt with listN.truth in %s\n", dir.c_str()), 1;
  const double precision = found ? double(right) / double(found) : 0, recall = double(right) / double(truthCount);
  std::printf("typeset lists %zu, references %zu, found %zu, right %zu\n", lists, truthCount, found, right);
  std::printf("boundaries: precision %.2f%%, recall %.2f%%, F1 %.2f%%\n", 100 * precision, 100 * recall,
              precision + recall > 0 ? 200 * precision * recall / (precision + recall) : 0.0);
  return 0;
}

// The fifth of the references --train never sees.
bool HeldOut(size_t index) { return index % 5 == 4; }

struct Example {
  std::vector<uint16_t> features;
  int truth;  // +1 a reference starts here, -1 not
};

int Train(const std::vector<Labelled>& refs, size_t lists, unsigned seed, const std::string& out) {
  ListMaker maker(seed);
  std::vector<Example> examples;
  for (size_t l = 0; l < lists; ++l) {
    const Made m = maker.Make(refs);
    std::set<size_t> starts;
    for (const auto& r : m.references) starts.insert(r.first);
    FindReferences(m.text, [&](size_t begin, std::span<const uint16_t> features) {
      const bool truth = starts.count(begin) > 0;
      examples.push_back({{features.begin(), features.end()}, truth ? 1 : -1});
      return truth;
    });
  }
  // Averaged perceptron: w the weights, u the updates weighted by when
  // they came, so that the average over all steps is w - u / c.
  std::vector<int64_t> w(kStartFeatures), u(kStartFeatures);
  int64_t c = 1;
  std::mt19937 order(seed);
  std::vector<size_t> index(examples.size());
  for (size_t k = 0; k < index.size(); ++k) index[k] = k;
  constexpr int kEpochs = 20;
  for (int epoch = 0; epoch < kEpochs; ++epoch) {
    // Fisher–Yates with the generator's raw output, the same on every
    // standard library.
    for (size_t k = index.size(); k > 1; --k) std::swap(index[k - 1], index[order() % k]);
    size_t wrong = 0;
    for (size_t k : index) {
      const Example& e = examples[k];
      int64_t score = 0;
      for (uint16_t f : e.features) score += w[f];
      if ((score > 0 ? 1 : -1) != e.truth) {
        ++wrong;
        for (uint16_t f : e.features) w[f] += e.truth, u[f] += c * e.truth;
      }
      ++c;
    }
    std::fprintf(stderr, "epoch %d: %zu of %zu decisions wrong\n", epoch + 1, wrong, examples.size());
  }
  // The average, scaled to keep a tenth of a step, in 16 bits.
  std::string text = "// Made by reference_lists --train (" + std::to_string(lists) + " lists, seed " + std::to_string(seed) +
                     "); do not edit.\nconstexpr int16_t kStartWeights[] = {";
  for (size_t f = 0; f < w.size(); ++f) {
    const int64_t average = (w[f] * c - u[f]) * 10 / c;
    const int64_t clamped = std::clamp<int64_t>(average, INT16_MIN, INT16_MAX);
    text += (f % 16 == 0 ? "\n    " : " ") + std::to_string(clamped) + ",";
  }
  text += "\n};\n";
  std::ofstream file(out, std::ios::binary);
  file << text;
  if (!file.flush()) {
    std::fprintf(stderr, "reference_lists: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) == "--help") {
    std::puts("usage: reference_lists DATA_DIR [--lists N] [--seed S] [--write DIR] [--show N] [--held-out]\n"
              "       reference_lists DATA_DIR --train WEIGHTS [--lists N] [--seed S]\n"
              "       reference_lists DATA_DIR --roff DIR [--lists N] [--seed S] [--held-out]\n"
              "       reference_lists - --score DIR [--show N]");
    return argc < 2 ? 2 : 0;
  }
  size_t lists = 200;
  unsigned seed = 20261208;
  std::string writeTo, trainTo, roffTo, scoreIn;
  bool heldOut = false;
  size_t show = 0, shown = 0;  // references found wrongly, to print
  for (int a = 2; a < argc; a += 2) {
    const std::string option = argv[a];
    if (option == "--held-out") {
      heldOut = true;
      --a;
      continue;
    }
    if (a + 1 == argc) {
      std::fprintf(stderr, "reference_lists: %s wants a value\n", option.c_str());
      return 2;
    }
    if (option == "--train") trainTo = argv[a + 1];
    else if (option == "--lists") lists = std::stoul(argv[a + 1]);
    else if (option == "--seed") seed = static_cast<unsigned>(std::stoul(argv[a + 1]));
    else if (option == "--write") writeTo = argv[a + 1];
    else if (option == "--show") show = std::stoul(argv[a + 1]);
    else if (option == "--roff") roffTo = argv[a + 1];
    else if (option == "--score") scoreIn = argv[a + 1];
    else {
      std::fprintf(stderr, "reference_lists: unknown option %s\n", option.c_str());
      return 2;
    }
  }
  if (!scoreIn.empty()) return Score(scoreIn, show);
  std::vector<Labelled> refs;
  {
    std::vector<Labelled> all = Load(argv[1]);
    for (size_t k = 0; k < all.size(); ++k) {
      const bool keep = !trainTo.empty() ? !HeldOut(k) : !heldOut || HeldOut(k);
      if (keep) refs.push_back(std::move(all[k]));
    }
  }
  if (refs.empty()) {
    std::fprintf(stderr, "reference_lists: no references in %s\n", argv[1]);
    return 1;
  }
  if (!trainTo.empty()) return Train(refs, lists, seed, trainTo);
  if (!roffTo.empty()) return WriteRoff(refs, lists, seed, roffTo);
  const smart::Dictionary dictionary;
  ListMaker maker(seed);
  size_t truth = 0, found = 0, right = 0, titles = 0, titlesAlone = 0, titled = 0;
  size_t byNumbering[6][3] = {};  // references made, found, found right
  size_t byLayout[2][4][3] = {};  // the same, numbered or not, by layout
  for (size_t l = 0; l < lists; ++l) {
    const Made m = maker.Make(refs);
    if (!writeTo.empty()) {
      std::ofstream(writeTo + "/list" + std::to_string(l) + ".txt", std::ios::binary) << EncodeUtf8(m.text);
    }
    const FoundReferences f = FindReferences(m.text);
    truth += m.references.size();
    found += f.references.size();
    byNumbering[m.numbering][0] += m.references.size();
    byNumbering[m.numbering][1] += f.references.size();
    auto& layout = byLayout[m.numbering != 0][m.layout];
    layout[0] += m.references.size();
    layout[1] += f.references.size();
    for (size_t k = 0; k < m.references.size(); ++k) {
      const Labelled& source = refs[m.source[k]];
      const bool hasTitle = !training::Normal(source.title).empty();
      titled += hasTitle;
      if (!hasTitle) continue;
      const Reference alone = Parse(source.text, dictionary);
      titlesAlone += training::Normal(Trimmed(alone.Text(alone.title), true)) == training::Normal(source.title);
    }
    // Both lists are in order: walk them side by side.
    size_t t = 0;
    for (const FoundReference& r : f.references) {
      size_t first = r.lines.front().begin, last = r.lines.back().end;
      while (first < last && (m.text[first] == u' ' || m.text[first] == u'\t')) ++first;
      while (last > first && std::u16string_view(u"\r\n\f \t").find(m.text[last - 1]) != std::u16string_view::npos) --last;
      while (t < m.references.size() && m.references[t].first < first) ++t;
      if (t == m.references.size() || m.references[t] != std::pair{first, last}) {
        if (shown < show) {
          ++shown;
          std::printf("---- list %zu (%s, %s): found\n%s\n", l, kNumberings[m.numbering], kLayouts[m.layout], EncodeUtf8(r.Text(m.text)).c_str());
          if (t < m.references.size())
            std::printf("-- expected\n%s\n", EncodeUtf8(m.text.substr(m.references[t].first, m.references[t].second - m.references[t].first)).c_str());
        }
        continue;
      }
      ++right;
      ++byNumbering[m.numbering][2];
      ++layout[2];
      const Labelled& source = refs[m.source[t]];
      if (!training::Normal(source.title).empty()) {
        const Reference parsed = Parse(r.Text(m.text), dictionary);
        titles += training::Normal(Trimmed(parsed.Text(parsed.title), true)) == training::Normal(source.title);
      }
    }
  }
  const double precision = found ? double(right) / double(found) : 0, recall = double(right) / double(truth);
  std::printf("lists %zu, references %zu, found %zu, right %zu\n", lists, truth, found, right);
  std::printf("boundaries: precision %.2f%%, recall %.2f%%, F1 %.2f%%\n", 100 * precision, 100 * recall,
              200 * precision * recall / (precision + recall));
  for (int n = 0; n < 6; ++n) {
    const auto& [made, got, ok] = byNumbering[n];
    if (made == 0) continue;
    std::printf("  numbered %-4s F1 %.2f%% (%zu references)\n", kNumberings[n], 200.0 * double(ok) / double(made + got), made);
  }
  for (int numbered = 0; numbered < 2; ++numbered)
    for (int k = 0; k < 4; ++k) {
      const auto& [made, got, ok] = byLayout[numbered][k];
      if (made == 0) continue;
      std::printf("  %s, %-10s F1 %.2f%% (%zu references)\n", numbered ? "numbered  " : "unnumbered", kLayouts[k],
                  200.0 * double(ok) / double(made + got), made);
    }
  std::printf("exact titles: %.2f%% in lists, %.2f%% of the same references parsed alone\n",
              100.0 * double(titles) / double(titled), 100.0 * double(titlesAlone) / double(titled));
  // One reference pasted alone, wrapped: it stays one.
  size_t singles = 0, split = 0;
  for (size_t k = 0; k < refs.size() && k < 300 * 7; k += 7)
    for (size_t width : {45, 70, 100}) {
      u16string text;
      for (const u16string& line : WrapAt(refs[k].text, width)) text += (text.empty() ? u"" : u"\n") + line;
      ++singles;
      const FoundReferences pieces = FindReferences(text);
      const bool apart = pieces.references.size() != 1;
      split += apart;
      if (apart && show > 0) {
        std::printf("---- single reference found as more than one\n");
        for (const auto& r : pieces.references) std::printf("%s\n--\n", EncodeUtf8(r.Text(text)).c_str());
      }
    }
  std::printf("single references wrapped at 45, 70 and 100 columns: %zu of %zu found as more than one\n", split, singles);
  return 0;
}
