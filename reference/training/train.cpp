// Trains the reference model on labelled references and measures it.
//
//   reference_train DATA... MODEL_OUT            train on everything, write the model
//   reference_train DATA... --folds K [--epochs E]   K-fold cross-validation
//
// Each DATA is a folder of XML files, or one XML file, of <sequence>
// elements whose children are the reference's parts in order (<author>,
// <title>, ...). Data after --also is learnt from and never measured: in
// cross-validation a fold leaves out of its training every such reference
// whose title is one of the fold's own (they are the same works written out
// again by citation styles).
#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "io/encoding.h"
#include "reference/features.h"
#include "reference/model.h"
#include "reference/parser.h"
#include "smart/dictionary.h"
#include "reference/scoring.h"
#include "reference/training/labelled.h"
#include "reference/span.h"
#include "reference/tokens.h"
#include "reference/viterbi.h"
#include "text/lexicon.h"
#include "text/text.h"

namespace {

using namespace tf;
using namespace tf::reference;

struct Example {
  std::u16string text;
  std::vector<Token> tokens;
  std::vector<Label> labels;
  Analysis analysis;
  TokenFeatures features;
  const TokenFeatures* use = &features;
  std::u16string title, authors, year;  // the expected fields (empty: not scored)
  training::LabelledReference parts;
  bool measured = true;  // false: learnt from, never measured (--also)
};

std::vector<Example> Load(const std::vector<std::string>& paths) {
  std::vector<Example> out;
  std::vector<training::LabelledReference> all;
  for (const std::string& path : paths) {
    auto some = training::LoadLabelled(path, "reference_train");
    all.insert(all.end(), std::make_move_iterator(some.begin()), std::make_move_iterator(some.end()));
  }
  for (const training::LabelledReference& parts : all) {
    Example ex;
    bool sawDate = false;
    for (const training::Part& part : parts) {
      const size_t label = LabelOfTag(part.tag);
      if (!ex.text.empty()) ex.text += u' ';
      const size_t begin = ex.text.size();
      ex.text += part.text;
      for (size_t k = Tokenize(std::u16string_view(ex.text).substr(begin)).size(); k > 0; --k)
        ex.labels.push_back(static_cast<Label>(label == kLabels ? static_cast<size_t>(Label::Note) : label));
      if (part.tag == "title" && ex.title.empty()) ex.title = part.text.empty() ? u" " : part.text;
      if (part.tag == "author" && ex.authors.empty()) ex.authors = part.text.empty() ? u" " : part.text;
      if (part.tag == "date" && !sawDate) sawDate = true, ex.year = FirstYear(part.text);
    }
    ex.parts = parts;
    ex.tokens = Tokenize(ex.text);
    if (ex.tokens.size() != ex.labels.size()) continue;
    ex.analysis = Analyse(ex.tokens);
    ex.features = Features(ex.analysis);
    out.push_back(std::move(ex));
  }
  return out;
}

// The model while it learns: an averaged perceptron.
struct Weights {
  std::vector<float> w, u;  // weights, and their sum over time for the average
  std::array<std::array<float, kLabels>, kLabels + 1> t{}, tu{};
  long c = 1;
  Weights() : w(size_t{kFeatureBuckets} * kLabels, 0), u(w.size(), 0) {}

