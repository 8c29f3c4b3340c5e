#include "reference/tokens.h"

#include <unicode/uchar.h>

#include <algorithm>

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

}  // namespace tf::reference
