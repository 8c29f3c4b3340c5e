// Words that several parts of the program know, one list each: classic and
// smart title case, the reference parser, the list finder and the export
// formats all read them from here.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tf::lexicon {

// The small words title case writes in lower case after a title's first
// word: the program's own eighteen, as they have always been.
inline constexpr std::array<std::u16string_view, 18> kSmallWords = {
    u"the", u"of", u"and", u"to", u"but", u"or", u"in", u"at", u"a",
    u"for", u"from", u"on", u"by", u"with", u"an", u"as", u"into", u"is"};

// The acronyms title case writes in capitals: the program's own twelve.
inline constexpr std::array<std::u16string_view, 12> kAcronyms = {
    u"EGS", u"HDR", u"GIS", u"CO2", u"CT", u"GPS", u"NZ", u"TOUGH2", u"USA", u"CA", u"UK", u"DOE"};

// The particles that belong to a family name, in lower case: "van", "de",
// "d'" (as in "van der Waals", "de Gaulle", "d'Alembert").
inline constexpr std::array<std::u16string_view, 16> kNameParticles = {
    u"de", u"la", u"le", u"du", u"des", u"van", u"von", u"der",
    u"den", u"di", u"da", u"del", u"dos", u"ter", u"van't", u"d'"};

// Words no reference, and no title, ends with: the sentence goes on
// after them ("... from 509 to", "Histoire des classes ouvrières de").
inline constexpr std::array<std::u16string_view, 34> kGoingOn = {
    u"and",  u"of",  u"the", u"in",   u"for",   u"und", u"et",  u"dans", u"in:", u"by",   u"from", u"von",
    u"des",  u"du",  u"de",  u"la",   u"le",    u"with", u"to", u"at",   u"a",   u"an",   u"en",   u"em",
    u"\u00E0", u"zur", u"zum", u"f\u00FCr", u"\u00FCber", u"pour", u"sur", u"entre", u"para", u"della"};

template <std::size_t N>
constexpr bool Has(const std::array<std::u16string_view, N>& list, std::u16string_view word) {
  for (const std::u16string_view w : list)
    if (w == word) return true;
  return false;
}

}  // namespace tf::lexicon
