// Where the window's controls stand.
//
// The form was designed in twips for one size, and at the default font
// and window size every control stands exactly where it was designed. A
// larger font scales the whole design by `scale` (at least 1), so that
// captions that no longer fit get room in both directions. A window made
// larger than that stretches the design: every left edge and width in
// proportion to the width, and the extra height to the text boxes alone,
// so buttons keep their height and the texts take the room.
//
// Worked example, the working text (designed at top 1440, height 1572 in
// a compact form 4476 high): with scale 1 and a form 5476 high, the 1000
// extra twips go to it, so it stands at 1440 and is 2572 high, and the
// buttons below it move down by 1000. Expanded (the authors and title
// shown), the extra height is shared: half to the working text, a quarter
// each to the authors and the title.
#pragma once

#include <compare>

namespace tf::ui {

// The controls of the form, in tab order.
enum class Control {
  RawText,
  WorkingText,
  Copy,
  Refresh,
  JoinLines,
  Quit,
  JoinParagraphs,
  AuthorsText,
  Squish,
  MoreLess,
  CopyAuthors,
  TitleText,
  CopyTitle,
};
constexpr int kControls = 13;

struct Rect {
  double left, top, width, height;
  friend auto operator<=>(const Rect&, const Rect&) = default;
};

struct FormSize {
  double width, height;
};

// The smallest form at `scale`: the design's size times the scale; `more`
// when the authors and title are shown.
FormSize SmallestForm(double scale, bool more);

// The least room the controls shown need at `scale`: the form's width, and
// the height down to the lowest control's bottom (the design leaves some
// room below that).
FormSize LeastRoom(double scale, bool more);

// Where `control` stands in a form of `size` (twips), at `scale`. A size
// smaller than the smallest form is read as the smallest.
Rect Place(Control control, double scale, FormSize size, bool more);

}  // namespace tf::ui
