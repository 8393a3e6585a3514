// Where the program keeps its files on this system (core paths).
#pragma once

#include <string>

namespace rkv::locations {

// $XDG_CONFIG_HOME/rkv, else ~/.config/rkv: the settings files live here.
std::string ConfigDir();
// $XDG_DATA_HOME/rkv, else ~/.local/share/rkv: the base of every default directory.
std::string DataDir();
// The settings file: RKV.INI, or RKVtest.INI in debug mode.
std::string SettingsPath(bool debugMode);
// The per-user associations file with its [Extensions] section.
std::string WinIniPath();
// The folder of the running program (where the archiver libraries are).
std::string ProgramDir();

}  // namespace rkv::locations
