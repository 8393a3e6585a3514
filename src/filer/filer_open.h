// Handing files from a filer to the client: viewers for the marked files or
// the cursor file, the division of one log, and opening the cursor file by its
// extension (viewer, archive, editor or associated program).
#pragma once

#include "filer/filer_model.h"

namespace rkv {

FilerResult OpenInViewers(FilerModel& filer);   // 300
FilerResult DivideCommand(FilerModel& filer);   // 301
// Enter or a double click on a file.
FilerResult OpenCursorFile(FilerModel& filer);

}  // namespace rkv
