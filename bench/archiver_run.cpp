// Runs one archiver library command as the program does, for timing:
//   rkv_arcrun ish COMMAND   |   rkv_arcrun lha COMMAND
// Exits with the library's result.
#include <cstdio>
#include <cstring>
#include <string>

extern "C" {
int Ish(void* owner, const char* commandLine);
int Unlha(void* owner, const char* commandLine, char* output, unsigned long size);
}

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rkv_arcrun ish|lha COMMAND\n");
    return 2;
  }
  if (std::strcmp(argv[1], "ish") == 0) return Ish(nullptr, argv[2]);
  std::string out(64000, '\0');
  return Unlha(nullptr, argv[2], out.data(), out.size());
}
