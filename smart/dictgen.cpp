// Builds the English dictionary of smart mode from SCOWL's word lists, when
// the program is built: dictgen OUTPUT LIST... where each LIST is a file
// named like english-words.35, its size the number after the dot.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "io/encoding.h"
#include "smart/word_trie.h"
#include "text/text.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: dictgen OUTPUT LIST...\n");
    return 2;
  }
  std::vector<std::pair<std::u16string, std::uint8_t>> words;
  for (int i = 2; i < argc; ++i) {
    const std::string path = argv[i];
    const auto dot = path.rfind('.');
    const int size = dot == std::string::npos ? -1 : std::atoi(path.c_str() + dot + 1);
    std::ifstream in(path, std::ios::binary);
    if (!in || size <= 0 || size > 100) {
      std::fprintf(stderr, "dictgen: cannot use %s\n", path.c_str());
      return 1;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::u16string text = tf::DecodeText(bytes);
    for (const auto w : tf::BreakWords(text)) {
      std::u16string lower = tf::LCase(w);
      if (tf::smart::AcceptableWord(lower)) words.emplace_back(std::move(lower), static_cast<std::uint8_t>(size));
    }
  }
  const auto bytes = tf::smart::WordTrie::Build(std::move(words)).Serialize();
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return out ? 0 : 1;
}
