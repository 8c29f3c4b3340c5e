#include "ui/layout.h"

#include <algorithm>
#include <array>

namespace tf::ui {
namespace {

// The form as designed, in twips (the unit it was drawn in, kept on
// purpose so that every control stands where it always stood): its size,
// compact and expanded (the heights the window has always had), and every
// control's place.
constexpr double kWidth = 8256;
constexpr double kCompactHeight = 4476;   // three More buttons' heights below More's top
constexpr double kExpandedHeight = 6756;  // two More buttons' heights below the title

// Which text box takes a share of the extra height, and which boxes above
// a control push it down when they grow.
enum class Band { Raw, Working, Authors, Title };

struct Designed {
  Rect place;
  Band band;     // the band the control's top stands in
  bool grows;    // a text box, taking its band's share of the extra height
};

constexpr std::array<Designed, kControls> kDesign = {{
    {{120, 120, 7812, 1212}, Band::Raw, false},       // RawText
    {{120, 1440, 8052, 1572}, Band::Working, true},   // WorkingText
    {{120, 3120, 1932, 492}, Band::Authors, false},   // Copy
    {{2160, 3120, 1932, 492}, Band::Authors, false},  // Refresh
    {{4200, 3120, 1932, 492}, Band::Authors, false},  // JoinLines
    {{6240, 3120, 1932, 492}, Band::Authors, false},  // Quit
    {{5880, 3480, 372, 252}, Band::Authors, false},   // JoinParagraphs
    {{120, 3720, 6252, 1212}, Band::Authors, true},   // AuthorsText
    {{6480, 3720, 732, 252}, Band::Authors, false},   // Squish
    {{7440, 3720, 732, 252}, Band::Authors, false},   // MoreLess
    {{6480, 4080, 1692, 612}, Band::Authors, false},  // CopyAuthors
    {{120, 5040, 6252, 1212}, Band::Title, true},     // TitleText
    {{6480, 5280, 1692, 612}, Band::Title, false},    // CopyTitle
}};

}  // namespace

FormSize SmallestForm(double scale, bool more) {
  return {kWidth * scale, (more ? kExpandedHeight : kCompactHeight) * scale};
}

FormSize LeastRoom(double scale, bool more) {
  double bottom = 0;
  for (int i = 0; i < kControls; ++i) {
    const auto c = static_cast<Control>(i);
    const bool lower = c == Control::AuthorsText || c == Control::TitleText || c == Control::CopyAuthors ||
                       c == Control::CopyTitle;
    if (lower && !more) continue;
    bottom = std::max(bottom, kDesign[static_cast<size_t>(i)].place.top + kDesign[static_cast<size_t>(i)].place.height);
  }
  return {kWidth * scale, bottom * scale};
}

Rect Place(Control control, double scale, FormSize size, bool more) {
  const FormSize smallest = SmallestForm(scale, more);
  const double extra = std::max(0.0, size.height - smallest.height);
  const double across = std::max(size.width, smallest.width) / kWidth;
  // The extra height each band's text box takes.
  const double working = more ? extra / 2 : extra;
  const double authors = more ? extra / 4 : 0;
  const double title = more ? extra / 4 : 0;
  const Designed& d = kDesign[static_cast<int>(control)];
  double down = 0, taller = 0;
  switch (d.band) {
    case Band::Raw: break;
    case Band::Working: taller = working; break;
    case Band::Authors: down = working; taller = authors; break;
    case Band::Title: down = working + authors; taller = title; break;
  }
  return {d.place.left * across, d.place.top * scale + down, d.place.width * across,
          d.place.height * scale + (d.grows ? taller : 0)};
}

}  // namespace tf::ui