  // The tokens tagged as the program tags them, with these weights.
  reference::Look Tag(const Example& ex) const {
    return reference::Tag(ex.analysis, *ex.use, w.data(), 1.0f, [this](size_t x, size_t y) { return t[x][y]; });
  }
  void Update(const Example& ex, const std::vector<Label>& guess) {
    for (size_t i = 0; i < guess.size(); ++i) {
      const auto g = static_cast<size_t>(ex.labels[i]), p = static_cast<size_t>(guess[i]);
      const size_t gx = i ? static_cast<size_t>(ex.labels[i - 1]) : kLabels;
      const size_t px = i ? static_cast<size_t>(guess[i - 1]) : kLabels;
      if (g != p) {
        for (auto f = ex.use->first[i]; f < ex.use->first[i + 1]; ++f) {
          const size_t b = size_t{ex.use->features[f]} * kLabels;
          w[b + g] += 1, u[b + g] += static_cast<float>(c);
          w[b + p] -= 1, u[b + p] -= static_cast<float>(c);
        }
      }
      if (g != p || gx != px) {
        t[gx][g] += 1, tu[gx][g] += static_cast<float>(c);
        t[px][p] -= 1, tu[px][p] -= static_cast<float>(c);
      }
    }
    ++c;
  }
  void Average() {
    for (size_t k = 0; k < w.size(); ++k) w[k] -= u[k] / static_cast<float>(c);
    for (size_t x = 0; x <= kLabels; ++x)
      for (size_t y = 0; y < kLabels; ++y) t[x][y] -= tu[x][y] / static_cast<float>(c);
  }
};

Weights Train(const std::vector<const Example*>& data, int epochs) {
  Weights m;
  std::vector<const Example*> order = data;
  std::mt19937 rng(42);
  for (int e = 0; e < epochs; ++e) {
    std::shuffle(order.begin(), order.end(), rng);
    for (const Example* ex : order) {
      const auto guess = m.Tag(*ex).labels;
      if (guess != ex->labels) m.Update(*ex, guess);
      else ++m.c;
    }
  }
  m.Average();
  return m;
}

// The second look at the title and the authors: an averaged perceptron
// that ranks candidate spans.
struct Ranker {
  std::vector<float> w, u;
  long c = 1;
  Ranker() : w(kFeatureBuckets, 0), u(kFeatureBuckets, 0) {}

