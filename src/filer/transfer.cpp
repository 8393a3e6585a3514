#include "filer/transfer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "core/cp932.h"
#include "core/paths.h"
#include "platform/os.h"

namespace rkv {
namespace {

constexpr size_t kCopyBlock = 8192;

bool SameFile(const os::FileStat& a, const os::FileStat& b) {
  return a.exists && b.exists && a.device == b.device && a.inode == b.inode;
}

std::string OverwriteQuestion(std::string_view name, const os::FileStat& source, const os::FileStat& target) {
  char buf[1024];
  std::snprintf(buf, sizeof buf, "%s\n\r   %s %s %7lld %s\n\r   %s %s %7lld %s\n\r",
                SJ("同名ファイルがあります。上書きしますか？").c_str(), SJ("転送元:").c_str(),
                std::string(name).c_str(), static_cast<long long>(source.size),
                TransferTimeStamp(source.mtime).c_str(), SJ("転送先:").c_str(), std::string(name).c_str(),
                static_cast<long long>(target.size), TransferTimeStamp(target.mtime).c_str());
  return buf;
}

// A fresh hidden name in dir for the copy in progress; -1 when none can be made.
int CreateTemporary(std::string_view dir, std::string& tempPath) {
  for (int i = 0; i < 1000; ++i) {
    tempPath = PathJoin(dir, ".rkv" + std::to_string(::getpid()) + "-" + std::to_string(i) + ".tmp");
    int fd = os::Open(tempPath, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Copies every byte; false on any read or write failure.
bool CopyBytes(Host& host, int from, int to) {
  char block[kCopyBlock];
  for (;;) {
    ssize_t got = os::Read(from, block, sizeof block);
    if (got < 0) return false;
    if (got == 0) return true;
    if (!os::WriteAll(to, block, static_cast<size_t>(got))) return false;
    host.Pump();
  }
}

}  // namespace

std::string TransferTimeStamp(int64_t mtime) {
  uint16_t timeWord, dateWord;
  ToDosDateTime(mtime, timeWord, dateWord);
  DosTime t;
  DosDate d;
  DosDateTimeFields(timeWord, dateWord, t, d);
  int year = d.storedYears < 20 ? 80 + d.storedYears : d.storedYears - 20;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d-%02d-%02d %02d:%02d", year, d.month, d.day, t.hour, t.minute);
  return buf;
}

int Transfer(Host& host, std::string_view source, std::string_view destDir) {
  const std::string caption = SJ("ファイル転送");
  os::FileStat src = os::Stat(source);
  std::string sourceDir = DirPart(source);
  std::string name = FileNamePart(source);
  std::string target = PathJoin(destDir, name);
  os::FileStat dst = os::Stat(target);
  // Identity, not spelling, decides: one directory can be named many ways here,
  // and two directories may differ only in case.
  if (SameFile(os::Stat(destDir), os::Stat(sourceDir.empty() ? "." : sourceDir)) || SameFile(src, dst)) {
    host.Message(SJ("同一のディレクトリです"), caption, Buttons::Ok);
    return kTransferFailed;
  }
  if (!src.regular) return kTransferFailed;
  if (dst.exists) {
    if (!dst.regular) return kTransferFailed;
    if (host.Message(OverwriteQuestion(name, src, dst), caption, Buttons::YesNo) != Answer::Yes) {
      return kTransferDeclined;
    }
    if (dst.readOnly) os::ClearReadOnly(target);
  }

  int from = os::Open(source, O_RDONLY);
  if (from < 0) return kTransferFailed;
  std::string temp;
  int to = CreateTemporary(destDir, temp);
  if (to < 0) {
    os::Close(from);
    return kTransferFailed;
  }
  WaitCursor wait(host);
  bool ok = CopyBytes(host, from, to);
  os::Close(from);
  ok = os::SyncFd(to) && ok;
  ok = os::Close(to) == 0 && ok;
  ok = ok && os::SetMtime(temp, src.mtime, src.mtimeNsec);
  ok = ok && os::RenameReplace(temp, target);
  if (!ok) {
    os::Remove(temp);
    return kTransferFailed;
  }
  return kTransferDone;
}

int MoveFile(Host& host, std::string_view source, std::string_view destDir) {
  int result = Transfer(host, source, destDir);
  if (result != kTransferDone) return result;
  if (os::Stat(source).readOnly) os::ClearReadOnly(source);
  return os::Remove(source) ? kTransferDone : kTransferFailed;
}

}  // namespace rkv
