// A reference cut into tokens (the text between spaces), each labelled with
// the part of the reference it belongs to.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tf::reference {

// The parts a reference is made of. The labelled data's rarer parts are
// folded into these: translators, directors and producers count as editors;
// container titles, collection titles and sources as containers; genres,
// media and ISBNs as notes.
enum class Label : std::uint8_t {
  CitationNumber,
  Author,
  Editor,
  Date,
  Title,
  Journal,
  Container,
  Volume,
  Pages,
  Publisher,
  Location,
  Edition,
  Doi,
  Url,
  Note,
};
constexpr size_t kLabels = 15;

// The label for a tag of the labelled data (citation-number, author, ...),
// or kLabels for a tag it does not know.
size_t LabelOfTag(std::string_view tag);
const char* NameOf(Label label);

// The years a reference may give, the same everywhere (the parser, its
// features, the list finder, the trainer's measure): later numbers are far
// more often pages or report numbers than years to come.
constexpr int kEarliestYear = 1500, kLatestYear = 2039;
constexpr bool IsYear(int value) { return value >= kEarliestYear && value <= kLatestYear; }
// The first year of a text: four digits standing alone (no digit or letter
// just before, no digit just after) that IsYear; empty when there is none.
std::u16string FirstYear(std::u16string_view text);

// A month's number from its name or abbreviation ("March", "Mar.",
// "Sept.", "(July"), in English, French, German or Spanish; 0 for none.
int MonthOf(std::u16string_view word);

struct Token {
  std::u16string_view text;
  size_t begin = 0, end = 0;  // in the text it was cut from
};

// The text cut at spaces, tabs and line breaks: its first `most` tokens.
std::vector<Token> Tokenize(std::u16string_view text, size_t most = SIZE_MAX);

}  // namespace tf::reference
