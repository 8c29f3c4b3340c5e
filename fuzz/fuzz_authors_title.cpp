// GetAuthorsTitle: both parts come from the input, in the order of its
// layout, changed at most in case, and agree with the literal steps.
#include "fuzz/fuzz_common.h"
#include "tests/literal/literal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tf;
  const std::u16string in = size && data[0] & 1 ? fuzz::Units(data + 1, size - 1)
                                                : fuzz::Texty(data, size);
  const AuthorsTitle got = GetAuthorsTitle(in);
  std::u16string authors, title;
  literal::GetAuthorsTitle(in, authors, title);
  TF_CHECK(got.Authors == authors && got.Title == title, in);
  const std::u16string upper = UCase(in);
  const auto at = upper.find(UCase(got.Authors));
  const auto tt = upper.find(UCase(got.Title));
  TF_CHECK(at != std::u16string::npos && tt != std::u16string::npos, in);
  if (!got.Authors.empty() && !got.Title.empty() && got.Title != in) {
    const bool semicolon = in.find(u';') != std::u16string::npos;
    TF_CHECK(semicolon ? tt < upper.rfind(UCase(got.Authors)) : at < upper.rfind(UCase(got.Title)),
             in);
  }
  TF_CHECK(got.Authors.size() + got.Title.size() <= in.size(), in);
  return 0;
}
