// Opening and tidying the split files of a division.
#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/files.h"

namespace rkv {

// An output path that names the same file as one of the guarded ones (the log
// being divided, the division record), however spelt, gets another last byte:
// "0" becomes "1", anything else "0". Nothing comes back when even that names
// a guarded file.
std::optional<std::string> ProtectPath(std::string path, std::initializer_list<FileId> guarded);

// Opens a split file for binary update, or creates it, positioned at its end.
// An existing file is never emptied.
std::unique_ptr<Stream> OpenForAppend(std::string_view path);

// Deletes the file when it exists and holds nothing.
void RemoveIfEmpty(std::string_view path);

}  // namespace rkv
