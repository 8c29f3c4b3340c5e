// The word splitter against the literal steps: the same words.
#include "fuzz/fuzz_common.h"
#include "tests/literal/literal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tf;
  const std::u16string in = size && data[0] & 1 ? fuzz::Units(data + 1, size - 1)
                                                : fuzz::Texty(data, size);
  std::vector<std::u16string> one;
  for (auto w : BreakWords(in)) one.emplace_back(w);
  TF_CHECK(one == literal::BreakWords(in, false), in);
  return 0;
}
