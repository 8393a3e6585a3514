// Starting programs from a filer: the editor on marked files, the registered
// outside programs on the cursor entry, a typed command, and the cursor file
// itself when it is a program.
#pragma once

#include <string>
#include <string_view>

#include "core/command_line.h"
#include "filer/filer_model.h"

namespace rkv {

FilerResult EditorCommand(FilerModel& filer);                 // 320
FilerResult ProgramCommand(FilerModel& filer, int number);    // 321-328: Prg1-Prg8
FilerResult RunCommandCommand(FilerModel& filer);             // 190
FilerResult RunCursorProgramFile(FilerModel& filer);          // key X

}  // namespace rkv
