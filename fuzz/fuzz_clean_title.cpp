// CleanTitle: one line, single spaces, every word of the input in order,
// and the same result as the literal steps.
#include "fuzz/fuzz_common.h"
#include "tests/literal/literal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tf;
  const std::u16string in = size && data[0] & 1 ? fuzz::Units(data + 1, size - 1)
                                                : fuzz::Texty(data, size);
  const std::u16string out = CleanTitle(in);
  TF_CHECK(out.find_first_of(u"\r\n\t") == std::u16string::npos, in);
  TF_CHECK(out.find(u"  ") == std::u16string::npos, in);
  TF_CHECK(out.empty() || (out.front() != u' ' && out.back() != u' '), in);
  // Every word of the input, in order, changed at most in case (which never
  // changes a length); words that do not start with a letter not at all.
  const auto words = BreakWords(out);
  size_t count = 0;
  for (auto w : BreakWords(in)) {
    if (w.empty()) continue;
    TF_CHECK(count < words.size() && words[count].size() == w.size(), in);
    if (!StartsWithTitleLetter(w)) TF_CHECK(words[count] == w, in);
    ++count;
  }
  TF_CHECK(count == words.size(), in);
  const auto a = in.find_first_not_of(u" \r\n\t");
  const std::u16string stripped =
      a == std::u16string::npos ? std::u16string()
                                : in.substr(a, in.find_last_not_of(u" \r\n\t") - a + 1);
  TF_CHECK(out == literal::CleanTitle(stripped), in);
  return 0;
}
