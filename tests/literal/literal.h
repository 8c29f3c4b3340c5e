// Line-by-line reference implementations, kept only as test oracles: they
// follow the original step lists literally (rebuilding texts, rescanning
// for every vocabulary word, bubble-sorting) and are as slow as that is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tf::literal {

// The word splitter with the inline "!@#" marker word.
std::vector<std::u16string> BreakWords(std::u16string a, bool markParagraphs);
std::u16string CleanTitle(std::u16string in);
std::u16string JustLineBreaks(std::u16string in);
std::u16string JustLineBreaksKeepingParagraphs(std::u16string in);
void GetAuthorsTitle(const std::u16string& a, std::u16string& authors, std::u16string& title);

struct Vocabulary {
  std::vector<std::u16string> wordList;
  std::vector<std::u16string> spacedWords;
};
// The built-in words, then each line of `fileText` after a space, split,
// measured and bubble-sorted longest first.
Vocabulary StartWords(const std::u16string& fileText);
// Replacement passes (one-letter words are not searched), then the
// punctuation tidy, then the final trim.
std::u16string SquishText(const std::u16string& text, const Vocabulary& vocabulary);

}  // namespace tf::literal
