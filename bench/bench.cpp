// Speed of the text operations and the squish pass on realistic inputs,
// with the literal reference measured in the same run for the ratios.
#include <benchmark/benchmark.h>

#include "bench/corpus.h"
#include "smart/smart.h"
#include "squish/squish.h"
#include "tests/literal/literal.h"
#include "text/text.h"

namespace tf::bench {
namespace {

constexpr size_t kMB = 1 << 20;  // in UTF-16 units

template <typename F>
void OnReferences(benchmark::State& state, F f) {
  const auto text = References(static_cast<size_t>(state.range(0)) * kMB / 2);
  for (auto _ : state) benchmark::DoNotOptimize(f(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * 2));
}

void BM_CleanTitle(benchmark::State& s) { OnReferences(s, [](auto& t) { return CleanTitle(t); }); }
void BM_JustLineBreaks2(benchmark::State& s) {
  OnReferences(s, [](auto& t) { return JustLineBreaksKeepingParagraphs(t); });
}
void BM_GetAuthorsTitle(benchmark::State& s) {
  OnReferences(s, [](auto& t) { return GetAuthorsTitle(t); });
}
// Argument: megabytes of text (two bytes a unit).
BENCHMARK(BM_CleanTitle)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JustLineBreaks2)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetAuthorsTitle)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

const Vocabulary& Vocabulary30k() {
  static const Vocabulary v = Vocabulary::StartWords(WordListText(30000));
  v.Index();  // built once with the vocabulary, as the window does at start-up
  return v;
}

void BM_SquishSmallText(benchmark::State& state) {
  const auto text = LetterSpaced(2000);
  const auto& v = Vocabulary30k();
  for (auto _ : state) benchmark::DoNotOptimize(SquishText(text, v));
}
BENCHMARK(BM_SquishSmallText)->Unit(benchmark::kMicrosecond);

void BM_SquishSmallTextLiteral(benchmark::State& state) {
  const auto text = LetterSpaced(2000);
  static const auto v = literal::StartWords(WordListText(30000));
  for (auto _ : state) benchmark::DoNotOptimize(literal::SquishText(text, v));
}
BENCHMARK(BM_SquishSmallTextLiteral)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_SquishLarge(benchmark::State& state) {
  const auto text = LetterSpaced(static_cast<size_t>(state.range(0)) * kMB / 2);
  const auto& v = Vocabulary30k();
  for (auto _ : state) benchmark::DoNotOptimize(SquishText(text, v));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * 2));
}
BENCHMARK(BM_SquishLarge)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// Shapes that once made the pass slow. Each argument pair is a size and its
// fourfold, so that the two times give the growth.

// A long word in the list and the same word letter-spaced in the text.
void BM_SquishLongWord(benchmark::State& state) {
  const auto letters = static_cast<size_t>(state.range(0));
  std::u16string word, text = u"x ";
  for (size_t i = 0; i < letters; ++i) {
    const auto c = static_cast<char16_t>(u'a' + (i * 7 + i / 3) % 26);
    word += c;
    (text += c) += u' ';
  }
  text += u'y';
  const auto v = Vocabulary::StartWords(word);
  v.Index();
  for (auto _ : state) benchmark::DoNotOptimize(SquishText(text, v));
}
BENCHMARK(BM_SquishLongWord)->Arg(8000)->Arg(32000)->Arg(128000)->Arg(512000)->Unit(benchmark::kMillisecond);

// 'aa', 'aaa', ... a thousand nested words against 'x a a a ... y'.
void BM_SquishLadder(benchmark::State& state) {
  std::u16string list;
  for (size_t n = 2; n <= 1001; ++n) (list += std::u16string(n, u'a')) += u'\n';
  const auto v = Vocabulary::StartWords(list);
  v.Index();
  std::u16string text = u"x ";
  while (text.size() < static_cast<size_t>(state.range(0)) * kMB / 2) text += u"a ";
  text += u'y';
  for (auto _ : state) benchmark::DoNotOptimize(SquishText(text, v));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * 2));
}
BENCHMARK(BM_SquishLadder)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// Whether each way of finding a spelling's next place earns its place: the
// hostile shapes with the pass's ways as shipped, and with run tracking
// taken away (the successor structure alone). Arguments: shape (0 ladder,
// 1 long word, 2 alternating), way (0 as shipped, 1 no run tracking).
void BM_SquishWays(benchmark::State& state) {
  std::u16string list, text = u"x ";
  switch (state.range(0)) {
    case 0:
      for (size_t n = 2; n <= 1001; ++n) (list += std::u16string(n, u'a')) += u'\n';
      while (text.size() < kMB / 2) text += u"a ";
      break;
    case 1:
      for (size_t i = 0; i < 128000; ++i) {
        const auto c = static_cast<char16_t>(u'a' + (i * 7 + i / 3) % 26);
        list += c;
        (text += c) += u' ';
      }
      break;
    default:
      for (const char16_t* w : {u"ab", u"ba", u"aba", u"bab", u"abab", u"baba", u"ababab"}) (list += w) += u'\n';
      while (text.size() < kMB / 2) text += u"a b ";
      break;
  }
  text += u'y';
  const auto v = Vocabulary::StartWords(list);
  v.Index();
  const detail::PassLimits ways[] = {{}, {0, 8}};
  const detail::PassLimits& limits = ways[state.range(1)];
  for (auto _ : state) benchmark::DoNotOptimize(detail::SquishText(text, v, limits));
}
BENCHMARK(BM_SquishWays)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMillisecond);

