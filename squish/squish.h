// The letter-spacing repair of classic mode.
//
// What it does is defined by the literal pass kept with the tests
// (tests/literal: each vocabulary entry, longest first, replaces the first
// occurrence of its spaced pattern, exactly or in upper case, pass after
// pass until a pass replaces nothing; then the punctuation tidy). SquishText
// here is the fast one: it gives the same result in time linear in the text
// plus the replacements it makes, and squish_test's comparison on generated
// texts and word lists holds it to the literal pass.
#pragma once

#include <string>
#include <string_view>

#include "squish/vocabulary.h"

namespace tf {

// The text after the letter-spacing repair: every letter-spaced vocabulary
// word re-joined, the spaces before full stops and commas that stand
// between spaces removed, and the result trimmed.
std::u16string SquishText(std::u16string_view text, const Vocabulary& vocabulary);

namespace detail {
// How the fast pass finds a spelling's next place (see squish.cpp); the
// defaults are what SquishText uses. Tests set them to drive every way.
struct PassLimits {
  size_t mostRuns = 4096;        // runs a spelling may track one by one
  size_t stepsPerQuestion = 8;   // before it stops tracking them
};
std::u16string SquishText(std::u16string_view text, const Vocabulary& vocabulary, const PassLimits& limits);
}  // namespace detail

// The punctuation tidy alone, on a text already trimmed: " . " becomes ". "
// and " , " becomes ", " (with every space before the mark gone), round after
// round, each round fixing the first of each. A mark at the very start, or
// without a space after it, is left alone.
std::u16string TidyPunctuation(std::u16string_view t);

}  // namespace tf
