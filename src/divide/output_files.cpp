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

OutputFiles::~OutputFiles() { CloseAll(); }

Stream* OutputFiles::Find(const std::string& requested, std::string* path) {
  for (Entry& e : open_) {
    for (const std::string& r : e.requested) {
      if (r != requested) continue;
      e.lastUse = ++clock_;
      *path = e.path;
      return e.stream.get();
    }
  }
  return nullptr;
}

Stream* OutputFiles::Keep(const std::string& requested, std::string* path, std::unique_ptr<Stream> stream,
                          std::optional<Failure>* failure) {
  FileId id = stream->Id();
  for (Entry& e : open_) {
    if (e.id != id) continue;
    stream->Close();  // nothing was written through it
    e.requested.push_back(requested);
    e.lastUse = ++clock_;
    *path = e.path;
    return e.stream.get();
  }
  if (open_.size() >= kKeptOpen) {
    size_t oldest = 0;
    for (size_t i = 1; i < open_.size(); ++i) {
      if (open_[i].lastUse < open_[oldest].lastUse) oldest = i;
    }
    *failure = CloseEntry(oldest);
  }
  open_.push_back(Entry{{requested}, *path, id, std::move(stream), ++clock_});
  return open_.back().stream.get();
}

std::optional<OutputFiles::Failure> OutputFiles::Close(const std::string& path) {
  for (size_t i = 0; i < open_.size(); ++i) {
    if (open_[i].path == path) return CloseEntry(i);
  }
  return std::nullopt;
}

std::optional<OutputFiles::Failure> OutputFiles::CloseAll() {
  std::optional<Failure> first;
  while (!open_.empty()) {
    auto failure = CloseEntry(open_.size() - 1);
    if (!first) first = failure;
  }
  return first;
}

std::optional<OutputFiles::Failure> OutputFiles::CloseEntry(size_t index) {
  Entry entry = std::move(open_[index]);
  open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(index));
  if (entry.stream->Close()) return std::nullopt;
  return Failure{entry.path, entry.stream->LastErrno()};
}

}  // namespace rkv
