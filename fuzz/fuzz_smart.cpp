// Smart mode's commands on any text: no character is lost or added but
// those the rules name (after the repairs of what extractors leave), clean is stable on its own output, and classic
// results stay the literal ones.
#include "engine/engine.h"
#include "fuzz/fuzz_common.h"
#include "smart/smart.h"
#include "tests/literal/literal.h"

namespace {

using S = std::u16string;

// The characters that matter to the rules, made likely.
S SmartText(const uint8_t* data, size_t size) {
  static const S kPool[] = {
      u" ",  u" ",     u" ",      u"\t",     u"\r",     u"\n",     u"\r\n",   u"-",      u"a", u"e", u"t",
      u"h",  u"r",     u"m",      u"l",      u"o",      u"g",      u"i",      u"s",      u"n", u"A", u"E",
      u"T",  u"H",     u"I",      u"N",      u"2",      u".",      u",",      u":",      u";", u"?", u"(",
      u")",  u"\"",    u"\u201C", u"\u201D", u"\uFB01", u"\uFB02", u"\uFB00", u"\uFB05", u"\u00A0",
      u"\u2009", u"\u200B", u"\uFEFF", u"\u2010", u"\u2011", u"\u00AD", u"\u2014", u"\u2013", u"\u00E9",
      u"\u00C9", u"\U00010428", u"the ", u"of ", u"and ", u"heat", u"rock", u"NASA", u"pH", u"iv", u"XIV",
      u"\f", u"\v", u"\u2028", u"\u0085", u"\u00A8", u"\u00B4", u"\u0131", u"\u0308", u"\uFB03", u"https : / / ",
      u" . ", u" / ", u"cient", u"de ", u"https://", u"/", u"doi.org/10.1"};
  constexpr size_t kCount = sizeof kPool / sizeof kPool[0];
  S s;
  for (size_t i = 0; i < size; ++i) s += kPool[data[i] % kCount];
  return s;
}

// The text without blanks, line breaks and hyphens, in one case: what no
// rule but 1 may change.
S Letters(std::u16string_view s) {
  S kept;
  for (char16_t c : s)
    if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n' && c != u'-') kept += c;
  return tf::UCase(tf::LCase(kept));
}

// Rule 1 written out character by character, as the check's own account.
S Characters(std::u16string_view s) {
  S out;
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (c == 0xFB00) out += u"ff";
    else if (c == 0xFB01) out += u"fi";
    else if (c == 0xFB02) out += u"fl";
    else if (c == 0xFB03) out += u"ffi";
    else if (c == 0xFB04) out += u"ffl";
    else if (c == 0xFB05 || c == 0xFB06) out += u"st";
    else if (c == 0x00A0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000 || c == 0x000B)
      out += u' ';
    else if (c == 0x000C || c == 0x0085 || c == 0x2028 || c == 0x2029) out += u'\n';
    else if (c == 0x200B || c == 0x2060 || c == 0xFEFF) continue;
    else if (c == 0x2010 || c == 0x2011) out += u'-';
    else if (c == 0x00AD) {
      if (i + 2 < s.size() + 1 && s.substr(i + 1, 2) == u"\r\n") i += 2;
      else if (i + 1 < s.size() && (s[i + 1] == u'\r' || s[i + 1] == u'\n')) i += 1;
    } else out += c;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tf;
  if (size > 4000) return 0;
  static const engine::Words words(Vocabulary{}, smart::TitleLists{});
  const S in = size && data[0] & 1 ? fuzz::Units(data + 1, size - 1) : SmartText(data, size);
  const engine::Engine smart(engine::Mode::Smart, words), classic(engine::Mode::Classic, words);
  const smart::Lexicon& lexicon = words.Lexicon();

  TF_CHECK(smart::RepairCharacters(in) == Characters(in), in);
  // What the extractors' repairs make of the text is what the other rules
  // must keep.
  const S characters = smart::RepairCharacters(in, lexicon.dictionary);
  const S letters = Letters(characters);

  const S clean = smart.Clean(in);
  TF_CHECK(Letters(clean) == letters, in);
  TF_CHECK(clean.find_first_of(u"\r\n\t") == S::npos, in);
  TF_CHECK(smart.Clean(clean) == clean, in);
  for (const bool paragraphs : {false, true}) {
    const S joined = smart.JoinLines(in, paragraphs);
    TF_CHECK(Letters(joined) == letters, in);
    TF_CHECK(Letters(smart.Squish(joined)) == letters, in);
  }
  TF_CHECK(Letters(smart.Squish(in)) == letters, in);
  TF_CHECK(Letters(smart::RepairSpacedLines(characters, lexicon.dictionary)) == letters, in);

  // Classic is untouched by smart mode's existence.
  const auto a = in.find_first_not_of(u" \r\n\t");
  const S stripped = a == S::npos ? S() : in.substr(a, in.find_last_not_of(u" \r\n\t") - a + 1);
  TF_CHECK(classic.Clean(in) == literal::CleanTitle(stripped), in);
  return 0;
}
