// Arbitrary bytes as a word-list file: decoded as the loader does, built into
// a vocabulary in the literal order, and used for a squish that must agree
// with the literal pass.
#include "fuzz/fuzz_common.h"
#include "squish/squish.h"
#include "tests/literal/literal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tf;
  if (size > 4000) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string list = DecodeText(bytes);
  const auto fast = Vocabulary::StartWords(list);
  const auto slow = literal::StartWords(list);
  TF_CHECK(fast.WordList() == slow.wordList, list);
  TF_CHECK(fast.NumWords() >= 268, list);
  for (size_t i = 0; i + 1 < fast.NumWords(); ++i)
    TF_CHECK(fast.WordList()[i].size() >= fast.WordList()[i + 1].size(), list);
  // A text made of the list's own words, letter-spaced, between spaces.
  std::u16string text = u"x ";
  for (size_t i = 0; i < fast.NumWords() && text.size() < 600; i += 1 + i % 7) {
    const std::u16string spaced = fast.SpacedWords(i);
    text += spaced.substr(1);
    if (i % 3 == 0) text += u". ";
  }
  text += u"y";
  TF_CHECK(SquishText(text, fast) == literal::SquishText(text, slow), text);
  return 0;
}
