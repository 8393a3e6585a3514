// Start-up decisions that need no window: the start mode from the command
// line, the main window's placement at start and what is stored at exit.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rkv {

struct RKVcfg;

enum class StartMode { Normal = 0, Debug = 1, Hidden = 2 };

struct StartArgs {
  StartMode mode = StartMode::Normal;
  std::string argumentPath;  // the first argument (core encoding), empty when none
  bool openArgument = false; // the argument names an existing normal file
};

// Only the first argument after the program name counts. An argument naming
// no existing normal file starts the debug mode; one containing "-KIWA"
// anywhere the hidden mode, which wins. The argument is kept whole.
StartArgs ChooseStartMode(const std::vector<std::string>& arguments);

// "RKV32", "RKV Debug mode" or "RKV 内緒のモード" (CP932).
const std::string& MainTitle(StartMode mode);
// RKVtest.INI serves the debug mode, RKV.INI the others.
bool UsesDebugSettings(StartMode mode);

struct FrameRect {
  int x = 0, y = 0, width = 0, height = 0;
};
// The stored main-window placement when it is kept and lies on the screen.
std::optional<FrameRect> InitialFramePlacement(const RKVcfg& cfg, int screenWidth, int screenHeight);
// Stores the frame's placement at exit when it is kept (a window smaller than
// 100 x 50 is stored as 10, 10, 600 x 380).
void StoreFramePlacement(RKVcfg& cfg, const FrameRect& frame);

}  // namespace rkv
