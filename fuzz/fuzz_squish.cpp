// The squish pass against the literal one, on the built-in words or on a
// word list made from the input: any difference aborts.
#include "fuzz/fuzz_common.h"
#include "squish/squish.h"
#include "tests/literal/literal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tf;
  if (size > 3000) return 0;  // the literal pass is quadratic
  static const Vocabulary builtIn;
  static const literal::Vocabulary literalBuiltIn = literal::StartWords(u"");
  // Layout: [flags] [list length] list bytes, text bytes.
  if (size < 2) return 0;
  const bool ownList = data[0] & 1;
  const size_t listLen = ownList ? std::min<size_t>(data[1], size - 2) : 0;
  const std::u16string list = fuzz::Texty(data + 2, listLen);
  const std::u16string text = fuzz::Texty(data + 2 + listLen, size - 2 - listLen);
  if (ownList) {
    const auto fast = Vocabulary::StartWords(list);
    const auto slow = literal::StartWords(list);
    TF_CHECK(fast.WordList() == slow.wordList, list);
    TF_CHECK(SquishText(text, fast) == literal::SquishText(text, slow), text);
  } else {
    TF_CHECK(SquishText(text, builtIn) == literal::SquishText(text, literalBuiltIn), text);
  }
  return 0;
}
