// Finding and reading the user's word-list file.
#pragma once

#include <optional>
#include <string>

namespace tf {

struct WordListFile {
  enum class Status { Loaded, Missing, Unreadable };
  Status status = Status::Missing;
  std::string path;    // the file that was tried
  std::string reason;  // why it could not be read (Missing or Unreadable)
  std::u16string text; // its decoded text (Loaded)
};

// Reads the whole of `path` (a file, or standard input for "-") into
// `bytes`; returns 0, or the errno that stopped it.
int ReadFileBytes(const std::string& path, std::string& bytes);

// Reads and decodes `path` (UTF-8 when valid, otherwise Windows-1252).
// Never throws: a missing or unreadable file is reported in the result.
WordListFile ReadWordListFile(const std::string& path);

// The word list to use when none is named: "wordlist.txt" in the working
// directory if it exists, otherwise $XDG_CONFIG_HOME/titlefixer/wordlist.txt
// (default ~/.config/titlefixer/wordlist.txt) if that exists; nullopt when
// there is neither.
std::optional<std::string> DefaultWordListPath();

}  // namespace tf
