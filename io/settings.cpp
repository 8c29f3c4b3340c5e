#include "io/settings.h"

#include <string_view>

#include "io/encoding.h"
#include "io/files.h"

namespace tf {

std::string SettingsPath() {
  const std::string folder = ConfigFolder();
  return folder.empty() ? std::string() : folder + "/titlefixer.conf";
}

std::optional<bool> ReadBoolSetting(const std::string& key) {
  const std::string path = SettingsPath();
  if (path.empty()) return std::nullopt;
  // Never blocks: a settings file that is not a regular file is ignored.
  const UserFile file = ReadFoundFile(path);
  if (file.status != UserFile::Status::Loaded) return std::nullopt;
  const std::string bytes = EncodeUtf8(file.text);
  std::string_view rest(bytes);
  bool general = true;  // keys before any group belong to [General]
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (line.starts_with('[')) {
      general = line == "[General]";
      continue;
    }
    const size_t eq = line.find('=');
    if (!general || eq == std::string_view::npos) continue;
    std::string_view name = line.substr(0, eq), value = line.substr(eq + 1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    if (name != key) continue;
    if (value == "true") return true;
    if (value == "false") return false;
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace tf
