// Decoding input bytes as the command line and the word-list loader do:
// valid UTF-8 round-trips exactly (a leading byte-order mark dropped), and
// anything else keeps one character per byte.
#include <cstring>

#include "fuzz/fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tf;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string text = DecodeText(bytes);
  if (IsValidUtf8(bytes)) {
    const std::string_view expected =
        std::string_view(bytes).starts_with("\xEF\xBB\xBF") ? std::string_view(bytes).substr(3)
                                                            : std::string_view(bytes);
    TF_CHECK(EncodeUtf8(text) == expected, text);
  } else {
    TF_CHECK(text.size() == size, text);
    for (size_t i = 0; i < size; ++i)
      if (data[i] < 0x80 || data[i] > 0x9F) TF_CHECK(text[i] == data[i], text);
  }
  // Whatever the text, it encodes to valid UTF-8.
  TF_CHECK(IsValidUtf8(EncodeUtf8(fuzz::Units(data, size))), text);
  return 0;
}
