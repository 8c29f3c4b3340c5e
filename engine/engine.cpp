#include "engine/engine.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include <unicode/uchar.h>

#include "io/encoding.h"
#include "io/files.h"
#include "reference/finder.h"
#include "reference/model.h"
#include "smart/dictionary.h"
#include "squish/squish.h"

namespace tf::engine {

Failure FailureOf(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::bad_alloc&) {
    return {Failure::Kind::OutOfMemory, "not enough memory for this text"};
  } catch (const std::length_error&) {
    // A text too long to hold: the same condition for whoever reads it.
    return {Failure::Kind::OutOfMemory, "not enough memory for this text"};
  } catch (const std::exception& e) {
    return {Failure::Kind::Other, e.what()};
  } catch (...) {
    return {Failure::Kind::Other, "an unknown failure"};
  }
}

void Complain(std::string_view message) {
  std::string line = "titlefixer: ";
  line += message;
  line += '\n';
  std::fputs(line.c_str(), stderr);
}

Input ReadInput(const std::string& path) {
  Input in;
  std::string bytes;
  in.error = ReadFileBytes(path, bytes);
  if (in.error == 0) in.text = DecodeText(bytes);
  return in;
}

std::string ToUtf8(std::u16string_view text) { return EncodeUtf8(text); }

std::string UserFolder() { return ConfigFolder(); }

std::optional<std::string> BuiltInDataProblem() {
  if (const reference::Model& model = reference::Model::BuiltIn(); !model.Valid())
    return "its reference model cannot be used (" + model.Problem() + ")";
  // A trie of the root alone holds no word: the bytes were not a trie.
  if (smart::Dictionary::English().NumNodes() <= 1) return "its English dictionary cannot be read";
  return std::nullopt;
}

std::optional<std::string> MissingNamedList(const WordListChoice& choice) {
  if (!choice.useFile || !choice.path) return std::nullopt;
  const int error = PathError(*choice.path);
  if (error != ENOENT && error != ENOTDIR) return std::nullopt;
  return *choice.path + ": " + std::strerror(error);
}

namespace {

// The words of a user's list file (acronyms.txt, smallwords.txt), with a
// warning when it is there but cannot be read.
std::vector<std::u16string> ListFile(const std::string& name, std::vector<std::string>& warnings) {
  const UserFile file = FindUserFile(name);
  for (const auto& skipped : file.skipped) warnings.push_back(skipped + "; passed over");
  if (file.status == UserFile::Status::Unreadable)
    warnings.push_back("cannot read " + file.path + ": " + file.reason + "; it is left out");
  std::vector<std::u16string> words;
  if (file.status == UserFile::Status::Loaded)
    for (const auto w : BreakWords(file.text))
      if (!w.empty()) words.emplace_back(w);
  return words;
}

}  // namespace

struct Words::Lazy {
  std::once_flag once;
  std::unique_ptr<smart::Lexicon> lexicon;
};

Words::Words() : m_lazy(std::make_unique<Lazy>()) {}
Words::Words(Vocabulary classic, smart::TitleLists titleLists)
    : m_classic(std::move(classic)), m_titleLists(std::move(titleLists)), m_lazy(std::make_unique<Lazy>()) {}
Words Words::BuiltIn() { return Words(Vocabulary(), smart::TitleLists()); }
Words::Words(Words&&) noexcept = default;
Words& Words::operator=(Words&&) noexcept = default;
Words::~Words() = default;

const smart::Lexicon& Words::Lexicon() const {
  std::call_once(m_lazy->once, [this] {
    m_lazy->lexicon = std::make_unique<smart::Lexicon>(smart::Lexicon{smart::Dictionary(std::vector<std::u16string>(m_classic.WordList())), m_titleLists});
  });
  return *m_lazy->lexicon;
}