  void Update(const std::vector<std::uint32_t>& good, const std::vector<std::uint32_t>& bad) {
    for (auto k : good) w[k] += 1, u[k] += static_cast<float>(c);
    for (auto k : bad) w[k] -= 1, u[k] -= static_cast<float>(c);
  }
  void Average() {
    for (size_t k = 0; k < w.size(); ++k) w[k] -= u[k] / static_cast<float>(c);
  }
};

constexpr Label kRanked[] = {Label::Title, Label::Author, Label::Journal, Label::Container};

Span GoldSpan(const Example& ex, Label field) {
  size_t i = 0;
  while (i < ex.labels.size() && ex.labels[i] != field) ++i;
  if (i == ex.labels.size()) return {SIZE_MAX, SIZE_MAX};
  size_t j = i;
  while (j + 1 < ex.labels.size() && ex.labels[j + 1] == field) ++j;
  return {i, j};
}

// What a token model made of an example.
using Guess = reference::Look;

Guess Look(const Weights& m, const Example& ex) { return m.Tag(ex); }

const std::vector<float>& MarginsOf(const Guess& guess, Label field) { return guess.Margins(field); }

// The span the ranker chooses, as the program chooses it.
Span Choose(const Ranker& r, const Example& ex, const Guess& guess, Label field) {
  return ChooseSpan(ex.analysis, guess, field, r.w.data()).value_or(Span{SIZE_MAX, SIZE_MAX});
}

// The span chooser learns from far fewer decisions than the labeller and
// fits them sooner: half the passes measure better (title 81.20% with as
// many as the labeller's, 81.38% with half, 81.35% with a quarter).
int RankerEpochs(int epochs) { return std::max(1, epochs / 2); }

Ranker TrainRanker(const std::vector<const Example*>& data, const std::vector<Guess>& guesses, int epochs) {
  Ranker r;
  std::vector<size_t> order(data.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::mt19937 rng(7);
  std::vector<std::uint32_t> good, bad;
  for (int e = 0; e < epochs; ++e) {
    std::shuffle(order.begin(), order.end(), rng);
    for (const size_t i : order) {
      for (const Label field : kRanked) {
        const Example& ex = *data[i];
        const auto candidates = SpanCandidates(ex.analysis, guesses[i].labels, field);
        const auto& margins = MarginsOf(guesses[i], field);
        const Span gold = GoldSpan(ex, field);
        if (candidates.empty() || std::find(candidates.begin(), candidates.end(), gold) == candidates.end()) continue;
        const Span chosen = Choose(r, ex, guesses[i], field);
        if (!(chosen == gold)) {
          good.clear(), bad.clear();
          SpanFeatures(ex.analysis, guesses[i].labels, margins, field, candidates[0], gold, good);
          SpanFeatures(ex.analysis, guesses[i].labels, margins, field, candidates[0], chosen, bad);
          r.Update(good, bad);
        }
        ++r.c;
      }
    }
  }
  r.Average();
  return r;
}

// Labels for every example from models that never saw it.
std::vector<Guess> OutOfFold(const std::vector<const Example*>& data, int parts, int epochs) {
  std::vector<Guess> out(data.size());
  for (int p = 0; p < parts; ++p) {
    std::vector<const Example*> train;
    for (size_t i = 0; i < data.size(); ++i)
      if (static_cast<int>(i % static_cast<size_t>(parts)) != p) train.push_back(data[i]);
    const Weights m = Train(train, epochs);
    for (size_t i = 0; i < data.size(); ++i)
      if (static_cast<int>(i % static_cast<size_t>(parts)) == p) out[i] = Look(m, *data[i]);
  }
  return out;
}

std::u16string SpanText(const Example& ex, const Span& s) {
  if (s.first == SIZE_MAX) return {};
  return ex.text.substr(ex.tokens[s.first].begin, ex.tokens[s.last].end - ex.tokens[s.first].begin);
}

// The weights as the program holds them: a byte each.
void Quantize(std::vector<float>& w) {
  const float scale = Model::WeightScale(w);
  for (float& x : w) x = std::round(x / scale) * scale;
}


std::u16string FirstRun(const Example& ex, const std::vector<Label>& labels, Label want) {
  size_t i = 0;
  while (i < labels.size() && labels[i] != want) ++i;
  if (i == labels.size()) return {};
  size_t j = i;
  while (j < labels.size() && labels[j] == want) ++j;
  return ex.text.substr(ex.tokens[i].begin, ex.tokens[j - 1].end - ex.tokens[i].begin);
}

// What the tool was asked, from its arguments.
struct Request {
  std::vector<std::string> data;  // the labelled references
  std::vector<std::string> also;  // learnt from, never measured
  std::string model;              // where the model goes
  int folds = 0, epochs = 15;
  bool rank = true;          // the span chooser on (--no-rank: the labels' first run)
  bool rankFit = false;      // how well the chooser fits its own training data
  bool oracle = false;       // whether any candidate span was right, reference by reference
  bool showRank = false;     // with --oracle: the references the chooser got wrong
  bool titleStats = false;   // how each wrong title was wrong (short, long, ...)
  std::string showKind;      // with --title-stats: the references wrong in this way
  bool showTitles = false;   // the first fold's wrong titles, token by token
  std::string showField;     // the misses of this field of the whole parser (container, kind)
};

constexpr const char* kUsage =
    "usage: reference_train DATA... [--also DATA]... MODEL_OUT [--epochs E]\n"
    "       reference_train DATA... [--also DATA]... --folds K [--epochs E] [measuring flags]\n"
    "\n"
    "Trains the reference model on the labelled references in each DATA (a folder\n"
    "of .xml files, or one) and writes it to MODEL_OUT; or, with --folds, measures\n"
    "it by K-fold cross-validation: the share of tokens labelled right and of\n"
    "references whose title, authors and year the labeller gets right; then, each\n"
    "reference read by the whole parser with its fold's model, the share whose\n"
    "title, author segment, family names, year, container, volume, issue, first\n"
    "page and kind of work come out right.\n"
    "\n"
    "  --also DATA       learn from DATA too, but never measure on it; a fold\n"
    "                    leaves out those of its references whose title it measures\n"
    "  --epochs E        passes over the data (default 15)\n"
    "  --no-rank         measure the labels' first run instead of the span chooser\n"
    "  --rank-fit        print how well the chooser fits its own training data\n"
    "  --oracle          print, per reference, whether any candidate title was right\n"
    "  --show-rank       with --oracle: print the titles the chooser missed\n"
    "  --title-stats     print how each wrong title was wrong\n"
    "  --show-kind KIND  with --title-stats: print the titles wrong in that way\n"
    "                    (none, short, long, late-start, early-start, other)\n"
    "  --show-titles     print the first fold's wrong titles, token by token\n"
    "  --show-field F    print what the whole parser got wrong in field F\n"
    "                    (title, container, volume, kind, families)\n"
    "  --help            this text\n";

// Reads the arguments; nullopt (after a message) when they make no sense.
std::optional<Request> ReadFlags(int argc, char** argv) {
  Request f;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return std::string(argv[++i]);
    };
    if (a == "--help") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    } else if (a == "--folds" || a == "--epochs" || a == "--show-kind" || a == "--show-field" || a == "--also") {
      const auto v = value();
      if (!v) return std::fprintf(stderr, "reference_train: %s needs a value\n", a.c_str()), std::nullopt;
      if (a == "--also") f.also.push_back(*v);
      else if (a == "--show-kind") f.showKind = *v;
      else if (a == "--show-field") f.showField = *v;
      else (a == "--folds" ? f.folds : f.epochs) = std::atoi(v->c_str());
    } else if (a == "--no-rank") {
      f.rank = false;
    } else if (a == "--rank-fit") {
      f.rankFit = true;
    } else if (a == "--oracle") {
      f.oracle = true;
    } else if (a == "--show-rank") {
      f.showRank = true;
    } else if (a == "--title-stats") {
      f.titleStats = true;
    } else if (a == "--show-titles") {
      f.showTitles = true;
    } else if (a.starts_with("--")) {
      return std::fprintf(stderr, "reference_train: unknown option %s\n%s", a.c_str(), kUsage), std::nullopt;
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() < (f.folds > 1 ? 1u : 2u) || f.epochs < 1) return std::fputs(kUsage, stderr), std::nullopt;
  if (f.folds <= 1) f.model = positional.back(), positional.pop_back();
  f.data = positional;
  return f;
}


