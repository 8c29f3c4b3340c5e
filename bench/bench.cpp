// Speed of the text operations and the squish pass on realistic inputs,
// with the literal reference measured in the same run for the ratios.
#include <benchmark/benchmark.h>

#include "bench/corpus.h"
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
  OnReferences(s, [](auto& t) { return JustLineBreaks2(t); });
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
