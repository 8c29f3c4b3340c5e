// Words that several parts of the program know, one list each: classic and
// smart title case, the reference parser, the list finder and the export
// formats all read them from here.
#pragma once

#include <algorithm>
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

// Countries, and the states, provinces and regions that a title names
// after a comma ("Heat flow in the Salton Trough, California."), in
// English as titles write them ("U.S." and "U.S.A." are read apart). Not
// the names that more often are a city's, where a book was published
// ("New York", "Washington"), nor "Victoria" or "Java". Sorted, for a
// binary search (HasSorted).
inline constexpr std::array<std::u16string_view, 277> kRegions = {
    u"Afghanistan", u"Alabama", u"Alaska", u"Albania", u"Alberta", u"Algeria", u"Andorra", u"Angola",
    u"Antarctic Peninsula", u"Antarctica", u"Arctic Canada", u"Argentina", u"Arizona", u"Arkansas", u"Armenia",
    u"Australia", u"Austria", u"Azerbaijan", u"Bahamas", u"Bahrain", u"Baltic Sea", u"Bangladesh", u"Barbados",
    u"Belarus", u"Belgium", u"Belize", u"Benin", u"Bhutan", u"Black Sea", u"Bolivia", u"Borneo", u"Botswana",
    u"Brazil", u"British Columbia", u"Brunei", u"Bulgaria", u"Burkina Faso", u"Burundi", u"California", u"Cambodia",
    u"Cameroon", u"Canada", u"Caribbean", u"Chad", u"Chile", u"China", u"Colombia", u"Colorado", u"Comoros",
    u"Congo", u"Connecticut", u"Corsica", u"Costa Rica", u"Crete", u"Croatia", u"Cuba", u"Cyprus", u"Czech Republic",
    u"Czechia", u"Delaware", u"Denmark", u"Djibouti", u"Dominica", u"Dominican Republic", u"Ecuador", u"Egypt",
    u"El Salvador", u"England", u"Eritrea", u"Estonia", u"Eswatini", u"Ethiopia", u"Fiji", u"Finland", u"Florida",
    u"France", u"Gabon", u"Gambia", u"Georgia", u"Germany", u"Ghana", u"Greece", u"Greenland", u"Grenada",
    u"Guatemala", u"Guinea", u"Gulf of Mexico", u"Guyana", u"Haiti", u"Hawaii", u"Honduras", u"Hungary", u"Iberia",
    u"Iceland", u"Idaho", u"Illinois", u"India", u"Indiana", u"Indonesia", u"Iowa", u"Iran", u"Iraq", u"Ireland",
    u"Israel", u"Italy", u"Jamaica", u"Japan", u"Jordan", u"Kansas", u"Kazakhstan", u"Kentucky", u"Kenya",
    u"Kiribati", u"Korea", u"Kosovo", u"Kuwait", u"Kyrgyzstan", u"Labrador", u"Laos", u"Latvia", u"Lebanon",
    u"Lesotho", u"Liberia", u"Libya", u"Liechtenstein", u"Lithuania", u"Louisiana", u"Luxembourg", u"Madagascar",
    u"Maine", u"Malawi", u"Malaysia", u"Maldives", u"Mali", u"Malta", u"Manitoba", u"Maryland", u"Massachusetts",
    u"Mauritania", u"Mauritius", u"Mediterranean Sea", u"Mexico", u"Michigan", u"Micronesia", u"Minnesota",
    u"Mississippi", u"Missouri", u"Moldova", u"Monaco", u"Mongolia", u"Montana", u"Montenegro", u"Morocco",
    u"Mozambique", u"Myanmar", u"Namibia", u"Nauru", u"Nebraska", u"Nepal", u"Netherlands", u"Nevada",
    u"New Brunswick", u"New Hampshire", u"New Jersey", u"New Mexico", u"New South Wales", u"New Zealand",
    u"Newfoundland", u"Nicaragua", u"Niger", u"Nigeria", u"North Carolina", u"North Dakota", u"North Macedonia",
    u"North Sea", u"Northern Ireland", u"Northern Territory", u"Northwest Territories", u"Norway", u"Nova Scotia",
    u"Nunavut", u"Ohio", u"Oklahoma", u"Oman", u"Ontario", u"Oregon", u"Pakistan", u"Palau", u"Palestine", u"Panama",
    u"Papua New Guinea", u"Paraguay", u"Patagonia", u"Pennsylvania", u"Peru", u"Philippines", u"Poland", u"Portugal",
    u"Qatar", u"Quebec", u"Queensland", u"Qu\u00E9bec", u"Red Sea", u"Rhode Island", u"Romania", u"Russia",
    u"Rwanda", u"Sahara", u"Samoa", u"San Marino", u"Sardinia", u"Saskatchewan", u"Saudi Arabia", u"Scandinavia",
    u"Scotland", u"Senegal", u"Serbia", u"Seychelles", u"Siberia", u"Sicily", u"Sierra Leone", u"Singapore",
    u"Slovakia", u"Slovenia", u"Somalia", u"South Africa", u"South Australia", u"South Carolina", u"South Dakota",
    u"South Sudan", u"Spain", u"Sri Lanka", u"Sudan", u"Sumatra", u"Suriname", u"Sweden", u"Switzerland", u"Syria",
    u"Taiwan", u"Tajikistan", u"Tanzania", u"Tasmania", u"Tennessee", u"Texas", u"Thailand", u"Tibet", u"Togo",
    u"Tonga", u"Trinidad", u"Tunisia", u"Turkey", u"Turkmenistan", u"Tuvalu", u"UK", u"USA", u"Uganda", u"Ukraine",
    u"United Arab Emirates", u"United Kingdom", u"United States", u"Uruguay", u"Utah", u"Uzbekistan", u"Vanuatu",
    u"Venezuela", u"Vermont", u"Vietnam", u"Virginia", u"Wales", u"West Virginia", u"Western Australia",
    u"Wisconsin", u"Wyoming", u"Yemen", u"Yukon", u"Zambia", u"Zimbabwe"};

