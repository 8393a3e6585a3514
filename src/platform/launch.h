// Starting another program from a command line, as the editor and outside
// program commands do: no shell, detached, not waited for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rkv::os {

// Words separated by blanks; double quotes group a word and are removed.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Starts the first word with the rest as arguments. Returns 33 when the
// program started, 2 when it could not be found or run (below 32 is failure,
// as callers expect). The editor name "NotePad" (any case, with or without
// ".EXE") opens the file with the desktop's default application instead.
int LaunchDetached(std::string_view commandLine);

}  // namespace rkv::os
