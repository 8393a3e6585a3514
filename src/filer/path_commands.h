// Changing a filer's path (the path dialog with the kind's directory list) and
// its mask.
#pragma once

#include <string>
#include <string_view>

#include "filer/filer_model.h"

namespace rkv {

FilerResult ChangePathCommand(FilerModel& filer);  // button 101, key L
FilerResult ChangeMaskCommand(FilerModel& filer);  // button 105, key W

// A drive alone ("X:") has no meaning on this system: it stands for the root.
std::string MapDriveAlone(std::string_view typed);

}  // namespace rkv
