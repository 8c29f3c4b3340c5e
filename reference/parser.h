// A reference as pasted, in any citation style, taken apart: its authors
// (each as family and given names), year, title, container, volume, issue,
// pages, editors, publisher, place, DOI and URL.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "smart/dictionary.h"

namespace tf::reference {

struct Person {
  std::u16string family;    // with a particle that belongs to it ("de la Macorra" keeps "de la" in `particle`)
  std::u16string given;     // given names or initials, as written
  std::u16string particle;  // "van der", "de la" ...
  std::u16string suffix;    // Jr., III ...
  std::u16string literal;   // an organisation, when it is no person
  bool operator==(const Person&) const = default;
};

// A part of the text: [begin, end) of Reference::text; empty when absent.
struct Piece {
  size_t begin = 0, end = 0;
  bool Empty() const { return begin == end; }
};

// The kind of work.
enum class Type { Article, Chapter, Paper, Book, Thesis, Report, Web, Dataset, Standard, Other };

struct Reference {
  // The text the pieces are taken from: the reference with smart mode's
  // character repairs, line-end hyphens joined and line breaks as spaces.
  std::u16string text;
  Piece citationNumber, authors, editors, date, title, container, volume, pages, publisher, place, edition,
      doi, url, note;
  Piece number;          // a standard's designation ("ISO 8601-1:2019")
  bool journal = false;  // the container is a journal
  Type type = Type::Other;
  // Worked out from the pieces.
  std::vector<Person> authorList, editorList, translatorList;
  bool moreAuthors = false, moreEditors = false, moreTranslators = false;  // "et al."
  std::u16string year;       // four digits, or empty
  std::u16string volumeNumber, issueNumber, firstPage, lastPage;
  bool pageCount = false;  // firstPage is how many pages a book has ("402 p.")
  std::u16string doiName, urlText;  // 10.xxxx/..., http...

  std::u16string_view Text(const Piece& p) const { return std::u16string_view(text).substr(p.begin, p.end - p.begin); }
};

// The reference in `pasted` (one reference; a citation number such as [12]
// or 12. in front is recognised). Line-end hyphens are joined when the
// dictionary knows the word.
Reference Parse(std::u16string_view pasted, const smart::Dictionary& dictionary);
// The same with another model than the program's (the trainer measures
// its models through it).
class Model;
Reference Parse(std::u16string_view pasted, const smart::Dictionary& dictionary, const Model& model);

// What `authors` and `title` print: the piece without the punctuation that
// separates it from the next one (a trailing . , ; or :), keeping ? and !
// and the full stop of a final initial; a title without its quotes.
std::u16string Trimmed(std::u16string_view piece, bool isTitle);
// Whether a word (in lower case) is a role or a word around one, no part
// of a name: "ed.", "(Eds.)", "trans.", "Hrsg.", "by", "in" ...
bool IsRoleWord(std::u16string_view lower);
// The authors' text with every initial in capitals ('smith, j.r.' gives
// 'smith, J.R.').
std::u16string InitialsInCapitals(std::u16string_view authors);

// True for the tool's own two formats, which split as classic splits them:
// a text with no year whose first ';' is followed by a list of names in the
// "Surname, I.I." form ("THE GEOLOGY OF ...; grindley, g.w."), or with no
// ';' whose first ':' follows such a list ("Grant, M.A. and Bixley, P.F.:
// Geothermal reservoir engineering").
bool OwnFormat(std::u16string_view text);

// The names in an authors' or editors' text; `more` is set by "et al.".
// `familyFirst` says the style writes every name family name first, as
// China's GB/T 7714 does, so that "Weber Eugen" is Eugen Weber.
std::vector<Person> Names(std::u16string_view text, bool& more, bool familyFirst = false);

}  // namespace tf::reference
