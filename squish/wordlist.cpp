#include "squish/wordlist.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "text/text.h"

namespace tf {

int ReadFileBytes(const std::string& path, std::string& bytes) {
  const bool standardInput = path == "-";
  const int fd = standardInput ? 0 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
    bytes.reserve(bytes.size() + static_cast<size_t>(st.st_size));
  char buffer[65536];
  int error = 0;
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    bytes.append(buffer, static_cast<size_t>(got));
  }
  if (!standardInput) ::close(fd);
  return error;
}

WordListFile ReadWordListFile(const std::string& path) {
  WordListFile out;
  out.path = path;
  std::string bytes;
  if (const int error = ReadFileBytes(path, bytes); error != 0) {
    out.status = error == ENOENT ? WordListFile::Status::Missing : WordListFile::Status::Unreadable;
    out.reason = std::strerror(error);
    return out;
  }
  out.status = WordListFile::Status::Loaded;
  out.text = DecodeText(bytes);
  return out;
}

std::optional<std::string> DefaultWordListPath() {
  struct stat st {};
  if (::stat("wordlist.txt", &st) == 0) return std::string("wordlist.txt");
  std::string config;
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the base
  // directory convention says.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home && home[0] != '\0') {
    config = std::string(home) + "/.config";
  } else {
    return std::nullopt;
  }
  std::string path = config + "/titlefixer/wordlist.txt";
  if (::stat(path.c_str(), &st) == 0) return path;
  return std::nullopt;
}

}  // namespace tf
