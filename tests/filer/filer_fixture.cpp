#include "filer_fixture.h"

#include <ctime>

#include "core/cp932.h"
#include "core/paths.h"
#include "platform/library.h"
#include "platform/os.h"

namespace rkv::test {

int64_t LocalTime(int year, int month, int day, int hour, int minute) {
  struct tm tm {};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_isdst = -1;
  return static_cast<int64_t>(mktime(&tm));
}

void FilerTest::TearDown() {
  os::SetWriteFaultHook(nullptr);
  SetLibraryFolderForTest("");
}

FilerTest::FilerTest() {
  // Archive commands find no library unless a test points at the built ones.
  SetLibraryFolderForTest(dir.path() + "/no-libraries");
  cfg.LogDir = dir.path();
  cfg.CnfDir = dir.path();
  cfg.MailDir = dir.path();
  cfg.EtcDir = dir.path();
  cfg.FilerMask = "*.*";
  cfg.CnfFilerMask = "*.CNF";
  cfg.MailMask = "*.*";
  cfg.Editor = "NotePad";
  cfg.FilerSort = 1;
  cfg.CnfFilerSort = 1;
}

std::string FilerTest::At(const std::string& name) const {
  return name.empty() || name[0] != '/' ? PathJoin(dir.path(), name) : name;
}

std::string FilerTest::Make(const std::string& name, std::string_view bytes, int64_t mtime) {
  std::string path = At(name);
  WriteFile(os::Native(path), bytes);
  if (mtime != 0) os::SetMtime(path, mtime, 0);
  return path;
}

std::string FilerTest::MakeDir(const std::string& name) {
  std::string path = At(name);
  os::MakeDir(path);
  return path;
}

std::string FilerTest::Content(const std::string& corePath) const { return ReadFile(os::Native(corePath)); }

std::unique_ptr<FilerModel> FilerTest::Open(int kind, std::string path) {
  auto filer = std::make_unique<FilerModel>(kind, cfg, host, path.empty() ? dir.path() : path);
  filer->SetPageRows(10, 11);
  return filer;
}

std::vector<std::string> FilerTest::Names(const FilerModel& filer) {
  std::vector<std::string> out;
  for (int i = 0; i < filer.count(); ++i) out.push_back(filer.listing().at(i).name);
  return out;
}

int FilerTest::IndexOf(const FilerModel& filer, const std::string& name) {
  for (int i = 0; i < filer.count(); ++i) {
    if (filer.listing().at(i).name == name) return i;
  }
  ADD_FAILURE() << "no entry " << name;
  return -1;
}

std::vector<std::string> FilerTest::Shown() const {
  std::vector<std::string> out;
  for (const auto& s : host.shown) out.push_back(cp932::ToUtf8(s.caption) + ": " + cp932::ToUtf8(s.text));
  return out;
}

}  // namespace rkv::test
