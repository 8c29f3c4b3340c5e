#include "io/preferences.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "io/files.h"

namespace tf {
namespace {

// Each preference's key in the file.
constexpr std::array<std::string_view, 2> kKeys = {"smart", "shortcuts"};
std::string_view KeyOf(Preference p) { return kKeys[static_cast<size_t>(p)]; }

// A larger settings file is no settings file: reading it on every command
// would cost more than the command.
constexpr off_t kLargest = 1 << 20;

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

// Calls f(line, begin, end, inGeneral) for each line of an INI text, where
// [begin, end) is the line without its line break. Keys before any group
// belong to [General], as QSettings reads them.
template <typename F>
void ForEachLine(std::string_view text, F&& f) {
  bool general = true;
  for (size_t begin = 0; begin < text.size();) {
    const size_t newline = text.find('\n', begin);
    const size_t end = newline == std::string_view::npos ? text.size() : newline;
    const std::string_view line = Trimmed(text.substr(begin, end - begin));
    if (line.starts_with('[')) general = line == "[General]";
    f(line, begin, end, general);
    begin = end + 1;
  }
}

// The key and value of a "key=value" line.
bool KeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
  if (line.starts_with(';') || line.starts_with('#') || line.starts_with('[')) return false;
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trimmed(line.substr(0, eq));
  value = Trimmed(line.substr(eq + 1));
  return true;
}

// The settings file's bytes: 0, or the errno; a file that is not regular
// or is too large gives a warning and no bytes. Never blocks.
int ReadSettings(const std::string& path, std::string& bytes, std::string& warning) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return errno;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    warning = path + ": is not a regular file; it is left alone";
    return 0;
  }
  if (st.st_size > kLargest) {
    ::close(fd);
    warning = path + ": is larger than 1 MB, which no settings file is; it is left alone";
    return 0;
  }
  ::close(fd);
  std::string read;
  if (const int error = ReadFileBytes(path, read); error != 0) return error;
  bytes = std::move(read);
  return 0;
}

// The file to write: the settings file, or what its links lead to. Empty,
// with a reason, when that is no regular file.
std::string Target(const std::string& path, std::string& reason) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? path : (reason = std::strerror(errno), "");
  if (S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
      // A dangling link: its target would be made through it; no.
      reason = errno == ENOENT ? "is a link to nothing" : std::strerror(errno);
      return {};
    }
    if (::stat(resolved, &st) != 0) return reason = std::strerror(errno), "";
    if (!S_ISREG(st.st_mode)) return reason = "is a link to something that is not a regular file", "";
    return resolved;
  }
  if (!S_ISREG(st.st_mode)) return reason = "is not a regular file", "";
  return path;
}

bool MakeFolders(const std::string& folder) {
  for (size_t at = 1; at <= folder.size(); ++at) {
    if (at != folder.size() && folder[at] != '/') continue;
    const std::string part = folder.substr(0, at);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

bool WriteAll(int fd, std::string_view bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

}  // namespace

std::string PreferencesPath() {
  const std::string folder = ConfigFolder();
  return folder.empty() ? std::string() : folder + "/titlefixer.conf";
}

LoadedPreferences LoadPreferences() {
  LoadedPreferences out;
  const std::string path = PreferencesPath();
  if (path.empty()) return out;
  std::string bytes, warning;
  if (const int error = ReadSettings(path, bytes, warning); error != 0 && error != ENOENT)
    warning = path + ": " + std::strerror(error) + "; the settings in it are not read";
  if (!warning.empty()) out.warnings.push_back(warning);
  ForEachLine(bytes, [&](std::string_view line, size_t, size_t, bool general) {
    std::string_view key, value;
    if (!general || !KeyValue(line, key, value)) return;
    for (size_t k = 0; k < kKeys.size(); ++k) {
      if (key != kKeys[k]) continue;
      const std::optional<bool> v = value == "true" ? std::optional(true) : value == "false" ? std::optional(false) : std::nullopt;
      (k == 0 ? out.values.smart : out.values.shortcuts) = v;
    }
  });
  return out;
}

std::string SavePreference(Preference preference, bool value) {
  const std::string path = PreferencesPath();
  if (path.empty()) return "there is no configuration folder (HOME is not set); the setting was not saved";
  std::string reason;
  const std::string target = Target(path, reason);
  if (target.empty()) return path + ": " + reason + "; the setting was not saved";
  std::string bytes, warning;
  if (const int error = ReadSettings(target, bytes, warning); error != 0 && error != ENOENT)
    return path + ": " + std::strerror(error) + "; the setting was not saved";
  if (!warning.empty()) return warning + "; the setting was not saved";

  // The key's line replaced where it stands in [General] (a second one
  // dropped), or else added right after the group's header, or with a
  // header of its own at the top. Every other line stays as it was.
  const std::string line = std::string(KeyOf(preference)) + "=" + (value ? "true" : "false");
  const auto isKey = [&](std::string_view trimmed, bool general) {
    std::string_view key, v;
    return general && KeyValue(trimmed, key, v) && key == KeyOf(preference);
  };
  bool hasKey = false;
  ForEachLine(bytes, [&](std::string_view trimmed, size_t, size_t, bool general) { hasKey |= isKey(trimmed, general); });
  std::string text;
  bool written = false;
  ForEachLine(bytes, [&](std::string_view trimmed, size_t begin, size_t end, bool general) {
    const std::string_view whole = std::string_view(bytes).substr(begin, end < bytes.size() ? end + 1 - begin : end - begin);
    if (isKey(trimmed, general)) {
      if (!written) text += line + "\n";
      written = true;
      return;
    }
    text += whole;
    if (!hasKey && !written && trimmed == "[General]") {
      if (!text.ends_with('\n')) text += '\n';
      text += line + "\n";
      written = true;
    }
  });
  if (!written) text = "[General]\n" + line + "\n" + (text.empty() ? "" : "\n") + text;

  const std::string folder = target.substr(0, target.rfind('/'));
  if (!MakeFolders(folder)) return folder + ": " + std::strerror(errno) + "; the setting was not saved";
  std::string temporary = folder + "/.titlefixer.conf.XXXXXX";
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return folder + ": " + std::strerror(errno) + "; the setting was not saved";
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  const bool complete = WriteAll(fd, text) && ::fsync(fd) == 0;
  const int error = errno;
  if (::close(fd) != 0 || !complete || ::rename(temporary.c_str(), target.c_str()) != 0) {
    const int why = complete ? errno : error;
    ::unlink(temporary.c_str());
    return path + ": " + std::strerror(why) + "; the setting was not saved";
  }
  return {};
}

}  // namespace tf
