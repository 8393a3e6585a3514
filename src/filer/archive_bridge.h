// The filer's bridge to the archiver libraries (LHA, ZIP, ISH): each is loaded by
// name for one command, given a command line and judged by its result alone.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "filer/filer_model.h"
#include "platform/library.h"

namespace rkv {

// The entry points the program takes from the libraries, by name.
extern "C" {
using UnlhaFn = int(void* owner, const char* commandLine, char* output, unsigned long size);
using UnlhaGetVersionFn = int();
using ModeFn = int(int mode);
using UnZipCheckArchiveFn = int(const char* path, int mode);
using IshFn = int(void* owner, const char* commandLine);
using IshFileListFn = int(const char* path, char* buffer, int size);
}

// The libraries as the user knows them and as the file system names them.
struct ArchiverLibrary {
  const char* userName;  // "UNLHA32.DLL"
  const char* fileName;  // "libunlha32.so"
};
inline constexpr ArchiverLibrary kUnlha{"UNLHA32.DLL", "libunlha32.so"};
inline constexpr ArchiverLibrary kUnzip{"UNZIP32.DLL", "libunzip32.so"};
inline constexpr ArchiverLibrary kIshLib{"ISH32.DLL", "libish32.so"};

// Loads a library for one command and checks that it has these entry points;
// when it cannot be found says so ("... が見つかりません") under the caption.
std::unique_ptr<Library> LoadArchiver(Host& host, const ArchiverLibrary& which, std::string_view caption,
                                      std::initializer_list<const char*> entries);

// An output folder as typed: trimmed, relative to base; empty is base itself
// (never the root by accident).
std::string ArchiveOutputFolder(std::string_view base, std::string typed);

// The remembered archive folders: process-wide, never saved. Both take the start
// path of the first filer opened while they are empty.
struct ArchiveFolders {
  std::string lhaArchive;  // where the archive dialog starts
  std::string lhaUnpack;   // the output folder of the unpack dialog
};
ArchiveFolders& RememberedArchiveFolders();
void RememberFirstFilerPath(std::string_view path);

// The member lines of the library's list output, cut to the 81-byte display lines.
std::vector<std::string> ParseLhaList(std::string_view output);
// What the unpack dialog's choice means: every member, or more than 199, is "all"
// (an empty selection); otherwise the chosen indices in list order.
std::vector<int> UnpackSelection(std::vector<int> chosen, int memberCount);

// Commands 182-187 on a filer.
FilerResult ArchiveCommand(FilerModel& filer, int id);

}  // namespace rkv
