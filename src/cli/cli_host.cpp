#include "cli/cli_host.h"

#include "core/cp932.h"
#include "platform/launch.h"

namespace rkv {

std::string CliHost::Shown(std::string_view line) const {
  std::string text = raw_ ? std::string(line) : cp932::ToUtf8(line);
  text.push_back('\n');
  return text;
}

void CliHost::PrintShown(std::string_view line) { std::fwrite(line.data(), 1, line.size(), out_); }

Answer CliHost::Message(std::string_view text, std::string_view caption, Buttons buttons, BoxIcon) {
  std::string shown;
  for (char c : text) {
    if (c == '\n') {
      shown += "\\n";
    } else if (c == '\r') {
      shown += "\\r";
    } else {
      shown.push_back(c);
    }
  }
  PrintLine("BOX " + std::string(caption) + ": " + shown);
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return Answer::Yes;
    case Buttons::AbortRetryIgnore:
      return gapAnswer_;
  }
  return Answer::Ok;
}

int CliHost::Launch(std::string_view commandLine) { return os::LaunchDetached(commandLine); }

}  // namespace rkv
