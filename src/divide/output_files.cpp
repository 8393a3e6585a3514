#include "divide/output_files.h"

#include <cstdio>

#include "platform/os.h"

namespace rkv {
namespace {

bool NamesGuarded(std::string_view path, std::initializer_list<FileId> guarded) {
  auto id = FileIdOf(path);
  if (!id) return false;
  for (const FileId& g : guarded) {
    if (*id == g) return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> ProtectPath(std::string path, std::initializer_list<FileId> guarded) {
  if (path.empty() || !NamesGuarded(path, guarded)) return path;
  path.back() = path.back() == '0' ? '1' : '0';
  if (NamesGuarded(path, guarded)) return std::nullopt;
  return path;
}

std::unique_ptr<Stream> OpenForAppend(std::string_view path) {
  auto stream = OpenBinaryUpdate(path);
  if (stream && !stream->Seek(0, SEEK_END)) return nullptr;
  return stream;
}

void RemoveIfEmpty(std::string_view path) {
  os::FileStat st = os::Stat(path);
  if (st.regular && st.size == 0) os::Remove(path);
}

}  // namespace rkv
