// Bytes to text and back: what files, pipes and the command line's output
// are made of.
#pragma once

#include <string>
#include <string_view>

namespace tf {

// Bytes as text: UTF-16 when they start with its byte-order mark (either
// order; the mark dropped), UTF-8 (a leading byte-order mark dropped) when
// they are valid UTF-8, otherwise Windows-1252 with all 256 bytes mapped.
std::u16string DecodeText(std::string_view bytes);
// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::string_view bytes);
// Text as UTF-8; a lone surrogate becomes U+FFFD.
std::string EncodeUtf8(std::u16string_view s);

}  // namespace tf
