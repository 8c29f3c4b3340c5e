// Reading the files the program is given or finds: input FILEs, and the
// user's word lists in the working directory or the configuration folder.
// Paths are bytes, as Linux keeps them; nothing here assumes UTF-8.
#pragma once

#include <string>
#include <vector>

namespace tf {

// Reads the whole of `path` (standard input for "-") and appends it to
// `bytes`. Blocks on pipes as a named input should. Returns 0, or the errno
// that stopped it.
int ReadFileBytes(const std::string& path, std::string& bytes);

// A user file, read and decoded (UTF-8 when valid, otherwise Windows-1252).
struct UserFile {
  enum class Status { Loaded, Missing, Unreadable };
  Status status = Status::Missing;
  std::string path;                  // the file read, or the one that failed
  std::string reason;                // why it could not be read
  std::u16string text;               // Loaded: its text
  std::vector<std::string> skipped;  // files found but passed over, each with why
};

// 0 when `path` exists (a link is followed), else the errno that says why
// not. Nothing is opened, so a pipe is not consumed.
int PathError(const std::string& path);

// A file the user named: read even when it is a pipe. Missing when it does
// not exist.
UserFile ReadNamedFile(const std::string& path);

// A file found rather than named, read only when it is a regular file: the
// open never blocks, and anything else is Missing with a note in `skipped`.
UserFile ReadFoundFile(const std::string& path);

// `name` in the working directory or else in the configuration folder, read.
// A candidate that is not a regular file (a FIFO, a device, a folder) is
// passed over without being opened for reading, so it can never block;
// it is listed in `skipped`. A candidate that exists but cannot be read (a
// link loop, no permission, a read error) is Unreadable.
UserFile FindUserFile(const std::string& name);

// $XDG_CONFIG_HOME/titlefixer, or ~/.config/titlefixer; empty when neither
// variable gives an absolute folder.
std::string ConfigFolder();

}  // namespace tf
