// The three file-open dialogs of the File menu: 0 logs, 1 conference files, 2 mail.
#pragma once

#include "core/host.h"

namespace rkv {

struct RKVcfg;

OpenFileRequest OpenFileDialogRequest(const RKVcfg& cfg, int index);

}  // namespace rkv
