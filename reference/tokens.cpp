#include "reference/tokens.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>

#include "text/text.h"

namespace tf::reference {
namespace {

struct TagLabel {
  std::string_view tag;
  Label label;
};
constexpr std::array<TagLabel, 23> kTags = {{
    {"citation-number", Label::CitationNumber}, {"author", Label::Author},
    {"editor", Label::Editor},                  {"translator", Label::Editor},
    {"director", Label::Editor},                {"producer", Label::Editor},
    {"date", Label::Date},                      {"title", Label::Title},
    {"journal", Label::Journal},                {"container-title", Label::Container},
    {"collection-title", Label::Container},     {"source", Label::Container},
    {"volume", Label::Volume},                  {"pages", Label::Pages},
    {"publisher", Label::Publisher},            {"location", Label::Location},
    {"edition", Label::Edition},                {"doi", Label::Doi},
    {"url", Label::Url},                        {"note", Label::Note},
    {"genre", Label::Note},                     {"medium", Label::Note},
    {"isbn", Label::Note},
}};

constexpr std::array<const char*, kLabels> kNames = {
    "citation-number", "author", "editor", "date", "title", "journal", "container", "volume",
    "pages", "publisher", "location", "edition", "doi", "url", "note"};

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

size_t LabelOfTag(std::string_view tag) {
  for (const auto& t : kTags)
    if (t.tag == tag) return static_cast<size_t>(t.label);
  return kLabels;
}

const char* NameOf(Label label) { return kNames[static_cast<size_t>(label)]; }

std::u16string FirstYear(std::u16string_view s) {
  const auto digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  for (size_t i = 0; i + 4 <= s.size(); ++i) {
    if (i > 0 && (digit(s[i - 1]) || u_isalpha(s[i - 1]))) continue;
    if (!digit(s[i]) || !digit(s[i + 1]) || !digit(s[i + 2]) || !digit(s[i + 3])) continue;
    if (i + 4 < s.size() && digit(s[i + 4])) continue;
    const int v = (s[i] - u'0') * 1000 + (s[i + 1] - u'0') * 100 + (s[i + 2] - u'0') * 10 + (s[i + 3] - u'0');
    if (IsYear(v)) return std::u16string(s.substr(i, 4));
  }
  return {};
}

std::vector<Token> Tokenize(std::u16string_view text, size_t most) {
  // Counted first, so that the tokens are placed once: every reference is
  // tokenized, and its parts are again, many times.
  size_t count = 0;
  for (size_t k = 0; k < text.size(); ++k) count += !IsSpace(text[k]) && (k == 0 || IsSpace(text[k - 1]));
  std::vector<Token> tokens;
  tokens.reserve(std::min(count, most));
  size_t i = 0;
  while (i < text.size() && tokens.size() < most) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i == text.size()) break;
    const size_t begin = i;
    while (i < text.size() && !IsSpace(text[i])) ++i;
    tokens.push_back({text.substr(begin, i - begin), begin, i});
  }
  return tokens;
}

// A month's number from its name or abbreviation ("March", "Mar.",
// "Sept."), in English, French, German or Spanish; 0 for none.
int MonthOf(std::u16string_view word) {
  static constexpr std::array<std::array<std::u16string_view, 4>, 12> kMonths = {{
      {u"january", u"janvier", u"januar", u"enero"},      {u"february", u"f\u00E9vrier", u"februar", u"febrero"},
      {u"march", u"mars", u"m\u00E4rz", u"marzo"},        {u"april", u"avril", u"april", u"abril"},
      {u"may", u"mai", u"mai", u"mayo"},                  {u"june", u"juin", u"juni", u"junio"},
      {u"july", u"juillet", u"juli", u"julio"},           {u"august", u"ao\u00FBt", u"august", u"agosto"},
      {u"september", u"septembre", u"september", u"septiembre"}, {u"october", u"octobre", u"oktober", u"octubre"},
      {u"november", u"novembre", u"november", u"noviembre"}, {u"december", u"d\u00E9cembre", u"dezember", u"diciembre"},
  }};
  std::u16string w = LCase(word);
  while (!w.empty() && !u_isalpha(w.back())) w.pop_back();
  // The bracket a date opens with ("(July 1991)", "[Oct. 1994]").
  while (!w.empty() && (w.front() == u'(' || w.front() == u'[')) w.erase(0, 1);
  if (w.size() < 3) return 0;
  for (size_t m = 0; m < kMonths.size(); ++m)
    for (std::u16string_view name : kMonths[m])
      // The whole name, or its first three or four letters ("Sep", "Sept").
      if (w == name || (w.size() <= 4 && name.starts_with(w))) return static_cast<int>(m) + 1;
  return 0;
}

}  // namespace tf::reference