LoadedWords LoadWords(const WordListChoice& choice, bool indexed) {
  LoadedWords out;
  {
    UserFile list;
    if (choice.useFile) list = choice.path ? ReadNamedFile(*choice.path) : FindUserFile("wordlist.txt");
    for (const auto& skipped : list.skipped) out.warnings.push_back(skipped + "; passed over");
    if (list.status == UserFile::Status::Unreadable)
      out.warnings.push_back("cannot read the word list " + list.path + ": " + list.reason +
                             "; the built-in words are used");
    Vocabulary classic = Vocabulary::StartWords(
        list.status == UserFile::Status::Loaded ? std::u16string_view(list.text) : std::u16string_view());
    if (indexed) classic.Index();
    std::vector<std::u16string> acronyms = ListFile("acronyms.txt", out.warnings);
    out.words = Words(std::move(classic),
                      smart::TitleLists(std::move(acronyms), ListFile("smallwords.txt", out.warnings)));
  }
  return out;
}

Mode ChosenMode(std::optional<Mode> asked, const Preferences& preferences) {
  if (asked) return *asked;
  return preferences.smart.value_or(false) ? Mode::Smart : Mode::Classic;
}

std::u16string Engine::Clean(std::u16string_view text) const {
  return m_mode == Mode::Smart ? smart::Clean(text, m_words->Lexicon()) : CleanTitle(text);
}

std::u16string Engine::JoinLines(std::u16string_view text, bool paragraphs, bool repairSpacing) const {
  if (m_mode == Mode::Smart) return smart::JoinLines(text, paragraphs, repairSpacing, m_words->Lexicon());
  return paragraphs ? JustLineBreaksKeepingParagraphs(text) : JustLineBreaks(text);
}

std::u16string Engine::Squish(std::u16string_view text) const {
  return m_mode == Mode::Smart ? smart::Squish(text, m_words->Lexicon()) : SquishText(text, m_words->ClassicWords());
}

std::u16string Engine::Join(std::u16string_view text, bool paragraphs, bool squish) const {
  std::u16string joined = JoinLines(text, paragraphs, squish);
  return squish ? Squish(joined) : joined;
}

AuthorsTitle Engine::Split(std::u16string_view text, bool raw) const {
  if (m_mode == Mode::Classic) return raw ? GetAuthorsTitle(text) : GetAuthorsTitle(CleanTitle(text));
  if (!OwnFormat(text)) return ParsedSplit(text, raw);
  return GetAuthorsTitle(raw ? smart::PrepareRaw(text, m_words->Lexicon()) : Clean(text));
}

AuthorsTitle Engine::SplitCleaned(std::u16string_view text, std::u16string_view cleaned) const {
  if (m_mode == Mode::Classic || OwnFormat(text)) return GetAuthorsTitle(cleaned);
  return ParsedSplit(text, false);
}

bool Engine::OwnFormat(std::u16string_view text) const {
  return reference::OwnFormat(smart::PrepareRaw(text, m_words->Lexicon()));
}

AuthorsTitle Engine::ParsedSplit(std::u16string_view text, bool raw) const {
  const reference::Reference r = ParseReference(text);
  // No reference at all (no title found, no year): the text is a title,
  // with every repair clean makes.
  if (r.title.Empty() && r.year.empty()) {
    std::u16string title = raw ? smart::RepairSpacedWords(r.text, m_words->Lexicon().dictionary) : Clean(text);
    return {std::u16string(), std::move(title)};
  }
  // Every repair the working text gets, letter-spaced words too.
  const smart::Dictionary& dictionary = m_words->Lexicon().dictionary;
  AuthorsTitle out{smart::RepairSpacedWords(reference::Trimmed(r.Text(r.authors), false), dictionary),
                   smart::RepairSpacedWords(reference::Trimmed(r.Text(r.title), true), dictionary)};
  if (raw) return out;
  return {reference::InitialsInCapitals(out.Authors), smart::TitleCase(out.Title, m_words->Lexicon().lists)};
}

reference::Reference Engine::ParseReference(std::u16string_view text) const {
  return reference::Parse(text, m_words->Lexicon().dictionary);
}

reference::Writer Engine::ReferenceWriter(reference::Format format, bool null) const {
  return reference::Writer(format, null, m_words->TitleLists());
}

std::u16string Engine::ExportReference(std::u16string_view text, reference::Format format) const {
  return reference::Writer::One(format, ParseReference(text), m_words->TitleLists());
}

