#include "reference/training/labelled.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "io/encoding.h"
#include "text/text.h"

namespace tf::reference::training {

// The text as the scoring compares it: no case, no whitespace, no hyphens,
// no quotes (TeX's `` and '' among them), no punctuation at either end;
// in compatibility form, so that a ligature the parser wrote out ("fi" for
// U+FB01) is the same text; and without accents, which PDF text gives as
// marks of their own that the parser puts back onto their letters
// ("Arbel\u00B4aez" is "Arbel\u00E1ez"), nor a symbol font's bullets.
std::u16string Normal(std::u16string_view s) {
  std::u16string out;
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfkd = icu::Normalizer2::getNFKDInstance(status);
  icu::UnicodeString folded;
  if (U_SUCCESS(status)) folded = nfkd->normalize(icu::UnicodeString(false, s.data(), static_cast<int32_t>(s.size())), status);
  const std::u16string_view text =
      U_SUCCESS(status) ? std::u16string_view(folded.getBuffer(), static_cast<size_t>(folded.length())) : s;
  for (char16_t c : LCase(text)) {
    const int8_t type = u_charType(c);
    // A symbol font's glyph (a list's bullet) is no text.
    if (type == U_NON_SPACING_MARK || type == U_MODIFIER_SYMBOL || type == U_PRIVATE_USE_CHAR) continue;
    if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'-' || c == u'\u2010' || c == u'\u2011' ||
        c == u'\u2013' || c == u'\u2014' || c == u'"' || c == u'\'' || c == u'`' || c == u'\u201C' || c == u'\u201D' ||
        c == u'\u2018' || c == u'\u2019' || c == u'\u00AB' || c == u'\u00BB')
      continue;
    out += c;
  }
  const auto punct = [](char16_t c) { return u_ispunct(c); };
  while (!out.empty() && punct(out.back())) out.pop_back();
  size_t a = 0;
  while (a < out.size() && punct(out[a])) ++a;
  return out.substr(a);
}

std::vector<LabelledReference> LoadLabelled(const std::filesystem::path& folder, const char* tool) {
  std::vector<std::filesystem::path> files;
  if (std::filesystem::is_regular_file(folder)) files.push_back(folder);
  else
    for (const auto& e : std::filesystem::directory_iterator(folder))
      if (e.path().extension() == ".xml") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  std::vector<LabelledReference> out;
  for (const auto& file : files) {
    pugi::xml_document doc;
    // Each part's text as it stands: white space alone kept, line ends not
    // rewritten.
    const unsigned options = (pugi::parse_default | pugi::parse_ws_pcdata) & ~pugi::parse_eol;
    if (const auto read = doc.load_file(file.c_str(), options, pugi::encoding_utf8); !read) {
      std::fprintf(stderr, "%s: cannot read %s: %s\n", tool, file.c_str(), read.description());
      std::exit(1);
    }
    for (const auto& sequence : doc.child("dataset").children("sequence")) {
      LabelledReference ref;
      for (const auto& part : sequence.children())
        if (part.type() == pugi::node_element) ref.push_back({part.name(), DecodeText(part.child_value())});
      out.push_back(std::move(ref));
    }
  }
  return out;
}

}  // namespace tf::reference::training
