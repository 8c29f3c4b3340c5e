#include "smart/dictionary.h"

#include <mutex>

#include "text/text.h"

// The English words, made from SCOWL when the program is built.
extern "C" const unsigned char tf_english_words[];
extern "C" const unsigned long long tf_english_words_size;

namespace tf::smart {

const WordTrie& Dictionary::English() {
  static const WordTrie english = WordTrie::View({tf_english_words, tf_english_words_size});
  return english;
}

struct Dictionary::Lazy {
  std::vector<std::u16string> words;
  std::once_flag once;
  WordTrie trie;
};

Dictionary::Dictionary() : Dictionary(std::vector<std::u16string>{}) {}

Dictionary::Dictionary(std::vector<std::u16string> ownWords) : m_lazy(std::make_unique<Lazy>()) {
  m_lazy->words = std::move(ownWords);
}

Dictionary::Dictionary(Dictionary&&) noexcept = default;
Dictionary& Dictionary::operator=(Dictionary&&) noexcept = default;
Dictionary::~Dictionary() = default;

const WordTrie& Dictionary::Own() const {
  std::call_once(m_lazy->once, [this] {
    std::vector<std::pair<std::u16string, std::uint8_t>> words;
    words.reserve(m_lazy->words.size());
    for (const auto& w : m_lazy->words) {
      std::u16string lower = LCase(w);
      if (AcceptableWord(lower)) words.emplace_back(std::move(lower), std::uint8_t{0});
    }
    m_lazy->words = {};
    m_lazy->trie = WordTrie::Build(std::move(words));
  });
  return m_lazy->trie;
}

std::uint8_t Dictionary::SizeOf(std::u16string_view lower) const {
  return std::min(English().SizeOf(lower), Own().SizeOf(lower));
}

}  // namespace tf::smart