// ---- the fields the whole parser gives ---------------------------------------------

// The first labelled part with one of these tags.
std::u16string PartText(const Example& ex, std::initializer_list<std::string_view> tags) {
  for (const training::Part& p : ex.parts)
    for (std::string_view t : tags)
      if (p.tag == t) return p.text;
  return {};
}

bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The first run of digits in `s` from `from`, or of letters and digits
// starting with a digit or "e" (an article number).
std::u16string FirstNumber(std::u16string_view s, size_t from = 0) {
  for (size_t i = from; i < s.size(); ++i) {
    if (!IsAsciiDigit(s[i])) continue;
    size_t j = i;
    while (j < s.size() && IsAsciiDigit(s[j])) ++j;
    return std::u16string(s.substr(i, j - i));
  }
  return {};
}

// The kind of work the labels say: a thesis by its genre, an article by
// its journal, a paper or chapter by the book it is in, a report by its
// genre, a book by its publisher or place, a web page by a link alone.
Type LabelledKind(const Example& ex) {
  const std::u16string genre = LCase(PartText(ex, {"genre"})) + u" " + LCase(PartText(ex, {"note"}));
  const auto has = [&](std::u16string_view w) { return genre.find(w) != std::u16string::npos; };
  if (has(u"thesis") || has(u"dissertation") || has(u"ph.d") || has(u"phd") || has(u"master")) return Type::Thesis;
  if (!PartText(ex, {"journal"}).empty()) return Type::Article;
  // With no title labelled, a "container-title" is the work's own title.
  const std::u16string container = ex.title.empty() ? std::u16string() : LCase(PartText(ex, {"container-title"}));
  if (!container.empty()) {
    for (std::u16string_view w : lexicon::kMeetingWords)
      if (container.find(w) != std::u16string::npos) return Type::Paper;
    return Type::Chapter;
  }
  if (has(u"report")) return Type::Report;
  // A title with its publisher, or its place alone ("Robert Redfield,
  // Peasant Society and Culture, Chicago, 1956.").
  const bool titled = !ex.title.empty() || !PartText(ex, {"container-title"}).empty();
  if (!PartText(ex, {"publisher"}).empty() || (!PartText(ex, {"location"}).empty() && titled))
    return Type::Book;
  if (!PartText(ex, {"url"}).empty()) return Type::Web;
  return Type::Other;
}

struct Score {
  int scored = 0, right = 0;
  void Add(bool ok) { ++scored, right += ok; }
};
struct FieldScores {
  Score title, authors, families, year, container, volume, issue, page, kind;
  // The same read as a user reads the record: the names at the head whatever
  // role "(dir.)" gives them, and a container label with no title beside it
  // taken for the work's own title, where the record prints it.
  Score headNames, containerAsRead;
  std::string show;  // the field whose misses to print
};

void ShowMiss(const FieldScores& s, const char* field, const Example& ex, std::u16string_view got,
              std::u16string_view want) {
  if (s.show != field) return;
  std::printf("GOT  %s\nWANT %s\nFULL %s\n\n", EncodeUtf8(got).c_str(), EncodeUtf8(want).c_str(),
              EncodeUtf8(ex.text).c_str());
}

std::u16string KindName(Type t) {
  static constexpr std::array<std::u16string_view, 10> kNames = {u"article", u"chapter", u"paper", u"book", u"thesis",
                                                                u"report", u"web", u"dataset", u"standard", u"other"};
  return std::u16string(kNames[static_cast<size_t>(t)]);
}

