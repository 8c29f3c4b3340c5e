#include "smart/dictionary.h"

#include "text/text.h"

// The English words, made from SCOWL when the program is built.
extern "C" const unsigned char tf_english_words[];
extern "C" const unsigned long long tf_english_words_size;

namespace tf::smart {

const WordTrie& Dictionary::English() {
  static const WordTrie english = WordTrie::View({tf_english_words, tf_english_words_size});
  return english;
}

Dictionary::Dictionary() = default;

Dictionary::Dictionary(const std::vector<std::u16string>& ownWords) {
  std::vector<std::pair<std::u16string, std::uint8_t>> words;
  words.reserve(ownWords.size());
  for (const auto& w : ownWords) {
    std::u16string lower = LCase(w);
    if (AcceptableWord(lower)) words.emplace_back(std::move(lower), std::uint8_t{0});
  }
  m_own = WordTrie::Build(std::move(words));
}

std::uint8_t Dictionary::SizeOf(std::u16string_view lower) const {
  return std::min(English().SizeOf(lower), m_own.SizeOf(lower));
}

}  // namespace tf::smart