bool Engine::ForEachReference(std::u16string_view text,
                              const std::function<bool(const reference::Reference&)>& each) const {
  const reference::FoundReferences found = reference::FindReferences(text);
  // Only blank lines besides one reference: the text is that reference,
  // read exactly as it always was.
  const auto blank = [&](const reference::Piece& p) {
    return text.substr(p.begin, p.end - p.begin).find_first_not_of(u" \t\r\n\f\v") == std::u16string_view::npos;
  };
  if (found.references.size() <= 1 && std::all_of(found.leftOut.begin(), found.leftOut.end(), blank))
    return found.references.empty() || each(ParseReference(text));
  for (const auto& r : found.references)
    if (!each(ParseReference(r.Text(text)))) return false;
  return true;
}

std::vector<reference::Reference> Engine::FindReferences(std::u16string_view text) const {
  std::vector<reference::Reference> out;
  ForEachReference(text, [&](const reference::Reference& r) {
    out.push_back(r);
    return true;
  });
  return out;
}

bool SmartWouldRepair(std::u16string_view text) {
  size_t singles = 0;  // single characters between spaces, in a row
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if ((c >= 0xFB00 && c <= 0xFB06) || c == 0x00A0 || (c >= 0x2000 && c <= 0x200B) || c == 0x202F || c == 0x00AD)
      return true;
    // "frac-" at a line's end, a letter before the hyphen.
    if (c == u'-' && i > 0 && i + 1 < text.size() && (text[i + 1] == u'\n' || text[i + 1] == u'\r') &&
        u_isalpha(text[i - 1]))
      return true;
    const bool single = u_isalpha(c) && (i == 0 || text[i - 1] == u' ') && (i + 1 == text.size() || text[i + 1] == u' ');
    singles = single ? singles + 1 : (c == u' ' ? singles : 0);
    if (singles >= 4) return true;
  }
  return false;
}

size_t WordsJoined(std::u16string_view before, std::u16string_view after) {
  std::unordered_map<std::u16string_view, size_t> had;
  const auto forEachWord = [](std::u16string_view s, auto&& f) {
    for (size_t i = 0; i < s.size();) {
      while (i < s.size() && (s[i] == u' ' || s[i] == u'\t' || s[i] == u'\r' || s[i] == u'\n')) ++i;
      const size_t from = i;
      while (i < s.size() && s[i] != u' ' && s[i] != u'\t' && s[i] != u'\r' && s[i] != u'\n') ++i;
      if (i > from) f(s.substr(from, i - from));
    }
  };
  forEachWord(before, [&](std::u16string_view w) { ++had[w]; });
  size_t joined = 0;
  forEachWord(after, [&](std::u16string_view w) {
    auto it = had.find(w);
    if (it != had.end() && it->second > 0) --it->second;
    else if (w.size() > 1) ++joined;
  });
  return joined;
}

ReferenceSummary Summarise(const reference::Reference& r) {
  ReferenceSummary s;
  s.authors = reference::Trimmed(r.Text(r.authors), false);
  s.year = r.year;
  s.title = reference::Trimmed(r.Text(r.title), true);
  s.container = reference::Trimmed(r.Text(r.container), true);
  s.text = r.text;
  s.recognised = !s.authors.empty() || !s.title.empty();
  return s;
}

std::u16string Engine::ExportReferences(const std::vector<reference::Reference>& references,
                                        reference::Format format) const {
  reference::Writer writer = ReferenceWriter(format, false);
  std::u16string out = writer.Begin();
  for (const auto& r : references) out += writer.Add(r);
  out += writer.End();
  return out;
}

// The authors and title are split at start-up too, so that no box ever
// holds anything but the clipboard's own text.
void Session::StartUp(std::u16string clipboard) { Refresh(std::move(clipboard)); }

void Session::Refresh(std::u16string clipboard) {
  const Engine e = Operations();
  m_raw = Make(std::move(clipboard));
  m_working = Make(e.Clean(*m_raw));
  AuthorsTitle parts = e.SplitCleaned(*m_raw, *m_working);
  m_authors = Make(std::move(parts.Authors));
  m_title = Make(std::move(parts.Title));
  m_hasSplit = true;
}

void Session::JoinLines(std::u16string clipboard, bool paragraphs) {
  m_raw = Make(std::move(clipboard));
  m_working = Make(Operations().JoinLines(*m_raw, paragraphs));
}

void Session::Squish() { m_working = Make(Operations().Squish(*m_working)); }

}  // namespace tf::engine
