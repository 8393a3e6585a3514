// Command lines of the editor and the outside programs: the words, the
// template expansion with the file in hand, the callers' buffer bounds and the
// launch with its failure message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rkv {

class Host;

// What each caller's command-line buffer holds, its terminator included.
inline constexpr size_t kToolsCommandBytes = 1024;
inline constexpr size_t kViewerCommandBytes = 256;
inline constexpr size_t kFilerCommandBytes = 300;

// Launch results below this are failures.
inline constexpr int kLaunchFailedBelow = 32;

// A path as one word of a command line: in double quotes when it holds a blank.
std::string CommandWord(std::string_view path);

// The editor program: the setting's text up to its first blank.
std::string FirstWord(std::string_view commandTemplate);

// A template expanded with the file in hand ("%F", quoted when it holds a blank
// unless the template quotes it already) and the number for every other
// placeholder. Nothing when the line would not fit a buffer of bufferBytes: a
// line cut short would run some other command.
std::optional<std::string> ProgramCommandLine(std::string_view commandTemplate,
                                              std::optional<std::string_view> path, int32_t number,
                                              size_t bufferBytes);
// The filer's form: "%F" is the path, other placeholders give nothing.
std::string ProgramCommandLine(std::string_view commandTemplate, std::string_view path);

// Launches the line (nothing launches nothing and fails); on failure shows
// text with caption as an OK box. True when the program started.
bool LaunchOrTell(Host& host, const std::optional<std::string>& line, std::string_view text,
                  std::string_view caption);

}  // namespace rkv
