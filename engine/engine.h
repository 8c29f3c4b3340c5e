// The engine both front ends run: the options, the words the operations
// look things up in, the named operations, and the texts being worked on.
// The window and the command line call these and nothing below them, so
// every command exists once. No Qt here.
#pragma once

#include <functional>
#include <memory>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/preferences.h"
#include "reference/export.h"
#include "reference/parser.h"
#include "smart/smart.h"
#include "squish/vocabulary.h"
#include "text/text.h"

namespace tf::engine {

enum class Mode { Classic, Smart };

// Which word list the vocabulary takes its extra words from.
struct WordListChoice {
  bool useFile = true;              // false: the built-in words only
  std::optional<std::string> path;  // named by the user; else found by name
};

// Everything the operations look words up in, loaded once and not changed
// after: smart mode's dictionary is made from it the first time it is
// asked for, and would not follow a change.
class Words final {
 public:
  // No words at all.
  Words();
  Words(Vocabulary classic, smart::TitleLists titleLists);
  // The built-in words alone, no user list.
  static Words BuiltIn();
  Words(Words&&) noexcept;
  Words& operator=(Words&&) noexcept;
  ~Words();

  // Classic mode's vocabulary: the built-in words and the user's list.
  const Vocabulary& ClassicWords() const { return m_classic; }
  // The user's acronyms and small words, for smart title case.
  const smart::TitleLists& TitleLists() const { return m_titleLists; }

  // Smart mode's dictionary (English, with the vocabulary's words as the
  // user's own) and lists; made the first time it is asked for.
  const smart::Lexicon& Lexicon() const;

 private:
  Vocabulary m_classic = Vocabulary::Empty();
  smart::TitleLists m_titleLists;
  struct Lazy;
  std::unique_ptr<Lazy> m_lazy;
};

struct LoadedWords {
  Words words;
  // One line each: a list that could not be read (the built-in words are
  // used instead), or a file that was passed over.
  std::vector<std::string> warnings;
};

// When the user named a word list that does not exist, the one-line message
// to stop with (the run cannot do what was asked); nullopt otherwise.
std::optional<std::string> MissingNamedList(const WordListChoice& choice);

// ---- failures ---------------------------------------------------------------

// What stopped an operation, as every front end reports it: the same
// condition reads the same on the command line, from the clipboard server
// and in the window.
struct Failure {
  enum class Kind {
    OutOfMemory,  // memory ran out, or a text grew beyond what a string holds
    Other,
  };
  Kind kind;
  std::string message;  // one line, lower case, no program name, no full stop
};
// The failure `error` stands for.
Failure FailureOf(std::exception_ptr error);

// Says `message` on standard error as the whole program does there:
// "titlefixer: " before it, a line end after it.
void Complain(std::string_view message);

// ---- texts in and out, for the front ends ------------------------------------

// A file read whole ("-": standard input) and decoded as the program reads
// every text: UTF-8 (a byte-order mark dropped), UTF-16 with a byte-order
// mark, else Windows-1252. `error` is the errno of a failed read, else 0.
struct Input {
  std::u16string text;
  int error = 0;
};
Input ReadInput(const std::string& path);
// The text as the program writes it: UTF-8.
std::string ToUtf8(std::u16string_view text);
// The folder where the user's lists are looked for after the working
// directory (empty when there is no home).
std::string UserFolder();

// Why the data built into the program (the reference model, the English
// dictionary) cannot be used: a damaged copy or a build that mixed parts of
// two versions. nullopt when it can. Reads their headers only.
std::optional<std::string> BuiltInDataProblem();

// Loads the words for the choice (and the user's acronyms.txt and
// smallwords.txt, found like wordlist.txt). Never fails: what cannot be read
// is reported in the warnings and left out. With `indexed`,
// classic mode's index is built too, so that the first squish is instant.
LoadedWords LoadWords(const WordListChoice& choice, bool indexed = false);

// The mode asked for, else the one the preferences remember, else classic.
Mode ChosenMode(std::optional<Mode> asked, const Preferences& preferences);

// A reference as a list shows it: its authors, year, title and container
// as the commands print them, and its whole text (with smart mode's
// character repairs, on one line).
struct ReferenceSummary {
  std::u16string authors, year, title, container, text;
  bool recognised = false;  // false: neither authors nor a title were found
};
ReferenceSummary Summarise(const reference::Reference& r);

// Whether smart mode would repair something classic leaves in a text:
// ligatures, odd spaces, soft hyphens and zero-width characters, a word
// hyphenated at a line end, or a letter-spaced word.
bool SmartWouldRepair(std::u16string_view text);

// How many words of `after` a squish made of letters spaced out in
// `before`: those of its words that `before` did not hold.
size_t WordsJoined(std::u16string_view before, std::u16string_view after);

// The operations, for one mode and one set of words.
class Engine final {
  AuthorsTitle ParsedSplit(std::u16string_view text, bool raw) const;
  // The tool's own reference formats, split as classic splits them.
  bool OwnFormat(std::u16string_view text) const;

