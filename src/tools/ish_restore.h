// The viewer's ISH restore: the message the viewer holds goes to a temporary
// file, and the ISH library restores what it finds there into a chosen folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/host.h"

namespace rkv {

inline constexpr std::string_view kIshTempName = "RKV_ISH.TMP";

// lines: the viewer's message buffer (without line feeds); viewedFile: the path
// of the viewed file, whose folder is proposed.
void IshRestoreMessage(Host& host, const std::vector<std::string>& lines, std::string_view viewedFile);

}  // namespace rkv
