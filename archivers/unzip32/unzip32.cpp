// libunzip32.so: the ZIP library the program loads at run time.
//   "ARCHIVE DIR/"   unpack every member into DIR
#include <archive.h>
#include <archive_entry.h>

#include <cstring>
#include <string>

#include "common/arc_common.h"
#include "common/extract.h"
#include "common/libarchive_extract.h"

namespace {
constexpr int kVersion = 100;
constexpr int kError = 1;
}  // namespace

extern "C" {

__attribute__((visibility("default"))) int UnZip(void* /*owner*/, const char* commandLine, char* out,
                                                 unsigned long size) {
  if (out && size) out[0] = '\0';
  if (!commandLine) return kError;
  auto words = arc::SplitCommand(commandLine);
  if (words.size() < 2) return kError;
  std::string image;
  if (!arc::ReadWhole(arc::Native(words[0]), image)) return kError;
  arc::UnpackReport report = arc::Unpack(image, "zip", arc::Native(arc::TrimFolder(words[1])), {});
  return report.opened && report.failed == 0 ? 0 : kError;
}

// 1 when the file is a ZIP archive whose member headers can all be read.
__attribute__((visibility("default"))) int UnZipCheckArchive(const char* path, int /*mode*/) {
  if (!path) return 0;
  arc::Utf8Names utf8;
  struct archive* a = archive_read_new();
  archive_read_support_format_zip(a);
  archive_read_set_options(a, "hdrcharset=CP932");
  int valid = 0;
  if (archive_read_open_filename(a, arc::Native(path).c_str(), 65536) == ARCHIVE_OK) {
    struct archive_entry* e;
    int r, members = 0;
    while ((r = archive_read_next_header(a, &e)) == ARCHIVE_OK || r == ARCHIVE_WARN) ++members;
    valid = r == ARCHIVE_EOF && members > 0;
  }
  archive_read_free(a);
  return valid;
}

__attribute__((visibility("default"))) int UnZipGetVersion() { return kVersion; }
__attribute__((visibility("default"))) int UnZipSetBackGroundMode(int) { return 1; }
__attribute__((visibility("default"))) int UnZipSetCursorMode(int) { return 1; }

}  // extern "C"
