// Speed of the reference parser and the export formats, on references in
// many styles (bench/data/references.txt), reference after reference.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "io/encoding.h"
#include "reference/export.h"
#include "reference/model.h"
#include "reference/parser.h"
#include "smart/dictionary.h"

namespace tf::bench {
namespace {

// The references, one a line: the project's own, or the file named by
// REFERENCES (to measure on other data).
std::vector<std::u16string> References() {
  const char* path = std::getenv("REFERENCES");
  std::ifstream in(path ? path : TF_BENCH_REFERENCES, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::u16string text = DecodeText(bytes);
  std::vector<std::u16string> out;
  for (size_t from = 0; from < text.size();) {
    const size_t end = std::min(text.find(u'\n', from), text.size());
    if (end > from) out.push_back(text.substr(from, end - from));
    from = end + 1;
  }
  return out;
}

const smart::Dictionary& Words() {
  static const smart::Dictionary dictionary{std::vector<std::u16string>{}};
  return dictionary;
}

void BM_ParseReference(benchmark::State& state) {
  const auto refs = References();
  for (auto _ : state)
    for (const auto& r : refs) benchmark::DoNotOptimize(reference::Parse(r, Words()));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * refs.size()));
}
BENCHMARK(BM_ParseReference)->Unit(benchmark::kMicrosecond);

// 0 CSL-JSON, 1 BibTeX, 2 RIS: writing parsed references.
void BM_WriteReference(benchmark::State& state) {
  const auto refs = References();
  std::vector<reference::Reference> parsed;
  for (const auto& r : refs) parsed.push_back(reference::Parse(r, Words()));
  const smart::TitleLists lists;
  const auto format = static_cast<reference::Format>(state.range(0));
  for (auto _ : state) {
    reference::Writer w(format, false, lists);
    for (const auto& r : parsed) benchmark::DoNotOptimize(w.Add(r));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * refs.size()));
}
BENCHMARK(BM_WriteReference)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// Taking the model in from the program's own bytes.
void BM_ModelLoad(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(reference::Model::BuiltIn().Valid());
}
BENCHMARK(BM_ModelLoad);

}  // namespace
}  // namespace tf::bench

BENCHMARK_MAIN();
