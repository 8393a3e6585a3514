#include "platform/locations.h"

#include <unistd.h>

#include <cstdlib>

#include "core/paths.h"
#include "platform/os.h"

namespace rkv::locations {
namespace {

std::string XdgDir(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return PathJoin(os::FromNative(value), "rkv");
  const char* home = std::getenv("HOME");
  std::string base = home && home[0] ? os::FromNative(home) : std::string("/tmp");
  return PathJoin(PathJoin(base, fallback), "rkv");
}

}  // namespace

std::string ConfigDir() { return XdgDir("XDG_CONFIG_HOME", ".config"); }

std::string DataDir() { return XdgDir("XDG_DATA_HOME", ".local/share"); }

std::string SettingsPath(bool debugMode) {
  return PathJoin(ConfigDir(), debugMode ? "RKVtest.INI" : "RKV.INI");
}

std::string WinIniPath() { return PathJoin(ConfigDir(), "WIN.INI"); }

std::string ProgramDir() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  return DirPart(os::FromNative(std::string_view(buf, static_cast<size_t>(n))));
}

}  // namespace rkv::locations