// Many short texts against a million-word list (the command line's -l):
// each call must cost what its text costs, not what the list costs.
const Vocabulary& MillionWords() {
  static const Vocabulary v = Vocabulary::StartWords(WordListText(1'000'000));
  v.Index();
  return v;
}
void BM_SquishLines(benchmark::State& state) {
  const auto& v = MillionWords();
  const auto text = LetterSpaced(16000 * 20);
  const bool asLines = state.range(0) == 1;
  for (auto _ : state) {
    if (asLines) {
      for (size_t at = 0; at < text.size(); at += 20)
        benchmark::DoNotOptimize(SquishText(std::u16string_view(text).substr(at, 20), v));
    } else {
      benchmark::DoNotOptimize(SquishText(text, v));
    }
  }
}
// 0: the 16,000 pieces as one text; 1: each on its own.
BENCHMARK(BM_SquishLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Smart mode: each command on a 100 KB paste of references with a
// letter-spaced stretch, and its squish on 1 and 4 MB.
const smart::Lexicon& SmartWords() {
  static const smart::Lexicon lexicon{smart::Dictionary(std::vector<std::u16string>(Vocabulary().WordList())), {}};
  return lexicon;
}
std::u16string Paste(size_t units) {
  std::u16string text = References(units * 2 / 5);
  text += LetterSpaced(units / 10);
  text += References(units / 2, 3);
  return text;
}
void BM_SmartCommand(benchmark::State& state) {
  const auto text = Paste(50'000);  // 100 KB
  const auto& lexicon = SmartWords();
  for (auto _ : state) {
    switch (state.range(0)) {
      case 0: benchmark::DoNotOptimize(smart::Clean(text, lexicon)); break;
      case 1: benchmark::DoNotOptimize(smart::Squish(smart::JoinLines(text, false, true, lexicon), lexicon)); break;
      case 2: benchmark::DoNotOptimize(smart::Squish(smart::JoinLines(text, true, true, lexicon), lexicon)); break;
      default: benchmark::DoNotOptimize(smart::Squish(text, lexicon)); break;
    }
  }
}
// 0 clean, 1 join, 2 join -p, 3 squish.
BENCHMARK(BM_SmartCommand)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_SmartSquishLarge(benchmark::State& state) {
  const auto text = LetterSpaced(static_cast<size_t>(state.range(0)) * kMB / 2);
  const auto& lexicon = SmartWords();
  for (auto _ : state) benchmark::DoNotOptimize(smart::Squish(text, lexicon));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * 2));
}
BENCHMARK(BM_SmartSquishLarge)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// What smart mode adds at start-up: the dictionary with the user's words.
void BM_SmartDictionary(benchmark::State& state) {
  const auto v = Vocabulary::StartWords(WordListText(30000));
  for (auto _ : state) {
    const smart::Dictionary d{std::vector<std::u16string>(v.WordList())};
    benchmark::DoNotOptimize(d.IsWord(u"word"));
  }
}
BENCHMARK(BM_SmartDictionary)->Unit(benchmark::kMillisecond);

void BM_StartWords(benchmark::State& state) {
  const auto list = WordListText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Vocabulary::StartWords(list));
}
BENCHMARK(BM_StartWords)->Arg(30000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The squish pass's lookup structure, built once per vocabulary.
void BM_SquishIndex(benchmark::State& state) {
  const auto list = WordListText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto v = Vocabulary::StartWords(list);
    state.ResumeTiming();
    benchmark::DoNotOptimize(&v.Index());
    state.PauseTiming();
    v = Vocabulary();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SquishIndex)->Arg(30000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_StartWordsLiteral(benchmark::State& state) {
  const auto list = WordListText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(literal::StartWords(list));
}
BENCHMARK(BM_StartWordsLiteral)->Arg(30000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tf::bench

BENCHMARK_MAIN();
