// The references in a pasted text: a bibliography, or a page of one, as PDF
// viewers and extractors give it — a heading, numbered or author–year
// entries wrapped over several lines, running heads and page numbers where
// the list crosses a page.
//
// The text is read line by line (LF, CR LF, CR and form feed end a line;
// each line owns its line end). Every line goes either into one reference
// or into the lines left out (blank lines, headings, page numbers, running
// heads, "(continued)"), so the two together cover the text exactly once.
//
// Where a reference starts:
// - A numbered list ("[1]", "1.", "1)", "(1)" or a bare "1" in front) is
//   recognised by its sequence: the longest run of lines, in order, whose
//   numbers go n, n+1, n+2 ... in one style. Those lines start the
//   references; any other number at a line's start (a volume, pages, a
//   year wrapped to the front) continues the reference it stands in. A
//   run whose numbers are far apart, or that leaves more of the text
//   before and after it than its references take, is no numbering.
// - Otherwise (author–year lists), a line starts a reference when a linear
//   score says so. Its features join a few facts: how the line opens (like
//   a name, "Smith, J.", "Smith JR,", "SMITH, J.", "J. R. Smith", "de la
//   Macorra JC", or the dash that repeats the authors before, and the shape
//   of its first word), how the line before ends (a full stop after a word,
//   after initials, a comma, a bracket, a DOI ...), whether it ended early
//   for the width the text is wrapped at, whether the reference so far
//   holds a year and how long it is, whether this line ends early itself
//   and how the next one opens, and what the old rule of thumb says
//   (the line opens like a name after a line that ends like a reference,
//   the reference so far holding a year). The weights are learnt from
//   lists made from labelled references (reference_lists --train; the
//   table is reference/model/finder_weights.inc). After a blank line a
//   reference also starts unless the line before plainly goes on (it ends
//   in a comma, hyphen, "and", or the next begins in lower case: a page
//   break inside a reference).
// - Where a list crosses a page: numbers alone are page numbers (unless
//   the line before waits for a page, "S. 101 -"); a short line that is
//   seen again elsewhere (its numbers aside; shorter than three quarters of
//   the longest line, or it is a line of a reference cited twice) or that
//   follows a page number, and that holds digits or no small letters and
//   does not read like a line of a reference, is a running head; so is
//   such a line first after a form feed (an extractor's end of page)
//   when its page number stands at one end of it or on the next line, or
//   it is in capitals.
// Worked example:
//
//   References                                   left out (heading)
//   Grant, M.A., Bixley, P.F., 2011. Geothermal  starts: a name, first line
//   reservoir engineering. Academic Press.       goes on
//   Smith, J., 2009. Fluid flow. Geothermics 38, starts: a name, after a
//   1-12.                                        line ending "." (year 2011)
//   12                                           left out (page number)
//
// Decisions look only at a line, the line before it, the next line of the
// references (blank and left-out lines skipped) and the reference so far
// (plus the numbering, the wrap width and the longest line, which the
// references keep), so finding again in the references found, joined by
// blank lines, gives the same references.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "reference/parser.h"

namespace tf::reference {

// One reference of a list: the lines it is made of, as pieces of the text
// (several when lines left out interrupt it, as at a page break).
struct FoundReference {
  std::vector<Piece> lines;  // runs of whole lines, each with its line ends, in order
  // The reference's own text: its runs one after another, without the
  // line end of the last line.
  std::u16string Text(std::u16string_view text) const;
};

struct FoundReferences {
  std::vector<FoundReference> references;  // in the order they stand
  std::vector<Piece> leftOut;              // runs of whole lines in no reference, in order
};

FoundReferences FindReferences(std::u16string_view text);

// For the trainer: the same search, with the decision where a reference of
// an author–year list starts left to `decide`, which is given the offset
// of the line's first character and the line's features (one per
// template, each below kStartFeatures).
inline constexpr size_t kStartTemplates = 26;
inline constexpr uint16_t kStartFeatures = 2571 + 90 + 45 + 54;
using StartDecider = std::function<bool(size_t lineBegin, std::span<const uint16_t> features)>;
FoundReferences FindReferences(std::u16string_view text, const StartDecider& decide);

}  // namespace tf::reference