std::vector<std::u16string> Families(const std::vector<Person>& people) {
  std::vector<std::u16string> out;
  for (const Person& p : people) out.push_back(training::Normal(p.literal.empty() ? p.family : p.literal));
  return out;
}

// One reference as the whole parser reads it, against its labels; a field
// counts where the labels give it.
void ScoreFields(const Example& ex, const Reference& r, FieldScores& s) {
  using training::Normal;
  if (!ex.title.empty()) {
    const std::u16string got = Trimmed(r.Text(r.title), true);
    s.title.Add(Normal(got) == Normal(ex.title));
    if (Normal(got) != Normal(ex.title)) ShowMiss(s, "title", ex, got, ex.title);
  }
  if (const std::u16string authors = PartText(ex, {"author"}); !authors.empty()) {
    s.authors.Add(Normal(r.Text(r.authors)) == Normal(authors));
    if (Normal(r.Text(r.authors)) != Normal(authors)) ShowMiss(s, "authors", ex, r.Text(r.authors), authors);
    bool more = false;
    const std::vector<std::u16string> got = Families(r.authorList), want = Families(Names(authors, more));
    s.families.Add(got == want);
    const auto joined = [](const std::vector<std::u16string>& names) {
      std::u16string out;
      for (const auto& n : names) out += (out.empty() ? u"" : u" | ") + n;
      return out;
    };
    if (got != want) ShowMiss(s, "families", ex, joined(got), joined(want));
    // Editors standing where the authors stand ("Stober, I. (Ed.).") are
    // the names at the head as much as authors are.
    const bool editorsAtHead = r.authorList.empty() && !r.editorList.empty() &&
                               (r.editors.Empty() || r.title.Empty() || r.editors.begin < r.title.begin);
    s.headNames.Add((editorsAtHead ? Families(r.editorList) : got) == want);
  }
  if (!ex.year.empty()) s.year.Add(r.year == ex.year);
  std::u16string container = PartText(ex, {"journal", "container-title"});
  for (std::u16string_view in : {u"In: ", u"In ", u"in: ", u"in "})
    if (container.starts_with(in)) container.erase(0, in.size());
  if (!container.empty()) {
    const bool ok = Normal(Trimmed(r.Text(r.container), true)) == Normal(container);
    s.container.Add(ok);
    if (!ok) ShowMiss(s, "container", ex, r.Text(r.container), container);
    // With no title labelled, a "container-title" is the work's own title
    // ("CHARLE, Christophe, Histoire sociale de la France au XIXe siècle,
    // Paris, Seuil, 1991."): the record is right to print it as the title.
    const bool ownTitle = ex.title.empty() && PartText(ex, {"journal"}).empty();
    s.containerAsRead.Add(ownTitle ? r.Text(r.container).empty() &&
                                         Normal(Trimmed(r.Text(r.title), true)) == Normal(container)
                                   : ok);
  }
  const std::u16string volume = PartText(ex, {"volume"});
  // The labels give Vancouver's year with the volume ("2013; 17: 210"):
  // the volume is the number after the year's semicolon.
  const auto volumeNumber = [&]() -> std::u16string {
    const std::u16string first = FirstNumber(volume);
    const size_t at = volume.find(first);
    size_t i = at + first.size();
    while (i < volume.size() && (volume[i] == u' ' || volume[i] == u'.')) ++i;
    if (first.size() == 4 && i < volume.size() && volume[i] == u';') return FirstNumber(volume, i);
    return first;
  };
  if (const std::u16string v = volumeNumber(); !v.empty()) {
    s.volume.Add(r.volumeNumber == v);
    if (r.volumeNumber != v) ShowMiss(s, "volume", ex, r.volumeNumber, v);
    // The issue: in brackets after the volume ("38(2)"), or after "no.".
    const size_t open = volume.find(u'(', volume.find(v));
    const std::u16string lower = LCase(volume);
    const size_t no = std::min({lower.find(u"no."), lower.find(u"nr."), lower.find(u"issue")});
    const std::u16string issue = open != std::u16string::npos ? FirstNumber(volume, open)
                                 : no != std::u16string::npos ? FirstNumber(volume, no)
                                                              : std::u16string();
    if (!issue.empty()) s.issue.Add(r.issueNumber == issue);
  }
  if (const std::u16string first = FirstNumber(PartText(ex, {"pages"})); !first.empty())
    s.page.Add(r.firstPage == first || (r.firstPage.size() > first.size() && r.firstPage.ends_with(first)));
  s.kind.Add(r.type == LabelledKind(ex));
  if (r.type != LabelledKind(ex)) ShowMiss(s, "kind", ex, KindName(r.type), KindName(LabelledKind(ex)));
}

