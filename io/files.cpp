#include "io/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "io/encoding.h"

namespace tf {
namespace {

// Appends what `fd` holds until its end; returns 0 or the errno.
int ReadAll(int fd, std::string& bytes) {
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
    bytes.reserve(bytes.size() + static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.append(buffer, static_cast<size_t>(got));
  }
}

UserFile Failed(const std::string& path, int error) {
  UserFile out;
  out.path = path;
  out.status = error == ENOENT ? UserFile::Status::Missing : UserFile::Status::Unreadable;
  out.reason = std::strerror(error);
  return out;
}

UserFile Loaded(const std::string& path, const std::string& bytes) {
  UserFile out;
  out.path = path;
  out.status = UserFile::Status::Loaded;
  out.text = DecodeText(bytes);
  return out;
}

// Reads a found candidate into `out`; returns false when there is nothing
// there to read (no such file, or not a regular file, which `skipped`
// notes). The open never blocks: a FIFO with no writer would otherwise hang
// it, and only a regular file is read.
bool ReadCandidate(const std::string& path, UserFile& out, std::vector<std::string>& skipped) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    const int error = errno;
    struct stat st {};
    // A dangling link is a file the user meant to give: report it.
    if (error == ENOENT && ::lstat(path.c_str(), &st) != 0) return false;
    out = Failed(path, error);
    out.status = UserFile::Status::Unreadable;
    return true;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const bool folder = S_ISDIR(st.st_mode);
    ::close(fd);
    skipped.push_back(path + (folder ? ": is a folder" : ": is not a regular file"));
    return false;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::string bytes;
  const int error = ReadAll(fd, bytes);
  ::close(fd);
  out = error ? Failed(path, error) : Loaded(path, bytes);
  return true;
}

}  // namespace

UserFile ReadFoundFile(const std::string& path) {
  UserFile out;
  std::vector<std::string> skipped;
  if (!ReadCandidate(path, out, skipped)) out.status = UserFile::Status::Missing;
  out.skipped = std::move(skipped);
  return out;
}

int ReadFileBytes(const std::string& path, std::string& bytes) {
  if (path == "-") return ReadAll(0, bytes);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return errno;
  const int error = ReadAll(fd, bytes);
  ::close(fd);
  return error;
}

int PathError(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? 0 : errno;
}

UserFile ReadNamedFile(const std::string& path) {
  std::string bytes;
  if (const int error = ReadFileBytes(path, bytes); error != 0) return Failed(path, error);
  return Loaded(path, bytes);
}

std::string ConfigFolder() {
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the base
  // directory convention says.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/')
    return std::string(xdg) + "/titlefixer";
  if (const char* home = std::getenv("HOME"); home && home[0] == '/')
    return std::string(home) + "/.config/titlefixer";
  return {};
}

UserFile FindUserFile(const std::string& name) {
  UserFile out;
  std::vector<std::string> skipped;
  std::vector<std::string> candidates = {name};
  if (const std::string folder = ConfigFolder(); !folder.empty())
    candidates.push_back(folder + "/" + name);
  for (const auto& path : candidates)
    if (ReadCandidate(path, out, skipped)) break;
  out.skipped = std::move(skipped);
  return out;
}

}  // namespace tf
