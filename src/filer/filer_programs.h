// Starting programs from a filer: the editor on marked files, the registered
// outside programs on the cursor entry, a typed command, and the cursor file
// itself when it is a program.
#pragma once

#include <string>
#include <string_view>

#include "filer/filer_model.h"

namespace rkv {

FilerResult EditorCommand(FilerModel& filer);                 // 320
FilerResult ProgramCommand(FilerModel& filer, int number);    // 321-328: Prg1-Prg8
FilerResult RunCommandCommand(FilerModel& filer);             // 190
FilerResult RunCursorProgramFile(FilerModel& filer);          // key X

// A path as one word of a command line: in double quotes when it holds a blank.
std::string CommandWord(std::string_view path);

// The outside-program command line for a file: the template with "%F" as the
// path (quoted when it holds a blank, unless it stands inside quotes already);
// other placeholders give nothing, as the filer has no line number.
std::string ProgramCommandLine(std::string_view commandTemplate, std::string_view path);

}  // namespace rkv
