// The filer's file commands: copy, move, delete, delete *.BAK, rename, make
// and remove a directory. Each acts on the marked files or the cursor entry
// and ends with the reload that fits what changed.
#pragma once

#include <string_view>

#include "filer/filer_model.h"

namespace rkv {

FilerResult CopyCommand(FilerModel& filer);       // 302
FilerResult MoveCommand(FilerModel& filer);       // 304
FilerResult DeleteCommand(FilerModel& filer);     // 303
FilerResult DeleteBakCommand(FilerModel& filer);  // 313
FilerResult RenameCommand(FilerModel& filer);     // 305
FilerResult MakeDirCommand(FilerModel& filer);    // 307
FilerResult RemoveDirCommand(FilerModel& filer);  // 308

// A name typed for an entry of the filer's directory: never a path (no "/"),
// never "." or "..", never empty.
bool IsPlainEntryName(std::string_view name);

}  // namespace rkv