void PrintFields(const FieldScores& s) {
  const auto show = [](const char* name, const Score& x) {
    std::printf("  %-15s %6.2f%% of %d\n", name, x.scored ? 100.0 * x.right / x.scored : 0.0, x.scored);
  };
  std::printf("through the whole parser:\n");
  show("title", s.title);
  show("author segment", s.authors);
  show("family names", s.families);
  show("year", s.year);
  show("container", s.container);
  show("volume", s.volume);
  show("issue", s.issue);
  show("first page", s.page);
  show("kind of work", s.kind);
  std::printf("as a user reads the record:\n");
  show("names at head", s.headNames);
  show("container", s.containerAsRead);
}

// Measures the model by cross-validation: each fold by a model that never
// saw it, as the program will hold it (a byte a weight).
int CrossValidate(const Request& flags, const std::vector<Example>& data) {
  const int folds = flags.folds, epochs = flags.epochs;
  const bool rank = flags.rank;
  int titles = 0, titleRight = 0, authors = 0, authorRight = 0, years = 0, yearRight = 0;
  long tokens = 0, tokenRight = 0;
  FieldScores fields;
  fields.show = flags.showField;
  const smart::Dictionary dictionary;
  for (int k = 0; k < folds; ++k) {
    std::vector<const Example*> train, test;
    std::vector<std::u16string> tested;
    for (size_t i = 0; i < data.size() && data[i].measured; ++i) {
      const bool inFold = static_cast<int>(i % static_cast<size_t>(folds)) == k;
      (inFold ? test : train).push_back(&data[i]);
      if (inFold) tested.push_back(training::Normal(data[i].title));
    }
    std::sort(tested.begin(), tested.end());
    for (const Example& ex : data)
      if (!ex.measured && !std::binary_search(tested.begin(), tested.end(), training::Normal(ex.title)))
        train.push_back(&ex);
    Weights m = Train(train, epochs);
    Ranker ranker;
    std::vector<Guess> oof;
    if (rank) oof = OutOfFold(train, 3, epochs), ranker = TrainRanker(train, oof, RankerEpochs(epochs));
    Quantize(m.w);
    Quantize(ranker.w);
    if (rank && flags.rankFit) {
      int fit = 0, total = 0, oracle = 0;
      for (size_t i = 0; i < train.size(); ++i) {
        const Span gold = GoldSpan(*train[i], Label::Title);
        if (gold.first == SIZE_MAX) continue;
        ++total;
        const auto c = SpanCandidates(train[i]->analysis, oof[i].labels, Label::Title);
        oracle += std::find(c.begin(), c.end(), gold) != c.end();
        fit += Choose(ranker, *train[i], oof[i], Label::Title) == gold;
      }
      std::printf("ranker on its training data: %d of %d (oracle %d)\n", fit, total, oracle);
    }
    // The fold's model as the program would hold it, for the parser.
    std::vector<float> transitions;
    for (const auto& row : m.t) transitions.insert(transitions.end(), row.begin(), row.end());
    const std::vector<unsigned char> bytes = Model::Write(m.w, transitions, ranker.w);
    const Model model(bytes);
    for (const Example* ex : test) ScoreFields(*ex, Parse(ex->text, dictionary, model), fields);
    for (const Example* ex : test) {
      const Guess guess = Look(m, *ex);
      const auto& labels = guess.labels;
      const std::u16string rankedTitle = SpanText(*ex, Choose(ranker, *ex, guess, Label::Title));
      if (flags.oracle && !ex->title.empty()) {
        const auto candidates = SpanCandidates(ex->analysis, labels, Label::Title);
        bool any = false;
        for (const auto& c : candidates) any |= training::Normal(SpanText(*ex, c)) == training::Normal(ex->title);
        std::printf("oracle %d right %d guessright %d\n", any, training::Normal(rankedTitle) == training::Normal(ex->title),
                    !candidates.empty() && training::Normal(SpanText(*ex, candidates[0])) == training::Normal(ex->title));
        if (any && training::Normal(rankedTitle) != training::Normal(ex->title) && flags.showRank)
          std::printf("  GOLD %s\n  GOT  %s\n  FULL %s\n", EncodeUtf8(ex->title).c_str(),
                      EncodeUtf8(rankedTitle).c_str(), EncodeUtf8(ex->text).c_str());
      }
      const std::u16string rankedAuthors = SpanText(*ex, Choose(ranker, *ex, guess, Label::Author));
      for (size_t i = 0; i < labels.size(); ++i) tokenRight += labels[i] == ex->labels[i];
      tokens += static_cast<long>(labels.size());
      if (!ex->title.empty()) {
        ++titles;
        const bool right = training::Normal(rank ? rankedTitle : FirstRun(*ex, labels, Label::Title)) == training::Normal(ex->title);
        titleRight += right;
        if (!right && flags.titleStats) {
          const auto got = training::Normal(FirstRun(*ex, labels, Label::Title)), want = training::Normal(ex->title);
          const char* kind = got.empty()                ? "none"
                             : want.starts_with(got)    ? "short"
                             : got.starts_with(want)    ? "long"
                             : want.ends_with(got)      ? "late-start"
                             : got.ends_with(want)      ? "early-start"
                                                        : "other";
          std::printf("%s\n", kind);
          if (flags.showKind == kind)
            std::printf("   GOLD: %s\n   GOT:  %s\n   FULL: %s\n", EncodeUtf8(ex->title).c_str(),
                        EncodeUtf8(FirstRun(*ex, labels, Label::Title)).c_str(), EncodeUtf8(ex->text).c_str());
        }
        if (!right && flags.showTitles && k == 0) {
          std::string line;
          for (size_t i = 0; i < labels.size(); ++i) {
            line += EncodeUtf8(ex->tokens[i].text);
            // Wrong: [got/wanted]; right: the label's first two letters.
            const std::string_view got = NameOf(labels[i]);
            if (labels[i] != ex->labels[i]) {
              line.append("[").append(got).append("/").append(NameOf(ex->labels[i])).append("]");
            } else {
              line.append("{").append(got.substr(0, 2)).append("}");
            }
            line += ' ';
          }
          std::printf("%s\n", line.c_str());
        }
      }
      if (!ex->authors.empty())
        ++authors,
            authorRight += training::Normal(rank ? rankedAuthors : FirstRun(*ex, labels, Label::Author)) == training::Normal(ex->authors);
      if (!ex->year.empty()) ++years, yearRight += FirstYear(FirstRun(*ex, labels, Label::Date)) == ex->year;
    }
    std::fprintf(stderr, "fold %d done\n", k + 1);
  }
  std::printf("tokens %.2f%%  title %.2f%% of %d  authors %.2f%% of %d  year %.2f%% of %d\n",
              100.0 * static_cast<double>(tokenRight) / static_cast<double>(tokens), 100.0 * titleRight / titles,
              titles, 100.0 * authorRight / authors, authors, 100.0 * yearRight / years, years);
  PrintFields(fields);
  return 0;
}

