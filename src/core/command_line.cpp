#include "core/command_line.h"

#include "core/host.h"
#include "core/paths.h"
#include "core/sjis.h"

namespace rkv {
namespace {

// True when the template's "%F" stands inside double quotes already.
bool TemplateQuotesFile(std::string_view commandTemplate) {
  bool quoted = false;
  for (size_t i = 0; i < commandTemplate.size(); ++i) {
    char ch = commandTemplate[i];
    if (ch == '"') quoted = !quoted;
    if (ch != '%' || i + 1 >= commandTemplate.size()) continue;
    char code = commandTemplate[++i];
    if (code == 'F' || code == 'f') return quoted;
  }
  return false;
}

}  // namespace

std::string CommandWord(std::string_view path) {
  if (path.find(' ') == std::string_view::npos) return std::string(path);
  return "\"" + std::string(path) + "\"";
}

std::string FirstWord(std::string_view commandTemplate) { return CopyField(commandTemplate, ' '); }

std::optional<std::string> ProgramCommandLine(std::string_view commandTemplate,
                                              std::optional<std::string_view> path, int32_t number,
                                              size_t bufferBytes) {
  std::optional<std::string> file;
  if (path) file = TemplateQuotesFile(commandTemplate) ? std::string(*path) : CommandWord(*path);
  std::string line = ExpandNamePattern(commandTemplate, file, number);
  if (line.size() >= bufferBytes) return std::nullopt;
  return line;
}

std::string ProgramCommandLine(std::string_view commandTemplate, std::string_view path) {
  std::string file = TemplateQuotesFile(commandTemplate) ? std::string(path) : CommandWord(path);
  return ExpandNamePattern(commandTemplate, file, 0);
}

bool LaunchOrTell(Host& host, const std::optional<std::string>& line, std::string_view text,
                  std::string_view caption) {
  if (line && host.Launch(*line) >= kLaunchFailedBelow) return true;
  host.Message(text, caption, Buttons::Ok);
  return false;
}

}  // namespace rkv