// Small words of French, German, Spanish, Italian, Portuguese and Dutch
// titles that English has not: a title that holds more of them than of
// English's small words is in another language, whatever its other words
// ("Le travail du n\u00E9gatif", where "travail" is English too).
inline constexpr std::array<std::u16string_view, 40> kOtherSmallWords = {
    u"le",   u"la",   u"les",  u"du",    u"des",   u"une",  u"dans", u"pour", u"sur",  u"avec",
    u"der",  u"das",  u"und",  u"zur",   u"zum",   u"f\u00FCr", u"\u00FCber", u"mit", u"dem", u"den",
    u"el",   u"los",  u"las",  u"del",   u"y",     u"por",  u"para", u"con",  u"sobre", u"il",
    u"della", u"dei", u"nel",  u"nella", u"degli", u"dos",  u"het",  u"een",  u"voor", u"och"};

// Words that name a meeting, in a proceedings' name or a paper's: what
// makes a work in them a conference paper. Matched anywhere in a name, in
// lower case ("Actes du colloque ...", "Atti del convegno ...").
inline constexpr std::array<std::u16string_view, 14> kMeetingWords = {
    u"proceedings", u"proc.",      u"conference", u"symposium", u"workshop", u"congress", u"meeting",
    u"colloque",    u"colloquium", u"congr\u00E8s", u"journ\u00E9e", u"tagung", u"convegno", u"jornadas"};

template <std::size_t N>
constexpr bool Has(const std::array<std::u16string_view, N>& list, std::u16string_view word) {
  for (const std::u16string_view w : list)
    if (w == word) return true;
  return false;
}

template <std::size_t N>
constexpr bool HasSorted(const std::array<std::u16string_view, N>& list, std::u16string_view word) {
  const auto at = std::lower_bound(list.begin(), list.end(), word);
  return at != list.end() && *at == word;
}
static_assert(std::is_sorted(kRegions.begin(), kRegions.end()));

}  // namespace tf::lexicon