// The model the program ships: the token model on everything, the span
// chooser on what token models that never saw each reference made of it.
int TrainAndWrite(const Request& flags, const std::vector<Example>& data) {
  std::vector<const Example*> all;
  for (const auto& ex : data) all.push_back(&ex);
  const Weights m = Train(all, flags.epochs);
  const Ranker ranker = TrainRanker(all, OutOfFold(all, 3, flags.epochs), RankerEpochs(flags.epochs));
  std::vector<float> transitions;
  for (const auto& row : m.t) transitions.insert(transitions.end(), row.begin(), row.end());
  const auto bytes = Model::Write(m.w, transitions, ranker.w);
  std::ofstream out(flags.model, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  std::fprintf(stderr, "wrote %s (%zu bytes)\n", flags.model.c_str(), bytes.size());
  return out ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Request> flags = ReadFlags(argc, argv);
  if (!flags) return 2;
  std::vector<Example> data = Load(flags->data);
  std::vector<Example> also = Load(flags->also);
  for (auto& ex : also) ex.measured = false;
  data.insert(data.end(), std::make_move_iterator(also.begin()), std::make_move_iterator(also.end()));
  for (auto& ex : data) ex.use = &ex.features;
  std::fprintf(stderr, "%zu references\n", data.size());
  return flags->folds > 1 ? CrossValidate(*flags, data) : TrainAndWrite(*flags, data);
}
