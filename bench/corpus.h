// Realistic inputs for the benchmarks: reference lists as they come out of
// a PDF (broken lines, blank lines, authors with initials), letter-spaced
// text, and word lists of any size made of plausible words.
#pragma once

#include <random>
#include <string>
#include <unordered_set>

#include "squish/vocabulary.h"

namespace tf::bench {

inline std::u16string Syllabic(std::mt19937& rng) {
  static const char16_t* kSyllables[] = {u"geo", u"ther", u"mal", u"re", u"ser", u"voir", u"frac",
                                         u"ture", u"per", u"mea", u"bil", u"ity", u"hy", u"dro",
                                         u"sil", u"ica", u"stra", u"ti", u"gra", u"phic", u"al",
                                         u"te", u"ra", u"tion", u"vol", u"can", u"ic", u"en",
                                         u"ba", u"salt", u"an", u"de", u"site", u"tuff", u"lo",
                                         u"gy", u"mo", u"del", u"ling", u"ous", u"ment", u"ly"};
  std::uniform_int_distribution<int> count(2, 5), pick(0, 41);
  std::u16string w;
  for (int n = count(rng); n > 0; --n) w += kSyllables[pick(rng)];
  return w;
}

// `count` different words, one a line, some capitalised, as a user's list
// looks.
inline std::u16string WordListText(size_t count, unsigned seed = 7) {
  std::mt19937 rng(seed);
  std::u16string text;
  std::unordered_set<std::u16string> seen;
  for (size_t i = 0; i < count; ++i) {
    std::u16string w = Syllabic(rng);
    if (i % 11 == 0) w[0] = static_cast<char16_t>(w[0] - 32);
    if (!seen.insert(w).second) {
      --i;
      continue;
    }
    text += w;
    text += u"\r\n";
  }
  return text;
}

// Built-in words drawn at random, as the texts below are made of.
class RandomWords {
 public:
  explicit RandomWords(unsigned seed) : m_rng(seed), m_pick(0, m_vocabulary.NumWords() - 1) {}
  const std::u16string& operator()() { return m_vocabulary.WordList()[m_pick(m_rng)]; }
  std::mt19937& Rng() { return m_rng; }

 private:
  Vocabulary m_vocabulary;
  std::mt19937 m_rng;
  std::uniform_int_distribution<size_t> m_pick;
};

// About `units` UTF-16 units of references, 80-column lines, CR LF.
inline std::u16string References(size_t units, unsigned seed = 11) {
  RandomWords word(seed);
  std::mt19937& rng = word.Rng();
  std::uniform_int_distribution<int> len(6, 14), letter(0, 25);
  std::u16string text;
  size_t column = 0;
  while (text.size() < units) {
    std::u16string ref = u"SMITH, J.R., ";
    ref[0] = static_cast<char16_t>(u'A' + letter(rng));
    for (int n = len(rng); n > 0; --n) ref += word() + u" ";
    ref += u"; in Proc. World Geothermal Congress, 2010.";
    for (char16_t c : ref) {
      if (c == u' ' && column > 72) {
        text += u"\r\n";
        column = 0;
      } else {
        text += c;
        ++column;
      }
    }
    text += u"\r\n\r\n";
    column = 0;
  }
  return text;
}

// The same words letter-spaced, single spaces everywhere, a few commas.
inline std::u16string LetterSpaced(size_t units, unsigned seed = 13) {
  RandomWords word(seed);
  std::uniform_int_distribution<int> punct(0, 15);
  std::u16string text;
  while (text.size() < units) {
    for (char16_t c : word()) (text += c) += u' ';
    const int p = punct(word.Rng());
    if (p == 0) text += u", ";
    if (p == 1) text += u". ";
  }
  return text;
}

}  // namespace tf::bench