 public:
  Engine(Mode mode, const Words& words) : m_mode(mode), m_words(&words) {}
  Mode GetMode() const { return m_mode; }

  // The text as one title-cased line.
  std::u16string Clean(std::u16string_view text) const;
  // The text's lines joined (blank lines kept as paragraph breaks when
  // `paragraphs`), without the letter-spacing repair of the result; smart
  // mode repairs the lines before joining them unless `repairSpacing` is
  // off.
  std::u16string JoinLines(std::u16string_view text, bool paragraphs, bool repairSpacing = true) const;
  // The letter-spacing repair.
  std::u16string Squish(std::u16string_view text) const;
  // The join command: the lines joined, then the letter-spacing repaired
  // unless `squish` is off.
  std::u16string Join(std::u16string_view text, bool paragraphs, bool squish = true) const;
  // The authors and the title of a reference: of its title-cased form, or
  // of the text as it is when `raw`. Classic splits at the first ';' or
  // ':'; smart mode does so for the tool's own formats and reads any other
  // reference with the reference parser.
  AuthorsTitle Split(std::u16string_view text, bool raw) const;
  // As Split(text, false), when Clean(text) is already at hand.
  AuthorsTitle SplitCleaned(std::u16string_view text, std::u16string_view cleaned) const;

  // The text as one reference, taken apart (in either mode).
  reference::Reference ParseReference(std::u16string_view text) const;
  // A writer of references in `format` that knows the user's lists.
  reference::Writer ReferenceWriter(reference::Format format, bool null) const;
  // The text as one reference, written in `format`.
  std::u16string ExportReference(std::u16string_view text, reference::Format format) const;
  // The references in a text, each parsed: a list is found reference by
  // reference (headings, page numbers and running heads left out); a text
  // that holds one reference is parsed whole, as ParseReference parses it;
  // a blank text holds none.
  std::vector<reference::Reference> FindReferences(std::u16string_view text) const;
  // The same, one reference at a time, until `each` returns false (then
  // false).
  bool ForEachReference(std::u16string_view text, const std::function<bool(const reference::Reference&)>& each) const;
  // References written in `format`, framed as one output.
  std::u16string ExportReferences(const std::vector<reference::Reference>& references, reference::Format format) const;

 private:
  Mode m_mode;
  const Words* m_words;
};

// The texts the window works on: the clipboard text as it was read, the
// working text, and the reference's authors and title.
class Session final {
 public:
  explicit Session(const Words& words) : m_words(&words) {}

  void SetMode(Mode mode) { m_mode = mode; }
  Mode GetMode() const { return m_mode; }
  Engine Operations() const { return Engine(m_mode, *m_words); }

  // The texts, also as shared handles for a front end that shows them
  // without copying (a paste may be large).
  using Shared = std::shared_ptr<const std::u16string>;
  const std::u16string& Raw() const { return *m_raw; }
  const std::u16string& Working() const { return *m_working; }
  const std::u16string& Authors() const { return *m_authors; }
  const std::u16string& Title() const { return *m_title; }
  const Shared& SharedRaw() const { return m_raw; }
  const Shared& SharedWorking() const { return m_working; }
  const Shared& SharedAuthors() const { return m_authors; }
  const Shared& SharedTitle() const { return m_title; }
  // The user's edits of the working text.
  void SetWorking(std::u16string text) { m_working = Make(std::move(text)); }

  // Start-up: reads a clipboard text as Refresh does.
  void StartUp(std::u16string clipboard);
  // True once the authors and title have been split from a text.
  bool HasSplit() const { return m_hasSplit; }
  // Reads a clipboard text: the working text is its title-cased form, and
  // the authors and title are split from it.
  void Refresh(std::u16string clipboard);
  // Reads a clipboard text and joins its lines into the working text.
  void JoinLines(std::u16string clipboard, bool paragraphs);
  // Repairs letter-spacing in the working text.
  void Squish();

 private:
  static Shared Make(std::u16string text) { return std::make_shared<const std::u16string>(std::move(text)); }

  const Words* m_words;
  Mode m_mode = Mode::Classic;
  Shared m_raw = Make({}), m_working = Make({}), m_authors = Make({}), m_title = Make({});
  bool m_hasSplit = false;
};

}  // namespace tf::engine
