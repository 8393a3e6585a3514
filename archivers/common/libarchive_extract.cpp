#include "common/libarchive_extract.h"

#include <archive.h>
#include <archive_entry.h>

#include <cstring>

#include "common/extract.h"

namespace arc {

UnpackReport Unpack(std::string_view image, const char* format, const std::string& nativeDir,
                    const UnpackHooks& hooks) {
  UnpackReport report;
  Utf8Names utf8;
  OutputFolder out(nativeDir);
  if (!out.ok()) return report;
  struct archive* a = archive_read_new();
  if (std::strcmp(format, "lha") == 0) archive_read_support_format_lha(a);
  else archive_read_support_format_zip(a);
  archive_read_set_options(a, "hdrcharset=CP932");
  if (archive_read_open_memory(a, image.data(), image.size()) != ARCHIVE_OK) {
    archive_read_free(a);
    return report;
  }
  report.opened = true;
  struct archive_entry* e;
  int r;
  for (int index = 0; (r = archive_read_next_header(a, &e)) == ARCHIVE_OK || r == ARCHIVE_WARN; ++index) {
    if (hooks.selected && !hooks.selected(index)) continue;
    const char* name = archive_entry_pathname_utf8(e);
    auto parts = name ? SafeParts(name) : std::nullopt;
    const mode_t type = archive_entry_filetype(e);
    if (!parts || (type != AE_IFREG && type != AE_IFDIR)) {
      ++report.failed;  // unsafe names and links are never written
      continue;
    }
    if (type == AE_IFDIR) {
      if (out.MakeDirs(*parts, parts->size())) ++report.written;
      else ++report.failed;
      continue;
    }
    const int64_t mtime = archive_entry_mtime_is_set(e) ? int64_t(archive_entry_mtime(e)) : -1;
    bool ok = false;
    if (hooks.decode && hooks.decode(index, *parts, mtime, ok)) {
      // decoded by our own code
    } else {
      const int64_t expected = archive_entry_size_is_set(e) ? archive_entry_size(e) : -1;
      int64_t total = 0;
      bool failed = false;
      ok = out.WriteFile(*parts, [&](char* buf, size_t size) -> long {
        la_ssize_t n = archive_read_data(a, buf, size);
        if (n < 0) failed = true;
        if (n > 0) {
          total += n;
          if (hooks.consume) hooks.consume(index, buf, size_t(n));
        }
        if (n == 0 && expected >= 0 && total != expected) return -1;
        return failed ? -1 : long(n);
      }, mtime, [&] { return !hooks.verify || hooks.verify(index); });
    }
    if (ok) ++report.written;
    else ++report.failed;
  }
  if (r != ARCHIVE_EOF) ++report.failed;  // the rest of the archive could not be read
  archive_read_free(a);
  return report;
}

}  // namespace arc
