#include "engine/engine.h"

#include <cerrno>
#include <cstring>

#include "io/files.h"
#include "squish/squish.h"

namespace tf::engine {

std::optional<std::string> MissingNamedList(const WordListChoice& choice) {
  if (!choice.useFile || !choice.path) return std::nullopt;
  const int error = PathError(*choice.path);
  if (error != ENOENT && error != ENOTDIR) return std::nullopt;
  return *choice.path + ": " + std::strerror(error);
}

LoadedWords LoadWords(const WordListChoice& choice) {
  LoadedWords out;
  UserFile list;
  if (choice.useFile) list = choice.path ? ReadNamedFile(*choice.path) : FindUserFile("wordlist.txt");
  for (const auto& skipped : list.skipped) out.warnings.push_back(skipped + "; passed over");
  if (list.status == UserFile::Status::Unreadable)
    out.warnings.push_back("cannot read the word list " + list.path + ": " + list.reason +
                           "; the built-in words are used");
  out.words.vocabulary = Vocabulary::StartWords(
      list.status == UserFile::Status::Loaded ? std::u16string_view(list.text) : std::u16string_view());
  return out;
}

std::u16string Engine::Clean(std::u16string_view text) const { return CleanTitle(text); }

std::u16string Engine::JoinLines(std::u16string_view text, bool paragraphs) const {
  return paragraphs ? JustLineBreaks2(text) : JustLineBreaks(text);
}

std::u16string Engine::Squish(std::u16string_view text) const {
  return SquishText(text, m_words->vocabulary);
}

AuthorsTitle Engine::Split(std::u16string_view text, bool raw) const {
  return raw ? GetAuthorsTitle(text) : SplitCleaned(text, Clean(text));
}

AuthorsTitle Engine::SplitCleaned(std::u16string_view, std::u16string_view cleaned) const {
  return GetAuthorsTitle(cleaned);
}

void Session::StartUp(std::u16string clipboard) {
  if (m_mode == Mode::Smart) return Refresh(std::move(clipboard));
  m_raw = Make(std::move(clipboard));
  m_working = Make(Operations().Clean(*m_raw));
}

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
