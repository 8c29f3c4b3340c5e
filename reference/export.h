// References written for reference managers: CSL-JSON (citeproc, pandoc,
// Zotero), BibTeX and RIS.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "reference/parser.h"
#include "smart/rules.h"

namespace tf::reference {

enum class Format { CslJson, BibTeX, Ris };

// Writes the references of one run in one format, framed for the whole run:
// CSL-JSON as one array; BibTeX and RIS records separated by a blank line,
// or each ending with a NUL when `null`.
class Writer final {
 public:
  // `lists` are the user's acronyms and small words, for BibTeX's title case.
  Writer(Format format, bool null, const smart::TitleLists& lists) : m_format(format), m_null(null), m_lists(&lists) {}

  // What comes before the first record.
  std::u16string Begin() const;
  // One reference's record, with what separates it from the one before.
  std::u16string Add(const Reference& r);
  // What comes after the last record.
  std::u16string End() const;

  // The whole output for one reference.
  static std::u16string One(Format format, const Reference& r, const smart::TitleLists& lists);

 private:
  std::u16string Key(const Reference& r);

  Format m_format;
  bool m_null;
  const smart::TitleLists* m_lists;
  size_t m_count = 0;
  std::unordered_set<std::u16string> m_keys;              // the keys given so far
  std::vector<Person> m_lastAuthors;                      // the last names given, for a repeated-author dash
  bool m_lastMore = false;
  std::unordered_map<std::u16string, size_t> m_repeats;  // the suffixes used per key
};

// The title as BibTeX should keep it: in title case, with every word
// that has capitals past its first letter ('TOUGH2', 'pH', 'McDonald')
// in braces, and BibTeX's special characters escaped.
std::u16string BibTeXTitle(std::u16string_view title, const smart::TitleLists& lists);

}  // namespace tf::reference
