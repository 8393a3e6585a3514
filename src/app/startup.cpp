#include "app/startup.h"

#include "core/cp932.h"
#include "core/files.h"
#include "settings/settings.h"

namespace rkv {

StartArgs ChooseStartMode(const std::vector<std::string>& arguments) {
  StartArgs args;
  if (arguments.empty()) return args;
  args.argumentPath = arguments[0];
  args.openArgument = FileExists(args.argumentPath);
  if (!args.openArgument) args.mode = StartMode::Debug;
  if (args.argumentPath.find("-KIWA") != std::string::npos) args.mode = StartMode::Hidden;
  return args;
}

const std::string& MainTitle(StartMode mode) {
  static const std::string normal = "RKV32";
  static const std::string debug = "RKV Debug mode";
  switch (mode) {
    case StartMode::Debug:
      return debug;
    case StartMode::Hidden:
      return SJ("RKV 内緒のモード");
    case StartMode::Normal:
      break;
  }
  return normal;
}

bool UsesDebugSettings(StartMode mode) { return mode == StartMode::Debug; }

std::optional<FrameRect> InitialFramePlacement(const RKVcfg& cfg, int screenWidth, int screenHeight) {
  const WinPlace& p = cfg.WindowSize;
  if (!cfg.SaveWindowSize || p.x <= 0 || p.y <= 0 || p.width <= 0 || p.height <= 0 ||
      p.x >= screenWidth || p.y >= screenHeight) {
    return std::nullopt;
  }
  return FrameRect{p.x, p.y, p.width, p.height};
}

void StoreFramePlacement(RKVcfg& cfg, const FrameRect& frame) {
  if (!cfg.SaveWindowSize) return;
  WinPlace& p = cfg.WindowSize;
  if (frame.width < 100 || frame.height < 50) {
    p.x = 10, p.y = 10, p.width = 600, p.height = 380;
    return;
  }
  p.x = frame.x, p.y = frame.y, p.width = frame.width, p.height = frame.height;
}

}  // namespace rkv
