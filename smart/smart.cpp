#include "smart/smart.h"

#include "squish/squish.h"

namespace tf::smart {
namespace {

std::u16string Characters(std::u16string_view text, const Lexicon& lexicon) {
  return RepairText(text, lexicon.dictionary);
}


}  // namespace

std::u16string Clean(std::u16string_view text, const Lexicon& lexicon) {
  const std::u16string line = RepairSpacedWords(OneLine(Characters(text, lexicon)), lexicon.dictionary);
  std::u16string titled = TitleCase(line, lexicon.lists);
  // Title case joins the words with single spaces, which can bring single
  // letters side by side that a wider gap kept apart ('of e I    t'); one
  // more round repairs those, so that clean on its own result changes
  // nothing.
  std::u16string again = RepairSpacedWords(titled, lexicon.dictionary);
  return again == titled ? titled : TitleCase(again, lexicon.lists);
}

std::u16string JoinLines(std::u16string_view text, bool paragraphs, bool repairSpacing, const Lexicon& lexicon) {
  std::u16string t = Characters(text, lexicon);
  if (repairSpacing) t = RepairSpacedLines(t, lexicon.dictionary);
  if (!paragraphs) return JustLineBreaks(t);
  // A paragraph break is a blank line in the text's own convention (CR LF
  // CR LF when it has CR LF, else LF LF), which every program reads as one;
  // the classic CR CR is for classic mode alone.
  std::u16string joined = JustLineBreaksKeepingParagraphs(MarkParagraphs(t));
  const std::u16string_view blankLine = text.find(u"\r\n") != std::u16string_view::npos ? u"\r\n\r\n" : u"\n\n";
  std::u16string out;
  out.reserve(joined.size());
  for (size_t i = 0; i < joined.size(); ++i) {
    if (joined[i] == u'\r' && i + 1 < joined.size() && joined[i + 1] == u'\r') {
      out += blankLine;
      ++i;
    } else {
      out += joined[i];
    }
  }
  return out;
}

std::u16string Squish(std::u16string_view text, const Lexicon& lexicon) {
  const std::u16string t = Characters(text, lexicon);
  std::u16string repaired = TidyPunctuation(RepairSpacedLines(Trim(t), lexicon.dictionary));
  return std::u16string(Trim(repaired));
}

std::u16string PrepareRaw(std::u16string_view text, const Lexicon& lexicon) {
  return MarkParagraphs(Characters(text, lexicon));
}

std::u16string OneLine(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    out += text[i] == u'\r' || text[i] == u'\n' || text[i] == u'\t' ? u' ' : text[i];
  }
  return out;
}

}  // namespace tf::smart
