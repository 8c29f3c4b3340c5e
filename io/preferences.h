// The user's preferences, remembered in the settings file
// ~/.config/titlefixer/titlefixer.conf ($XDG_CONFIG_HOME/titlefixer/...), an
// INI file whose [General] group holds "smart=true" and the like. The
// command line and the window read and write them here and nowhere else.
//
// The file is the user's: reading never blocks (a FIFO or a device in its
// place is passed over with a warning, as is a file over 1 MB); writing
// changes only the key written, keeping comments, other keys and groups,
// and goes through a temporary file in the file's own folder that is then
// renamed over it, so that a link is followed to a regular file and
// nothing else (a device, a FIFO, a folder) is ever written to.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tf {

enum class Preference {
  Smart,      // Options > Smart repairs, also the command line's default mode
  Shortcuts,  // the global shortcuts were bound once: bind them again at start
};

struct Preferences {
  std::optional<bool> smart, shortcuts;  // nullopt: not in the file
  std::optional<bool> Get(Preference p) const { return p == Preference::Smart ? smart : shortcuts; }
};

struct LoadedPreferences {
  Preferences values;
  std::vector<std::string> warnings;  // one line each: a file that was passed over
};

// Where the settings file is; empty when there is no configuration folder.
std::string PreferencesPath();

// The preferences in the settings file; none when it is missing.
LoadedPreferences LoadPreferences();

// Writes one preference into the settings file (made, with its folder,
// when missing). Empty when it was written, else why not, in one line.
std::string SavePreference(Preference preference, bool value);

}  // namespace tf
