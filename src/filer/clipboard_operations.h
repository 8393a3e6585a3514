// Moving data between files and the clipboard from a filer: append a file to
// another file, append the clipboard to a file, put a file on the clipboard.
#pragma once

#include "filer/filer_model.h"

namespace rkv {

FilerResult AppendFileCommand(FilerModel& filer);       // 191
FilerResult AppendClipboardCommand(FilerModel& filer);  // 192
FilerResult FileToClipboardCommand(FilerModel& filer);  // 193

}  // namespace rkv
