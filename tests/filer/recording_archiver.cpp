// A stand-in for the archiver libraries in the bridge tests: every call is
// appended to the file named by RKV_ARCHIVER_LOG as "Entry|arguments"; a command
// holding the text of RKV_ARCHIVER_FAIL returns 1; Unlha's list command answers
// with the content of the file RKV_ARCHIVER_LIST.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
void Log(const char* entry, const std::string& args) {
  if (const char* path = getenv("RKV_ARCHIVER_LOG")) {
    if (FILE* f = fopen(path, "ab")) {
      fprintf(f, "%s|%s\n", entry, args.c_str());
      fclose(f);
    }
  }
}
int Result(const char* command) {
  const char* fail = getenv("RKV_ARCHIVER_FAIL");
  return fail && *fail && strstr(command, fail) ? 1 : 0;
}
}  // namespace

extern "C" {
__attribute__((visibility("default"))) int Unlha(void*, const char* command, char* out, unsigned long size) {
  Log("Unlha", command);
  out[0] = '\0';
  if (command[0] == ' ') {
    if (const char* list = getenv("RKV_ARCHIVER_LIST")) {
      if (FILE* f = fopen(list, "rb")) {
        size_t n = fread(out, 1, size - 1, f);
        out[n] = '\0';
        fclose(f);
      }
    }
  }
  return Result(command);
}
__attribute__((visibility("default"))) int UnlhaGetVersion() { return 267; }
__attribute__((visibility("default"))) int UnlhaSetBackGroundMode(int m) { Log("UnlhaSetBackGroundMode", std::to_string(m)); return 1; }
__attribute__((visibility("default"))) int UnlhaSetCursorMode(int m) { Log("UnlhaSetCursorMode", std::to_string(m)); return 1; }
__attribute__((visibility("default"))) int UnZip(void*, const char* command, char* out, unsigned long) {
  Log("UnZip", command);
  out[0] = '\0';
  return Result(command);
}
__attribute__((visibility("default"))) int UnZipCheckArchive(const char* path, int mode) {
  Log("UnZipCheckArchive", std::string(path) + " " + std::to_string(mode));
  return strstr(path, "BAD") ? 0 : 1;
}
__attribute__((visibility("default"))) int UnZipSetBackGroundMode(int m) { Log("UnZipSetBackGroundMode", std::to_string(m)); return 1; }
__attribute__((visibility("default"))) int UnZipSetCursorMode(int m) { Log("UnZipSetCursorMode", std::to_string(m)); return 1; }
__attribute__((visibility("default"))) int UnZipGetVersion() { return 100; }
__attribute__((visibility("default"))) int Ish(void*, const char* command) {
  Log("Ish", command);
  return Result(command);
}
__attribute__((visibility("default"))) int IshFileList(const char* path, char* buffer, int) {
  Log("IshFileList", path);
  buffer[0] = '\0';
  return strstr(path, "NOISH") ? 1 : 0;
}
__attribute__((visibility("default"))) int IshGetVersion() { return 100; }
}
