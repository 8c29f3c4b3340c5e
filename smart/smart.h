// Smart mode: the repairs for text copied from today's PDFs, put together
// for each command. The rules themselves are in rules.h.
#pragma once

#include <string>
#include <string_view>

#include "smart/dictionary.h"
#include "smart/rules.h"
#include "text/text.h"

namespace tf::smart {

// What the repairs look words up in.
struct Lexicon {
  Dictionary dictionary;
  TitleLists lists;
};

// clean: characters, line-end hyphens, letter-spaced words (with each line
// break and tab read as a space), then title case.
std::u16string Clean(std::u16string_view text, const Lexicon& lexicon);

// join: characters, line-end hyphens, letter-spaced words line by line
// (unless `repairSpacing` is off), then the lines joined, blank lines kept
// as paragraph breaks when `paragraphs`. The joined text's own repair is
// Squish.
std::u16string JoinLines(std::u16string_view text, bool paragraphs, bool repairSpacing, const Lexicon& lexicon);

// squish: characters, line-end hyphens, then the letter-spacing repair line
// by line between the classic trim and punctuation tidy.
std::u16string Squish(std::u16string_view text, const Lexicon& lexicon);

// The text on one line: each line break (CR LF counting as one) and each
// tab as one space.
std::u16string OneLine(std::u16string_view text);

// The text a raw split works on: characters, line-end hyphens, blank lines.
std::u16string PrepareRaw(std::u16string_view text, const Lexicon& lexicon);

}  // namespace tf::smart
