// The settings file, ~/.config/titlefixer/titlefixer.conf (in QSettings'
// INI format, which the window writes): read here without Qt, so that the
// command line sees the same choices.
#pragma once

#include <optional>
#include <string>

namespace tf {

// Where the settings file is; empty when there is no configuration folder.
std::string SettingsPath();

// A setting of the [General] group, "true" or "false"; nullopt when the
// file, the key or a clear value is missing.
std::optional<bool> ReadBoolSetting(const std::string& key);

}  // namespace tf
