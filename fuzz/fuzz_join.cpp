// The two joiners never change a word, never start or end with a blank or a
// paragraph break, and agree with the literal steps wherever no "!@#" was
// typed (the literal steps take a typed one for a blank line).
#include "fuzz/fuzz_common.h"
#include "tests/literal/literal.h"

namespace {

std::vector<std::u16string> Tokens(std::u16string_view s) {
  std::vector<std::u16string> out;
  for (auto w : tf::BreakWords(s))
    if (!w.empty()) out.emplace_back(w);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tf;
  const std::u16string in = size && data[0] & 1 ? fuzz::Units(data + 1, size - 1)
                                                : fuzz::Texty(data, size);
  const std::u16string one = JustLineBreaks(in);
  const std::u16string two = JustLineBreaksKeepingParagraphs(in);
  const auto words = Tokens(in);
  TF_CHECK(Tokens(one) == words, in);
  TF_CHECK(Tokens(two) == words, in);
  TF_CHECK(one.find_first_of(u"\r\n\t") == std::u16string::npos, in);
  TF_CHECK(one.find(u"  ") == std::u16string::npos, in);
  TF_CHECK(two.find_first_of(u"\n\t") == std::u16string::npos, in);
  for (const auto* r : {&one, &two}) {
    TF_CHECK(r->empty() || (r->front() != u' ' && r->front() != u'\r'), in);
    TF_CHECK(r->empty() || (r->back() != u' ' && r->back() != u'\r'), in);
  }
  // Removing the paragraph breaks gives the one-line join.
  std::u16string flat;
  for (size_t i = 0; i < two.size(); ++i) {
    if (two[i] == u'\r') {
      if (!flat.empty() && flat.back() != u' ') flat += u' ';
      continue;
    }
    flat += two[i];
  }
  TF_CHECK(flat == one, in);
  if (in.find(u"!@#") == std::u16string::npos) {
    const auto a = in.find_first_not_of(u" \r\n\t");
    const std::u16string stripped =
        a == std::u16string::npos ? std::u16string()
                                  : in.substr(a, in.find_last_not_of(u" \r\n\t") - a + 1);
    TF_CHECK(one == literal::JustLineBreaks(stripped), in);
    TF_CHECK(two == literal::JustLineBreaksKeepingParagraphs(stripped), in);
  }
  return 0;
}
